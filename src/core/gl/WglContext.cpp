// WGL backend of OffscreenContext.h: a core-profile context on a hidden 50 x 50 window.
// A legacy context is made first because wglCreateContextAttribsARB can only be looked up
// while some context is current.
#include <windows.h>

#include <GL/glew.h>
#include <GL/wglew.h>

#include <atomic>

#include "Diagnostics.h"
#include "OffscreenContext.h"

namespace solvane {
namespace {

std::atomic<int> liveContexts{0};

constexpr char kWindowClassName[] = "QRSolvane_OpenGL_Win_Class";
constexpr char kWindowTitle[] = "OpenGL-using FBOs in AE";
constexpr int kHiddenWindowSize = 50;

HWND WindowOf(const OffscreenContext* context) {
  return static_cast<HWND>(context->window);
}
HGLRC RenderingContextOf(const OffscreenContext* context) {
  return static_cast<HGLRC>(context->renderingContext);
}
HDC DeviceContextOf(const OffscreenContext* context) {
  return static_cast<HDC>(context->deviceContext);
}

// A class left registered by an earlier context, perhaps on another thread, is fine.
bool RegisterWindowClassWgl() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = nullptr;
  windowClass.hIcon = nullptr;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kWindowClassName;
  windowClass.hIconSm = nullptr;
  if (RegisterClassExA(&windowClass) != 0) return true;
  if (GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
  PrintMessage(kMsgCantRegisterWindowClass);
  return false;
}

// The window is never shown and never drawn to: all rendering goes to framebuffer
// objects, so the pixel format only has to admit an OpenGL context.
PIXELFORMATDESCRIPTOR PixelFormatWgl() {
  PIXELFORMATDESCRIPTOR descriptor{};
  descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  descriptor.nVersion = 1;
  descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = 32;
  descriptor.cDepthBits = 8;
  descriptor.iLayerType = PFD_MAIN_PLANE;
  return descriptor;
}

// GLEW keeps one set of entry points for the whole process. Every context here is made
// on the same pixel format and so by the same driver, which hands out the same entry
// points to each, so re-initialising for another thread's context changes nothing.
bool InitializeGlewWgl() {
  return glewInit() == GLEW_OK;
}

// One run of CreateOffscreenContext. What was made before a failing step is released,
// and the caller's current context is put back.
class CreationWgl {
 public:
  CreationWgl() : savedContext_(wglGetCurrentContext()), savedDeviceContext_(wglGetCurrentDC()) {}
  CreationWgl(const CreationWgl&) = delete;
  CreationWgl& operator=(const CreationWgl&) = delete;
  ~CreationWgl();

  bool CreateHiddenWindow();
  bool MakeTemporaryCurrent();
  bool CreateCore(const OffscreenContext* shareWith);
  bool MakeCoreCurrent();
  OffscreenContext* HandOver();

