// Writes the Kdenlive effect description of the filter to the file named on the command
// line.
#include <cstdio>
#include <string>

#include "shells/frei0r/KdenliveEffect.h"
#include "shells/frei0r/WriteTextFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.xml\n", argv[0]);
    return 2;
  }
  const std::string error =
      solvane::frei0r::WriteTextFile(argv[1], solvane::frei0r::KdenliveEffectXml());
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
