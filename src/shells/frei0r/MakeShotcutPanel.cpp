// Writes Shotcut's panel for the filter (meta.qml, ui.qml, vui.qml) into the folder named on
// the command line, which must exist.
#include <cstdio>
#include <string>

#include "shells/frei0r/ShotcutPanel.h"
#include "shells/frei0r/WriteTextFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  for (const solvane::frei0r::PanelFile& file : solvane::frei0r::ShotcutPanelFiles()) {
    const std::string error =
        solvane::frei0r::WriteTextFile(std::string(argv[1]) + "/" + file.name, file.text);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
