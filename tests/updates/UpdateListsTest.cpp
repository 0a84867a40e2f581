#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

MapUpdateList ParseMaps(const std::string& text) {
    std::istringstream in(text);
    return ParseMapUpdateList(in);
}

ModUpdateList ParseMods(const std::string& text) {
    std::istringstream in(text);
    return ParseModUpdateList(in);
}

const char* const kTwoMaps = "0x14\n"
                             "#MAP#\n"
                             "2fort 16 1\n"
                             "2 010\n"
                             "http://s/maps/2fort.zip\n"
                             "N/A\n"
                             "2Fort remake\n"
                             "3 4096\n"
                             "http://s/ents/2fort_ent.zip\n"
                             "http://m/ents/2fort_ent.zip\n"
                             "2Fort entities\n"
                             "#MAP#\n"
                             "well 15\n"
                             "0 0\n"
                             "\n"
                             "\n"
                             "\n"
                             "-1 0\n"
                             "http://s/ents/well.zip\n"
                             "N/A\n"
                             "Well entities"; // the end of the file ends the list

TEST(MapUpdateList, ReadsEveryFieldOfEveryRecord) {
    const MapUpdateList list = ParseMaps(kTwoMaps);
    EXPECT_EQ(list.listRevision, 20);
    ASSERT_EQ(list.records.size(), 2u);

    const MapRecord& first = list.records[0];
    EXPECT_EQ(first.key, "2fort");
    EXPECT_EQ(first.addedRevision, 16);
    EXPECT_EQ(first.hasVoteData, 1);
    EXPECT_EQ(first.mapVersion, 2);
    EXPECT_EQ(first.mapSize, 8) << "010 is octal";
    EXPECT_EQ(first.mapUrl, "http://s/maps/2fort.zip");
    EXPECT_EQ(first.mapMirrorUrl, "N/A");
    EXPECT_EQ(first.mapTitle, "2Fort remake");
    EXPECT_EQ(first.entityVersion, 3);
    EXPECT_EQ(first.entitySize, 4096);
    EXPECT_EQ(first.entityUrl, "http://s/ents/2fort_ent.zip");
    EXPECT_EQ(first.entityMirrorUrl, "http://m/ents/2fort_ent.zip");
    EXPECT_EQ(first.entityTitle, "2Fort entities");
    EXPECT_TRUE(first.complete);

    const MapRecord& second = list.records[1];
    EXPECT_EQ(second.key, "well");
    EXPECT_EQ(second.addedRevision, 15);
    EXPECT_EQ(second.hasVoteData, 0) << "a field that is not there reads as 0";
    EXPECT_EQ(second.entityVersion, -1);
    EXPECT_EQ(second.entityTitle, "Well entities");
    EXPECT_TRUE(second.complete);
}

TEST(MapUpdateList, EndsAtTheFirstLineThatIsNotAMarker) {
    EXPECT_TRUE(ParseMaps("7\n#END#").records.empty());
    EXPECT_TRUE(ParseMaps("7\n").records.empty());
    EXPECT_EQ(ParseMaps("").listRevision, 0);

    const std::string withTrailer = std::string(kTwoMaps) + "\n#END#\n#MAP#\nghost 1 1\n";
    EXPECT_EQ(ParseMaps(withTrailer).records.size(), 2u);
    EXPECT_TRUE(ParseMaps("3\n#map#\n2fort 1 0\n").records.empty())
        << "markers compare with their case";
}

TEST(MapUpdateList, ARecordCutShortKeepsWhatItHasAsEmptyAndZero) {
    const MapUpdateList list = ParseMaps("5\n#MAP#\nrock2 4 1\n1 5000\nhttp://s/rock2.zip");
    ASSERT_EQ(list.records.size(), 1u);
    const MapRecord& record = list.records[0];
    EXPECT_FALSE(record.complete);
    EXPECT_EQ(record.key, "rock2");
    EXPECT_EQ(record.mapVersion, 1);
    EXPECT_EQ(record.mapSize, 5000);
    EXPECT_EQ(record.mapUrl, "http://s/rock2.zip");
    EXPECT_EQ(record.mapTitle, "");
    EXPECT_EQ(record.entityVersion, 0);
    EXPECT_EQ(record.entityTitle, "");
}

TEST(MapUpdateList, AFileThatCannotBeOpenedGivesNothing) {
    EXPECT_FALSE(ReadMapUpdateList("/nonexistent/update.conf").has_value());
    EXPECT_FALSE(ReadModUpdateList("/nonexistent/modsupdate.cfg").has_value());
}

TEST(ModUpdateList, ReadsTheAddressAndEveryRecord) {
    const ModUpdateList list = ParseMods("http://s/mods2.cfg\n"
                                         "#MOD#\n"
                                         "tfc 0x10 123456\n"
                                         "Team Fortress Classic\n"
                                         "TFC data 16\n"
                                         "http://s/tfc\n"
                                         "http://s/tfc/tfc.zip\n"
                                         "N/A\n"
                                         "#MOD#\n"
                                         "dmc 2 010\n"
                                         "Deathmatch Classic\n"
                                         "DMC data\n"
                                         "http://s/dmc\n"
                                         "http://s/dmc/dmc.zip\n"
                                         "http://m/dmc/dmc.zip\n"
                                         "#END#\n"
                                         "#MOD#\n");
    EXPECT_EQ(list.modListUrl, "http://s/mods2.cfg");
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].dir, "tfc");
    EXPECT_EQ(list.records[0].version, 16);
    EXPECT_EQ(list.records[0].size, 123456);
    EXPECT_EQ(list.records[0].modTitle, "Team Fortress Classic");
    EXPECT_EQ(list.records[0].packageTitle, "TFC data 16");
    EXPECT_EQ(list.records[0].baseUrl, "http://s/tfc");
    EXPECT_EQ(list.records[0].packageUrl, "http://s/tfc/tfc.zip");
    EXPECT_EQ(list.records[0].packageMirrorUrl, "N/A");
    EXPECT_EQ(list.records[1].dir, "dmc");
    EXPECT_EQ(list.records[1].size, 8);
    EXPECT_EQ(list.records[1].packageMirrorUrl, "http://m/dmc/dmc.zip");
    EXPECT_TRUE(list.records[1].complete);
}

TEST(ModUpdateList, OnlyTheAddressWhenTheSecondLineIsNoMarker) {
    const ModUpdateList list = ParseMods("http://s/next.cfg\n#END#\n#MOD#\ntfc 3 1\n");
    EXPECT_EQ(list.modListUrl, "http://s/next.cfg");
    EXPECT_TRUE(list.records.empty());
}

TEST(ModUpdateList, ARecordCutShortIsMarkedIncomplete) {
    const ModUpdateList list = ParseMods("u\n#MOD#\ntfc 3 100\nTeam Fortress Classic\n");
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_FALSE(list.records[0].complete);
    EXPECT_EQ(list.records[0].version, 3);
    EXPECT_EQ(list.records[0].packageUrl, "");
}

} // namespace
} // namespace ballotine
