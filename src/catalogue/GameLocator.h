#pragma once

#include <optional>
#include <string>

namespace ballotine {

class Prompter;
class RegistryFile;
struct WorkingPaths;

inline constexpr const char* kGameNotInstalledMessage =
    "Error - Cannot locate installed version of Half-Life\nAborting...";
inline constexpr const char* kInstallPathMissingMessage =
    "Error - Install Path Registry Entry not found\nAborting...";

// Finds the game folder in the registry file and derives the working folder from it.
// On failure shows one of the two messages above and returns false.
bool LocateGame(WorkingPaths& paths, const RegistryFile& registry, Prompter& prompter);

// The game folder the registry file names, as LocateGame takes it; nothing when it names
// none. Says nothing to the user.
std::optional<std::string> RegisteredGameFolder(const RegistryFile& registry);

} // namespace ballotine
