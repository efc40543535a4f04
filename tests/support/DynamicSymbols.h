// What a module exports, as `nm -D --defined-only` reads it from the file: the tests that
// hold each module to its entry points read the dynamic symbol table the same way.
#pragma once

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace solvane::testing {

struct DynamicSymbol {
  std::string type;  // nm's letter: T, W or i for functions
  std::string name;
};

// Every defined dynamic symbol of the module, in nm's order; empty when nm cannot run.
inline std::vector<DynamicSymbol> DefinedDynamicSymbols(const std::string& module) {
  const std::string command = "nm -D --defined-only \"" + module + "\"";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<DynamicSymbol> symbols;
  char line[1024];
  while (pipe && std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    std::istringstream fields(line);
    std::string address;
    DynamicSymbol symbol;
    fields >> address >> symbol.type >> symbol.name;
    if (!symbol.name.empty()) symbols.push_back(symbol);
  }
  return symbols;
}

}  // namespace solvane::testing
