#include "mapsettings/MapSettingsModel.h"

#include "GamePaths.h"
#include "demo/DemoSprite.h"
#include "platform/Services.h"
#include "support/FakeCommandRunner.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;

std::vector<std::string> RowTexts(const MapSettingsModel& model) {
    std::vector<std::string> rows;
    for (const ServerSizeRow& row : model.Rows()) {
        rows.push_back(row.displayName + "=" + row.key);
    }
    return rows;
}

bool IsBlack(const PreviewSet& preview) {
    return std::all_of(preview.pixels32.begin(), preview.pixels32.end(),
                       [](std::uint32_t pixel) { return pixel == 0; });
}

class MapSettingsModelTest : public testing::Test {
protected:
    MapSettingsModelTest() {
        WriteFile(paths.modWorkDir + "servertypes.conf",
                  "//Supported Server Types - *** DO NOT MODIFY ***//\n"
                  "16\nSixteen\n32\nThirty-two\nlan\nLAN party\n");
        Reference("2fort.32.ref", "2fort.tpt\n#INFO#\nBig server\nFor many.\n#TEXT#\nmap text");
        Reference("2fort.16.ref", "2fort.tpt\n#TEXT#\nno description here\n");
        Reference("2fort.LAN.ref", "2fort.tpt\n#INFO#");
        Reference("well.16.ref", "well.tpt\n");
        Reference("2fort.tpt", "{\n\"classname\" \"worldspawn\"\n}\n");
        WriteFile(paths.voteSpriteDir + "2fort.spr", demo::MakeMapSprite("2fort"));
        WriteFile(paths.voteSpriteDir + "well.spr", demo::MakeMapSprite("well"));
    }
    void Reference(const std::string& name, const std::string& content) {
        WriteFile(paths.modWorkDir + "Entities/" + name, content);
    }
    MapSettingsModel Open(const std::string& map) {
        MapSettingsModel model(paths, map, tables);
        model.Initialise(32);
        return model;
    }

    test::TempDir dir;
    MapSettingsPaths paths = test::GamePathsIn(dir);
    MapSettingsTables tables;
    test::ScriptedPrompter prompter;
    test::FakeCommandRunner runner;
    test::ManualClock clock;
    Services services{prompter, runner, clock};
};

// What the window shows on opening and after a click on a row is pinned by the offscreen
// window tests on the demo; these are the cases the demo cannot show.
TEST_F(MapSettingsModelTest, AClickShowsTheFocusedRowsSettingAndUpdateAppliesIt) {
    MapSettingsModel model = Open("2fort");
    EXPECT_EQ(RowTexts(model),
              (std::vector<std::string>{"Sixteen=16", "Thirty-two=32", "LAN party=LAN"}));
    model.OnServerSizeClicked(std::nullopt);
    model.OnServerSizeClicked(7);
    EXPECT_EQ(model.DescriptionText(), "No Server Size selected...");
    EXPECT_FALSE(model.UpdateEnabled()) << "a click that finds no focused row does nothing";
    EXPECT_FALSE(model.Update(std::nullopt, services));
    EXPECT_TRUE(prompter.Transcript().empty()) << "no question without a focused row";

    model.OnServerSizeClicked(1);
    EXPECT_EQ(model.SettingCaption(), "Big server");
    EXPECT_EQ(model.DescriptionText(), "For many.\n");
    model.OnServerSizeClicked(2);
    EXPECT_EQ(model.SettingCaption(), "Big server") << "nothing to show changes neither text";
    EXPECT_EQ(model.DescriptionText(), "For many.\n");
    model.OnServerSizeClicked(0);
    EXPECT_EQ(model.SettingCaption(), "2fort");
    EXPECT_EQ(model.DescriptionText(), "No map description text found for this setting...");

    MapSettingsModel fresh = Open("2fort");
    fresh.OnServerSizeClicked(2);
    EXPECT_EQ(fresh.DescriptionText(), "No Server Size selected...");
    EXPECT_TRUE(fresh.UpdateEnabled()) << "every result enables Update...";

    prompter.AnswerYes();
    EXPECT_TRUE(model.Update(1, services));
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.txt"), "map text\n") << "row 1 is 2fort.32.ref";
}

TEST_F(MapSettingsModelTest, EachOpeningShowsItsOwnMapWithTheSameTables) {
    const MapSettingsModel first = Open("2fort");
    const PreviewSet firstPicture = first.Preview();
    const MapSettingsModel second = Open("WELL");
    EXPECT_EQ(RowTexts(second), std::vector<std::string>{"Sixteen=16"});
    EXPECT_FALSE(IsBlack(second.Preview()));
    EXPECT_NE(second.Preview().pixels32, firstPicture.pixels32);

    EXPECT_TRUE(RowTexts(Open("canalworks")).empty());
    EXPECT_TRUE(IsBlack(tables.preview)) << "a map without a sprite shows black";

    paths = MapSettingsPaths{};
    const MapSettingsModel noMod = Open("2fort");
    EXPECT_TRUE(noMod.Rows().empty());
    EXPECT_TRUE(IsBlack(noMod.Preview()));
}

} // namespace
} // namespace ballotine
