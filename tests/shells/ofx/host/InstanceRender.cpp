// One frame through an instance, in the order a host sends the actions.
#include <algorithm>
#include <cmath>
#include <thread>

#include "CurrentRender.h"
#include "Host.h"
#include "HostPropertyNames.h"
#include "ImageGrants.h"
#include "Instance.h"
#include "Ledger.h"

namespace solvane::ofx_host {
namespace {

// Outputs beyond this are refused as the plug-in's fault rather than allocated.
constexpr double kLargestSide = 1 << 16;
constexpr double kLargestArea = double(1 << 28);

bool Usable(const OfxRectI& r) {
  const double w = double(r.x2) - r.x1, h = double(r.y2) - r.y1;
  return w > 0 && h > 0 && w <= kLargestSide && h <= kLargestSide && w * h <= kLargestArea;
}

bool Finite(const OfxRectD& r) {
  return std::isfinite(r.x1) && std::isfinite(r.y1) && std::isfinite(r.x2) && std::isfinite(r.y2) &&
         std::fabs(r.x1) < 1e9 && std::fabs(r.y1) < 1e9 && std::fabs(r.x2) < 1e9 &&
         std::fabs(r.y2) < 1e9;
}

OfxRectI Intersect(const OfxRectI& a, const OfxRectI& b) {
  return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

// Horizontal bands of the window, bottom first, at least one row each.
std::vector<OfxRectI> Bands(const OfxRectI& window, int count) {
  const int rows = window.y2 - window.y1;
  count = std::clamp(count, 1, std::max(1, rows));
  std::vector<OfxRectI> bands;
  for (int i = 0; i < count; ++i) {
    bands.push_back(
        {window.x1, window.y1 + rows * i / count, window.x2, window.y1 + rows * (i + 1) / count});
  }
  return bands;
}

}  // namespace

const RenderCall*& CurrentRenderCall() {
  thread_local const RenderCall* call = nullptr;
  return call;
}

OfxStatus Instance::CallSequence(const char* action, const FrameRequest& request) {
  PropertySet in(std::string("the arguments of ") + action);
  in.DeclareDoubles(kOfxImageEffectPropFrameRange, {request.time, request.time});
  in.DeclareDoubles(names::kFrameStep, {1.0});
  in.DeclareInts(kOfxPropIsInteractive, {0});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {request.renderScale, request.renderScale});
  in.DeclareInts(kOfxImageEffectPropSequentialRenderStatus, {0});
  in.DeclareInts(names::kInteractiveRenderStatus, {0});
  const OfxStatus status =
      OwnerHost().Call(action, Handle(), &in, nullptr, {kOfxStatOK, kOfxStatReplyDefault});
  return status == kOfxStatReplyDefault ? kOfxStatOK : status;
}

OfxStatus Instance::CallIsIdentity(const FrameRequest& request, const OfxRectI& window,
                                   bool* identity) {
  PropertySet in("the arguments of kOfxImageEffectActionIsIdentity");
  in.DeclareDoubles(kOfxPropTime, {request.time});
  in.DeclareStrings(kOfxImageEffectPropFieldToRender, {kOfxImageFieldNone});
  in.DeclareInts(kOfxImageEffectPropRenderWindow, {window.x1, window.y1, window.x2, window.y2});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {request.renderScale, request.renderScale});
  PropertySet out("the results of kOfxImageEffectActionIsIdentity");
  out.DeclareStrings(names::kIdentityClip, {""});
  out.DeclareDoubles(names::kIdentityTime, {request.time});
  const OfxStatus status = OwnerHost().Call(kOfxImageEffectActionIsIdentity, Handle(), &in, &out,
                                            {kOfxStatOK, kOfxStatReplyDefault});
  *identity = status == kOfxStatOK;
  return status == kOfxStatOK || status == kOfxStatReplyDefault ? kOfxStatOK : status;
}

OfxStatus Instance::Render(const FrameRequest& request, const OfxRectI& window, HostImage& output,
                           const OfxRectI& outputRod) {
  PropertySet in("the arguments of kOfxImageEffectActionRender");
  in.DeclareDoubles(kOfxPropTime, {request.time});
  in.DeclareStrings(kOfxImageEffectPropFieldToRender, {kOfxImageFieldNone});
  in.DeclareInts(kOfxImageEffectPropRenderWindow, {window.x1, window.y1, window.x2, window.y2});
  in.DeclareDoubles(kOfxImageEffectPropRenderScale, {request.renderScale, request.renderScale});
  in.DeclareInts(kOfxImageEffectPropSequentialRenderStatus, {0});
  in.DeclareInts(names::kInteractiveRenderStatus, {0});
  in.DeclareInts(names::kRenderQualityDraft, {0});
  const RenderCall call{this, &output, outputRod, request.renderScale};
  const RenderCall* outer = CurrentRenderCall();
  CurrentRenderCall() = &call;
  const OfxStatus status =
      OwnerHost().Call(kOfxImageEffectActionRender, Handle(), &in, nullptr,
                       {kOfxStatOK, kOfxStatFailed, kOfxStatErrMemory, kOfxStatErrImageFormat});
  CurrentRenderCall() = outer;
  return status;
}

