// The filter module exports the frei0r entry points and nothing else.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/support/DynamicSymbols.h"

namespace {

TEST(Frei0rExportedSymbols, OnlyTheFrei0rEntryPointsAreExported) {
  std::set<std::string> names;
  for (const auto& symbol : solvane::testing::DefinedDynamicSymbols(SOLVANE_FREI0R_MODULE_PATH)) {
    names.insert(symbol.name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"f0r_construct", "f0r_deinit", "f0r_destruct",
                                          "f0r_get_param_info", "f0r_get_param_value",
                                          "f0r_get_plugin_info", "f0r_init", "f0r_set_param_value",
                                          "f0r_update"}));
}

}  // namespace
