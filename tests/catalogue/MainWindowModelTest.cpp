#include "catalogue/MainWindowModel.h"

#include "ModFolders.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

using test::ModFolders;

std::vector<std::string> Names(const MapList& list) {
    std::vector<std::string> names;
    for (const MapEntry& entry : list.Entries()) {
        names.push_back(entry.name);
    }
    return names;
}

void Select(MapList& list, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        list.SetSelected(*list.FindNoCase(name), true);
    }
}

class MainWindowModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sprite : {"2fort", "well", "rock2", "canyon", "ruins", "harbour"}) {
            mod.Sprite(std::string(sprite) + ".spr");
        }
        mod.MapFile("canyon.bsp");
        mod.EntityFile("harbour.16.ref");
        mod.MapFile("vote.ent", "\"sprites/vote/well.spr\"\n\"sprites/vote/ruins.spr\"\n");
        model.RefreshMapLists();
    }

    ModFolders mod;
    MainWindowModel model{mod.session};
};

TEST_F(MainWindowModelTest, StartsWithTheCompiledVoteMapOutOfTheAvailableMaps) {
    EXPECT_EQ(Names(model.AvailableMaps()),
              (std::vector<std::string>{"2fort", "canyon", "harbour", "rock2"}));
    EXPECT_EQ(Names(model.ChosenMaps()), (std::vector<std::string>{"ruins", "well"}));
    EXPECT_EQ(model.ChosenMaps().At(0).state, MapState::NotDownloaded);
    EXPECT_TRUE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled());
    EXPECT_FALSE(model.Settings().uncompiledChanges);
    EXPECT_EQ(model.Title(), "Ballotine V2.2");
}

TEST_F(MainWindowModelTest, MovingMapsBothWaysKeepsBothListsSortedAndMarksChanges) {
    Select(model.AvailableMaps(), {"rock2", "2fort"});
    model.AddChosenMaps();
    EXPECT_EQ(Names(model.ChosenMaps()),
              (std::vector<std::string>{"2fort", "rock2", "ruins", "well"}));
    EXPECT_EQ(Names(model.AvailableMaps()), (std::vector<std::string>{"canyon", "harbour"}));
    EXPECT_TRUE(model.Settings().uncompiledChanges);

    model.Settings().uncompiledChanges = false;
    Select(model.ChosenMaps(), {"well", "2fort"});
    model.RemoveChosenMaps();
    EXPECT_EQ(Names(model.ChosenMaps()), (std::vector<std::string>{"rock2", "ruins"}));
    EXPECT_EQ(Names(model.AvailableMaps()),
              (std::vector<std::string>{"2fort", "canyon", "harbour", "well"}));
    EXPECT_TRUE(model.Settings().uncompiledChanges);

    model.ClearChosenMaps();
    EXPECT_TRUE(model.ChosenMaps().Empty());
    EXPECT_EQ(model.AvailableMaps().Count(), 6U);
    EXPECT_EQ(model.AvailableMaps().At(*model.AvailableMaps().FindNoCase("ruins")).state,
              MapState::NotDownloaded)
        << "a map keeps its state when it moves";
}

TEST_F(MainWindowModelTest, MovesWithoutSelectionChangeNothingButClearAlwaysCounts) {
    model.AddChosenMaps();
    model.RemoveChosenMaps();
    EXPECT_EQ(model.AvailableMaps().Count(), 4U);
    EXPECT_EQ(model.ChosenMaps().Count(), 2U);
    EXPECT_FALSE(model.Settings().uncompiledChanges);

    model.ClearChosenMaps();
    model.Settings().uncompiledChanges = false;
    model.ClearChosenMaps(); // an empty vote list
    EXPECT_TRUE(model.Settings().uncompiledChanges);
}

TEST_F(MainWindowModelTest, NoLimitOnTheVoteListHere) {
    for (int i = 0; i < 20; ++i) {
        model.AvailableMaps().Insert("extra" + std::to_string(i), MapState::NotDownloaded);
    }
    for (std::size_t i = 0; i < model.AvailableMaps().Count(); ++i) {
        model.AvailableMaps().SetSelected(i, true);
    }
    model.AddChosenMaps();
    EXPECT_EQ(model.ChosenMaps().Count(), 26U);
    EXPECT_TRUE(model.AvailableMaps().Empty());
}

TEST_F(MainWindowModelTest, ClickingAMapShowsItAndEnablesSettingsOnlyWhenConfigurable) {
    MapList& available = model.AvailableMaps();
    EXPECT_FALSE(model.ShowFocusedMap(MapListId::Available)) << "no focused entry: nothing";

    available.SetFocused(available.FindNoCase("harbour"));
    EXPECT_TRUE(model.ShowFocusedMap(MapListId::Available));
    EXPECT_TRUE(model.SettingsEnabled());
    EXPECT_EQ(model.SelectedMap(), "harbour");
    EXPECT_EQ(model.Details().downloadedText, "No");
    EXPECT_TRUE(model.CanOpenFocusedMapSettings(MapListId::Available));

    available.SetFocused(available.FindNoCase("canyon"));
    model.ShowFocusedMap(MapListId::Available);
    EXPECT_FALSE(model.SettingsEnabled());
    EXPECT_EQ(model.Details().downloadedText, "Yes");
    EXPECT_FALSE(model.CanOpenFocusedMapSettings(MapListId::Available));

    model.ChosenMaps().SetFocused(0);
    model.ShowFocusedMap(MapListId::Chosen);
    EXPECT_EQ(model.SelectedMap(), "ruins");
}

TEST_F(MainWindowModelTest, ChangingToAModWithoutSpritesDisablesTheControls) {
    mod.session.selector.Add("Team Fortress Classic");
    mod.session.mods.records.push_back({"tfc", 1, "Team Fortress Classic", "", true});
    mod.session.selector.Add("Empty");
    mod.session.mods.records.push_back({"empty", 1, "Empty", "", true});
    model.AvailableMaps().SetFocused(model.AvailableMaps().FindNoCase("harbour"));
    model.ShowFocusedMap(MapListId::Available);

    model.SelectMod(0); // "Empty" sorts first
    EXPECT_TRUE(model.AvailableMaps().Empty());
    EXPECT_TRUE(model.ChosenMaps().Empty());
    EXPECT_FALSE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled());

    model.SelectMod(1);
    EXPECT_EQ(model.AvailableMaps().Count(), 4U);
    EXPECT_EQ(model.ChosenMaps().Count(), 2U);
    EXPECT_TRUE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled()) << "only a click enables Settings...";
}

TEST_F(MainWindowModelTest, TitleShowsTheListName) {
    mod.session.currentListName = "league.VML";
    model.UpdateTitle();
    EXPECT_EQ(model.Title(), "Ballotine V2.1 - league.VML");
}

} // namespace
} // namespace ballotine
