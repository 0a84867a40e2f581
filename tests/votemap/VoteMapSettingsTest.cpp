#include "votemap/VoteMapSettings.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(VoteMapSettings, PlayersLabelFollowsPlayersAndThugsHeldToTheSlider) {
    VoteMapSettings settings;
    const std::pair<int, const char*> cases[] = {
        {4, "1/04 (Thugs/Players)"},  {10, "1/10 (Thugs/Players)"}, {11, "2/11 (Thugs/Players)"},
        {21, "2/21 (Thugs/Players)"}, {22, "3/22 (Thugs/Players)"}, {32, "3/32 (Thugs/Players)"},
        {2, "1/04 (Thugs/Players)"},  {40, "3/32 (Thugs/Players)"},
    };
    for (const auto& [players, label] : cases) {
        settings.OnPlayersChanged(players);
        EXPECT_EQ(settings.PlayersLabel(), label) << players;
    }
    EXPECT_TRUE(settings.uncompiledChanges) << "a players change marks the vote map changed";

    // The Thugs? box switches thugs off through later player changes, without marking a change.
    settings.uncompiledChanges = false;
    settings.OnThugsToggled(false);
    settings.OnPlayersChanged(5);
    EXPECT_EQ(settings.thugCount, 0);
    settings.uncompiledChanges = false;
    settings.OnThugsToggled(true);
    EXPECT_EQ(settings.PlayersLabel(), "1/05 (Thugs/Players)");
    EXPECT_FALSE(settings.uncompiledChanges);
}

TEST(VoteMapSettings, WallsLabelsHeldToTheSliderWithoutMarkingAChange) {
    VoteMapSettings settings;
    const char* labels[] = {"Weak Walls", "Normal Walls", "Strong Walls", "Super Walls"};
    for (int position = 0; position < 4; ++position) {
        settings.OnWallsChanged(position);
        EXPECT_EQ(settings.WallsLabel(), labels[position]);
    }
    settings.OnWallsChanged(9);
    EXPECT_EQ(settings.wallStrength, 3);
    EXPECT_FALSE(settings.uncompiledChanges);
}

} // namespace
} // namespace ballotine
