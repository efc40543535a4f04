#include "shells/frei0r/ShownScale.h"

namespace solvane::frei0r {

ShownScale ShownScaleOf(const FilterParam& p) {
  const ControlRow& row = ControlAt(p.control);
  switch (p.kind) {
    case ParamKind::kAngle:
      // Ten turns either way; the filter takes more, typed in other hosts.
      return {360, -3600, 3600, 1, "°"};
    case ParamKind::kPointX:
    case ParamKind::kPointY:
      // A frame beyond the frame on every side.
      return {100, -100, 200, 1, "%"};
    default:
      // The slider's maximum is frei0r's 1, and the whole valid range can be reached.
      return {row.sliderMax, row.validMin, row.validMax, row.precision,
              row.percent ? "%" : ""};
  }
}

std::string ShownHint(const FilterParam& p) {
  const std::string hint(ControlAt(p.control).hint);
  if (p.kind == ParamKind::kPointX) return hint + ", across";
  if (p.kind == ParamKind::kPointY) return hint + ", down";
  return hint;
}

}  // namespace solvane::frei0r
