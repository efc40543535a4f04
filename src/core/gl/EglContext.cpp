// EGL backend of OffscreenContext.h, for Linux and headless machines. One process-wide
// display stands in for the registered window class; each context runs surfaceless where
// the display allows it, or on a small pbuffer in the role of the hidden window.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "Diagnostics.h"
#include "GLApi.h"
#include "OffscreenContext.h"

namespace solvane {
namespace {

constexpr EGLint kHiddenSurfaceSize = 50;

std::atomic<int> liveContexts{0};

// Every record this backend hands out is one of these; the public handles come first.
struct EglContextRecord : OffscreenContext {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLSurface readSurface = EGL_NO_SURFACE;
  bool owned = false;  // false for captured records: their handles belong to someone else
};

struct DisplayEgl {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
  bool surfaceless = false;
  bool createContext = false;  // core-profile attributes are understood
  EGLint error = EGL_SUCCESS;  // why the display could not be set up
};

const char* ErrorStringEgl(EGLint error) {
  switch (error) {
    case EGL_SUCCESS:
      return "EGL_SUCCESS";
    case EGL_NOT_INITIALIZED:
      return "EGL_NOT_INITIALIZED";
    case EGL_BAD_ACCESS:
      return "EGL_BAD_ACCESS";
    case EGL_BAD_ALLOC:
      return "EGL_BAD_ALLOC";
    case EGL_BAD_ATTRIBUTE:
      return "EGL_BAD_ATTRIBUTE";
    case EGL_BAD_CONFIG:
      return "EGL_BAD_CONFIG";
    case EGL_BAD_CONTEXT:
      return "EGL_BAD_CONTEXT";
    case EGL_BAD_CURRENT_SURFACE:
      return "EGL_BAD_CURRENT_SURFACE";
    case EGL_BAD_DISPLAY:
      return "EGL_BAD_DISPLAY";
    case EGL_BAD_MATCH:
      return "EGL_BAD_MATCH";
    case EGL_BAD_NATIVE_PIXMAP:
      return "EGL_BAD_NATIVE_PIXMAP";
    case EGL_BAD_NATIVE_WINDOW:
      return "EGL_BAD_NATIVE_WINDOW";
    case EGL_BAD_PARAMETER:
      return "EGL_BAD_PARAMETER";
    case EGL_BAD_SURFACE:
      return "EGL_BAD_SURFACE";
    case EGL_CONTEXT_LOST:
      return "EGL_CONTEXT_LOST";
    default:
      return "unknown EGL error";
  }
}

// The step's message, then the EGL error behind it on a line of its own.
void PrintFailureEgl(const char* message, EGLint error) {
  PrintMessage(message);
  PrintMessage((std::string("EGL error: ") + ErrorStringEgl(error) + "\n").c_str());
}

bool HasExtensionEgl(const char* extensions, std::string_view name) {
  std::string_view list = extensions ? extensions : "";
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find(' ', start);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(start, end - start) == name) return true;
    start = end + 1;
  }
  return false;
}

EGLDisplay InitializeDisplayEgl(EGLDisplay display, EGLint* major, EGLint* minor) {
  if (display != EGL_NO_DISPLAY && eglInitialize(display, major, minor)) return display;
  return EGL_NO_DISPLAY;
}

// A GPU through the device platform. Mesa lists its software rasteriser as a device too;
// that one is left to the surfaceless platform, which is Mesa's own way to run headless.
EGLDisplay OpenDeviceDisplayEgl(const char* clientExtensions, EGLint* major, EGLint* minor) {
  if (!HasExtensionEgl(clientExtensions, "EGL_EXT_platform_device")) return EGL_NO_DISPLAY;
  auto queryDevices =
      reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  auto queryDeviceString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
      eglGetProcAddress("eglQueryDeviceStringEXT"));
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!queryDevices || !queryDeviceString || !getPlatformDisplay) return EGL_NO_DISPLAY;

  EGLDeviceEXT devices[16];
  EGLint count = 0;
  if (!queryDevices(16, devices, &count)) return EGL_NO_DISPLAY;
  for (EGLint i = 0; i < count; ++i) {
    const char* deviceExtensions = queryDeviceString(devices[i], EGL_EXTENSIONS);
    if (HasExtensionEgl(deviceExtensions, "EGL_MESA_device_software")) continue;
    EGLDisplay display = InitializeDisplayEgl(
        getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr), major, minor);
    if (display != EGL_NO_DISPLAY) return display;
  }
  return EGL_NO_DISPLAY;
}

