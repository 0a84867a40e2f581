#pragma once

#include "mapsettings/EntityUpdate.h"
#include "mapsettings/PreviewSet.h"
#include "platform/Services.h"
#include "support/FakeToolRunner.h"
#include "support/ManualClock.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace ballotine::test {

inline const std::string kTypesHeader = "//Supported Server Types - *** DO NOT MODIFY ***//\n";

inline bool IsBlack(const PreviewSet& preview) {
    return std::ranges::all_of(preview.pixels32, [](auto p) { return p == 0; }) &&
           std::ranges::all_of(preview.pixels16, [](auto p) { return p == 0; });
}

// The map settings folders of a game below a temporary folder, with the services on fakes.
class MapSettingsFolders : public testing::Test {
protected:
    MapSettingsFolders() { std::filesystem::create_directories(paths.mapsDir); }
    void Entities(const std::string& name, const std::string& content) {
        WriteFile(paths.modWorkDir + "Entities/" + name, content);
    }

    TempDir dir;
    MapSettingsPaths paths{dir / "Ballotine/", dir / "Ballotine/tfc/", dir / "tfc/sprites/vote/",
                           dir / "tfc/maps/"};
    ScriptedPrompter prompter;
    FakeToolRunner runner;
    ManualClock clock;
    Services services{prompter, runner, clock};
};

} // namespace ballotine::test
