#include "tools/render/Preset.h"

#include <cmath>
#include <fstream>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <sstream>

namespace solvane::cli {
namespace {

using nlohmann::json;

std::string Number(double v) {
  std::ostringstream text;
  text << std::setprecision(17) << v;
  return text.str();
}

// Values may be written as JSON numbers or as the texts --param takes.
std::string TextOf(const json& value, const std::string& path, const std::string& what) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number()) return Number(value.get<double>());
  if (value.is_boolean()) return value.get<bool>() ? "on" : "off";
  throw OptionError(path + ": the value of " + what + " must be a number or a text");
}

KeyAssignment ReadKey(const json& entry, const std::string& path) {
  if (!entry.is_object() || !entry.contains("control") || !entry.contains("frame") ||
      !entry.contains("value") || !entry["control"].is_string() ||
      !entry["frame"].is_number_unsigned()) {
    throw OptionError(path +
                      ": each key needs \"control\" (text), \"frame\" (0 or more) and "
                      "\"value\"");
  }
  const std::string name = entry["control"].get<std::string>();
  return {name, entry["frame"].get<int>(), TextOf(entry["value"], path, "key " + name)};
}

// The host's default for a point, computed as the host does: per cent of the layer.
bool AtDefaultPoint(const host::RegisteredParam& param, const host::ParamValue& value,
                    const host::LayerState& layer) {
  if (param.def.param_type != PF_Param_POINT) return false;
  return value.a == param.def.u.td.x_value / 65536.0 / 100.0 * layer.width &&
         value.b == param.def.u.td.y_value / 65536.0 / 100.0 * layer.height;
}

}  // namespace

std::string ValueText(const host::RegisteredParam& param, const host::ParamValue& value) {
  switch (param.def.param_type) {
    case PF_Param_POPUP: {
      const std::vector<std::string> choices = param.Choices();
      const size_t choice = size_t(value.a);
      return choice >= 1 && choice <= choices.size() ? choices[choice - 1] : Number(value.a);
    }
    case PF_Param_CHECKBOX:
      return value.a != 0 ? "on" : "off";
    case PF_Param_POINT:
      return Number(value.a) + "," + Number(value.b);
    default:
      return Number(value.a);
  }
}

Preset ReadPreset(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw OptionError("--preset: cannot read \"" + path + "\"");
  json root = json::parse(file, nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded() || !root.is_object()) {
    throw OptionError("--preset: \"" + path + "\" is not a JSON object");
  }
  for (const auto& [entry, value] : root.items()) {
    // A misspelt entry would otherwise leave the preset silently without effect.
    if (entry != "controls" && entry != "keys") {
      throw OptionError(path + ": unknown entry \"" + entry +
                        "\" (a preset holds \"controls\" and \"keys\")");
    }
  }
  Preset preset;
  const json controls = root.value("controls", json::object());
  if (!controls.is_object()) throw OptionError(path + ": \"controls\" must be an object");
  for (const auto& [name, value] : controls.items()) {
    preset.controls.push_back({name, TextOf(value, path, "\"" + name + "\"")});
  }
  const json keys = root.value("keys", json::array());
  if (!keys.is_array()) throw OptionError(path + ": \"keys\" must be a list");
  for (const json& entry : keys) preset.keys.push_back(ReadKey(entry, path));
  return preset;
}

void WritePreset(const std::string& path, const host::ParamStore& store,
                 const host::LayerState& layer) {
  json controls = json::object();
  json keyList = json::array();
  for (PF_ParamIndex index = 1; index <= store.Count(); ++index) {
    const host::RegisteredParam param = store.At(index);
    if (!param.HasValue()) continue;
    const std::map<double, host::ParamValue> keys = store.Keyframes(index);
    for (const auto& [seconds, value] : keys) {
      const long frame = std::lround(seconds * layer.timeScale / layer.timeStep);
      keyList.push_back({{"control", param.QualifiedName()},
                         {"frame", frame},
                         {"value", ValueText(param, value)}});
    }
    const host::ParamValue value = store.ValueAt(index, 0, layer);
    if (keys.empty() && !AtDefaultPoint(param, value, layer)) {
      controls[param.QualifiedName()] = ValueText(param, value);
    }
  }
  std::ofstream file(path);
  file << json{{"controls", controls}, {"keys", keyList}}.dump(2) << "\n";
  if (!file.flush()) throw OptionError("--save-preset: cannot write \"" + path + "\"");
}

}  // namespace solvane::cli
