// Preset files: read as --preset reads them (size and nesting bounds, the JSON parser, the
// entries), then applied to the effect's controls as the tool applies them, and every
// value written back as a preset writes it.
#include <cstddef>
#include <cstdint>

#include "host/HostError.h"
#include "support/EffectControls.h"
#include "support/FuzzInput.h"
#include "tools/render/Keyframes.h"
#include "tools/render/Preset.h"

using namespace solvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchFile("preset.json", data, size);
  cli::Preset preset;
  try {
    preset = cli::ReadPreset(path);
  } catch (const cli::OptionError&) {
    return 0;
  }
  host::ParamStore store;
  fuzz::RegisterEffectControls(store);
  const host::LayerState layer = fuzz::FuzzLayer();
  for (const cli::ParamAssignment& control : preset.controls) {
    try {
      cli::ApplyParamAssignment(store, control);
    } catch (const cli::OptionError&) {
    } catch (const host::HostError&) {
    }
  }
  for (const cli::KeyAssignment& key : preset.keys) {
    try {
      cli::ApplyKeyAssignment(store, key, layer);
    } catch (const cli::OptionError&) {
    } catch (const host::HostError&) {
    }
  }
  for (PF_ParamIndex index = 1; index <= store.Count(); ++index) {
    const host::RegisteredParam param = store.At(index);
    if (!param.HasValue()) continue;
    for (const auto& [seconds, value] : store.Keyframes(index)) cli::ValueText(param, value);
    cli::ValueText(param, store.ValueAt(index, 0, layer));
  }
  return 0;
}
