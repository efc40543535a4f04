// The four float render targets of a frame, kept by each render thread from one frame to
// the next. A frame of the same sizes as the thread's previous one then allocates nothing:
// on a software rasteriser, allocating and first touching four HD float images costs a few
// per cent of a frame. Sets larger than a budget are deleted at the end of their frame, so
// a thread holds at most that much between frames.
#pragma once

#include <cstddef>

#include "core/gl/RenderTarget.h"

namespace solvane {

struct FrameTargets {
  RenderTarget preprocess;  // input size: the thresholded input
  RenderTarget input;       // input size: the uploaded layer
  RenderTarget placed;      // output size: the thresholded input at its offset
  RenderTarget rays;        // output size: the ray pass
};

// What a thread may keep between frames: four HD targets (133 MB) with room for buffer
// expansion; a UHD frame's targets (530 MB) live for their frame only.
inline constexpr size_t kKeptFrameTargetBytes = size_t(256) << 20;

// Makes slot a width x height GL_RGBA32F target with the given wrap mode in both
// directions. A slot of that size keeps its texture and framebuffer, whose contents are
// then undefined; any other slot is replaced. False, with the slot empty, when the target
// cannot be created.
bool PrepareFrameTarget(RenderTarget& slot, GLint width, GLint height, GLenum wrap);

// The bytes the set's textures hold.
size_t FrameTargetBytes(const FrameTargets& targets);

// At the end of a frame: keeps the set for the thread's next frame when it holds at most
// budget bytes, and deletes every target otherwise.
void EndFrameTargets(FrameTargets& targets, size_t budget = kKeptFrameTargetBytes);

// Deletes every target of the set; a context where they were made must be current.
void DeleteFrameTargets(FrameTargets& targets);

}  // namespace solvane
