#include "ParamText.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace solvane::ofx_host {
namespace {

bool ParseNumber(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return end != nullptr && *end == '\0';
}

[[noreturn]] void Refuse(const Param& param, const std::string& text, const std::string& takes) {
  throw std::invalid_argument("parameter " + param.Name() + " takes " + takes + ", not \"" + text +
                              "\"");
}

double ParseChoice(const Param& param, const std::string& text) {
  const std::vector<std::string> options = param.Props().Strings(kOfxParamPropChoiceOption);
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i] == text) return double(i);
  }
  double number = 0;
  if (ParseNumber(text, &number)) return number;
  std::string list;
  for (const std::string& option : options) list += (list.empty() ? "" : ", ") + option;
  Refuse(param, text, "one of " + list + " or an option's number");
}

}  // namespace

std::vector<double> ParseParamValue(const Param& param, const std::string& text) {
  const std::string& type = param.Type();
  if (type == kOfxParamTypeChoice) return {ParseChoice(param, text)};
  if (type == kOfxParamTypeBoolean) {
    if (text == "on" || text == "1" || text == "true") return {1.0};
    if (text == "off" || text == "0" || text == "false") return {0.0};
    Refuse(param, text, "on or off");
  }
  const int dimension = param.Info().dimension;
  if (dimension == 0 || param.Info().kind == ValueKind::kString) {
    Refuse(param, text, "no value this program sets");
  }
  std::vector<double> values;
  std::stringstream parts(text);
  for (std::string part; std::getline(parts, part, ',');) {
    double number = 0;
    if (!ParseNumber(part, &number)) Refuse(param, text, "numbers");
    values.push_back(number);
  }
  if (int(values.size()) != dimension) {
    Refuse(param, text, std::to_string(dimension) + " comma-separated numbers");
  }
  return values;
}

}  // namespace solvane::ofx_host
