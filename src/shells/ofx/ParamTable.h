// How the effect's controls appear as OpenFX parameters: every control of the table shown
// in OpenFX, with the parameter name hosts save projects under (stable: never rename one)
// and the kind of parameter it becomes. Popups become choices whose options leave the menu
// separator out; a choice's value is the option's 0-based place, mapped onto the popup's
// 1-based item so that saved choice values never move. Pure data, no host calls.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/controls/ControlTable.h"

namespace solvane::ofx {

enum class ParamKind : uint8_t {
  kGroup,
  kPushButton,
  kChoice,
  kDouble,
  kAngle,    // a double of angle type, in degrees
  kInteger,  // a slider of whole values (Samples)
  kBoolean,
  kPoint,    // a 2D double, absolute position in canonical coordinates
};

struct ParamRow {
  ControlIndex control = kParamInput;
  std::string_view name;  // the OpenFX parameter name
  ParamKind kind = ParamKind::kDouble;
};

// The parameters in host order; group ends have none.
std::span<const ParamRow> Params();

// The parameter of a control, or null where OpenFX does not show it.
const ParamRow* ParamOf(ControlIndex control);

// The label a host shows: the control's own name, "About" for the version button.
std::string_view LabelOf(const ParamRow& param);

// The name of the group parameter a control sits in, "" at the top level.
std::string_view ParentOf(ControlIndex control);

// A number as the control holds it, whatever a host or script sent: within the slider's
// valid range, its default for NaN. Angles keep any finite value (NaN and infinities give
// the default).
double HeldValue(ControlIndex control, double value);

// A popup's selectable items, in order.
std::vector<std::string_view> ChoiceOptions(ControlIndex popup);

// The popup's 1-based item of a choice's option; an option beyond the list (a host's or a
// script's stray value) gives the popup's default item.
int32_t ItemOfOption(ControlIndex popup, int option);
// The option of an item: the inverse of ItemOfOption for every selectable item.
int OptionOfItem(ControlIndex popup, int32_t item);

}  // namespace solvane::ofx
