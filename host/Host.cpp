#include "host/Host.h"

#include <cstdio>

#include "host/AegpSuites.h"
#include "host/CoreSuites.h"
#include "host/HostError.h"
#include "host/TransferSuite.h"

namespace solvane::host {
namespace {

thread_local Host* currentHost = nullptr;

// Makes `host` the current one on this thread for one command; commands may nest.
class CurrentHostScope {
 public:
  explicit CurrentHostScope(Host* host) : previous_(currentHost) { currentHost = host; }
  ~CurrentHostScope() { currentHost = previous_; }

 private:
  Host* previous_;
};

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// After Effects compares the flags of global set-up with the registration resource and
// reports a module where they differ: it decides how to call the module from the resource
// before any of its code runs, so the two must say the same.
void CheckGlobalFlags(const RegistrationInfo& registration, const PF_OutData& out) {
  struct Word {
    const char* field;
    const char* key;
    uint32_t reported, registered;
  };
  const Word words[] = {
      {"out_flags", "eGLO", static_cast<uint32_t>(out.out_flags), registration.outFlags},
      {"out_flags2", "eGL2", static_cast<uint32_t>(out.out_flags2), registration.outFlags2}};
  for (const Word& word : words) {
    if (word.reported == word.registered) continue;
    throw HostError(std::string("global set-up reports ") + word.field + " " + Hex(word.reported) +
                    " but the registration resource's '" + word.key + "' says " +
                    Hex(word.registered) +
                    "; After Effects checks one against the other, so the module must report "
                    "the flags its resource registers");
  }
}

}  // namespace

Host::Host(const std::string& modulePath) : module_(modulePath) { OfferSuites(); }

Host::Host(const std::string& modulePath, PF_FilterProc entry) : module_(modulePath, entry) {
  OfferSuites();
}

Host::~Host() {
  if (globallySetUp_) GlobalSetdown();
}

void Host::OfferSuites() {
  OfferCoreSuites(suites_);
  OfferWorldSuites(suites_);
  OfferAegpSuites(suites_);
}

Host* Host::Current() { return currentHost; }

Host* Host::FromEffectRef(PF_ProgPtr effect_ref) { return reinterpret_cast<Host*>(effect_ref); }

PF_Err Host::Enter(const std::string& call) {
  log_.Record(call);
  return faults_.Check(call);
}

PF_InData Host::MakeInData() {
  static PF_InteractCallbacks inter = InteractCallbacks();
  PF_InData in{};
  in.inter = inter;
  in.utils = UtilCallbacks();
  in.effect_ref = reinterpret_cast<PF_ProgPtr>(this);
  in.quality = PF_Quality_HI;
  in.version = {13, 25};
  in.appl_id = applicationId_;
  in.num_params = 41;
  in.current_time = layer_.currentTime;
  in.time_step = layer_.timeStep;
  in.local_time_step = layer_.timeStep;
  in.time_scale = layer_.timeScale;
  in.field = PF_Field_FRAME;
  in.width = layer_.CurrentWidth();
  in.height = layer_.CurrentHeight();
  in.extent_hint = {0, 0, in.width, in.height};
  in.downsample_x = layer_.downsampleX;
  in.downsample_y = layer_.downsampleY;
  in.pixel_aspect_ratio = {1, 1};
  in.global_data = globalData_;
  in.pica_basicP = BasicSuite();
  return in;
}

PF_Err Host::Send(PF_Cmd cmd, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                  void* extra) {
  PF_InData in = MakeInData();
  CurrentHostScope scope(this);
  return module_.EntryPoint()(cmd, &in, out_data, params, output, extra);
}

PF_Err Host::SendAt(A_long currentTime, PF_Cmd cmd, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* output, void* extra) {
  PF_InData in = MakeInData();
  in.current_time = currentTime;
  CurrentHostScope scope(this);
  return module_.EntryPoint()(cmd, &in, out_data, params, output, extra);
}

PF_Err Host::About(std::string* message) {
  PF_OutData out{};
  const PF_Err err = Send(PF_Cmd_ABOUT, &out);
  if (message != nullptr) *message = out.return_msg;
  return err;
}

PF_Err Host::GlobalSetup(PF_OutData* out_data) {
  PF_OutData local{};
  PF_OutData* out = out_data != nullptr ? out_data : &local;
  const PF_Err err = Send(PF_Cmd_GLOBAL_SETUP, out);
  globalData_ = out->global_data;
  globallySetUp_ = true;
  // Premiere Pro reads its own flags; a failed set-up is reported by its error.
  if (err == PF_Err_NONE && applicationId_ != kPremiereId) {
    CheckGlobalFlags(Registration(), *out);
  }
  return err;
}

PF_Err Host::GlobalSetdown() {
  PF_OutData out{};
  const PF_Err err = Send(PF_Cmd_GLOBAL_SETDOWN, &out);
  globallySetUp_ = false;
  globalData_ = nullptr;
  return err;
}

}  // namespace solvane::host
