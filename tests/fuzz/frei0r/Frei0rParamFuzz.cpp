// frei0r's parameter calls on one instance's settings, as a host makes them: any index
// (the filter's own and beyond), doubles of any bits (NaN, infinities, huge values) and
// item strings, each read back after it is set.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "shells/frei0r/FilterSettings.h"
#include "shells/frei0r/Frei0rApi.h"

using namespace solvane::frei0r;

namespace {

// Each call: one byte of index, then for a string parameter the text up to a NUL (or the
// end), for the others eight bytes of double.
size_t SetOne(FilterSettings& settings, const uint8_t* data, size_t size) {
  const int count = int(FilterParams().size());
  const int index = int(data[0]) % (count + 2) - 1;  // -1 and count lie outside
  size_t used = 1;
  const bool isString =
      index >= 0 && index < count && FilterParams()[size_t(index)].frei0rType == F0R_PARAM_STRING;
  if (isString) {
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data + 1, 0, size - 1));
    const size_t length = end == nullptr ? size - 1 : size_t(end - (data + 1));
    const std::string text(reinterpret_cast<const char*>(data + 1), length);
    const char* pointer = text.c_str();
    settings.SetParam(index, &pointer);
    used += length + (end == nullptr ? 0 : 1);
  } else {
    double v = 0;
    const size_t n = std::min(sizeof v, size - 1);
    std::memcpy(&v, data + 1, n);
    settings.SetParam(index, &v);
    used += n;
  }
  char* item = nullptr;
  double number = 0;
  settings.GetParam(index, isString ? static_cast<void*>(&item) : &number);
  if (isString && item == nullptr) __builtin_trap();  // a string parameter always has an item
  return used;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FilterSettings settings;
  for (size_t at = 0; at < size;) at += SetOne(settings, data + at, size - at);
  return 0;
}
