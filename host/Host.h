// The stand-in host: loads an effect module the way After Effects does and drives it
// through EntryPointFunc, supplying every record, callback and suite the effect uses.
// It logs its calls, injects faults on request and keeps the balance of what the effect
// acquired, so tests can hold the effect to the host's rules.
#pragma once

#include <memory>
#include <string>

#include "AE_Effect.h"
#include "host/AegpHandles.h"
#include "host/Faults.h"
#include "host/HandleTable.h"
#include "host/LayerState.h"
#include "host/Module.h"
#include "host/ParamCheckouts.h"
#include "host/ParamStore.h"
#include "host/PreRenderCallbacks.h"
#include "host/SuiteRegistry.h"

namespace solvane::host {

inline constexpr A_long kAfterEffectsId = 0x46585443;  // 'FXTC'
inline constexpr A_long kPremiereId = 0x50724D72;      // 'PrMr'

class Host {
 public:
  // Loads the module; throws HostError when it cannot be loaded or is not an effect.
  explicit Host(const std::string& modulePath);
  // Drives `entry` (the effect linked into the test itself) with the registration resource
  // read from modulePath.
  Host(const std::string& modulePath, PF_FilterProc entry);
  // Runs global set-down if global set-up ran and nobody set down yet.
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const RegistrationInfo& Registration() const { return module_.Registration(); }
  void SetApplicationId(A_long id) { applicationId_ = id; }
  LayerState& Layer() { return layer_; }

  // Issues one command with a fresh in_data; the caller owns out_data and the extra record.
  PF_Err Send(PF_Cmd cmd, PF_OutData* out_data, PF_ParamDef* params[] = nullptr,
              PF_LayerDef* output = nullptr, void* extra = nullptr);
  // As Send, at `currentTime` instead of the layer's time, so render threads can run
  // frames of several times at once without touching the shared layer state.
  PF_Err SendAt(A_long currentTime, PF_Cmd cmd, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra);

  PF_Err About(std::string* message);
  // Keeps the global data the effect returns for every later command. Throws HostError
  // when a set-up that succeeded reports out_flags or out_flags2 other than the
  // registration resource's (for any host but Premiere Pro).
  PF_Err GlobalSetup(PF_OutData* out_data = nullptr);
  PF_Err GlobalSetdown();
  PF_Handle GlobalData() const { return globalData_; }
  // Hands later commands this global data as if global set-up had returned it, without
  // running global set-up (or set-down at the end): tests use it to stand for a set-up
  // that found no usable OpenGL.
  void UseGlobalData(PF_Handle handle) { globalData_ = handle; }

  // Every host callback calls this first: the call is logged and any injected error for
  // it is returned.
  PF_Err Enter(const std::string& call);

  SuiteRegistry& Suites() { return suites_; }
  FaultPlan& Faults() { return faults_; }
  CallLog& Log() { return log_; }
  HandleTable& Handles() { return handles_; }
  ParamStore& Params() { return params_; }
  ParamCheckouts& Checkouts() { return checkouts_; }
  AegpHandles& Aegp() { return aegp_; }
  LayerCheckoutLog& LayerCheckouts() { return layerCheckouts_; }

  // PARAMS_SETUP into a fresh parameter store; out_data (optional) receives num_params.
  PF_Err ParamsSetup(PF_OutData* out_data = nullptr);
  // USER_CHANGED_PARAM for `index`, and UPDATE_PARAMS_UI, each with the controls'
  // values at the layer's current time in params.
  PF_Err UserChangedParam(PF_ParamIndex index);
  PF_Err UpdateParamsUI();
  // SMART_PRE_RENDER with the caller's input and output records.
  PF_Err PreRender(PF_PreRenderInput& input, PF_PreRenderOutput& output);

  // The host whose command runs on the calling thread (callbacks without an effect_ref).
  static Host* Current();
  static Host* FromEffectRef(PF_ProgPtr effect_ref);

 private:
  PF_InData MakeInData();
  void OfferSuites();

  Module module_;
  A_long applicationId_ = kAfterEffectsId;
  LayerState layer_;
  PF_Handle globalData_ = nullptr;
  bool globallySetUp_ = false;
  SuiteRegistry suites_;
  FaultPlan faults_;
  CallLog log_;
  HandleTable handles_;
  ParamStore params_;
  ParamCheckouts checkouts_;
  AegpHandles aegp_;
  LayerCheckoutLog layerCheckouts_;
};

}  // namespace solvane::host
