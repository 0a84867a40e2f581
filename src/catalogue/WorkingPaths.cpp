#include "catalogue/WorkingPaths.h"

#include "platform/Paths.h"

namespace ballotine {

void ComputeWorkDir(WorkingPaths& paths) {
    paths.workDir = paths.installDir + kSeparator + "Ballotine" + kSeparator;
}

void ComputeModPaths(WorkingPaths& paths, std::string_view modFolder) {
    const std::string mod(modFolder);
    paths.modDir = paths.installDir + kSeparator + mod + kSeparator;
    paths.mapsDir = paths.modDir + "maps" + kSeparator;
    paths.modWorkDir = paths.workDir + mod + kSeparator;
    paths.voteSpriteDir = paths.modDir + "sprites" + kSeparator + "vote" + kSeparator;
}

void ClearModPaths(WorkingPaths& paths) {
    paths.modDir.clear();
    paths.mapsDir.clear();
    paths.modWorkDir.clear();
    paths.voteSpriteDir.clear();
}

} // namespace ballotine
