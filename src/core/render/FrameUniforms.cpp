#include "core/render/FrameUniforms.h"

#include "core/controls/ControlChoices.h"

namespace solvane {

// Floats are the record's doubles rounded to single precision; the sample count reaches
// the shader as a float.
void RecordPreprocessUniforms(UniformTable& uniforms, const RenderParams& p, GLuint inputTexture) {
  uniforms["inTex"] = UniformValue::Texture2D(inputTexture);
  uniforms["thresholdModeL"] = UniformValue::Int(p.thresholdMode);
  uniforms["thresholdF"] = UniformValue::Float(float(p.threshold));
  uniforms["thresholdSmoothF"] = UniformValue::Float(float(p.thresholdSmooth));
  uniforms["exposureF"] = UniformValue::Float(float(p.exposure));
  uniforms["presentViewL"] = UniformValue::Int(p.view == kViewInput ? 1 : 0);
}

void RecordRayUniforms(UniformTable& uniforms, const RenderParams& p, GLuint placedTexture) {
  uniforms["inTex"] = UniformValue::Texture2D(placedTexture);
  uniforms["posX"] = UniformValue::Float(float(p.posX));
  uniforms["posY"] = UniformValue::Float(float(p.posY));
  uniforms["decayF"] = UniformValue::Float(float(p.decay));
  uniforms["densityF"] = UniformValue::Float(float(p.density));
  uniforms["weightF"] = UniformValue::Float(float(p.exposure));
  uniforms["caF"] = UniformValue::Float(float(p.chromaticAberration));
  uniforms["aspectF"] = UniformValue::Float(float(p.aspect));
  uniforms["samplesF"] = UniformValue::Float(float(p.samples));
  uniforms["jitterF"] = UniformValue::Float(float(p.jitter));
  uniforms["modeL"] = UniformValue::Int(p.mode);
  uniforms["forwardL"] = UniformValue::Int(p.forward);
  uniforms["backwardL"] = UniformValue::Int(p.backward);
  uniforms["aberration_channelL"] = UniformValue::Int(p.channels);
  uniforms["unmultL"] = UniformValue::Int(p.unmult);
}

}  // namespace solvane
