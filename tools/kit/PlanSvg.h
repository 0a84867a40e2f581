#pragma once

#include "bsp/MapReader.h"

#include <string>
#include <string_view>

namespace ballotine::kit {

// A top-down plan of a map, drawn from its file alone: the world's floors (lighter where
// higher), its brush entities by class (doors, breakable walls, level changes), the pictures
// on the walls and the spawn points by team, with a legend. An SVG document.
std::string DrawPlan(const bsp::BspMap& map, std::string_view title);

} // namespace ballotine::kit
