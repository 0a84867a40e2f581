#include "votemap/VoteMapListFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(VoteMapListFile, ReadsSettingsAndNamesInFileOrder) {
    TempDir dir;
    WriteFile(dir.Path() / "a.VML", "VML Header V1.2\r\n16 2 0x3\r\nwell\r\n2fort\r\nrock2");
    const auto read = ReadVoteMapListFile(dir / "A.vml");
    ASSERT_EQ(read.status, VoteMapListStatus::Ok);
    EXPECT_EQ(read.content.playerCount, 16);
    EXPECT_EQ(read.content.thugCount, 2);
    EXPECT_EQ(read.content.wallStrength, 3);
    EXPECT_EQ(read.content.mapNames, (std::vector<std::string>{"well", "2fort", "rock2"}));
}

TEST(VoteMapListFile, MissingSettingsStayUnset) {
    TempDir dir;
    WriteFile(dir.Path() / "a.VML", "VML Header V1.2\n20 x 3\n");
    const auto read = ReadVoteMapListFile(dir / "a.VML");
    ASSERT_EQ(read.status, VoteMapListStatus::Ok);
    EXPECT_EQ(read.content.playerCount, 20);
    EXPECT_FALSE(read.content.thugCount);
    EXPECT_FALSE(read.content.wallStrength) << "the scan stops at the first non-number";
    EXPECT_EQ(read.content.mapNames, std::vector<std::string>{""}) << "the final empty line";
}

TEST(VoteMapListFile, RefusesFilesThatAreNotLists) {
    TempDir dir;
    EXPECT_EQ(ReadVoteMapListFile(dir / "none.VML").status, VoteMapListStatus::CannotOpen);
    for (const char* bad : {"", "VML Header V1.2 \n", "vml header v1.2\n", " VML Header V1.2\n"}) {
        WriteFile(dir.Path() / "bad.VML", bad);
        EXPECT_EQ(ReadVoteMapListFile(dir / "bad.VML").status, VoteMapListStatus::BadHeader)
            << "'" << bad << "'";
    }
}

TEST(VoteMapListFile, WritesTheFormatItReads) {
    TempDir dir;
    ASSERT_TRUE(WriteVoteMapListFile(dir / "three.VML", 16, 2, 1, {"2fort", "rock2", "well"}));
    EXPECT_EQ(ReadFile(dir.Path() / "three.VML"), "VML Header V1.2\n16 2 1\n2fort\nrock2\nwell\n");
    ASSERT_TRUE(WriteVoteMapListFile(dir / "empty.VML", 12, 2, 1, {}));
    const auto empty = ReadVoteMapListFile(dir / "empty.VML");
    ASSERT_EQ(empty.status, VoteMapListStatus::Ok);
    EXPECT_EQ(empty.content.mapNames, std::vector<std::string>{""});
}

TEST(VoteMapListFile, AnUnwritablePlaceIsReportedAsFailure) {
    TempDir dir;
    WriteFile(dir.Path() / "VoteMapLists", "a file where the folder should be");
    EXPECT_FALSE(WriteVoteMapListFile(dir / "VoteMapLists/x.VML", 12, 2, 1, {"2fort"}));
    EXPECT_EQ(ReadFile(dir.Path() / "VoteMapLists"), "a file where the folder should be");
}

} // namespace
} // namespace ballotine
