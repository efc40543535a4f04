// --param NAME=VALUE and --key NAME@FRAME=VALUE on the effect's controls, every kind: one
// option a line, "key " before a --key text, anything else a --param text. The values are
// then read back at keyframe times and between them, as renders and presets read them.
#include <cstddef>
#include <cstdint>

#include "host/HostError.h"
#include "support/EffectControls.h"
#include "support/FuzzInput.h"
#include "tools/render/Keyframes.h"
#include "tools/render/ParamAssignment.h"
#include "tools/render/Preset.h"

using namespace solvane;

namespace {

void ApplyLine(host::ParamStore& store, const std::string& line, const host::LayerState& layer) {
  try {
    if (line.rfind("key ", 0) == 0) {
      cli::ApplyKeyAssignment(store, cli::ParseKeyAssignment(line.substr(4)), layer);
    } else {
      cli::ApplyParamAssignment(store, cli::ParseParamAssignment(line));
    }
  } catch (const cli::OptionError&) {
  } catch (const host::HostError&) {
  }
}

void ReadBack(const host::ParamStore& store, const host::LayerState& layer) {
  for (PF_ParamIndex index = 1; index <= store.Count(); ++index) {
    const host::RegisteredParam param = store.At(index);
    if (!param.HasValue()) continue;
    for (const auto& [seconds, value] : store.Keyframes(index)) {
      cli::ValueText(param, store.ValueAt(index, seconds, layer));
      store.DefinitionAt(index, seconds + 0.02, layer);
    }
    cli::ValueText(param, store.ValueAt(index, 0, layer));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::ParamStore store;
  fuzz::RegisterEffectControls(store);
  const host::LayerState layer = fuzz::FuzzLayer();
  for (const std::string& line : fuzz::Lines(fuzz::Text(data, size))) ApplyLine(store, line, layer);
  ReadBack(store, layer);
  return 0;
}
