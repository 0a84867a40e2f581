#pragma once

#include <string_view>

namespace ballotine {

// Wildcard match without regard to case: "*" any run of characters, "?" any one character.
// A pattern ending in ".*" also matches a name without that extension ("2fort.*" matches
// "2fort"), as the game's file patterns expect.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

} // namespace ballotine
