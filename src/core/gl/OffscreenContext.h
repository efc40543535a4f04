// A private OpenGL 3.2 core-profile context that the effect owns, independent of whatever
// context the host has current. One backend per platform implements these operations
// (WGL with a hidden window on Windows, EGL on Linux); the build picks the source file.
#pragma once

namespace solvane {

// The three handles of one context, in the platform's own terms: on Windows the hidden
// window (HWND), the WGL rendering context (HGLRC) and the window's device context (HDC).
// The EGL backend keeps its pbuffer surface (null when the context runs surfaceless), the
// EGL context and the surface used to make it current, and its display after this record.
// A record made by CaptureCurrentContext has no window.
struct OffscreenContext {
  void* window = nullptr;
  void* renderingContext = nullptr;
  void* deviceContext = nullptr;
};

// A new context, current on the calling thread; null on failure (the failing step is
// printed). shareWith, when not null, names a context to share objects with.
OffscreenContext* CreateOffscreenContext(const OffscreenContext* shareWith);

// A record of the calling thread's current context (either handle may be null), used only
// to put it back later with MakeContextCurrent. It owns nothing.
OffscreenContext* CaptureCurrentContext();

bool IsContextValid(const OffscreenContext* context);

// True when the calling thread can make the context current. On Windows a context drawn
// through a hidden window cannot once the thread that made the window has ended (Windows
// destroys a thread's windows with it); deleting the context still frees its objects.
bool CanMakeContextCurrent(const OffscreenContext* context);

// Makes the context current on the calling thread; with null, or a record that holds no
// rendering context, leaves the thread with no current context.
void MakeContextCurrent(const OffscreenContext* context);

// Releases the context, its drawing surface and its window and clears the fields; a
// second call on the same record does nothing more. The record's storage stays allocated.
void DestroyOffscreenContext(OffscreenContext* context);

// Frees a record's storage, after DestroyOffscreenContext or after a captured record has
// been used to restore; null is allowed. Records are owned by whoever created them.
void FreeOffscreenContext(OffscreenContext* context);

// Puts the calling thread's current context (possibly none) back when it goes out of
// scope, whatever was made current meanwhile.
class ScopedContextRestore {
 public:
  ScopedContextRestore() : previous_(CaptureCurrentContext()) {}
  ~ScopedContextRestore() {
    MakeContextCurrent(previous_);
    FreeOffscreenContext(previous_);
  }
  ScopedContextRestore(const ScopedContextRestore&) = delete;
  ScopedContextRestore& operator=(const ScopedContextRestore&) = delete;

 private:
  OffscreenContext* previous_;
};

// Contexts created by CreateOffscreenContext and not destroyed yet, in this process. It
// lets tests see that each render thread makes one context and that thread exit ends it.
int LiveOffscreenContexts();

}  // namespace solvane
