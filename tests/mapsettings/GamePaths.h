#pragma once

#include "mapsettings/EntityUpdate.h"
#include "support/TestFiles.h"

#include <filesystem>

namespace ballotine::test {

// The map settings folders of a game laid out below `dir` as the working paths lay them out;
// the maps folder exists.
inline MapSettingsPaths GamePathsIn(const TempDir& dir) {
    MapSettingsPaths paths{dir / "Ballotine/", dir / "Ballotine/tfc/", dir / "tfc/sprites/vote/",
                           dir / "tfc/maps/"};
    std::filesystem::create_directories(paths.mapsDir);
    return paths;
}

} // namespace ballotine::test
