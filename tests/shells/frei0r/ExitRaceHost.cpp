// A frei0r host whose render threads end while its main thread is inside exit(), after the
// GL libraries' finalisers have run, as a GStreamer pool thread can when gst-launch-1.0
// returns: each thread renders one frame through the module, then waits for the marker
// library's finaliser (loaded after the module, so finalised after the GL libraries) and
// ends. The process must end normally.
//   frei0r_exit_race_host MODULE MARKER [THREADS]
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "shells/frei0r/Frei0rApi.h"

namespace {

struct Module {
  decltype(&f0r_init) init;
  decltype(&f0r_construct) construct;
  decltype(&f0r_update) update;
  decltype(&f0r_destruct) destruct;
};

template <typename Symbol>
Symbol Find(void* library, const char* name) {
  return reinterpret_cast<Symbol>(dlsym(library, name));
}

void* Open(const char* path) {
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
  return library;
}

std::atomic<int> rendered{0};

void RenderThenEndDuringExit(const Module& module, const std::atomic<bool>* finalised) {
  constexpr unsigned kSize = 32;
  f0r_instance_t instance = module.construct(kSize, kSize);
  std::vector<uint32_t> in(kSize * kSize, 0xff808080u), out(in.size());
  module.update(instance, 0.0, in.data(), out.data());
  module.destruct(instance);
  rendered.fetch_add(1);
  while (!finalised->load()) std::this_thread::yield();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s MODULE MARKER [THREADS]\n", argv[0]);
    return 2;
  }
  void* filter = Open(argv[1]);
  if (filter == nullptr) return 2;
  const Module module{Find<decltype(&f0r_init)>(filter, "f0r_init"),
                      Find<decltype(&f0r_construct)>(filter, "f0r_construct"),
                      Find<decltype(&f0r_update)>(filter, "f0r_update"),
                      Find<decltype(&f0r_destruct)>(filter, "f0r_destruct")};
  if (!module.init || !module.construct || !module.update || !module.destruct) {
    std::fprintf(stderr, "%s lacks a frei0r entry point\n", argv[1]);
    return 2;
  }
  module.init();
  void* marker = Open(argv[2]);  // after the filter, so that it is finalised after GL
  if (marker == nullptr) return 2;
  const auto* finalised = Find<const std::atomic<bool>*>(marker, "glLibrariesFinalised");
  if (finalised == nullptr) {
    std::fprintf(stderr, "%s lacks glLibrariesFinalised\n", argv[2]);
    return 2;
  }
  const int threads = argc > 3 ? std::atoi(argv[3]) : 8;
  for (int i = 0; i < threads; ++i) std::thread(RenderThenEndDuringExit, module, finalised).detach();
  while (rendered.load() < threads) std::this_thread::sleep_for(std::chrono::microseconds(100));
  std::exit(0);
}
