#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ballotine {

// Whether a folder looks like a Half-Life installation: it holds the game's own "valve"
// folder, one of its programs (the game or the dedicated server), or a Ballotine working folder.
bool LooksLikeGameFolder(const std::filesystem::path& folder);

// What a folder lacks to look like a Half-Life installation, for the user: empty when it looks
// like one.
std::string MissingGameParts(const std::filesystem::path& folder);

// The places where Half-Life usually lies for the given home folder: below every Steam root
// (native, Flatpak and Snap Steam, SteamCMD) and every library their libraryfolders.vdf name,
// and the usual dedicated-server folders (~/serverfiles, ~/hlds, ...). Only folders that exist
// and look like the game are returned, each once however many links lead to it.
std::vector<std::filesystem::path> FindGameFolders(const std::filesystem::path& home);

} // namespace ballotine
