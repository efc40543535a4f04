#include "shells/ofx/Render.h"

#include <string>

#include "core/controls/ControlTable.h"
#include "core/gl/OffscreenContext.h"
#include "core/render/EffectFrame.h"
#include "core/render/RenderParams.h"
#include "core/render/SharedProbe.h"
#include "shells/ofx/EffectInstance.h"
#include "shells/ofx/FrameCompositeOver.h"
#include "shells/ofx/HostSuites.h"
#include "shells/ofx/ImageTransfer.h"
#include "shells/ofx/Messages.h"
#include "shells/ofx/Properties.h"

namespace solvane::ofx {
namespace {

struct RenderArgs : FrameArgs {
  OfxRectI window{};
};

OfxStatus ReadArgs(OfxPropertySetHandle inArgs, RenderArgs& args) {
  OfxStatus status = ReadFrameArgs(inArgs, args);
  int* window[4] = {&args.window.x1, &args.window.y1, &args.window.x2, &args.window.y2};
  for (int i = 0; i < 4; ++i) {
    status = FirstError(status, GetInt(inArgs, kOfxImageEffectPropRenderWindow, i, *window[i]));
  }
  return status;
}

// An image the host lends for the frame, given back on every path.
class LentImage {
 public:
  LentImage(OfxImageClipHandle clip, OfxTime time) {
    status_ = Suites().effect->clipGetImage(clip, time, nullptr, &props_);
    if (status_ == kOfxStatOK && props_ == nullptr) status_ = kOfxStatFailed;
  }
  ~LentImage() {
    if (props_ != nullptr) Suites().effect->clipReleaseImage(props_);
  }
  LentImage(const LentImage&) = delete;
  LentImage& operator=(const LentImage&) = delete;

  OfxStatus Status() const { return status_; }
  OfxPropertySetHandle Props() const { return props_; }

