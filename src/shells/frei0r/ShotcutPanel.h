// Shotcut's filter panel for the filter (frei0r.solvane), written from the filter's
// parameters so the two cannot drift: Shotcut lists a frei0r filter only through such a
// folder of QML files (share/shotcut/qml/filters/<name>/ beside its own).
#pragma once

#include <string>
#include <vector>

namespace solvane::frei0r {

struct PanelFile {
  std::string name;  // file name inside the panel's folder
  std::string text;
};

// meta.qml (the filter list's entry and its keyframe tracks), ui.qml (the controls) and
// vui.qml (Position as a point dragged on the video).
std::vector<PanelFile> ShotcutPanelFiles();

}  // namespace solvane::frei0r
