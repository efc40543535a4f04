#include "shells/ae/Rects.h"

#include <algorithm>

namespace solvane {

bool RectIsEmpty(const PF_LRect& rect) {
  return rect.left >= rect.right || rect.top >= rect.bottom;
}

void MergeRectInto(const PF_LRect& source, PF_LRect& destination) {
  if (RectIsEmpty(destination)) {
    destination = source;
    return;
  }
  if (RectIsEmpty(source)) return;
  destination.left = std::min(destination.left, source.left);
  destination.top = std::min(destination.top, source.top);
  destination.right = std::max(destination.right, source.right);
  destination.bottom = std::max(destination.bottom, source.bottom);
}

void GrowRect(PF_LRect& rect, A_long amount) {
  rect.left -= amount;
  rect.top -= amount;
  rect.right += amount;
  rect.bottom += amount;
}

}  // namespace solvane
