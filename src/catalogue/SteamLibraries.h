#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

namespace ballotine {

// A libraryfolders.vdf bigger than this is not read: Steam's own stay far below it.
inline constexpr std::size_t kLongestLibraryList = 1 << 20;
// At most this many libraries are taken from one file.
inline constexpr std::size_t kMostLibraries = 64;

// The library folders a Steam libraryfolders.vdf names: the "path" of each library (the
// current layout, `"libraryfolders" { "0" { "path" "/x" ... } }`) or the numbered values of
// the older layout (`"LibraryFolders" { "1" "/x" }`). The file comes from outside: it is read as
// tokens (quoted strings with Steam's escapes, bare words, braces, // comments), never
// trusted to be well formed, and only absolute paths without control characters are taken,
// each once and in file order.
std::vector<std::filesystem::path> ParseLibraryFolders(std::string_view vdfText);

} // namespace ballotine
