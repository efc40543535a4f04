#include "HostProblems.h"

namespace solvane::ofx_host {

std::vector<std::string> HostProblems(const Host& host, const LedgerCounts& start) {
  std::vector<std::string> problems = host.Faults();
  for (const std::string& misuse : Ledger::Get().Misuses()) problems.push_back(misuse);
  const LedgerCounts now = Ledger::Get().Counts();
  const auto held = [&](size_t before, size_t after, const char* what) {
    if (after > before) {
      problems.push_back(std::to_string(after - before) + " " + what + " not given back");
    }
  };
  held(start.images, now.images, "images");
  held(start.memoryBlocks, now.memoryBlocks, "memory blocks");
  held(start.imageMemoryBlocks, now.imageMemoryBlocks, "image memory blocks");
  held(start.mutexes, now.mutexes, "mutexes");
  return problems;
}

}  // namespace solvane::ofx_host
