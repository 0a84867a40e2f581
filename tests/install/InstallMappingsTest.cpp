#include "install/InstallMappings.h"

#include "install/InstallTestSupport.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::TempDir;
using test::WriteFile;

class Mappings : public testing::Test {
protected:
    void Load(const std::string& text) {
        WriteFile(paths.modWorkDir + "mappings.conf", text);
        ASSERT_TRUE(LoadMappings(mappings, paths));
    }
    std::string Game(const std::string& relative) const {
        return paths.installDir + "/" + relative;
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    InstallMappings mappings;
};

TEST_F(Mappings, FilesGoByTheTextAfterTheLastDot) {
    Load("any text before the files\n"
         "#FILES# of this package\n"
         "bsp tfc\\maps\n"
         "WAD @\n"
         "lonely\n"
         "\n"
         "txt tfc\\maps\n"
         "#DIRS#\n");
    EXPECT_EQ(mappings.MapFile("2fort.bsp"), Game("tfc/maps/2fort.bsp"));
    EXPECT_EQ(mappings.MapFile("my.map.v2.BSP"), Game("tfc/maps/my.map.v2.BSP"));
    EXPECT_EQ(mappings.MapFile("decals.wad"), Game("decals.wad"));
    EXPECT_EQ(mappings.MapFile("bsp"), std::nullopt) << "no dot, no extension";
    EXPECT_EQ(mappings.MapFile("2fort.bsp.bak"), std::nullopt);
    EXPECT_EQ(mappings.MapFile("lonely"), std::nullopt);
    EXPECT_EQ(mappings.files.size(), 3u) << "lines without two words map nothing";
}

TEST_F(Mappings, FoldersGoByNameWithoutRegardToCase) {
    Load("#FILES#\n"
         "bsp tfc\\maps\n"
         "#DIRS# follow\n"
         "sound \\tfc\n"
         "Valve @\n"
         "gfx \\tfc\\gfx\\env\n"
         "#END#\n"
         "late \\never\n");
    EXPECT_EQ(mappings.MapDirectory("SOUND"), Game("tfc/SOUND"));
    EXPECT_EQ(mappings.MapDirectory("valve"), Game("valve"));
    EXPECT_EQ(mappings.MapDirectory("gfx"), Game("tfc/gfx/env/gfx"));
    EXPECT_EQ(mappings.MapDirectory("models"), std::nullopt);
    EXPECT_EQ(mappings.MapDirectory("late"), std::nullopt) << "reading ends at the next # line";
}

TEST_F(Mappings, FileMappingsEndedByAnotherMarkerHaveNoFolders) {
    Load("#FILES#\nbsp tfc\\maps\n#DIRECTORIES#\nsound \\tfc\n");
    EXPECT_EQ(mappings.files.size(), 1u);
    EXPECT_TRUE(mappings.dirs.empty());
    Load("#files#\nbsp tfc\\maps\n");
    EXPECT_TRUE(mappings.files.empty()) << "the marker compares with its case";
}

TEST_F(Mappings, StarMapsToTheFolderThatHoldsSierra) {
    TempDir sierraRoot;
    paths = test::TfcPaths(sierraRoot, "Sierra/Half-Life");
    Load("#FILES#\n#DIRS#\nvalve *\n");
    EXPECT_EQ(mappings.MapDirectory("valve"), sierraRoot / "valve");

    paths = test::TfcPaths(sierraRoot, "games/Half-Life");
    Load("#FILES#\n#DIRS#\nvalve *\n");
    EXPECT_EQ(mappings.MapDirectory("valve"), sierraRoot / "games/Half-Life/valve")
        << "without a Sierra folder the game folder itself";
}

TEST_F(Mappings, WithoutAMappingsFileBothTablesAreEmpty) {
    Load("#FILES#\nbsp tfc\\maps\n#DIRS#\nsound \\tfc\n");
    DeleteFile(paths.modWorkDir + "mappings.conf");
    EXPECT_FALSE(LoadMappings(mappings, paths));
    EXPECT_TRUE(mappings.files.empty());
    EXPECT_TRUE(mappings.dirs.empty());
}

TEST(JoinPath, PutsExactlyOneSeparatorBetween) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "/b"), "/a/b");
}

} // namespace
} // namespace ballotine
