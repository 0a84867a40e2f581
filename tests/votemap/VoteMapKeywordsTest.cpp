#include "votemap/VoteMapKeywords.h"

#include "votemap/ReplaceKeyword.h"

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

TEST(ReplaceKeyword, LongLinesAreNeverCut) {
    std::string line(5000, 'a');
    line += "KEY";
    line += std::string(5000, 'b');
    ASSERT_TRUE(ReplaceKeyword(line, "KEY", std::string(3000, 'v')));
    EXPECT_EQ(line.size(), 13000u);
    EXPECT_EQ(line.substr(5000, 3000), std::string(3000, 'v'));
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

TEST(VoteMapKeywords, ThugsOnAndOff) {
    const auto off = AsMap(BuildVoteMapKeywords({"2fort", "well"}, 12, 0, 1));
    EXPECT_EQ(off.at("THUGON"), "1");
    EXPECT_EQ(off.at("THUGNUM"), "0");
    EXPECT_EQ(off.at("THUGMSG"), "(X) Thugs Disabled");
    EXPECT_EQ(off.at("DRHLTH"), "1100");

    const auto on = AsMap(BuildVoteMapKeywords({"2fort", "well"}, 32, 3, 2));
    EXPECT_EQ(on.at("THUGON"), "2");
    EXPECT_EQ(on.at("THUGNUM"), "3");
    EXPECT_EQ(on.at("THUGMSG"), "(2) Political Thug (Limit 3)");
    EXPECT_EQ(on.at("DRHLTH"), "4300");
}

TEST(VoteMapKeywords, SlotsBeyondTheMapsShowTheVoteSpriteAndKeepTheirDoorsShut) {
    const auto keywords = BuildVoteMapKeywords({"2fort", "Well"}, 12, 2, 1);
    ASSERT_EQ(keywords.size(), 4u + 2u * 16u);
    EXPECT_EQ(keywords[4].keyword, "MRF01");
    EXPECT_EQ(keywords[5].keyword, "RDR01") << "each slot's map before its door";
    const auto values = AsMap(keywords);
    EXPECT_EQ(values.at("MRF01"), "2fort");
    EXPECT_EQ(values.at("MRF02"), "Well") << "the name as the list holds it";
    EXPECT_EQ(values.at("RDR02"), "godoor");
    EXPECT_EQ(values.at("MRF03"), "vote");
    EXPECT_EQ(values.at("RDR16"), "RDR16");

    std::vector<std::string> sixteen;
    for (int i = 1; i <= 16; ++i) {
        sixteen.push_back("map" + std::to_string(i));
    }
    std::string line = "MRF01 RDR01 MRF16 RDR16";
    ApplyKeywords(line, BuildVoteMapKeywords(sixteen, 12, 2, 1));
    EXPECT_EQ(line, "map1 godoor map16 godoor");
}

TEST(VoteMapKeywords, LaterKeywordsSeeWhatEarlierOnesBroughtIn) {
    // a map named after a later keyword is itself replaced: the order is part of the format
    std::string line = "MRF01";
    ApplyKeywords(line, BuildVoteMapKeywords({"RDR02x", "b"}, 12, 2, 1));
    EXPECT_EQ(line, "godoorx");
}

} // namespace
} // namespace ballotine
