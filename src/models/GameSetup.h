#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ballotine {

// What setting up a game for Ballotine is asked to do.
struct GameSetupRequest {
    std::string gameDir; // the game folder (InstallDir)
    // The mods' folders below the game folder, any letter case; empty: the folders that look
    // like Team Fortress Classic.
    std::vector<std::string> modFolders;
    // The update server's address; its mod list is URL/modsupdate.cfg and a mod's area
    // URL/FOLDER. Empty: mods.cfg gets empty addresses.
    std::string updateServer;
    std::filesystem::path kitFolder;                // vote.bsp, vote.ref, vote.spr, blank.spr
    std::vector<std::filesystem::path> toolFolders; // where the installed ripent lies
};

struct GameSetupReport {
    std::vector<std::string> mods;  // the mod folders set up, as the game folder spells them
    std::vector<std::string> made;  // each folder ("/" at its end) and file made, in order
    std::vector<std::string> notes; // for the user: which mods, title cards, what is missing
    std::string error;              // why it failed; nothing it made is left then

    bool Succeeded() const { return error.empty(); }
};

// The version init records for a mod it sets up: the reader offers only mods whose version is
// above 0, and a mod package of the update server counts as newer from version 2 on.
inline constexpr int kSetUpModVersion = 1;

// Sets up a game folder for Ballotine, making only what is missing and never replacing a file:
// the working folder with ripent, for each mod its working folder (Entities/vote.ref,
// servertypes.conf, mappings.conf, VoteMapLists/, config.conf of the maps on disk), the kit's
// vote map and sprites where the mod has none and vote pictures for its maps that have none,
// and last mods.cfg (made, or given the records it lacks). Everything is checked before the
// first file is made, and a failure takes back everything this run made.
GameSetupReport SetUpGame(const GameSetupRequest& request);

// The server sizes init writes into servertypes.conf, and the install mappings into
// mappings.conf, for mod folder `mod`.
std::string DefaultServerTypes();
std::string DefaultMappings(const std::string& mod);

} // namespace ballotine
