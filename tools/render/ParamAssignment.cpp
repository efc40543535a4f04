#include "tools/render/ParamAssignment.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/controls/ItemList.h"

namespace solvane::cli {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ReadNumber(const std::string& text, double& value) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(trimmed.c_str(), &end);
  return errno == 0 && end == trimmed.c_str() + trimmed.size();
}

[[noreturn]] void CannotRead(const host::RegisteredParam& p, const std::string& text,
                             const std::string& expected) {
  throw OptionError("\"" + p.QualifiedName() + "\" cannot take \"" + text + "\": expected " +
                    expected);
}

double ReadChoice(const host::RegisteredParam& p, const std::string& text) {
  const std::vector<std::string> choices = p.Choices();
  for (size_t i = 0; i < choices.size(); ++i) {
    if (Lower(choices[i]) == Lower(Trim(text))) return double(i + 1);
  }
  double number = 0;
  if (ReadNumber(text, number)) return number;
  std::string list;
  for (const std::string& c : choices) {
    if (!IsSeparatorItem(c)) list += (list.empty() ? "" : ", ") + c;
  }
  CannotRead(p, text, "one of " + list + " or a choice number");
}

double ReadOnOff(const host::RegisteredParam& p, const std::string& text) {
  const std::string word = Lower(Trim(text));
  if (word == "on" || word == "true" || word == "yes" || word == "1") return 1;
  if (word == "off" || word == "false" || word == "no" || word == "0") return 0;
  CannotRead(p, text, "on or off");
}

host::ParamValue ReadPoint(const host::RegisteredParam& p, const std::string& text) {
  const size_t comma = text.find(',');
  host::ParamValue v;
  if (comma == std::string::npos || !ReadNumber(text.substr(0, comma), v.a) ||
      !ReadNumber(text.substr(comma + 1), v.b)) {
    CannotRead(p, text, "x,y in layer pixels");
  }
  return v;
}

}  // namespace

ParamAssignment ParseParamAssignment(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    throw OptionError("--param \"" + text + "\": expected NAME=VALUE");
  }
  return {text.substr(0, equals), text.substr(equals + 1)};
}

host::ParamValue ParseParamValue(const host::RegisteredParam& p, const std::string& text) {
  double number = 0;
  switch (p.def.param_type) {
    case PF_Param_POPUP:
      return {ReadChoice(p, text), 0};
    case PF_Param_CHECKBOX:
      return {ReadOnOff(p, text), 0};
    case PF_Param_POINT:
      return ReadPoint(p, text);
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_ANGLE:
      if (!ReadNumber(text, number)) CannotRead(p, text, "a number");
      return {number, 0};
    default:
      throw OptionError("\"" + p.QualifiedName() + "\" has no value to set");
  }
}

PF_ParamIndex ApplyParamAssignment(host::ParamStore& store, const ParamAssignment& assignment) {
  const PF_ParamIndex index = store.Find(assignment.name);
  store.Set(index, ParseParamValue(store.At(index), assignment.value));
  return index;
}

}  // namespace solvane::cli
