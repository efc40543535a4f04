#include "render/PixelTransfer.h"

namespace solvane {

int BytesPerPixel(int depth) {
  switch (depth) {
    case 8:
      return 4;
    case 32:
      return 16;
    default:
      return 0;
  }
}

bool IsTransferableWorld(const PF_EffectWorld& world, int depth) {
  const int bytesPerPixel = BytesPerPixel(depth);
  if (bytesPerPixel == 0 || world.width < 0 || world.height < 0) return false;
  if (world.width == 0 || world.height == 0) return true;
  if (world.data == nullptr || world.rowbytes % bytesPerPixel != 0) return false;
  return int64_t(world.rowbytes) >= int64_t(world.width) * bytesPerPixel;
}

}  // namespace solvane
