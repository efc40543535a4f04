#include "tools/render/Keyframes.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

KeyAssignment ParseKeyAssignment(const std::string& text) {
  const size_t at = text.find('@');
  const size_t equals = text.find('=', at == std::string::npos ? 0 : at);
  const auto malformed = [&text] {
    return OptionError("--key wants NAME@FRAME=VALUE, not \"" + text + "\"");
  };
  if (at == std::string::npos || at == 0 || equals == std::string::npos ||
      equals + 1 == text.size()) {
    throw malformed();
  }
  KeyAssignment key;
  key.name = text.substr(0, at);
  key.value = text.substr(equals + 1);
  const std::string frame = text.substr(at + 1, equals - at - 1);
  if (frame.empty() || frame.find_first_not_of("0123456789") != std::string::npos) {
    throw malformed();
  }
  const auto [end, error] = std::from_chars(frame.data(), frame.data() + frame.size(), key.frame);
  if (error == std::errc::result_out_of_range) {
    throw OptionError("--key \"" + key.name + "\": frame " +
                      (frame.size() <= 20 ? frame : frame.substr(0, 20) + "...") +
                      " is beyond the host's time range");
  }
  if (error != std::errc() || end != frame.data() + frame.size()) throw malformed();
  return key;
}

A_long FrameTime(int frame, const host::LayerState& layer) {
  const int64_t time = int64_t(frame) * layer.timeStep;
  if (time > std::numeric_limits<A_long>::max() || time < std::numeric_limits<A_long>::min()) {
    throw OptionError("frame " + std::to_string(frame) +
                      " lies beyond the host's time range at this --fps");
  }
  return A_long(time);
}

double FrameSeconds(int frame, const host::LayerState& layer) {
  return layer.timeScale == 0 ? 0 : double(FrameTime(frame, layer)) / layer.timeScale;
}

void ApplyKeyAssignment(host::ParamStore& store, const KeyAssignment& key,
                        const host::LayerState& layer) {
  const PF_ParamIndex index = store.Find(key.name);
  store.SetKeyframe(index, FrameSeconds(key.frame, layer),
                    ParseParamValue(store.At(index), key.value));
}

}  // namespace solvane::cli
