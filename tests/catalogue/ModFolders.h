#pragma once

#include "catalogue/Session.h"
#include "catalogue/WorkingPaths.h"
#include "support/TestFiles.h"

#include <string>
#include <string_view>

namespace ballotine::test {

// A mod "tfc" in a temporary game folder, with helpers that put files where the catalogue
// looks for them. The session's paths point at it.
class ModFolders {
public:
    ModFolders() {
        session.paths.installDir = m_dir.Path().string();
        ComputeWorkDir(session.paths);
        ComputeModPaths(session.paths, "tfc");
    }

    void Sprite(std::string_view fileName, std::string_view content = "sprite") {
        WriteFile(session.paths.voteSpriteDir + std::string(fileName), content);
    }
    void MapFile(std::string_view fileName, std::string_view content = "map") {
        WriteFile(session.paths.mapsDir + std::string(fileName), content);
    }
    void EntityFile(std::string_view fileName) {
        WriteFile(session.paths.modWorkDir + "Entities/" + std::string(fileName), "settings");
    }

    Session session;

private:
    TempDir m_dir;
};

} // namespace ballotine::test
