// The controls an effect registered (full copies of what add_param received) and their
// values: defaults, values the user sets by index or name, keyframes, and the UI state
// (hidden, greyed out) the effect sets through its suites.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "AE_Effect.h"

namespace solvane::host {

struct LayerState;

// A control's value in the user's terms: a number, a popup choice (1-based), a checkbox
// (0 or 1), an angle in degrees, or a point (x, y) in layer pixels at full resolution.
struct ParamValue {
  double a = 0;
  double b = 0;
};

struct RegisteredParam {
  PF_ParamIndex index = 0;
  PF_ParamDef def{};             // as registered, with ui_flags as the effect last set them
  std::string text;              // popup items, checkbox box text or button face text
  std::string group;             // the enclosing group's name, empty at the top level
  PF_ParamIndex groupIndex = 0;  // 0 at the top level
  A_long dynamicFlags = 0;       // AEGP dynamic stream flags (hidden and so on)

  std::string Name() const { return def.name; }
  // "Group/Name", or the bare name at the top level.
  std::string QualifiedName() const;
  std::vector<std::string> Choices() const;  // popup items in order
  bool HasValue() const;
  bool CanVaryOverTime() const;
};

class ParamStore {
 public:
  // Forgets every control; the next add_param registers index 1.
  void Reset();
  // Captures a copy of the definition, strings included. Refuses (PF_Err_BAD_CALLBACK_PARAM)
  // an unterminated name or a kind the host does not know.
  PF_Err Add(const PF_ParamDef& def);
  void SetNumParams(A_long count);
  A_long NumParams() const;  // what PARAMS_SETUP reported, -1 before

  int Count() const;  // registered controls, the layer input not included
  // A copy of the control at `index`; throws HostError outside 1..Count().
  RegisteredParam At(PF_ParamIndex index) const;
  // Display name (case-insensitive), "Group/Name" or a host index in text; throws HostError
  // naming the choices when the name is unknown or names several controls.
  PF_ParamIndex Find(const std::string& name) const;

  // Replaces the control's value and drops its keyframes; throws HostError when the
  // control has no value or the value lies outside what it accepts.
  void Set(PF_ParamIndex index, ParamValue value);
  // Adds or replaces a keyframe at `seconds`; throws HostError as Set does, and for
  // controls that cannot vary over time.
  void SetKeyframe(PF_ParamIndex index, double seconds, ParamValue value);
  // The value at `seconds`: keyframes interpolated (linear for sliders, angles and
  // points, hold for popups and checkboxes), else the set value, else the default.
  ParamValue ValueAt(PF_ParamIndex index, double seconds, const LayerState& layer) const;
  // The control's keyframes by time in seconds; empty when it has none.
  std::map<double, ParamValue> Keyframes(PF_ParamIndex index) const;
  // The definition as the effect sees it at `seconds`: the value filled in, points scaled
  // by the downsample factor, string pointers aimed at this store's copies.
  PF_ParamDef DefinitionAt(PF_ParamIndex index, double seconds, const LayerState& layer) const;

  // UI state. The effect changes it through PF_UpdateParamUI and dynamic stream flags.
  PF_Err UpdateUi(PF_ParamIndex index, const PF_ParamDef& def);
  PF_Err SetDynamicFlag(PF_ParamIndex index, A_long flag, bool set);
  bool Hidden(PF_ParamIndex index) const;         // its own hidden flag
  bool HiddenByGroup(PF_ParamIndex index) const;  // an enclosing group is hidden
  bool Disabled(PF_ParamIndex index) const;

 private:
  struct Stored {
    RegisteredParam param;
    bool valueSet = false;
    ParamValue value;
    std::map<double, ParamValue> keyframes;
  };
  // The caller holds mutex_; both throw HostError for an index outside 1..Count().
  const Stored& StoredAt(PF_ParamIndex index) const;
  Stored& StoredAt(PF_ParamIndex index);
  ParamValue ValueAtLocked(const Stored& stored, double seconds, const LayerState& layer) const;

  mutable std::mutex mutex_;
  std::vector<Stored> params_;  // params_[i] is host index i + 1
  std::vector<PF_ParamIndex> openGroups_;
  A_long numParams_ = -1;
};

// The value a control has until one is set: its registered default (a point's is per cent
// of the layer, in pixels of the full-resolution layer).
ParamValue DefaultValue(const RegisteredParam& param, const LayerState& layer);

// Refuses a value the control does not accept, with a message for the user.
void ValidateParamValue(const RegisteredParam& param, ParamValue value);

}  // namespace solvane::host
