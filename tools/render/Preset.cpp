#include "tools/render/Preset.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/render/AtomicFile.h"
#include "tools/render/Quoted.h"

namespace solvane::cli {
namespace {

using nlohmann::json;

// A preset is a few kilobytes; these bound what a hostile file can make the parser do.
constexpr uintmax_t kMaxPresetBytes = uintmax_t(1) << 20;
constexpr int kMaxPresetDepth = 16;

// The whole file, refused when it is not a regular file or too large to be a preset.
std::string ReadPresetText(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) throw OptionError("--preset " + Quoted(path) + ": is a directory");
  if (!fs::exists(status)) {
    throw OptionError("--preset " + Quoted(path) + ": there is no such file");
  }
  const uintmax_t size = fs::file_size(path, error);
  if (!error && size > kMaxPresetBytes) {
    throw OptionError("--preset " + Quoted(path) + ": " + std::to_string(size) +
                      " bytes is too large for a preset (at most 1 MiB)");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) throw OptionError("--preset: cannot read " + Quoted(path));
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) throw OptionError("--preset: cannot read " + Quoted(path));
  return text;
}

// Parses with a depth limit checked as the parser descends, so that no copy or
// destruction of the value ever recurses deeper than that.
json ParsePreset(const std::string& path, const std::string& text) {
  const json::parser_callback_t limit = [](int depth, json::parse_event_t event, json&) {
    if ((event == json::parse_event_t::object_start || event == json::parse_event_t::array_start) &&
        depth >= kMaxPresetDepth) {
      throw OptionError("nested deeper than " + std::to_string(kMaxPresetDepth) + " levels");
    }
    return true;
  };
  try {
    return json::parse(text, limit);
  } catch (const json::exception& e) {
    // nlohmann's text reads "[json.exception.parse_error.101] parse error at line L,
    // column C: REASON"; the user needs what follows "at ". A number past double's range
    // is an out_of_range error without a position: "[...] number overflow parsing '1e400'".
    std::string reason = e.what();
    const size_t at = reason.find(" at line ");
    const size_t tag = reason.find("] ");
    reason = at != std::string::npos    ? reason.substr(at + 4)
             : tag != std::string::npos ? reason.substr(tag + 2)
                                        : reason;
    throw OptionError("--preset " + Quoted(path) + ": " + reason);
  } catch (const OptionError& e) {
    throw OptionError("--preset " + Quoted(path) + ": " + e.what());
  }
}

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
  const uint64_t frame = entry["frame"].get<uint64_t>();
  if (frame > uint64_t(std::numeric_limits<int>::max())) {
    throw OptionError(path + ": the key on " + Quoted(name) + " is at frame " +
                      std::to_string(frame) + ", beyond the host's time range");
  }
  return {name, int(frame), TextOf(entry["value"], path, "key " + name)};
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
  const std::string text = ReadPresetText(path);
  const json root = ParsePreset(path, text);
  if (!root.is_object()) {
    throw OptionError("--preset " + Quoted(path) + ": not a JSON object (a preset is { ... })");
  }
  for (const auto& [entry, value] : root.items()) {
    // A misspelt entry would otherwise leave the preset silently without effect.
    if (entry != "controls" && entry != "keys") {
      throw OptionError(path + ": unknown entry \"" + entry +
                        "\" (a preset holds \"controls\" and \"keys\")");
    }
  }
  Preset preset;
  static const json noControls = json::object(), noKeys = json::array();
  const json& controls = root.contains("controls") ? root["controls"] : noControls;
  if (!controls.is_object()) throw OptionError(path + ": \"controls\" must be an object");
  for (const auto& [name, value] : controls.items()) {
    preset.controls.push_back({name, TextOf(value, path, "\"" + name + "\"")});
  }
  const json& keys = root.contains("keys") ? root["keys"] : noKeys;
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
  WriteFileAtomically(path, json{{"controls", controls}, {"keys", keyList}}.dump(2) + "\n");
}

}  // namespace solvane::cli
