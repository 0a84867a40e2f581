#pragma once

#include "catalogue/Session.h"
#include "catalogue/WorkingPaths.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace ballotine::test {

// A mod "tfc" in a temporary game folder, with helpers that put files where the catalogue
// looks for them.
class ModFolders : public testing::Test {
protected:
    ModFolders() {
        session.paths.installDir = dir.Path().string();
        ComputeWorkDir(session.paths);
        ComputeModPaths(session.paths, "tfc");
    }
    void Sprite(std::string_view name) {
        WriteFile(session.paths.voteSpriteDir + std::string(name), "s");
    }
    void MapFile(std::string_view name, std::string_view content = "map") {
        WriteFile(session.paths.mapsDir + std::string(name), content);
    }
    void EntityFile(std::string_view name) {
        WriteFile(session.paths.modWorkDir + "Entities/" + std::string(name), "settings");
    }

    TempDir dir;
    Session session;
};

} // namespace ballotine::test
