// An effect instance: its parameters as a user edits them, a source image the host owns,
// and the render actions in the order a host sends them (region of definition, regions of
// interest, identity, sequence begin, render, sequence end). Images are checked out to the
// plug-in through clipGetImage and counted; a render that returns holding one is a fault.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Effect.h"
#include "HostImage.h"
#include "ofxImageEffect.h"

namespace solvane::ofx_host {

class Host;

struct InstanceSetup {
  std::string context = kOfxImageEffectContextFilter;
  double projectWidth = 0, projectHeight = 0;  // canonical; 0: the source's, when set
  double pixelAspectRatio = 1.0;
  Depth depth = Depth::kFloat;
  std::string premultiplication = kOfxImageUnPreMultiplied;  // of the source clip
};

// One render of a frame. The render window is in pixel coordinates at the render scale;
// empty (x1 == x2) means the whole output.
struct FrameRequest {
  double time = 0;
  double renderScale = 1.0;
  OfxRectI window{0, 0, 0, 0};
  Rgba fill{0, 0, 0, 0};  // what the host's output buffer holds before the render
  int rowPadding = 0;
  bool negativeRowBytes = false;
  int bands = 1;  // the window split in horizontal bands rendered on as many threads
};

struct FrameResult {
  OfxStatus status = kOfxStatFailed;
  std::string failedAction;  // the action whose status ended the frame
  OfxRectD regionOfDefinition{0, 0, 0, 0};
  OfxRectD sourceRegionOfInterest{0, 0, 0, 0};
  bool identity = false;
  std::unique_ptr<HostImage> output;
};

class Instance : public Effect {
 public:
  Instance(Host& host, const Effect& contextDescriptor, const InstanceSetup& setup);
  // kOfxActionDestroyInstance after a successful Create; images still held are reclaimed
  // and reported as misuse.
  ~Instance() override;

  // kOfxActionCreateInstance, then the clip preferences action.
  OfxStatus Create();
  Host& OwnerHost() { return host_; }
  const InstanceSetup& Setup() const { return setup_; }

  // A user's edit: the value set and (as the host's options say) Begin/InstanceChanged/End
  // sent with kOfxChangeUserEdited. std::out_of_range for a parameter there is not;
  // std::invalid_argument for the wrong count of numbers.
  OfxStatus SetParam(const std::string& name, const std::vector<double>& values);
  OfxStatus PressButton(const std::string& name);
  Param& ParamAt(const std::string& name) { return Params().At(name); }
  // kOfxActionInstanceChanged for one parameter with the given reason.
  OfxStatus NotifyChanged(const std::string& name, const char* reason);

  // The source at the render scale it was made for; its premultiplication and pixel aspect
  // are the source clip's.
  void SetSource(std::shared_ptr<HostImage> image, double renderScale = 1.0);
  OfxRectD SourceRegionOfDefinition() const;

  OfxStatus GetRegionOfDefinition(double time, double scale, OfxRectD* rod);
  OfxStatus GetRegionOfInterest(double time, double scale, const OfxRectD& region,
                                OfxRectD* sourceRoi);
  // The whole sequence of actions for one frame, into a new output image. One frame at a
  // time per instance (its bands render concurrently); other instances may render at once.
  FrameResult RenderFrame(const FrameRequest& request);
  // kOfxImageEffectActionRender alone into `output`, whose bounds and region of
  // definition the plug-in sees; callable from several threads at once.
  OfxStatus Render(const FrameRequest& request, const OfxRectI& window, HostImage& output,
                   const OfxRectI& outputRod);

  OfxStatus GetImage(Clip& clip, OfxTime time, const OfxRectD* region,
                     OfxPropertySetHandle* image) override;
  OfxStatus GetClipRegionOfDefinition(Clip& clip, OfxTime time, OfxRectD* bounds) override;

 private:
  void DeclareClipState();
  OfxStatus CallClipPreferences();
  OfxStatus CallIsIdentity(const FrameRequest& request, const OfxRectI& window, bool* identity);
  OfxStatus CallSequence(const char* action, const FrameRequest& request);
  OfxRectI ToPixels(const OfxRectD& canonical, double scale) const;

  Host& host_;
  InstanceSetup setup_;
  bool created_ = false;
  std::shared_ptr<HostImage> source_;
  double sourceScale_ = 1.0;
  OfxRectD lastRod_{0, 0, 0, 0};
  bool haveRod_ = false;
  int notifyDepth_ = 0;
};

}  // namespace solvane::ofx_host
