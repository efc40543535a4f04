// The module exports EntryPointFunc and no other function.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/DynamicSymbols.h"

namespace {

std::vector<std::string> ExportedFunctions(const std::string& module) {
  std::vector<std::string> functions;
  for (const auto& symbol : solvane::testing::DefinedDynamicSymbols(module)) {
    if (symbol.type == "T" || symbol.type == "W" || symbol.type == "i") {
      functions.push_back(symbol.name);
    }
  }
  return functions;
}

TEST(ExportedSymbols, OnlyTheEntryPointIsExported) {
  EXPECT_EQ(ExportedFunctions(SOLVANE_MODULE_PATH), std::vector<std::string>{"EntryPointFunc"});
}

}  // namespace
