#pragma once

#include <string>
#include <string_view>

namespace ballotine::demo {

// Vote sprites of the demo, drawn by the program's own vote picture code.

// A map's picture without a plan: its name on a title card in colours of its own.
std::string MakeMapSprite(std::string_view mapName);
// A map's picture with the plan of its map file seen from above (the title card when the map
// has no plan to draw).
std::string MakeMapSprite(std::string_view mapName, std::string mapFile);
// The vote map's own sprites: its title sign and the empty slot.
std::string MakeVoteSprite();
std::string MakeBlankSprite();

} // namespace ballotine::demo
