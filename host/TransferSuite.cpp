#include "host/TransferSuite.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/FrameContext.h"
#include "host/Host.h"
#include "host/World.h"
#include "host/WorldSuite.h"
#include "core/pixels/Composite.h"

namespace solvane::host {
namespace {

// A world the host can read or write: its pixels lie inside rows that really hold them.
bool SoundLayout(const PF_EffectWorld& world, int depth) {
  if (world.width < 0 || world.height < 0) return false;
  if (world.width == 0 || world.height == 0) return true;
  return world.data != nullptr &&
         int64_t(world.rowbytes) >= int64_t(world.width) * BytesPerPixel(depth);
}

// The clipped source rectangle, in source pixels.
PF_Rect ClipToWorld(const PF_Rect& rect, const PF_EffectWorld& world) {
  return {std::max(rect.left, A_long(0)), std::max(rect.top, A_long(0)),
          std::min(rect.right, world.width), std::min(rect.bottom, world.height)};
}

template <typename Pixel>
Pixel ReadPixel(const PF_EffectWorld& world, A_long x, A_long y) {
  Pixel p;
  const auto* row = reinterpret_cast<const std::byte*>(world.data) + size_t(y) * world.rowbytes;
  std::memcpy(&p, row + size_t(x) * sizeof(Pixel), sizeof p);
  return p;
}

template <typename Pixel>
void WritePixel(PF_EffectWorld& world, A_long x, A_long y, const Pixel& p) {
  auto* row = reinterpret_cast<std::byte*>(world.data) + size_t(y) * world.rowbytes;
  std::memcpy(row + size_t(x) * sizeof(Pixel), &p, sizeof p);
}

pixels::BlendOp BlendOpOf(PF_TransferMode xfer) {
  return xfer == PF_Xfer_ADD ? pixels::BlendOp::kAdd : pixels::BlendOp::kScreen;
}

// The shared straight-colour composites on the host's pixel records, whose memory order
// (A, R, G, B) is the rules' own.
class Compositor8 {
 public:
  Compositor8(PF_TransferMode xfer, A_u_char opacity) : composite_(BlendOpOf(xfer), opacity) {}
  PF_Pixel8 operator()(PF_Pixel8 s, PF_Pixel8 d) const {
    const pixels::Argb8 r =
        composite_({s.alpha, s.red, s.green, s.blue}, {d.alpha, d.red, d.green, d.blue});
    return {r[0], r[1], r[2], r[3]};
  }

