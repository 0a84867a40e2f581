#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ballotine::demo {

// The 15 lumps of a BSP version 30 map, in index order; lump 0 is the entity text with its
// terminating zero byte.
using BspLumps = std::array<std::string, 15>;

// Lumps of a small box-shaped map whose world carries `title` as its message.
BspLumps BoxLumps(std::string_view mapName, std::string_view title);

// A BSP version 30 file: the header and the lumps one after another on 4-byte boundaries, as
// a compiler writes them.
std::string ComposeBsp(const BspLumps& lumps);

// A box-shaped map.
std::string MakeBsp(std::string_view mapName, std::string_view title);

} // namespace ballotine::demo
