#pragma once

#include <string>
#include <string_view>

namespace ballotine::demo {

class DemoWriter;

// A small real map made by the map writer: two to four rooms in a row joined by corridors,
// sized and placed from the map's name so every demo map has a plan of its own, with spawn
// points for both teams (info_player_teamspawn) and fallbacks (info_player_deathmatch).
// `title` is the world's message. A map the writer refuses fails `writer`.
std::string MakeBsp(std::string_view mapName, std::string_view title, DemoWriter& writer);

} // namespace ballotine::demo
