#pragma once

#include <span>
#include <string_view>

namespace ballotine {

// A map that comes with the game: it counts as installed without a file, and its details are
// fixed texts.
struct BuiltInMap {
    std::string_view name;
    std::string_view sizeText; // the bare number of bytes
    std::string_view title;
    std::string_view description;
};

// The six maps of the game, in the order they are tested.
std::span<const BuiltInMap> BuiltInMaps();
// The built-in map whose name equals `name` without regard to case, or nullptr.
const BuiltInMap* FindBuiltInMap(std::string_view name);

} // namespace ballotine
