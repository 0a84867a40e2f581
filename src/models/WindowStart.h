#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace ballotine {

class RegistryFile;
struct Services;

// Where the window's start looks: the registry file, the home folder below which game folders
// are searched, and the programs' folder beside which the kit and the tools lie.
struct StartPlaces {
    std::filesystem::path registryFile;
    std::filesystem::path home;
    std::filesystem::path programFolder;
};

// Lets the user choose the game folder among those found (or any other); nothing on Cancel.
using GameFolderChooser = std::function<std::optional<std::filesystem::path>(
    const std::vector<std::filesystem::path>& found)>;

// What the window does before its session starts, so that a first start on a game ends in the
// working window instead of an error:
// - when the registry file names no game folder (or one that is gone), the user chooses one;
//   it is written to the registry file and `registry` reloaded. Cancel shows the message that
//   the game cannot be located;
// - when the game has no mods.cfg, the user is asked to set it up for its Team Fortress Classic
//   folder (SetUpGame); No, or a failed set-up, leaves it to the session's start to say "Mod
//   Data not found";
// - the working folder's ripent is put in place from the installed one when missing or older.
// False, after its message, when the program ends.
bool PrepareWindowStart(RegistryFile& registry, const StartPlaces& places, Services& services,
                        const GameFolderChooser& chooseGameFolder);

} // namespace ballotine
