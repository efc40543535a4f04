// The module exports EntryPointFunc and no other function.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ExportedFunctions(const std::string& module) {
  const std::string command = "nm -D --defined-only \"" + module + "\"";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<std::string> functions;
  char line[1024];
  while (pipe && std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    fields >> address >> type >> name;
    if (type == "T" || type == "W" || type == "i") functions.push_back(name);
  }
  return functions;
}

TEST(ExportedSymbols, OnlyTheEntryPointIsExported) {
  EXPECT_EQ(ExportedFunctions(SOLVANE_MODULE_PATH), std::vector<std::string>{"EntryPointFunc"});
}

}  // namespace
