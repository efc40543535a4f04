// Build-time tool: writes the registration resource's bytes to the file named on the
// command line, for the module's ELF section or its Windows resource script.
#include <cstdio>

#include "shells/ae/resources/RegistrationResource.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
    return 2;
  }
  const auto bytes = solvane::EncodeRegistrationResource();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "%s: write failed\n", argv[1]);
    return 1;
  }
  return 0;
}
