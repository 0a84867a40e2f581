#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

inline constexpr const char* kModDescriptionFile = "liblist.gam";
// A title longer than this is cut: mods.cfg keeps at most 255 characters of one.
inline constexpr std::size_t kLongestModTitle = 255;

// A mod's title as the game shows it: the value of the "game" key of the mod folder's
// liblist.gam (`game "Team Fortress Classic"`). The file comes from outside: control
// characters are dropped and the title is cut to kLongestModTitle. The folder's own name when
// the file cannot be read or has no usable "game" line.
std::string ReadModTitle(const std::filesystem::path& modFolder);

// Whether a name can be a mod's folder in mods.cfg, which stores it as one word: a single
// folder name without blanks, separators or control characters, and not "." or "..".
bool IsModFolderName(std::string_view name);

// The mod folders of the game folder that look like Team Fortress Classic: a "tfc" folder (any
// letter case) that holds a liblist.gam. Spelled as the folder is.
std::vector<std::string> FindTfcFolders(const std::filesystem::path& gameFolder);

} // namespace ballotine
