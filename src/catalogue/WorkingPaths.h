#pragma once

#include <string>
#include <string_view>

namespace ballotine {

// The six working paths. All but `installDir` end with the separator, so a file name is
// appended by plain concatenation (mapsDir + name + ".bsp"). The four mod paths are empty
// while no mod is selected; every step then treats the mod as having no files.
struct WorkingPaths {
    std::string installDir;    // the game folder, as the registry file gives it
    std::string workDir;       // installDir/Ballotine/: mods.cfg, ripent, modsupdate.cfg
    std::string modDir;        // installDir/<mod>/
    std::string mapsDir;       // installDir/<mod>/maps/
    std::string modWorkDir;    // workDir<mod>/: Entities/, VoteMapLists/, servertypes.conf, ...
    std::string voteSpriteDir; // installDir/<mod>/sprites/vote/

    bool HasMod() const { return !modDir.empty(); }
};

// Sets workDir from installDir.
void ComputeWorkDir(WorkingPaths& paths);
// Derives the four mod paths from the mod's folder name. Only formats: nothing is created or
// checked.
void ComputeModPaths(WorkingPaths& paths, std::string_view modFolder);
// No mod selected: the four mod paths become empty.
void ClearModPaths(WorkingPaths& paths);

} // namespace ballotine