FrameResult Instance::RenderFrame(const FrameRequest& request) {
  FrameResult result;
  const auto fail = [&](OfxStatus status, const char* action) {
    result.status = status;
    result.failedAction = action;
    return std::move(result);
  };
  if (!source_ || std::fabs(request.renderScale - sourceScale_) > 1e-9) {
    return fail(kOfxStatErrValue, "the host: no source at the render scale");
  }
  OfxStatus status =
      GetRegionOfDefinition(request.time, request.renderScale, &result.regionOfDefinition);
  if (status != kOfxStatOK) return fail(status, kOfxImageEffectActionGetRegionOfDefinition);
  const OfxRectI bounds = ToPixels(result.regionOfDefinition, request.renderScale);
  if (!Finite(result.regionOfDefinition) || !Usable(bounds)) {
    const OfxRectD& r = result.regionOfDefinition;
    Ledger::Get().Misuse("a region of definition the host cannot allocate: (" +
                         std::to_string(r.x1) + ", " + std::to_string(r.y1) + ", " +
                         std::to_string(r.x2) + ", " + std::to_string(r.y2) + ")");
    return fail(kOfxStatErrValue, kOfxImageEffectActionGetRegionOfDefinition);
  }
  const bool whole = request.window.x1 == request.window.x2;
  const OfxRectI window = whole ? bounds : Intersect(request.window, bounds);
  const double sx = setup_.pixelAspectRatio / request.renderScale, sy = 1.0 / request.renderScale;
  const OfxRectD region{window.x1 * sx, window.y1 * sy, window.x2 * sx, window.y2 * sy};
  status = GetRegionOfInterest(request.time, request.renderScale, region,
                               &result.sourceRegionOfInterest);
  if (status != kOfxStatOK) return fail(status, kOfxImageEffectActionGetRegionsOfInterest);
  result.output = std::make_unique<HostImage>(
      ImageLayout{bounds, setup_.depth, request.rowPadding, request.negativeRowBytes},
      request.fill);
  result.output->premultiplication = setup_.premultiplication;
  result.output->pixelAspectRatio = setup_.pixelAspectRatio;
  status = CallIsIdentity(request, window, &result.identity);
  if (status != kOfxStatOK) return fail(status, kOfxImageEffectActionIsIdentity);
  if (result.identity) {
    for (int y = window.y1; y < window.y2; ++y) {
      for (int x = window.x1; x < window.x2; ++x) {
        if (source_->Contains(x, y)) result.output->Set(x, y, source_->Get(x, y));
      }
    }
    result.status = kOfxStatOK;
    return result;
  }
  status = CallSequence(kOfxImageEffectActionBeginSequenceRender, request);
  if (status != kOfxStatOK) return fail(status, kOfxImageEffectActionBeginSequenceRender);
  const std::vector<OfxRectI> bands = Bands(window, request.bands);
  std::vector<OfxStatus> statuses(bands.size(), kOfxStatOK);
  if (bands.size() == 1) {
    statuses[0] = Render(request, bands[0], *result.output, bounds);
  } else {
    std::vector<std::thread> threads;
    for (size_t i = 0; i < bands.size(); ++i) {
      threads.emplace_back(
          [&, i] { statuses[i] = Render(request, bands[i], *result.output, bounds); });
    }
    for (std::thread& thread : threads) thread.join();
  }
  const size_t held = ReclaimImages(this);
  if (held != 0) {
    Ledger::Get().Misuse(std::to_string(held) + " images still held after the render");
  }
  // The sequence ends whether or not the render succeeded, as in a host.
  const OfxStatus ended = CallSequence(kOfxImageEffectActionEndSequenceRender, request);
  for (OfxStatus s : statuses) {
    if (s != kOfxStatOK) return fail(s, kOfxImageEffectActionRender);
  }
  if (ended != kOfxStatOK) return fail(ended, kOfxImageEffectActionEndSequenceRender);
  result.status = kOfxStatOK;
  return result;
}

}  // namespace solvane::ofx_host
