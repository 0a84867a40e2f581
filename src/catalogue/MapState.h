#pragma once

#include <string_view>

namespace ballotine {

// What the map lists know about a map; the window shows it as a green, red or grey marker.
enum class MapState : int {
    Installed = 0,     // built into the game, or its .bsp is in the maps folder
    Configurable = 1,  // the working folder holds entity settings for it
    NotDownloaded = 2, // neither built in nor present
};

inline constexpr int kMapStateCount = 3;

// "Installed", "Configurable" or "NotDownloaded", as the command line prints them.
std::string_view MapStateName(MapState state);

} // namespace ballotine
