#include "shells/ae/PixelTransfer.h"

namespace solvane {

bool TransferableView(const PF_EffectWorld& world, int depth, PixelView& view) {
  if (depth != 8 && depth != 32) return false;
  view.data = world.data;
  view.rowBytes = world.rowbytes;
  view.width = world.width;
  view.height = world.height;
  view.format = depth == 32 ? PixelFormat::kArgbFloat : PixelFormat::kArgb8;
  return IsTransferable(view);
}

}  // namespace solvane
