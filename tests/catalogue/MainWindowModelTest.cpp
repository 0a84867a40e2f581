#include "catalogue/MainWindowModel.h"

#include "ModFolders.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

using Names = std::vector<std::string>;
using test::ModFolders;

// Moving maps, settings and the details pane through the window are covered by the offscreen
// window tests; these are the model's cases the window cannot reach.
class MainWindowModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sprite : {"2fort", "well", "canyon", "harbour"}) {
            mod.Sprite(std::string(sprite) + ".spr");
        }
        mod.EntityFile("harbour.16.ref");
        mod.MapFile("vote.ent", "\"sprites/vote/well.spr\"\n");
        model.RefreshMapLists();
    }

    ModFolders mod;
    MainWindowModel model{mod.session};
};

TEST_F(MainWindowModelTest, MovesWithoutSelectionChangeNothingClearAlwaysCountsAndNoLimit) {
    ASSERT_EQ(model.ChosenMaps().Names(), Names{"well"});
    EXPECT_FALSE(model.Settings().uncompiledChanges);
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
    EXPECT_TRUE(model.AvailableMaps().Empty());
}

TEST_F(MainWindowModelTest, NothingFocusedShowsNothingAndOnlyAClickEnablesSettings) {
    EXPECT_FALSE(model.ShowFocusedMap(MapListId::Available));
    model.AvailableMaps().SetFocused(model.AvailableMaps().FindNoCase("harbour"));
    ASSERT_TRUE(model.ShowFocusedMap(MapListId::Available));
    EXPECT_TRUE(model.SettingsEnabled());

    mod.session.selector.Add("Team Fortress Classic");
    mod.session.mods.records.push_back({"tfc", 1, "Team Fortress Classic", "", true});
    mod.session.selector.Add("Empty");
    mod.session.mods.records.push_back({"empty", 1, "Empty", "", true});
    model.SelectMod(0); // "Empty" sorts first
    EXPECT_FALSE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled());
    model.SelectMod(1);
    EXPECT_TRUE(model.WorkingControlsEnabled());
    EXPECT_FALSE(model.SettingsEnabled()) << "only a click enables Settings...";
}

} // namespace
} // namespace ballotine