EGLDisplay OpenSurfacelessDisplayEgl(const char* clientExtensions, EGLint* major, EGLint* minor) {
  if (!HasExtensionEgl(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    return EGL_NO_DISPLAY;
  }
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return EGL_NO_DISPLAY;
  return InitializeDisplayEgl(
      getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr), major,
      minor);
}

EGLConfig ChooseConfigEgl(EGLDisplay display, bool surfaceless) {
  const EGLint attributes[] = {EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT,
                               EGL_SURFACE_TYPE,
                               surfaceless ? 0 : EGL_PBUFFER_BIT,
                               EGL_RED_SIZE,
                               8,
                               EGL_GREEN_SIZE,
                               8,
                               EGL_BLUE_SIZE,
                               8,
                               EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) return nullptr;
  return config;
}

DisplayEgl OpenDisplayEgl() {
  DisplayEgl result;
  // Null when the library lacks client extensions; then only the default display is left.
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  EGLint major = 0;
  EGLint minor = 0;
  result.display = OpenDeviceDisplayEgl(clientExtensions, &major, &minor);
  if (result.display == EGL_NO_DISPLAY) {
    result.display = OpenSurfacelessDisplayEgl(clientExtensions, &major, &minor);
  }
  if (result.display == EGL_NO_DISPLAY) {
    result.display = InitializeDisplayEgl(eglGetDisplay(EGL_DEFAULT_DISPLAY), &major, &minor);
  }
  if (result.display == EGL_NO_DISPLAY) {
    result.error = eglGetError();
    return result;
  }
  const char* extensions = eglQueryString(result.display, EGL_EXTENSIONS);
  result.surfaceless = HasExtensionEgl(extensions, "EGL_KHR_surfaceless_context");
  result.createContext =
      (major > 1 || minor >= 5) || HasExtensionEgl(extensions, "EGL_KHR_create_context");
  result.config = ChooseConfigEgl(result.display, result.surfaceless);
  if (!result.config) result.error = eglGetError();
  return result;
}

// Opened on first use and kept for the life of the process: contexts on other threads
// may outlive any one owner, so the display is never terminated.
const DisplayEgl& SharedDisplayEgl() {
  static std::once_flag once;
  static DisplayEgl display;
  std::call_once(once, [] { display = OpenDisplayEgl(); });
  return display;
}

