// --background: flattens the straight-colour result over an opaque colour before it is
// written, as a comp viewer shows it over that colour.
#pragma once

#include <optional>
#include <string>

#include "host/World.h"

namespace solvane::cli {

struct Colour {
  float red = 0, green = 0, blue = 0;
};

// "black", "white", "grey" or "R,G,B" with each channel from 0 to 1; throws OptionError.
Colour ParseColour(const std::string& text);

// Every pixel becomes colour × alpha + background × (1 − alpha), alpha 1.
void FlattenOver(host::World& world, const Colour& background);

}  // namespace solvane::cli
