#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ballotine {

class RegistryFile;

// A folder the user named as the game's, checked.
struct GameFolderCheck {
    std::filesystem::path folder; // absolute, without a trailing separator
    std::string problem;          // empty when it is a game folder; else why not, for the user
};

// Checks that `dir` is a folder that looks like a Half-Life installation. A relative `dir` is
// taken from the current folder.
GameFolderCheck CheckGameFolder(std::string_view dir);

// Writes `folder` as the game's InstallPath into the registry file at `registryPath` (its
// other sections and values kept, the file replaced whole or not at all, its folder made when
// missing). Empty on success, else the message to show.
std::string RegisterGameFolder(const RegistryFile& registry,
                               const std::filesystem::path& registryPath,
                               const std::filesystem::path& folder);

} // namespace ballotine
