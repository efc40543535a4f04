#include "PixelView.h"

namespace solvane {

int BytesPerPixel(PixelFormat format) {
  return format == PixelFormat::kArgbFloat ? 16 : 4;
}

bool IsTransferable(const PixelView& view) {
  if (view.width < 0 || view.height < 0) return false;
  if (view.width == 0 || view.height == 0) return true;
  const int bytesPerPixel = BytesPerPixel(view.format);
  if (view.data == nullptr || view.rowBytes % bytesPerPixel != 0) return false;
  return int64_t(view.rowBytes) >= int64_t(view.width) * bytesPerPixel;
}

}  // namespace solvane
