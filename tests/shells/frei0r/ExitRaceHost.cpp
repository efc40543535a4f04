// A frei0r host whose render threads end while its main thread is inside exit(), as a
// GStreamer pool thread can when gst-launch-1.0 returns: each thread renders one frame
// through the module, then the threads end at staggered moments across the libraries'
// unload. The process must end normally.
//   frei0r_exit_race_host MODULE [THREADS [SPREAD_US]]
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

template <typename Function>
Function Symbol(void* module, const char* name) {
  return reinterpret_cast<Function>(dlsym(module, name));
}

std::atomic<bool> exiting{false};
std::atomic<int> rendered{0};

void RenderThenEndDuringExit(const Module& module, std::chrono::microseconds delay) {
  constexpr unsigned kSize = 32;
  f0r_instance_t instance = module.construct(kSize, kSize);
  std::vector<uint32_t> in(kSize * kSize, 0xff808080u), out(in.size());
  module.update(instance, 0.0, in.data(), out.data());
  module.destruct(instance);
  rendered.fetch_add(1);
  while (!exiting.load()) std::this_thread::yield();
  std::this_thread::sleep_for(delay);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s MODULE [THREADS [SPREAD_US]]\n", argv[0]);
    return 2;
  }
  void* handle = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
    return 2;
  }
  const Module module{Symbol<decltype(&f0r_init)>(handle, "f0r_init"),
                      Symbol<decltype(&f0r_construct)>(handle, "f0r_construct"),
                      Symbol<decltype(&f0r_update)>(handle, "f0r_update"),
                      Symbol<decltype(&f0r_destruct)>(handle, "f0r_destruct")};
  if (!module.init || !module.construct || !module.update || !module.destruct) {
    std::fprintf(stderr, "%s lacks a frei0r entry point\n", argv[1]);
    return 2;
  }
  module.init();
  const int threads = argc > 2 ? std::atoi(argv[2]) : 8;
  const int spreadUs = argc > 3 ? std::atoi(argv[3]) : 2000;
  for (int i = 0; i < threads; ++i) {
    std::thread(RenderThenEndDuringExit, module,
                std::chrono::microseconds(spreadUs * i / threads)).detach();
  }
  while (rendered.load() < threads) std::this_thread::sleep_for(std::chrono::microseconds(100));
  exiting.store(true);
  std::exit(0);
}
