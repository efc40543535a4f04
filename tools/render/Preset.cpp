#include "tools/render/Preset.h"

#include <algorithm>
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

// One line of a message: bytes that are not printable ASCII (a binary file's, as the
// parser quotes them) are shown as \xNN.
std::string Printable(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += char(c);
    } else {
      out += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
    }
  }
  return out;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
  throw OptionError("--preset " + Quoted(path) + ": " + reason);
}

// The whole file, at most the limit's worth of bytes: a device or a FIFO reports no size,
// so the limit is held to what is read, and a stream longer than that is refused there.
std::string ReadPresetText(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) Refuse(path, "is a directory");
  if (error && error != std::errc::no_such_file_or_directory) Refuse(path, error.message());
  if (!fs::exists(status)) Refuse(path, "there is no such file");
  std::ifstream file(path, std::ios::binary);
  if (!file) Refuse(path, "cannot be opened");
  std::string text(size_t(kMaxPresetBytes) + 1, '\0');
  file.read(text.data(), std::streamsize(text.size()));
  if (file.bad()) Refuse(path, "cannot be read");
  text.resize(size_t(file.gcount()));
  if (text.size() > kMaxPresetBytes) Refuse(path, "too large for a preset (more than 1 MiB)");
  return text;
}

// nlohmann's texts read "[json.exception.KIND.N] REASON"; the user needs the reason.
std::string ParserReason(const std::string& what) {
  const size_t bracket = what.find("] ");
  return Printable(bracket == std::string::npos ? what : what.substr(bracket + 2));
}

// The DOM parser, with a depth limit checked as the parser descends (so that no copy or
// destruction of the value ever recurses deeper than that) and every parser error given
// by line and column, including those the DOM parser reports without them (a number too
// large for a double).
class PresetSax : public json::json_sax_t {
 public:
  PresetSax(json& root, const std::string& text) : dom_(root), text_(text) {}
  bool null() override { return dom_.null(); }
  bool boolean(bool v) override { return dom_.boolean(v); }
  bool number_integer(number_integer_t v) override { return dom_.number_integer(v); }
  bool number_unsigned(number_unsigned_t v) override { return dom_.number_unsigned(v); }
  bool number_float(number_float_t v, const string_t& s) override {
    return dom_.number_float(v, s);
  }
  bool string(string_t& v) override { return dom_.string(v); }
  bool binary(binary_t& v) override { return dom_.binary(v); }
  bool start_object(std::size_t n) override { return Descend() && dom_.start_object(n); }
  bool key(string_t& v) override { return dom_.key(v); }
  bool end_object() override { return Ascend() && dom_.end_object(); }
  bool start_array(std::size_t n) override { return Descend() && dom_.start_array(n); }
  bool end_array() override { return Ascend() && dom_.end_array(); }
  bool parse_error(std::size_t end, const std::string& token,
                   const nlohmann::detail::exception& e) override {
    const std::string reason = ParserReason(e.what());
    // A syntax error's own text already leads with its place: "parse error at line L,
    // column C: ...".
    const size_t at = reason.find(" at line ");
    if (at != std::string::npos) throw OptionError(reason.substr(at + 4));
    throw OptionError(Place(end - std::min(end, token.size())) + ": " + reason);
  }

 private:
  bool Descend() {
    if (++depth_ > kMaxPresetDepth) {
      throw OptionError("nested deeper than " + std::to_string(kMaxPresetDepth) + " levels");
    }
    return true;
  }
  bool Ascend() {
    --depth_;
    return true;
  }
  // "line L, column C" of a byte offset, counted as the parser counts them.
  std::string Place(size_t offset) const {
    offset = std::min(offset, text_.size());
    const size_t lineStart = offset == 0 ? std::string::npos : text_.rfind('\n', offset - 1);
    const size_t line = size_t(std::count(text_.begin(), text_.begin() + long(offset), '\n'));
    const size_t column = lineStart == std::string::npos ? offset + 1 : offset - lineStart;
    return "line " + std::to_string(line + 1) + ", column " + std::to_string(column);
  }
  nlohmann::detail::json_sax_dom_parser<json> dom_;
  const std::string& text_;
  int depth_ = 0;
};

json ParsePreset(const std::string& path, const std::string& text) {
  json root;
  PresetSax sax(root, text);
  try {
    json::sax_parse(text, &sax);
  } catch (const OptionError& e) {
    Refuse(path, e.what());
  } catch (const json::exception& e) {
    Refuse(path, ParserReason(e.what()));
  }
  return root;
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

// A point at its default is left out of a preset: its default follows the layer's size.
bool AtDefaultPoint(const host::RegisteredParam& param, const host::ParamValue& value,
                    const host::LayerState& layer) {
  if (param.def.param_type != PF_Param_POINT) return false;
  const host::ParamValue dephault = host::DefaultValue(param, layer);
  return value.a == dephault.a && value.b == dephault.b;
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
