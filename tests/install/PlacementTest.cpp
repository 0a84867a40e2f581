#include "install/Placement.h"

#include "install/InstallMappings.h"
#include "install/InstallTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::CapturedLog;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

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

class Placing : public Mappings {
protected:
    void SetUp() override { Load("#FILES#\nbsp tfc\\maps\ntxt tfc\\maps\n#DIRS#\nsound \\tfc\n"); }
    std::string Package(const std::string& relative) const { return package + "/" + relative; }

    std::string package = paths.modWorkDir + "mapzips/2fort";
    CapturedLog log{dir};
};

TEST_F(Placing, TopLevelFilesByMappingFoldersByMappingOrIntoTheMod) {
    WriteFile(Package("2fort.bsp"), "map");
    WriteFile(Package("readme"), "no extension");
    WriteFile(Package("Sound/2fort/wind.wav"), "wav");
    WriteFile(Package("models/flag.mdl"), "mdl");
    WriteFile(Package("models/hlds.EXE"), "program");
    WriteFile(Package("models/server.cfg.txt"), "looks like a cfg, is not");
    WriteFile(Package("models/sub/autoexec.cfg"), "config");

    EXPECT_TRUE(PlaceContents(package, mappings, paths, log.Log()));

    EXPECT_EQ(ReadFile(Game("tfc/maps/2fort.bsp")), "map");
    EXPECT_EQ(ReadFile(Game("tfc/Sound/2fort/wind.wav")), "wav");
    EXPECT_EQ(ReadFile(Game("tfc/models/flag.mdl")), "mdl");
    EXPECT_EQ(ReadFile(Game("tfc/models/server.cfg.txt")), "looks like a cfg, is not");
    EXPECT_FALSE(fs::exists(Game("tfc/models/hlds.EXE")));
    EXPECT_FALSE(fs::exists(Game("tfc/models/sub/autoexec.cfg")));
    EXPECT_FALSE(fs::exists(Game("tfc/readme")));

    const std::string game = paths.installDir;
    EXPECT_EQ(log.Text(),
              "    Copying file " + package + "/2fort.bsp to " + game + "/tfc/maps/2fort.bsp\n" +
                  "    Copying file " + package + "/models/flag.mdl to " + game +
                  "/tfc/models/flag.mdl\n" +
                  "    NOT COPYING FILE hlds.EXE, if you need this file, please install it "
                  "manually\n" +
                  "    Copying file " + package + "/models/server.cfg.txt to " + game +
                  "/tfc/models/server.cfg.txt\n" +
                  "    NOT COPYING FILE autoexec.cfg, if you need this file, please install it "
                  "manually\n" +
                  "    Ignoring file readme, if you want this file, please extract it manually\n" +
                  "    Copying file " + package + "/Sound/2fort/wind.wav to " + game +
                  "/tfc/Sound/2fort/wind.wav\n");
}

TEST_F(Placing, ReplacesExistingFilesInTheirOwnSpelling) {
    WriteFile(Game("tfc/maps/2FORT.BSP"), "old map");
    WriteFile(Package("2fort.bsp"), "new map");
    EXPECT_TRUE(PlaceContents(package, mappings, paths, log.Log()));
    EXPECT_EQ(ReadFile(Game("tfc/maps/2FORT.BSP")), "new map");
    EXPECT_FALSE(fs::exists(Game("tfc/maps/2fort.bsp")));
}

TEST_F(Placing, AFileThatCannotBeCopiedFailsThePlacementAndIsLogged) {
    WriteFile(Package("models/flag.mdl"), "mdl");
    WriteFile(Package("models/skin.bmp"), "bmp");
    CreateFolders(Game("tfc/models/flag.mdl")); // a folder stands where the file goes

    EXPECT_FALSE(PlaceContents(package, mappings, paths, log.Log()));
    EXPECT_EQ(ReadFile(Game("tfc/models/skin.bmp")), "bmp") << "the rest is still placed";
    const std::string text = log.Text();
    EXPECT_NE(text.find("    Unable to copy file " + package + "/models/flag.mdl to " +
                        paths.installDir + "/tfc/models/flag.mdl\n"),
              std::string::npos)
        << text;
}

TEST_F(Placing, WithoutMappingsMapFilesAreIgnoredAndFoldersGoIntoTheMod) {
    InstallMappings none;
    WriteFile(Package("2fort.bsp"), "map");
    WriteFile(Package("sound/a.wav"), "wav");
    EXPECT_TRUE(PlaceContents(package, none, paths, log.Log()));
    EXPECT_FALSE(fs::exists(Game("tfc/maps/2fort.bsp")));
    EXPECT_EQ(ReadFile(Game("tfc/sound/a.wav")), "wav");
    EXPECT_EQ(log.Text(),
              "    Ignoring file 2fort.bsp, if you want this file, please extract it manually\n"
              "    Copying file " +
                  package + "/sound/a.wav to " + paths.installDir + "/tfc/sound/a.wav\n");
}

TEST_F(Placing, LinksAreCopiedAsNothing) {
    TempDir outside;
    WriteFile(outside / "secret/key.txt", "private");
    WriteFile(outside / "passwd.txt", "private");
    WriteFile(Package("models/flag.mdl"), "mdl");
    fs::create_directory_symlink(outside / "secret", Package("models/linked"));
    fs::create_symlink(outside / "passwd.txt", Package("models/passwd.txt"));
    fs::create_directory_symlink(outside / "secret", Package("toplinked"));
    fs::create_symlink(outside / "passwd.txt", Package("top.txt"));

    EXPECT_TRUE(PlaceContents(package, mappings, paths, log.Log()));
    EXPECT_EQ(ReadFile(Game("tfc/models/flag.mdl")), "mdl");
    for (const char* placed : {"tfc/models/linked", "tfc/models/passwd.txt", "tfc/toplinked",
                               "tfc/maps/top.txt", "tfc/secret"}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(Game(placed)))) << placed;
    }
    EXPECT_EQ(log.Text().find("passwd"), std::string::npos);

    InstallLog closed;
    EXPECT_TRUE(CopyTree(Package("toplinked"), Game("tfc/copy"), closed));
    EXPECT_FALSE(fs::exists(Game("tfc/copy/key.txt")));
}

TEST_F(Placing, NothingIsPlacedWithoutAModOrAnExtractionFolder) {
    WriteFile(Package("sound/a.wav"), "wav");
    WorkingPaths noMod = paths;
    ClearModPaths(noMod);
    EXPECT_FALSE(PlaceContents(package, mappings, noMod, log.Log()));
    EXPECT_FALSE(PlaceContents(package + "-missing", mappings, paths, log.Log()));
    EXPECT_EQ(log.Text(), "");
}

} // namespace
} // namespace ballotine
