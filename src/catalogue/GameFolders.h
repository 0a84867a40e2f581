#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ballotine {

// Whether a folder looks like a Half-Life installation: it holds the game's own "valve"
// folder, its program, or a Ballotine working folder.
bool LooksLikeGameFolder(const std::filesystem::path& folder);

// The places where Steam on Linux usually installs Half-Life, for the given home folder:
// the native, Flatpak and Snap Steam roots and every library listed in their
// libraryfolders.vdf. Only folders that exist and look like the game are returned.
std::vector<std::filesystem::path> FindSteamGameFolders(const std::filesystem::path& home);

// Library folders named in a Steam libraryfolders.vdf text ("path" entries).
std::vector<std::filesystem::path> ParseLibraryFolders(const std::string& vdfText);

} // namespace ballotine
