// Writes the Kdenlive effect description of the filter to the file named on the command
// line (through a temporary name beside it, renamed once complete).
#include <cstdio>
#include <fstream>
#include <string>

#include "shells/frei0r/KdenliveEffect.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.xml\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const std::string partial = path + ".partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out << solvane::frei0r::KdenliveEffectXml();
  out.close();
  if (!out || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
