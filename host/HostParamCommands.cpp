// The parameter and pre-render commands of the stand-in host: what After Effects sends
// when an effect is applied, when the user changes a control and before each frame.
#include <vector>

#include "host/Host.h"

namespace solvane::host {
namespace {

// The params array of a command: the layer input, then every control as the effect sees
// it at the layer's current time.
class ParamList {
 public:
  ParamList(const ParamStore& store, const LayerState& layer) {
    const int count = store.Count();
    const double seconds = layer.timeScale == 0 ? 0 : double(layer.currentTime) / layer.timeScale;
    defs_.resize(size_t(count) + 1);
    defs_[0].param_type = PF_Param_LAYER;
    for (int index = 1; index <= count; ++index) {
      defs_[size_t(index)] = store.DefinitionAt(index, seconds, layer);
    }
    for (PF_ParamDef& def : defs_) pointers_.push_back(&def);
  }
  PF_ParamDef** Get() { return pointers_.data(); }

 private:
  std::vector<PF_ParamDef> defs_;
  std::vector<PF_ParamDef*> pointers_;
};

}  // namespace

PF_Err Host::ParamsSetup(PF_OutData* out_data) {
  params_.Reset();
  PF_OutData local{};
  PF_OutData* out = out_data != nullptr ? out_data : &local;
  const PF_Err err = Send(PF_Cmd_PARAMS_SETUP, out);
  if (err == PF_Err_NONE) params_.SetNumParams(out->num_params);
  return err;
}

PF_Err Host::UserChangedParam(PF_ParamIndex index) {
  ParamList params(params_, layer_);
  PF_UserChangedParamExtra extra{index};
  PF_OutData out{};
  return Send(PF_Cmd_USER_CHANGED_PARAM, &out, params.Get(), nullptr, &extra);
}

PF_Err Host::UpdateParamsUI() {
  ParamList params(params_, layer_);
  PF_OutData out{};
  return Send(PF_Cmd_UPDATE_PARAMS_UI, &out, params.Get());
}

PF_Err Host::PreRender(PF_PreRenderInput& input, PF_PreRenderOutput& output) {
  PF_PreRenderExtra extra{&input, &output, PreRenderCallbacks()};
  PF_OutData out{};
  return Send(PF_Cmd_SMART_PRE_RENDER, &out, nullptr, nullptr, &extra);
}

}  // namespace solvane::host
