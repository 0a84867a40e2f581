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

class Placing : public testing::Test {
protected:
    Placing() {
        WriteFile(paths.modWorkDir + "mappings.conf",
                  "#FILES#\nbsp tfc\\maps\ntxt tfc\\maps\n#DIRS#\nsound \\tfc\n");
        LoadMappings(mappings, paths);
    }
    std::string Package(const std::string& relative) const { return package + "/" + relative; }
    std::string Game(const std::string& relative) const {
        return paths.installDir + "/" + relative;
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    InstallMappings mappings;
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
