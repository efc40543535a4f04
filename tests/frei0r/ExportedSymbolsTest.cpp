// The filter module exports the frei0r entry points and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> ExportedSymbols(const std::string& module) {
  const std::string command = "nm -D --defined-only \"" + module + "\"";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::set<std::string> symbols;
  char line[1024];
  while (pipe && std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    fields >> address >> type >> name;
    if (!name.empty()) symbols.insert(name);
  }
  return symbols;
}

TEST(Frei0rExportedSymbols, OnlyTheFrei0rEntryPointsAreExported) {
  EXPECT_EQ(
      ExportedSymbols(SOLVANE_FREI0R_MODULE_PATH),
      (std::set<std::string>{"f0r_construct", "f0r_deinit", "f0r_destruct", "f0r_get_param_info",
                             "f0r_get_param_value", "f0r_get_plugin_info", "f0r_init",
                             "f0r_set_param_value", "f0r_update"}));
}

}  // namespace