 private:
  pixels::Compositor8 composite_;
};

struct CompositorFloat {
  pixels::BlendOp op;
  A_u_char opacity;
  PF_PixelFloat operator()(PF_PixelFloat s, PF_PixelFloat d) const {
    const pixels::ArgbFloat r = pixels::CompositeFloat(op, {s.alpha, s.red, s.green, s.blue},
                                                       {d.alpha, d.red, d.green, d.blue}, opacity);
    return {r[0], r[1], r[2], r[3]};
  }
};

// Composites `source`'s clipped rectangle `rect` into `dest`, shifted by (shiftX, shiftY).
// The shifts are 64-bit: far-away destinations must clip, not wrap around.
template <typename Pixel, typename Compositor>
void CompositeRect(const PF_EffectWorld& source, const PF_Rect& rect, int64_t shiftX,
                   int64_t shiftY, const Compositor& composite, PF_EffectWorld& dest) {
  const int64_t left = std::max<int64_t>(rect.left, -shiftX);
  const int64_t right = std::min<int64_t>(rect.right, dest.width - shiftX);
  const int64_t top = std::max<int64_t>(rect.top, -shiftY);
  const int64_t bottom = std::min<int64_t>(rect.bottom, dest.height - shiftY);
  for (int64_t y = top; y < bottom; ++y) {
    for (int64_t x = left; x < right; ++x) {
      const A_long dx = A_long(x + shiftX);
      const A_long dy = A_long(y + shiftY);
      const Pixel s = ReadPixel<Pixel>(source, A_long(x), A_long(y));
      WritePixel(dest, dx, dy, composite(s, ReadPixel<Pixel>(dest, dx, dy)));
    }
  }
}

bool Supported(PF_ModeFlags m_flags, const PF_CompositeMode* mode, const PF_MaskWorld* mask) {
  return m_flags == PF_MF_Alpha_PREMUL && mode != nullptr && mask == nullptr &&
         (mode->xfer == PF_Xfer_ADD || mode->xfer == PF_Xfer_SCREEN);
}

void RecordCall(TransferCall call, const PF_EffectWorld* source,
                const PF_EffectWorld* destination) {
  FrameContext* frame = CurrentFrame();
  if (frame == nullptr) return;
  call.sourceIsInput = source == &frame->inputRecord;
  call.destinationIsOutput = destination == frame->output.Get();
  frame->transfers.push_back(call);
}

}  // namespace

PF_Err TransferRect(PF_ProgPtr effect_ref, PF_Quality quality, PF_ModeFlags m_flags, PF_Field field,
                    const PF_Rect* src_rec, const PF_EffectWorld* src_world,
                    const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask_world0,
                    A_long dest_x, A_long dest_y, PF_EffectWorld* dst_world) {
  Host* host = Host::FromEffectRef(effect_ref);
  if (host == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
  if (PF_Err err = host->Enter("transfer_rect")) return err;
  RecordCall({quality, m_flags, field, src_rec != nullptr, src_rec ? *src_rec : PF_Rect{},
              comp_mode ? *comp_mode : PF_CompositeMode{}, mask_world0 != nullptr, dest_x, dest_y},
             src_world, dst_world);
  if (src_world == nullptr || dst_world == nullptr || !Supported(m_flags, comp_mode, mask_world0)) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  const int depth = DepthOfWorld(*src_world);
  if ((depth != 8 && depth != 32) || DepthOfWorld(*dst_world) != depth ||
      !SoundLayout(*src_world, depth) || !SoundLayout(*dst_world, depth)) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  const PF_Rect wanted = src_rec ? *src_rec : PF_Rect{0, 0, src_world->width, src_world->height};
  const PF_Rect rect = ClipToWorld(wanted, *src_world);
  // A source that is the destination itself is read from a copy, so that no pixel is
  // composited from an already composited one.
  PF_EffectWorld source = *src_world;
  std::vector<std::byte> copy;
  if (src_world->data == dst_world->data && src_world->data != nullptr) {
    const auto* bytes = reinterpret_cast<const std::byte*>(src_world->data);
    copy.assign(bytes, bytes + size_t(src_world->rowbytes) * src_world->height);
    source.data = reinterpret_cast<PF_PixelPtr>(copy.data());
  }
  const int64_t shiftX = int64_t(dest_x) - wanted.left;
  const int64_t shiftY = int64_t(dest_y) - wanted.top;
  if (depth == 8) {
    const Compositor8 composite(comp_mode->xfer, comp_mode->opacity);
    CompositeRect<PF_Pixel8>(source, rect, shiftX, shiftY, composite, *dst_world);
  } else {
    const CompositorFloat composite{BlendOpOf(comp_mode->xfer), comp_mode->opacity};
    CompositeRect<PF_PixelFloat>(source, rect, shiftX, shiftY, composite, *dst_world);
  }
  return PF_Err_NONE;
}

void OfferWorldSuites(SuiteRegistry& suites) {
  static const PF_WorldTransformSuite1 transformSuite = [] {
    PF_WorldTransformSuite1 suite{};
    suite.transfer_rect = TransferRect;
    return suite;
  }();
  suites.Offer(kPFWorldTransformSuite, kPFWorldTransformSuiteVersion1, &transformSuite);
  suites.Offer(kPFWorldSuite, kPFWorldSuiteVersion2, WorldSuite());
}

}  // namespace solvane::host
