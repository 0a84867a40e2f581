#pragma once

#include <string_view>

namespace ballotine {

// Windows-style wildcard match without regard to case: "*" any run of characters, "?" any
// one character. As on Windows, a pattern ending in ".*" also matches a name without that
// extension ("2fort.*" matches "2fort").
bool MatchesWildcard(std::string_view pattern, std::string_view name);

} // namespace ballotine
