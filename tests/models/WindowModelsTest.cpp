#include "catalogue/CatalogueTestSupport.h"
#include "catalogue/Session.h"
#include "catalogue/WorkingPaths.h"
#include "demo/DemoSprite.h"
#include "mapsettings/MapSettingsTestSupport.h"
#include "models/MainWindowModel.h"
#include "models/MapSettingsModel.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::WriteFile;
using Names = std::vector<std::string>;

using MainWindowModelTest = test::ModFolders;

// A scan that leaves sprites out says so once, and again only when what it leaves out changes.
TEST_F(MainWindowModelTest, LeftOutSpritesAreNotedOncePerChange) {
    Sprite("well.spr");
    Sprite("bad\"one.spr");
    test::ScriptedPrompter prompter;
    MainWindowModel model{session};
    model.ShowNotesWith(&prompter);
    const std::string note = std::string(kUnvotableMapsMessage) + "\n  bad\"one";
    const struct {
        const char* added; // a sprite added before the scan
        const char* removed;
        Names messages; // what the scan says
    } scans[] = {
        {nullptr, nullptr, {note}},
        {nullptr, nullptr, {}},
        {"tab\there.spr", nullptr, {note + "\n  tab?here"}},
        {nullptr, "tab\there.spr", {note}},
        {nullptr, "bad\"one.spr", {}},
        {"bad\"one.spr", nullptr, {note}},
    };
    for (const auto& scan : scans) {
        if (scan.added != nullptr) {
            Sprite(scan.added);
        }
        if (scan.removed != nullptr) {
            fs::remove(session.paths.voteSpriteDir + scan.removed);
        }
        prompter.Forget();
        model.RefreshMapLists();
        EXPECT_EQ(prompter.Messages(), scan.messages);
        EXPECT_EQ(model.AvailableMaps().Names(), Names{"well"});
    }
}

// Moving maps, settings and the details pane through the window are covered by the offscreen
// window tests; these are the model's cases the window cannot reach.
TEST_F(MainWindowModelTest, OnlyAClickEnablesSettingsAndMovesHaveNoLimit) {
    for (const char* sprite : {"2fort.spr", "well.spr", "canyon.spr", "harbour.spr"}) {
        Sprite(sprite);
    }
    EntityFile("harbour.16.ref");
    MapFile("vote.ent", "\"sprites/vote/well.spr\"\n");
    MainWindowModel model{session};
    model.RefreshMapLists();
    EXPECT_FALSE(model.ShowFocusedMap(MapListId::Available));
    model.AvailableMaps().SetFocused(model.AvailableMaps().FindNoCase("harbour"));
    ASSERT_TRUE(model.ShowFocusedMap(MapListId::Available));
    EXPECT_TRUE(model.SettingsEnabled());
    session.selector.Add("Team Fortress Classic");
    session.mods.records.push_back({"tfc", 1, "Team Fortress Classic", "", true});
    session.selector.Add("Empty");
    session.mods.records.push_back({"empty", 1, "Empty", "", true});
    model.SelectMod(0); // "Empty" sorts first; the window pins what it disables and clears
    model.SelectMod(1);
    EXPECT_TRUE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled()) << "only a click enables Settings...";

    ASSERT_EQ(model.ChosenMaps().Names(), Names{"well"});
    model.AddChosenMaps();
    model.RemoveChosenMaps();
    EXPECT_EQ(model.AvailableMaps().Count(), 3U);
    EXPECT_FALSE(model.Settings().uncompiledChanges);
    model.ClearChosenMaps();
    model.Settings().uncompiledChanges = false;
    model.ClearChosenMaps(); // an empty vote list
    EXPECT_TRUE(model.Settings().uncompiledChanges);
    for (int i = 0; i < 20; ++i) {
        model.AvailableMaps().Insert("extra" + std::to_string(i), MapState::NotDownloaded);
    }
    for (std::size_t i = 0; i < model.AvailableMaps().Count(); ++i) {
        model.AvailableMaps().SetSelected(i, true);
    }
    model.AddChosenMaps();
    EXPECT_EQ(model.ChosenMaps().Count(), 24U);
}

// A map downloaded while its details were shown reads "downloaded" after the update list
// closes, without another click.
TEST_F(MainWindowModelTest, TheShownMapIsReadAnewAfterUpdates) {
    Sprite("canyon.spr");
    MainWindowModel model{session};
    model.RefreshMapLists();
    model.AvailableMaps().SetFocused(0);
    ASSERT_TRUE(model.ShowFocusedMap(MapListId::Available));
    EXPECT_EQ(model.Details().downloadedText, "No");
    MapFile("canyon.bsp");
    test::ScriptedPrompter prompter;
    model.RefreshAfterUpdates(prompter, false);
    EXPECT_EQ(model.Details().name + " " + model.Details().downloadedText, "canyon Yes");
}

using test::kTypesHeader;
class MapSettingsModelTest : public test::MapSettingsFolders {
protected:
    MapSettingsModelTest() {
        WriteFile(paths.modWorkDir + "servertypes.conf",
                  kTypesHeader + "16\nSixteen\n32\nThirty-two\nlan\nLAN party\n");
        Entities("2fort.32.ref", "2fort.tpt\n#INFO#\nBig server\nFor many.\n#TEXT#\nmap text");
        Entities("2fort.16.ref", "2fort.tpt\n#TEXT#\nno description here\n");
        Entities("2fort.LAN.ref", "2fort.tpt\n#INFO#");
        Entities("2fort.tpt", "{\n\"classname\" \"worldspawn\"\n}\n");
        WriteFile(paths.voteSpriteDir + "2fort.spr", demo::MakeMapSprite("2fort"));
    }
    MapSettingsModel Open(const std::string& map) {
        MapSettingsModel model(paths, map, tables);
        model.Initialise(32);
        return model;
    }
    MapSettingsTables tables;
};

using test::IsBlack;

// The window tests on the demo pin what a click shows, that a click on no row does nothing and
// that Update applies the clicked row; these are the cases the demo lacks.
TEST_F(MapSettingsModelTest, ARowWithNothingToShowKeepsTheTextsButEnablesUpdate) {
    MapSettingsModel model = Open("2fort");
    ASSERT_EQ(model.Rows().size(), 3u);
    model.OnServerSizeClicked(2);
    EXPECT_EQ(model.DescriptionText(), "No Server Size selected...");
    EXPECT_TRUE(model.UpdateEnabled()) << "every result enables Update...";
    model.OnServerSizeClicked(1);
    model.OnServerSizeClicked(2);
    EXPECT_EQ(model.SettingCaption(), "Big server");
    EXPECT_EQ(model.DescriptionText(), "For many.\n");
    model.OnServerSizeClicked(0);
    EXPECT_EQ(model.SettingCaption(), "2fort");
    EXPECT_FALSE(model.Update(std::nullopt, services));
    EXPECT_TRUE(prompter.Transcript().empty()) << "no question without a focused row";
}

TEST_F(MapSettingsModelTest, AMapWithoutSpriteOrModShowsBlackAndNoRows) {
    EXPECT_FALSE(IsBlack(Open("2fort").Preview()));
    EXPECT_TRUE(Open("canalworks").Rows().empty());
    EXPECT_TRUE(IsBlack(tables.preview)) << "the earlier map's picture is not kept";
    paths = MapSettingsPaths{};
    const MapSettingsModel noMod = Open("2fort");
    EXPECT_TRUE(noMod.Rows().empty());
    EXPECT_TRUE(IsBlack(noMod.Preview()));
}

} // namespace
} // namespace ballotine