// The bound client API is per-thread EGL state, so every operation selects desktop GL
// before it creates, queries or releases a context.
bool BindOpenGLApiEgl() {
  return eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

const EglContextRecord* AsEgl(const OffscreenContext* context) {
  return static_cast<const EglContextRecord*>(context);
}

// Leaves the thread with nothing current and no EGL state at all. glvnd's libEGL keeps a
// record per thread that its unload at exit() frees for every thread, while the record's
// own thread-exit destructor frees it again: a host thread that ends during exit() (a
// GStreamer pool thread) then corrupts the heap. A thread released here has no record left.
void ReleaseCurrentEgl() {
  EGLDisplay current = eglGetCurrentDisplay();
  if (current != EGL_NO_DISPLAY) {
    eglMakeCurrent(current, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  eglReleaseThread();
}

void RestoreEgl(const EglContextRecord& saved) {
  if (saved.renderingContext) {
    eglMakeCurrent(saved.display, saved.deviceContext, saved.readSurface, saved.renderingContext);
  } else {
    ReleaseCurrentEgl();
  }
}

EglContextRecord CurrentEgl() {
  EglContextRecord record;
  record.renderingContext = eglGetCurrentContext();
  record.deviceContext = eglGetCurrentSurface(EGL_DRAW);
  record.readSurface = eglGetCurrentSurface(EGL_READ);
  record.display = eglGetCurrentDisplay();
  return record;
}

// The entry points are fetched once for the process: every context here comes from the one
// driver behind the one display, through glvnd's dispatch, which routes each call to the
// calling thread's current context. Asked at both places where the WGL backend initialises
// GLEW, so a driver without the functions fails at the same step with the same message.
bool InitializeEntryPointsEgl() {
  return LoadGLEntryPoints();
}

}  // namespace

namespace {

// One run of CreateOffscreenContext. Each step prints its own message when it fails; what
// was made before a failure is released and the caller's context is put back.
class CreationEgl {
 public:
  CreationEgl(const DisplayEgl& shared, const EglContextRecord& saved)
      : shared_(shared), saved_(saved) {}
  CreationEgl(const CreationEgl&) = delete;
  CreationEgl& operator=(const CreationEgl&) = delete;
  ~CreationEgl();

  bool CreateHiddenSurface();
  bool MakeTemporaryCurrent();
  bool CreateCore(const OffscreenContext* shareWith);
  bool MakeCoreCurrent();
  OffscreenContext* HandOver();

 private:
  const DisplayEgl& shared_;
  const EglContextRecord saved_;
  EGLSurface surface_ = EGL_NO_SURFACE;
  EGLContext temporary_ = EGL_NO_CONTEXT;
  EGLContext core_ = EGL_NO_CONTEXT;
};

CreationEgl::~CreationEgl() {
  if (core_ == EGL_NO_CONTEXT && temporary_ == EGL_NO_CONTEXT && surface_ == EGL_NO_SURFACE) {
    return;
  }
  RestoreEgl(saved_);
  if (core_ != EGL_NO_CONTEXT) eglDestroyContext(shared_.display, core_);
  if (temporary_ != EGL_NO_CONTEXT) eglDestroyContext(shared_.display, temporary_);
  if (surface_ != EGL_NO_SURFACE) eglDestroySurface(shared_.display, surface_);
}

bool CreationEgl::CreateHiddenSurface() {
  if (shared_.surfaceless) return true;
  const EGLint attributes[] = {EGL_WIDTH, kHiddenSurfaceSize, EGL_HEIGHT, kHiddenSurfaceSize,
                               EGL_NONE};
  surface_ = eglCreatePbufferSurface(shared_.display, shared_.config, attributes);
  if (surface_ != EGL_NO_SURFACE) return true;
  PrintFailureEgl(kMsgEglNoPbuffer, eglGetError());
  return false;
}

// A plain context first, as on WGL: the entry points are loaded in it before the core
// context exists, and the core-profile attributes are checked for.
bool CreationEgl::MakeTemporaryCurrent() {
  const EGLint attributes[] = {EGL_NONE};
  temporary_ = eglCreateContext(shared_.display, shared_.config, EGL_NO_CONTEXT, attributes);
  if (temporary_ == EGL_NO_CONTEXT) {
    PrintFailureEgl(kMsgNoOpenGLContext, eglGetError());
    return false;
  }
  if (!eglMakeCurrent(shared_.display, surface_, surface_, temporary_)) {
    PrintFailureEgl(kMsgTempContextNotCurrent, eglGetError());
    return false;
  }
  if (!InitializeEntryPointsEgl()) {
    PrintMessage(kMsgGlewNotInitialized);
    return false;
  }
  if (!shared_.createContext) {
    PrintMessage(kMsgEglNoCreateContext);
    return false;
  }
  return true;
}

bool CreationEgl::CreateCore(const OffscreenContext* shareWith) {
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                               3,
                               EGL_CONTEXT_MINOR_VERSION,
                               2,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                               EGL_NONE};
  EGLContext share = IsContextValid(shareWith) ? shareWith->renderingContext : EGL_NO_CONTEXT;
  core_ = eglCreateContext(shared_.display, shared_.config, share, attributes);
  const EGLint error = eglGetError();
  eglMakeCurrent(shared_.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(shared_.display, temporary_);
  temporary_ = EGL_NO_CONTEXT;
  if (core_ == EGL_NO_CONTEXT) {
    PrintFailureEgl(kMsgCoreContextFailed, error);
    return false;
  }
  return true;
}

bool CreationEgl::MakeCoreCurrent() {
  if (!eglMakeCurrent(shared_.display, surface_, surface_, core_) || !InitializeEntryPointsEgl()) {
    PrintMessage(kMsgCoreGlewNotInitialized);
    return false;
  }
  return true;
}

OffscreenContext* CreationEgl::HandOver() {
  auto* record = new EglContextRecord;
  record->window = surface_;
  record->renderingContext = core_;
  record->deviceContext = surface_;
  record->display = shared_.display;
  record->readSurface = surface_;
  record->owned = true;
  liveContexts.fetch_add(1);
  surface_ = EGL_NO_SURFACE;
  core_ = EGL_NO_CONTEXT;
  return record;
}

}  // namespace

OffscreenContext* CreateOffscreenContext(const OffscreenContext* shareWith) {
  if (!BindOpenGLApiEgl()) {
    PrintFailureEgl(kMsgEglApiNotBound, eglGetError());
    return nullptr;
  }
  const DisplayEgl& shared = SharedDisplayEgl();
  if (shared.display == EGL_NO_DISPLAY) {
    PrintFailureEgl(kMsgEglNoDisplay, shared.error);
    return nullptr;
  }
  if (!shared.config) {
    PrintFailureEgl(kMsgEglNoConfig, shared.error);
    return nullptr;
  }
  CreationEgl creation(shared, CurrentEgl());
  if (!creation.CreateHiddenSurface() || !creation.MakeTemporaryCurrent() ||
      !creation.CreateCore(shareWith) || !creation.MakeCoreCurrent()) {
    return nullptr;
  }
  return creation.HandOver();
}

OffscreenContext* CaptureCurrentContext() {
  BindOpenGLApiEgl();
  auto* record = new EglContextRecord(CurrentEgl());
  if (record->renderingContext == EGL_NO_CONTEXT) record->renderingContext = nullptr;
  return record;
}

bool IsContextValid(const OffscreenContext* context) {
  return context != nullptr && context->renderingContext != nullptr;
}

bool CanMakeContextCurrent(const OffscreenContext* context) {
  return IsContextValid(context);
}

void MakeContextCurrent(const OffscreenContext* context) {
  BindOpenGLApiEgl();
  if (!IsContextValid(context)) {
    ReleaseCurrentEgl();
    return;
  }
  const EglContextRecord* record = AsEgl(context);
  if (!eglMakeCurrent(record->display, record->deviceContext, record->readSurface,
                      record->renderingContext)) {
    PrintMessageLine(kMsgCannotSetContext);
  }
}

// Only what the record owns is released: a captured record names the host's context,
// which is never ours to delete.
void DestroyOffscreenContext(OffscreenContext* context) {
  if (!context) return;
  auto* record = static_cast<EglContextRecord*>(context);
  BindOpenGLApiEgl();
  if (record->renderingContext && record->owned) {
    if (eglGetCurrentContext() == record->renderingContext) ReleaseCurrentEgl();
    if (!eglDestroyContext(record->display, record->renderingContext)) {
      PrintMessageLine(kMsgContextDestructionFailed);
    }
    liveContexts.fetch_sub(1);
  }
  record->renderingContext = nullptr;
  record->deviceContext = nullptr;
  record->readSurface = EGL_NO_SURFACE;
  if (record->window) {
    eglDestroySurface(record->display, record->window);
    record->window = nullptr;
  }
  if (eglGetCurrentContext() == EGL_NO_CONTEXT) ReleaseCurrentEgl();
}

void FreeOffscreenContext(OffscreenContext* context) {
  delete static_cast<EglContextRecord*>(context);
}

int LiveOffscreenContexts() { return liveContexts.load(); }

}  // namespace solvane
