#include "votemap/VoteMapKeywords.h"

#include "votemap/ReplaceKeyword.h"
#include "votemap/VoteMapSettings.h"

#include <gtest/gtest.h>
#include <map>

namespace ballotine {
namespace {

std::string Replaced(std::string line, const char* keyword, const char* value) {
    ReplaceKeyword(line, keyword, value);
    return line;
}

TEST(ReplaceKeyword, ReplacesEveryWholeOccurrenceOnce) {
    EXPECT_EQ(Replaced("MRF01MRF01", "MRF01", "2fort"), "2fort2fort");
    EXPECT_EQ(Replaced("\"sprites/vote/MRF01.spr\"", "MRF01", "well"), "\"sprites/vote/well.spr\"");
    EXPECT_EQ(Replaced("mrf01 Mrf01", "MRF01", "x"), "mrf01 Mrf01") << "case counts";
    EXPECT_EQ(Replaced("AAA", "AA", "x"), "xA") << "matches do not overlap";
    EXPECT_EQ(Replaced("KEY", "KEY", "a KEY b"), "a KEY b") << "a value is not rescanned";
    EXPECT_EQ(Replaced("", "KEY", "x"), "");
    EXPECT_EQ(Replaced("no keyword", "", "x"), "no keyword");
    std::string line = "keep";
    EXPECT_FALSE(ReplaceKeyword(line, "KEY", "x"));
    EXPECT_EQ(line, "keep");
}

TEST(VoteMapKeywords, DoorHealthForEveryWallStrength) {
    const std::int32_t expected[4][3] = {
        {300, 700, 1700}, {500, 1100, 2600}, {800, 1800, 4300}, {1800, 3400, 7400}};
    const std::int32_t players[3] = {4, 12, 32};
    for (int walls = 0; walls < 4; ++walls) {
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(DoorHealth(walls, players[p]), expected[walls][p])
                << "walls " << walls << ", players " << players[p];
        }
    }
    EXPECT_EQ(DoorHealth(7, 12), 3400) << "held to the strongest walls";
}

std::map<std::string, std::string> AsMap(const std::vector<KeywordValue>& keywords) {
    std::map<std::string, std::string> values;
    for (const KeywordValue& keyword : keywords) {
        values[keyword.keyword] = keyword.value;
    }
    return values;
}

// The slots each map takes (two and sixteen maps) are pinned by the compile tests.
TEST(VoteMapKeywords, ThugsOnAndOffAndTheOrderLaterKeywordsSee) {
    const auto off = AsMap(BuildVoteMapKeywords({"2fort", "well"}, 12, 0, 1));
    EXPECT_EQ(off.at("THUGON"), "1");
    EXPECT_EQ(off.at("THUGNUM"), "0");
    EXPECT_EQ(off.at("THUGMSG"), "(X) Thugs Disabled");
    EXPECT_EQ(off.at("DRHLTH"), "1100");
    const auto on = AsMap(BuildVoteMapKeywords({"2fort", "Well"}, 32, 3, 2));
    EXPECT_EQ(on.at("THUGON"), "2");
    EXPECT_EQ(on.at("THUGNUM"), "3");
    EXPECT_EQ(on.at("THUGMSG"), "(2) Political Thug (Limit 3)");
    EXPECT_EQ(on.at("DRHLTH"), "4300");
    EXPECT_EQ(on.at("MRF02"), "Well") << "the name as the list holds it";

    // A map named after a later keyword (its own slot's door) is itself replaced: the order,
    // each slot's map before its door, is part of the format.
    std::string line = "MRF01";
    ApplyKeywords(line, BuildVoteMapKeywords({"RDR01x", "b"}, 12, 2, 1));
    EXPECT_EQ(line, "godoorx");
}

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