 private:
  HGLRC savedContext_;
  HDC savedDeviceContext_;
  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC temporary_ = nullptr;
  HGLRC core_ = nullptr;
};

CreationWgl::~CreationWgl() {
  if (!window_) return;
  wglMakeCurrent(savedDeviceContext_, savedContext_);
  if (core_) wglDeleteContext(core_);
  if (temporary_) wglDeleteContext(temporary_);
  if (deviceContext_) ReleaseDC(window_, deviceContext_);
  DestroyWindow(window_);
}

bool CreationWgl::CreateHiddenWindow() {
  window_ = CreateWindowExA(0, kWindowClassName, kWindowTitle, 0, 0, 0, kHiddenWindowSize,
                            kHiddenWindowSize, nullptr, nullptr, nullptr, nullptr);
  if (!window_) {
    PrintMessageLine(kMsgWindowCreationFailed);
    return false;
  }
  deviceContext_ = GetDC(window_);
  if (!deviceContext_) {
    PrintMessage(kMsgNoDrawingContext);
    return false;
  }
  // A format that does not take shows up as a failed context creation below.
  const PIXELFORMATDESCRIPTOR descriptor = PixelFormatWgl();
  SetPixelFormat(deviceContext_, ChoosePixelFormat(deviceContext_, &descriptor), &descriptor);
  return true;
}

bool CreationWgl::MakeTemporaryCurrent() {
  temporary_ = wglCreateContext(deviceContext_);
  if (!temporary_) {
    PrintMessage(kMsgNoOpenGLContext);
    return false;
  }
  if (!wglMakeCurrent(deviceContext_, temporary_)) {
    PrintMessage(kMsgTempContextNotCurrent);
    return false;
  }
  if (!InitializeGlewWgl()) {
    PrintMessage(kMsgGlewNotInitialized);
    return false;
  }
  if (!wglCreateContextAttribsARB) {
    PrintMessage(kMsgNoCreateContextAttribs);
    return false;
  }
  return true;
}

bool CreationWgl::CreateCore(const OffscreenContext* shareWith) {
  // Neither forward-compatible nor debug: no WGL_CONTEXT_FLAGS_ARB entry.
  const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                            3,
                            WGL_CONTEXT_MINOR_VERSION_ARB,
                            2,
                            WGL_CONTEXT_PROFILE_MASK_ARB,
                            WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                            0};
  HGLRC share = shareWith ? RenderingContextOf(shareWith) : nullptr;
  core_ = wglCreateContextAttribsARB(deviceContext_, share, attributes);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(temporary_);
  temporary_ = nullptr;
  if (!core_) {
    PrintMessage(kMsgCoreContextFailed);
    return false;
  }
  return true;
}

// GLEW is initialised again so that its entry points are the core context's.
bool CreationWgl::MakeCoreCurrent() {
  wglMakeCurrent(deviceContext_, core_);
  if (!InitializeGlewWgl()) {
    PrintMessage(kMsgCoreGlewNotInitialized);
    return false;
  }
  return true;
}

OffscreenContext* CreationWgl::HandOver() {
  auto* record = new OffscreenContext{window_, core_, deviceContext_};
  window_ = nullptr;
  deviceContext_ = nullptr;
  core_ = nullptr;
  liveContexts.fetch_add(1);
  return record;
}

}  // namespace

OffscreenContext* CreateOffscreenContext(const OffscreenContext* shareWith) {
  if (!RegisterWindowClassWgl()) return nullptr;
  CreationWgl creation;
  if (!creation.CreateHiddenWindow() || !creation.MakeTemporaryCurrent() ||
      !creation.CreateCore(shareWith) || !creation.MakeCoreCurrent()) {
    return nullptr;
  }
  return creation.HandOver();
}

OffscreenContext* CaptureCurrentContext() {
  return new OffscreenContext{nullptr, wglGetCurrentContext(), wglGetCurrentDC()};
}

bool IsContextValid(const OffscreenContext* context) {
  return context != nullptr && context->renderingContext != nullptr;
}

bool CanMakeContextCurrent(const OffscreenContext* context) {
  return IsContextValid(context) && (context->window == nullptr || IsWindow(WindowOf(context)));
}

void MakeContextCurrent(const OffscreenContext* context) {
  if (!IsContextValid(context)) {
    wglMakeCurrent(nullptr, nullptr);
    return;
  }
  if (!wglMakeCurrent(DeviceContextOf(context), RenderingContextOf(context))) {
    PrintMessageLine(kMsgCannotSetContext);
  }
}

// Only a record with a window owns its handles; a captured record names the host's
// context and device context, which are never ours to delete or release.
void DestroyOffscreenContext(OffscreenContext* context) {
  if (!context) return;
  const bool owned = context->window != nullptr;
  if (context->renderingContext && owned) {
    if (wglGetCurrentContext() == RenderingContextOf(context)) wglMakeCurrent(nullptr, nullptr);
    if (!wglDeleteContext(RenderingContextOf(context))) {
      PrintMessageLine(kMsgContextDestructionFailed);
    }
    liveContexts.fetch_sub(1);
  }
  context->renderingContext = nullptr;
  if (context->deviceContext && owned) ReleaseDC(WindowOf(context), DeviceContextOf(context));
  context->deviceContext = nullptr;
  if (context->window) {
    DestroyWindow(WindowOf(context));
    context->window = nullptr;
  }
  // Fails harmlessly while another thread's context still has a window of the class.
  UnregisterClassA(kWindowClassName, nullptr);
}

void FreeOffscreenContext(OffscreenContext* context) {
  delete context;
}

int LiveOffscreenContexts() { return liveContexts.load(); }

}  // namespace solvane
