#include "tools/render/Background.h"

#include <sstream>

#include "core/pixels/StraightAlpha.h"
#include "tools/render/ParamAssignment.h"

namespace solvane::cli {

Colour ParseColour(const std::string& text) {
  if (text == "black") return {0, 0, 0};
  if (text == "white") return {1, 1, 1};
  if (text == "grey" || text == "gray") return {0.5f, 0.5f, 0.5f};
  std::istringstream in(text);
  Colour c;
  char comma1 = 0, comma2 = 0;
  if (!(in >> c.red >> comma1 >> c.green >> comma2 >> c.blue) || comma1 != ',' || comma2 != ',' ||
      !(in >> std::ws).eof()) {
    throw OptionError("--background wants black, white, grey or R,G,B, not \"" + text + "\"");
  }
  for (float v : {c.red, c.green, c.blue}) {
    if (!(v >= 0 && v <= 1)) {
      throw OptionError("--background channels go from 0 to 1, not \"" + text + "\"");
    }
  }
  return c;
}

void FlattenOver(host::World& world, const Colour& background) {
  for (A_long y = 0; y < world.Height(); ++y) {
    for (A_long x = 0; x < world.Width(); ++x) {
      const PF_PixelFloat p = world.Value(x, y);
      // Float alpha can lie outside 0..1 in a file; the cover is taken into that range.
      const float cover = pixels::ClampToUnit(p.alpha);
      const auto over = [cover](float colour, float under) {
        return colour * cover + under * (1.0f - cover);
      };
      world.SetValue(x, y,
                     {1.0f, over(p.red, background.red), over(p.green, background.green),
                      over(p.blue, background.blue)});
    }
  }
}

}  // namespace solvane::cli
