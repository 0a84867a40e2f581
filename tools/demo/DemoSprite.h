#pragma once

#include "sprites/MapPlan.h"

#include <string>
#include <string_view>

namespace ballotine::demo {

// Vote sprites of the demo, drawn by the program's own vote picture code.

// A map's picture without a plan: its name on a title card in colours of its own.
std::string MakeMapSprite(std::string_view mapName);
// A map's picture with its plan seen from above (the title card when the plan is empty).
std::string MakeMapSprite(std::string_view mapName, const MapPlan& plan);
// The vote map's own sprites: its title sign and the empty slot.
std::string MakeVoteSprite();
std::string MakeBlankSprite();

} // namespace ballotine::demo
