#include "votemap/VoteMapKeywords.h"
#include "votemap/VoteMapSettings.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace ballotine {
namespace {

TEST(VoteMapKeywords, DoorHealthThugsAndTheOrderLaterKeywordsSee) {
    const std::int32_t health[4][3] = {
        {300, 700, 1700}, {500, 1100, 2600}, {800, 1800, 4300}, {1800, 3400, 7400}};
    for (int walls = 0; walls < 4; ++walls) {
        for (int p = 0; p < 3; ++p) {
            const int players = p == 0 ? 4 : p == 1 ? 12 : 32;
            EXPECT_EQ(DoorHealth(walls, players), health[walls][p]) << walls << " " << players;
        }
    }
    EXPECT_EQ(DoorHealth(7, 12), 3400) << "held to the strongest walls";

    std::map<std::string, std::string> off, on;
    for (const KeywordValue& k : BuildVoteMapKeywords({"2fort", "well"}, 12, 0, 1)) {
        off[k.keyword] = k.value;
    }
    for (const KeywordValue& k : BuildVoteMapKeywords({"2fort", "Well"}, 32, 3, 2)) {
        on[k.keyword] = k.value;
    }
    EXPECT_EQ(off.at("THUGON") + off.at("THUGNUM") + off.at("THUGMSG"), "10(X) Thugs Disabled");
    EXPECT_EQ(on.at("THUGON") + on.at("THUGNUM") + on.at("THUGMSG"),
              "23(2) Political Thug (Limit 3)");
    EXPECT_EQ(on.at("MRF02"), "Well") << "the name as the list holds it";

    // A map named after its own slot's door is replaced too: each slot's map before its door.
    std::string line = "MRF01";
    ApplyKeywords(line, BuildVoteMapKeywords({"RDR01x", "b"}, 12, 2, 1));
    EXPECT_EQ(line, "godoorx");
}

TEST(VoteMapSettings, LabelsFollowTheSlidersHeldToTheirRanges) {
    VoteMapSettings settings;
    const std::pair<int, const char*> cases[] = {{10, "1/10"}, {11, "2/11"}, {21, "2/21"},
                                                 {22, "3/22"}, {2, "1/04"},  {40, "3/32"}};
    for (const auto& [players, label] : cases) {
        settings.OnPlayersChanged(players);
        EXPECT_EQ(settings.PlayersLabel(), std::string(label) + " (Thugs/Players)") << players;
    }
    EXPECT_TRUE(settings.uncompiledChanges) << "a players change marks the vote map changed";

    // Thugs and walls change without marking a change; thugs off stays off for later players.
    settings.uncompiledChanges = false;
    settings.OnThugsToggled(false);
    settings.OnPlayersChanged(5);
    EXPECT_EQ(settings.thugCount, 0);
    settings.uncompiledChanges = false;
    settings.OnThugsToggled(true);
    EXPECT_EQ(settings.PlayersLabel(), "1/05 (Thugs/Players)");
    settings.OnWallsChanged(9);
    EXPECT_EQ(settings.wallStrength, 3);
    EXPECT_FALSE(settings.uncompiledChanges);
}

} // namespace
} // namespace ballotine
