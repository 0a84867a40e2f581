#pragma once

#include <string>
#include <string_view>

namespace ballotine::demo {

// Vote sprites of our own: 128x64, one frame, a 256-colour palette.

// A landscape in colours picked from the map's name, with the name written across the sky,
// so every map has a picture of its own.
std::string MakeMapSprite(std::string_view mapName);
// The vote map's own sprites: its title sign and the empty slot.
std::string MakeVoteSprite();
std::string MakeBlankSprite();

} // namespace ballotine::demo
