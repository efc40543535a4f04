// What the plug-in holds of the host's and what it told the host, process-wide (the
// suites reach the host through handles only): memory blocks, image memory, images
// fetched and not released, mutexes, messages, and every wrong call the host refused.
// Tests read it to find leaks and misuse.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace solvane::ofx_host {

struct HostMessage {
  std::string type;  // kOfxMessageError ...
  std::string id;
  std::string text;
  const void* effect = nullptr;  // the handle it named; null for none
  bool persistent = false;
};

struct LedgerCounts {
  size_t memoryBlocks = 0;
  size_t memoryBytes = 0;
  size_t imageMemoryBlocks = 0;
  size_t images = 0;  // fetched through clipGetImage and not released
  size_t mutexes = 0;
};

class Ledger {
 public:
  static Ledger& Get();

  LedgerCounts Counts() const;
  void AddCounts(const LedgerCounts& delta, bool add);

  void Message(HostMessage message);
  std::vector<HostMessage> Messages() const;
  void ClearMessages();
  // Whether messages also go to standard error as they come (the command-line program).
  void EchoMessages(bool echo);

  // A call the host refused because the plug-in should not have made it.
  void Misuse(const std::string& what);
  std::vector<std::string> Misuses() const;
  void ClearMisuses();

 private:
  mutable std::mutex mutex_;
  LedgerCounts counts_;
  std::vector<HostMessage> messages_;
  std::vector<std::string> misuses_;
  bool echo_ = false;
};

}  // namespace solvane::ofx_host
