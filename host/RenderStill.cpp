#include "host/RenderStill.h"

#include <memory>
#include <string>

#include "host/HostError.h"
#include "host/RenderPool.h"
#include "host/WorldOps.h"

namespace solvane::host {
namespace {

void CheckSettings(const StillSettings& settings) {
  if (settings.depth != 8 && settings.depth != 32) {
    throw HostError("the depth must be 8 or 32 bits per channel, not " +
                    std::to_string(settings.depth));
  }
  if (settings.downsample < 1) {
    throw HostError("the downsample factor must be 1 or more, not " +
                    std::to_string(settings.downsample));
  }
  if (settings.threads < 1) {
    throw HostError("at least one render thread is needed, not " +
                    std::to_string(settings.threads));
  }
}

}  // namespace

FrameResult RenderStill(Host& host, const World& image, const StillSettings& settings) {
  CheckSettings(settings);
  LayerState& layer = host.Layer();
  layer.width = image.Width();
  layer.height = image.Height();
  const PF_RationalScale factor{1, A_u_long(settings.downsample)};
  layer.downsampleX = factor;
  layer.downsampleY = factor;
  layer.kind = settings.kind;
  if (settings.params) settings.params(host);
  World converted = image.Depth() == settings.depth ? image : ConvertDepth(image, settings.depth);
  auto input = std::make_shared<const World>(settings.downsample == 1
                                                 ? std::move(converted)
                                                 : BoxDownsample(converted, settings.downsample));
  FrameRequest request;
  request.depth = settings.depth;
  RenderPool pool(host, settings.threads);
  std::future<FrameResult> frame = pool.Submit(input, std::move(request));
  FrameResult result = frame.get();
  pool.Shutdown();
  return result;
}

}  // namespace solvane::host
