// A minimal frei0r host: loads a filter module, sets its parameters by name, filters every
// frame of a raw RGBA file and writes the results as one raw RGBA file. The Windows checks
// run it under Wine with solvane.dll and on Linux with solvane.so, on the same input.
//   solvane-frei0r-run MODULE WIDTH HEIGHT INPUT.rgba OUTPUT.rgba [NAME=VALUE...]
// Numbers and checkboxes take a number (1/0 for checkboxes), popups their item's text.
#include <frei0r.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

struct Filter {
  int (*init)();
  void (*deinit)();
  void (*getPluginInfo)(f0r_plugin_info_t*);
  void (*getParamInfo)(f0r_param_info_t*, int);
  f0r_instance_t (*construct)(unsigned int, unsigned int);
  void (*destruct)(f0r_instance_t);
  void (*setParamValue)(f0r_instance_t, f0r_param_t, int);
  void (*update)(f0r_instance_t, double, const uint32_t*, uint32_t*);
};

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "solvane-frei0r-run: %s\n", message.c_str());
  std::exit(1);
}

void* Symbol(void* module, const char* name) {
#ifdef _WIN32
  void* symbol = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
  void* symbol = dlsym(module, name);
#endif
  if (symbol == nullptr) Fail(std::string("the module has no ") + name);
  return symbol;
}

template <typename T>
void Bind(void* module, T& function, const char* name) {
  function = reinterpret_cast<T>(Symbol(module, name));
}

Filter Load(const std::string& path) {
#ifdef _WIN32
  void* module = LoadLibraryA(path.c_str());
  if (module == nullptr) Fail("cannot load " + path + ": error " + std::to_string(GetLastError()));
#else
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) Fail("cannot load " + path + ": " + dlerror());
#endif
  Filter f{};
  Bind(module, f.init, "f0r_init");
  Bind(module, f.deinit, "f0r_deinit");
  Bind(module, f.getPluginInfo, "f0r_get_plugin_info");
  Bind(module, f.getParamInfo, "f0r_get_param_info");
  Bind(module, f.construct, "f0r_construct");
  Bind(module, f.destruct, "f0r_destruct");
  Bind(module, f.setParamValue, "f0r_set_param_value");
  Bind(module, f.update, "f0r_update");
  return f;
}

// NAME=VALUE by the parameter's frei0r name and type.
void SetParam(const Filter& f, f0r_instance_t instance, int count, const std::string& setting) {
  const size_t equals = setting.find('=');
  if (equals == std::string::npos) Fail("not NAME=VALUE: " + setting);
  const std::string name = setting.substr(0, equals);
  const std::string value = setting.substr(equals + 1);
  for (int i = 0; i < count; ++i) {
    f0r_param_info_t info{};
    f.getParamInfo(&info, i);
    if (info.name == nullptr || name != info.name) continue;
    if (info.type == F0R_PARAM_STRING) {
      const char* text = value.c_str();
      f.setParamValue(instance, &text, i);
    } else if (info.type == F0R_PARAM_DOUBLE || info.type == F0R_PARAM_BOOL) {
      char* end = nullptr;
      double number = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0') Fail("not a number: " + setting);
      f.setParamValue(instance, &number, i);
    } else {
      Fail("parameter " + name + " has a type this program does not set");
    }
    return;
  }
  Fail("the filter has no parameter " + name);
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) Fail("cannot open " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Written next to the destination and renamed over it, so a failed run leaves no partial file.
void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) Fail("cannot write " + partial);
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) Fail("cannot rename " + partial + " to " + path + ": " + error.message());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    Fail("usage: solvane-frei0r-run MODULE WIDTH HEIGHT INPUT.rgba OUTPUT.rgba [NAME=VALUE...]");
  }
  const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  if (width <= 0 || height <= 0) Fail("bad frame size " + std::string(argv[2]) + " x " + argv[3]);
  const size_t frameBytes = size_t(width) * size_t(height) * 4;
  const std::vector<uint8_t> input = ReadAll(argv[4]);
  if (input.empty() || input.size() % frameBytes != 0) {
    Fail(std::string(argv[4]) + " does not hold whole " + argv[2] + " x " + argv[3] + " frames");
  }
  const Filter f = Load(argv[1]);
  if (f.init() != 1) Fail("f0r_init failed");
  f0r_plugin_info_t info{};
  f.getPluginInfo(&info);
  f0r_instance_t instance = f.construct(unsigned(width), unsigned(height));
  if (instance == nullptr) Fail("f0r_construct failed");
  for (int a = 6; a < argc; ++a) SetParam(f, instance, info.num_params, argv[a]);
  // frei0r frames are arrays of 32-bit pixels: copied into aligned storage.
  std::vector<uint32_t> in(frameBytes / 4), out(frameBytes / 4);
  std::vector<uint8_t> output(input.size());
  for (size_t frame = 0; frame * frameBytes < input.size(); ++frame) {
    std::memcpy(in.data(), &input[frame * frameBytes], frameBytes);
    f.update(instance, double(frame) / 25.0, in.data(), out.data());
    std::memcpy(&output[frame * frameBytes], out.data(), frameBytes);
  }
  f.destruct(instance);
  f.deinit();
  WriteAll(argv[5], output);
  return 0;
}