 private:
  OfxPropertySetHandle props_ = nullptr;
  OfxStatus status_ = kOfxStatOK;
};

OfxStatus ReadFormat(OfxPropertySetHandle props, HostImage& image) {
  std::string depth, components, premultiplication;
  OfxStatus status = GetString(props, kOfxImageEffectPropPixelDepth, 0, depth);
  status = FirstError(status, GetString(props, kOfxImageEffectPropComponents, 0, components));
  status = FirstError(status, GetString(props, kOfxImageEffectPropPreMultiplication, 0,
                                        premultiplication));
  if (status != kOfxStatOK) return status;
  if (components != kOfxImageComponentRGBA) return kOfxStatErrImageFormat;
  if (depth == kOfxBitDepthByte) {
    image.format = PixelFormat::kArgb8;
  } else if (depth == kOfxBitDepthFloat) {
    image.format = PixelFormat::kArgbFloat;
  } else {
    return kOfxStatErrImageFormat;
  }
  image.alpha = premultiplication == kOfxImagePreMultiplied ? Alpha::kPremultiplied
                : premultiplication == kOfxImageOpaque      ? Alpha::kOpaque
                                                            : Alpha::kStraight;
  return kOfxStatOK;
}

OfxStatus ReadImage(OfxPropertySetHandle props, HostImage& image) {
  OfxStatus status = ReadFormat(props, image);
  int rowBytes = 0;
  int* bounds[4] = {&image.bounds.x1, &image.bounds.y1, &image.bounds.x2, &image.bounds.y2};
  for (int i = 0; i < 4; ++i) {
    status = FirstError(status, GetInt(props, kOfxImagePropBounds, i, *bounds[i]));
  }
  status = FirstError(status, GetInt(props, kOfxImagePropRowBytes, 0, rowBytes));
  status = FirstError(status, GetPointer(props, kOfxImagePropData, 0, image.data));
  image.rowBytes = rowBytes;
  if (status != kOfxStatOK) return status;
  const bool empty = image.bounds.x2 <= image.bounds.x1 || image.bounds.y2 <= image.bounds.y1;
  return image.data != nullptr || empty ? kOfxStatOK : kOfxStatErrBadHandle;
}

// True for a "Position" the host handed over as the declared normalised default itself.
bool IsRawNormalisedDefault(const HostControls& controls) {
  const ControlRow& row = ControlAt(kParamPosition);
  return Suites().passesNormalisedDefaultsRaw && controls.positionX == row.pointDefaultX / 100.0 &&
         controls.positionY == 1.0 - row.pointDefaultY / 100.0;
}

// The core's frame: the source at the render scale, the output grown by the expansion on
// every side, "Position" in pixels from the source's top-left corner.
RenderParams FrameParams(HostControls& controls, const RenderArgs& args, const HostImage& source,
                         double pixelAspect) {
  ControlValues& v = controls.values;
  v.positionX = controls.positionX * args.scaleX / pixelAspect - source.bounds.x1;
  v.positionY = source.bounds.y2 - controls.positionY * args.scaleY;
  if (IsRawNormalisedDefault(controls)) {
    const ControlRow& row = ControlAt(kParamPosition);
    v.positionX = (source.bounds.x2 - source.bounds.x1) * (row.pointDefaultX / 100.0);
    v.positionY = (source.bounds.y2 - source.bounds.y1) * (row.pointDefaultY / 100.0);
  }
  const int32_t expansion = BufferExpansionPixels(v.bufferExpansion, args.scaleX);
  FrameGeometry frame;
  frame.downsampleScale = args.scaleX;
  frame.outputWidth = source.bounds.x2 - source.bounds.x1 + 2 * expansion;
  frame.outputHeight = source.bounds.y2 - source.bounds.y1 + 2 * expansion;
  return DeriveRenderParams(v, frame);
}

OfxRectI Grown(const OfxRectI& r, int32_t by) {
  return {r.x1 - by, r.y1 - by, r.x2 + by, r.y2 + by};
}

OfxStatus Draw(OfxImageEffectHandle effect, const RenderParams& params, CoreFrame& input,
               CoreFrame& output) {
  const GLResources* probe = SharedProbe();
  if (probe->context == nullptr) {
    PostErrorOnce(effect, Once::kNoContext,
                  "no OpenGL context can be made on this machine; the effect cannot render");
    return kOfxStatFailed;
  }
  if (!IsTransferable(input.View()) || !IsTransferable(output.View())) return kOfxStatErrImageFormat;
  FrameComposite composite;
  EffectFrameResult result;
  {
    ScopedContextRestore restore;  // the host's context, if it had one, is current again after
    result = DrawEffectFrame(probe, params, input.View(), output.View(), composite);
  }
  switch (result) {
    case EffectFrameResult::kDrawn:
      break;
    case EffectFrameResult::kNoContext:
      PostErrorOnce(effect, Once::kNoContext,
                    "no OpenGL context can be made on a render thread; the effect cannot render");
      return kOfxStatFailed;
    case EffectFrameResult::kNoProgram:
      PostErrorOnce(effect, Once::kNoProgram,
                    "the effect's shaders do not build with this OpenGL (GLSL 3.30 is needed)");
      return kOfxStatFailed;
    case EffectFrameResult::kNoTargets:
      return kOfxStatErrMemory;
  }
  if (composite.wanted) {
    CompositeInputOver(input, params.offsetX, params.offsetY, composite,
                       CompositeOpacity(params), output);
  }
  return kOfxStatOK;
}

OfxStatus RenderImages(OfxImageEffectHandle effect, const RenderArgs& args,
                       HostControls& controls, OfxPropertySetHandle sourceProps,
                       OfxPropertySetHandle outputProps) {
  HostImage source, output;
  OfxStatus status = ReadImage(sourceProps, source);
  status = FirstError(status, ReadImage(outputProps, output));
  if (status != kOfxStatOK) return status;
  if (source.format != output.format) return kOfxStatErrImageFormat;
  const RenderParams params = FrameParams(controls, args, source, PixelAspectOf(sourceProps));
  CoreFrame input = ImportImage(source);
  CoreFrame result = MakeFrame(Grown(source.bounds, params.expansion), source.format);
  // Nothing to draw from an empty source: the window is transparent black.
  if (input.Width() > 0 && input.Height() > 0) status = Draw(effect, params, input, result);
  if (status == kOfxStatOK) ExportWindow(result, args.window, output);
  return status;
}

}  // namespace

OfxStatus Render(OfxImageEffectHandle effect, OfxPropertySetHandle inArgs) {
  const EffectInstance* instance = InstanceOf(effect);
  if (instance == nullptr) return kOfxStatErrBadHandle;
  RenderArgs args;
  HostControls controls;
  OfxStatus status = ReadArgs(inArgs, args);
  status = FirstError(status, ReadControls(*instance, args.time, controls));
  if (status != kOfxStatOK) return status;
  if (!(args.scaleX > 0) || !(args.scaleY > 0)) return kOfxStatErrValue;
  const LentImage source(instance->source, args.time);
  const LentImage output(instance->output, args.time);
  status = FirstError(source.Status(), output.Status());
  if (status != kOfxStatOK) return status;
  return RenderImages(effect, args, controls, source.Props(), output.Props());
}

}  // namespace solvane::ofx
