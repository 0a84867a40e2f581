#include "install/Extraction.h"
#include "install/InstallMappings.h"
#include "install/InstallTestSupport.h"
#include "install/Placement.h"
#include "platform/ToolRunner.h"
#include "support/FakeToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

// The mod tfc of a game in a temporary folder, with a log to read back.
class InstallFolders : public testing::Test {
protected:
    std::string Game(const std::string& relative) const {
        return paths.installDir + "/" + relative;
    }
    std::string MapZips(const std::string& relative) const {
        return paths.modWorkDir + "mapzips/" + relative;
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    test::CapturedLog log{dir};
};

class Extracting : public InstallFolders {
protected:
    bool Extract(const std::string& base, const std::string& file = "") {
        return ExtractPackage(file.empty() ? MapZips(base + ".zip") : file, base, setup, log.Log());
    }

    test::FakeToolRunner runner;
    ExtractionSetup setup{paths, "tfc", runner};
};

// The tool is given the names as spelled on disk.
TEST_F(Extracting, PackagesOf2048BytesAreRefusedAndDeleted2049AreUnpackedInTheWorkingFolder) {
    WriteFile(MapZips("small.zip"), std::string(2048, 'x'));
    EXPECT_FALSE(Extract("small"));
    EXPECT_FALSE(fs::exists(MapZips("small.zip")));
    EXPECT_FALSE(Extract("missing"));
    EXPECT_FALSE(Extract("*tfc")) << "mod package not downloaded";
    EXPECT_TRUE(runner.Calls().empty());

    WriteFile(MapZips("Rock2.ZIP"), std::string(2049, 'x'));
    runner.SetAction([this](const test::FakeToolRunner::Call&) {
        CreateFolders(MapZips("rock2"));
        return 0;
    });
    EXPECT_TRUE(Extract("rock2", MapZips("Rock2.ZIP")));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].Line(),
              "pkzip25 -extract -nofix -direct -over=all tfc/mapzips/Rock2.ZIP tfc/mapzips/rock2/");
    EXPECT_EQ(runner.Calls()[0].workingFolder, paths.workDir);
    EXPECT_TRUE(fs::exists(MapZips("Rock2.ZIP"))) << "the package stays";
    EXPECT_EQ(log.Text(), "    Unable to download file\n"
                          "    Unable to download file\n"
                          "    Unable to download file\n"
                          "    Extraction complete\n");
}

TEST_F(Extracting, Failures) {
    WriteFile(MapZips("2fort.zip"), std::string(4096, 'x'));
    runner.SetExitStatus(1, "pkzip25: pack.zip is damaged\n");
    EXPECT_FALSE(Extract("2fort"));
    runner.SetExitStatus(0); // the tool says yes but leaves no folder
    EXPECT_FALSE(Extract("2fort"));
    TempDir outside; // a link where the folder should be is no extraction folder
    fs::create_directory_symlink(outside.Path(), MapZips("2fort"));
    EXPECT_FALSE(Extract("2fort"));
    WriteFile(paths.workDir + "tfc.zip", std::string(3000, 'x'));
    runner.SetExitStatus(2);
    EXPECT_FALSE(Extract("*tfc", "ignored"));
    EXPECT_EQ(runner.Calls().back().Line(),
              "pkzip25 -extract -nofix -direct -over=all -protect=Ballotine "
              "-allow=Ballotine/tfc/Entities/*.ref -allow=Ballotine/tfc/Entities/*.tpt tfc.zip " +
                  paths.installDir + "/");
    EXPECT_EQ(log.Text(), "    Extract command failed\n"
                          "      pkzip25: pack.zip is damaged\n" // what the tool said
                          "    Extraction failed. Invalid zip file\n"
                          "    Extraction failed. Invalid zip file\n"
                          "    Extraction failed. Invalid zip file\n"
                          "      pkzip25 ended with exit status 2\n");
}

TEST_F(Extracting, NamesFromAListCannotRunCommands) {
    TempDir tools; // a stand-in tool that records its arguments, one per line
    WriteFile(tools / "pkzip25", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n"
                                 "mkdir -p \"$6\"\n");
    fs::permissions(tools / "pkzip25", fs::perms::owner_all);
    SpawnToolRunner real({tools.Path()});
    const ExtractionSetup realSetup{paths, "tfc", real};
    const std::string hostile = "x \"y\";touch PWNED;$(touch PWNED2)'`touch PWNED3`";
    WriteFile(MapZips(hostile + ".zip"), std::string(4096, 'x'));

    EXPECT_TRUE(ExtractPackage(MapZips(hostile + ".zip"), hostile, realSetup, log.Log()));
    EXPECT_EQ(ReadFile(tools / "pkzip25.args"),
              "-extract\n-nofix\n-direct\n-over=all\ntfc/mapzips/" + hostile +
                  ".zip\ntfc/mapzips/" + hostile + "/\n");
    for (const char* name : {"PWNED", "PWNED2", "PWNED3"}) {
        EXPECT_FALSE(fs::exists(paths.workDir + name)) << name;
    }
}

TEST_F(Extracting, DeleteTreeLogsEveryStepButLeavesAReadOnlyFileAndItsFolders) {
    const std::string tree = MapZips("2fort");
    DeleteTree(tree, log.Log()); // a missing folder writes nothing
    WriteFile(tree + "/sound/locked.wav", "keep");
    WriteFile(tree + "/a.bsp", "a");
    fs::permissions(tree + "/sound/locked.wav", fs::perms::owner_read);
    DeleteTree(tree, log.Log());
    EXPECT_EQ(ReadFile(tree + "/sound/locked.wav"), "keep");
    fs::permissions(tree + "/sound/locked.wav", fs::perms::owner_all);
    DeleteTree(tree, log.Log());
    EXPECT_FALSE(fs::exists(tree));
    const std::string deleting = "    Deleting file " + tree;
    EXPECT_EQ(log.Text(), deleting + "/a.bsp\n" + deleting + "/sound/locked.wav\n" + deleting +
                              "/sound/locked.wav\n    Removing directory " + tree +
                              "/sound\n    Removing directory " + tree + "\n");
}

TEST_F(Extracting, DeleteTreeDeletesLinksAsLinks) {
    TempDir outside;
    WriteFile(outside / "keep/file.txt", "keep");
    WriteFile(outside / "single.txt", "keep");
    fs::create_directories(MapZips("2fort"));
    fs::create_directory_symlink(outside / "keep", MapZips("2fort/linked"));
    fs::create_symlink(outside / "single.txt", MapZips("2fort/single.txt"));
    fs::create_directory_symlink(outside / "keep", MapZips("well"));
    for (const char* tree : {"2fort", "well"}) {
        DeleteTree(MapZips(tree), log.Log());
        EXPECT_FALSE(fs::exists(fs::symlink_status(MapZips(tree)))) << tree;
    }
    EXPECT_EQ(ReadFile(outside / "keep/file.txt"), "keep") << "nothing behind a link goes";
    EXPECT_EQ(ReadFile(outside / "single.txt"), "keep");
}

class Mappings : public InstallFolders {
protected:
    void Load(const std::string& text) {
        WriteFile(paths.modWorkDir + "mappings.conf", text);
        ASSERT_TRUE(LoadMappings(mappings, paths));
    }
    InstallMappings mappings;
};

TEST_F(Mappings, FilesGoByTheTextAfterTheLastDotFoldersByNameInAnyCase) {
    Load("any text\n#FILES# of this package\nbsp tfc\\maps\nWAD @\nlonely\n\n"
         "#DIRS# follow\nsound \\tfc\nValve @\ngfx \\tfc\\gfx\\env\n#END#\nlate \\never\n");
    EXPECT_EQ(mappings.MapFile("my.map.v2.BSP"), Game("tfc/maps/my.map.v2.BSP"));
    EXPECT_EQ(mappings.MapFile("decals.wad"), Game("decals.wad"));
    EXPECT_EQ(mappings.MapFile("bsp"), std::nullopt) << "no dot, no extension";
    EXPECT_EQ(mappings.MapFile("2fort.bsp.bak"), std::nullopt);
    EXPECT_EQ(mappings.files.size(), 2u) << "lines without two words map nothing";
    EXPECT_EQ(mappings.MapDirectory("SOUND"), Game("tfc/SOUND"));
    EXPECT_EQ(mappings.MapDirectory("valve"), Game("valve"));
    EXPECT_EQ(mappings.MapDirectory("gfx"), Game("tfc/gfx/env/gfx"));
    EXPECT_EQ(mappings.MapDirectory("late"), std::nullopt) << "reading ends at the next # line";

    Load("#FILES#\nbsp tfc\\maps\n#DIRECTORIES#\nsound \\tfc\n");
    EXPECT_EQ(mappings.files.size(), 1u);
    EXPECT_TRUE(mappings.dirs.empty());
    Load("#files#\nbsp tfc\\maps\n");
    EXPECT_TRUE(mappings.files.empty()) << "the marker compares with its case";

    Load("#FILES#\nbsp tfc\\maps\n#DIRS#\nsound \\tfc\n");
    DeleteFile(paths.modWorkDir + "mappings.conf");
    EXPECT_FALSE(LoadMappings(mappings, paths));
    EXPECT_TRUE(mappings.files.empty() && mappings.dirs.empty());
}

TEST_F(Mappings, StarMapsToTheFolderThatHoldsSierraElseTheGameFolder) {
    for (const std::string game : {"Sierra/Half-Life", "games/Half-Life"}) {
        paths = test::TfcPaths(dir, game);
        Load("#FILES#\n#DIRS#\nvalve *\n");
        EXPECT_EQ(mappings.MapDirectory("valve"),
                  dir / (game.starts_with("Sierra") ? "valve" : "games/Half-Life/valve"));
    }
}

class Placing : public Mappings {
protected:
    void SetUp() override { Load("#FILES#\nbsp tfc\\maps\ntxt tfc\\maps\n#DIRS#\nsound \\tfc\n"); }
    bool Place() { return PlaceContents(package, mappings, paths, log.Log()); }
    std::string Package(const std::string& relative) const { return package + "/" + relative; }

    std::string package = MapZips("2fort");
};

TEST_F(Placing, TopLevelFilesByMappingFoldersByMappingOrIntoTheMod) {
    WriteFile(Package("2fort.bsp"), "map");
    WriteFile(Package("readme"), "no extension");
    WriteFile(Package("Sound/wind.wav"), "wav");
    WriteFile(Package("models/hlds.EXE"), "program");
    WriteFile(Package("models/server.cfg.txt"), "looks like a cfg, is not");
    WriteFile(Package("models/sub/autoexec.cfg"), "config");

    EXPECT_TRUE(Place());

    EXPECT_EQ(ReadFile(Game("tfc/maps/2fort.bsp")), "map");
    EXPECT_EQ(ReadFile(Game("tfc/Sound/wind.wav")), "wav");
    EXPECT_EQ(ReadFile(Game("tfc/models/server.cfg.txt")), "looks like a cfg, is not");
    EXPECT_FALSE(fs::exists(Game("tfc/models/hlds.EXE")));
    EXPECT_FALSE(fs::exists(Game("tfc/models/sub/autoexec.cfg")));
    EXPECT_FALSE(fs::exists(Game("tfc/readme")));
    const std::string copying = "    Copying file " + package;
    const std::string to = " to " + paths.installDir + "/tfc/";
    EXPECT_EQ(log.Text(),
              copying + "/2fort.bsp" + to + "maps/2fort.bsp\n" +
                  "    NOT COPYING FILE hlds.EXE, if you need this file, please install it "
                  "manually\n" +
                  copying + "/models/server.cfg.txt" + to + "models/server.cfg.txt\n" +
                  "    NOT COPYING FILE autoexec.cfg, if you need this file, please install it "
                  "manually\n" +
                  "    Ignoring file readme, if you want this file, please extract it manually\n" +
                  copying + "/Sound/wind.wav" + to + "Sound/wind.wav\n");
}

TEST_F(Placing, ReplacesExistingFilesInTheirOwnSpellingAndNeedsAModAndAFolder) {
    WriteFile(Game("tfc/maps/2FORT.BSP"), "old map");
    WriteFile(Package("2fort.bsp"), "new map");
    WorkingPaths noMod = paths;
    ClearModPaths(noMod);
    EXPECT_FALSE(PlaceContents(package, mappings, noMod, log.Log()));
    EXPECT_FALSE(PlaceContents(package + "-missing", mappings, paths, log.Log()));
    EXPECT_TRUE(Place());
    EXPECT_EQ(ReadFile(Game("tfc/maps/2FORT.BSP")), "new map");
    EXPECT_FALSE(fs::exists(Game("tfc/maps/2fort.bsp")));
}

TEST_F(Placing, AFileThatCannotBeCopiedFailsThePlacementAndIsLogged) {
    WriteFile(Package("models/flag.mdl"), "mdl");
    WriteFile(Package("models/skin.bmp"), "bmp");
    CreateFolders(Game("tfc/models/flag.mdl")); // a folder stands where the file goes

    EXPECT_FALSE(Place());
    EXPECT_EQ(ReadFile(Game("tfc/models/skin.bmp")), "bmp") << "the rest is still placed";
    const std::string text = log.Text();
    EXPECT_NE(text.find("    Unable to copy file " + Package("models/flag.mdl") + " to " +
                        Game("tfc/models/flag.mdl") + "\n"),
              std::string::npos)
        << text;
}

TEST_F(Placing, LinksAreCopiedAsNothing) {
    TempDir outside;
    WriteFile(outside / "secret/key.txt", "private");
    WriteFile(outside / "passwd.txt", "private");
    fs::create_directories(Package("models"));
    fs::create_directory_symlink(outside / "secret", Package("models/linked"));
    fs::create_symlink(outside / "passwd.txt", Package("models/passwd.txt"));
    fs::create_directory_symlink(outside / "secret", Package("toplinked"));
    fs::create_symlink(outside / "passwd.txt", Package("top.txt"));

    EXPECT_TRUE(Place());
    for (const char* placed : {"tfc/models/linked", "tfc/models/passwd.txt", "tfc/toplinked",
                               "tfc/maps/top.txt", "tfc/secret"}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(Game(placed)))) << placed;
    }
    EXPECT_EQ(log.Text().find("passwd"), std::string::npos);
}

// Where each hostile package would write, as the mappings or the game folder lead it.
struct Hostile {
    const char* label;
    const char* mappings;
    const char* file;    // in the package
    const char* refusal; // in the log
};

TEST(PlacingHostilePackages, NothingIsWrittenOutsideTheGameOrIntoBallotinesOwnFiles) {
    const Hostile cases[] = {
        {"a file mapping climbing out", "bsp ..\\evil_dir\n", "evil.bsp",
         "lies outside the game folder"},
        {"a folder mapping climbing out", "#DIRS#\nsprites \\..\\evil_dir\n", "sprites/x.spr",
         "lies outside the game folder"},
        {"the folder above Sierra", "#DIRS#\nvalve *\n", "valve/liblist.gam",
         "lies outside the game folder"},
        {"a link in the game leading out", "#DIRS#\n", "linked/x.mdl",
         "lies outside the game folder"},
        {"the tools", "#DIRS#\nBallotine @\n", "Ballotine/ripent",
         "is one of Ballotine's own files"},
        {"the mappings", "#DIRS#\ntfc \\BALLOTINE\n", "tfc/mappings.conf",
         "is one of Ballotine's own files"},
        {"the update settings", "conf \\Ballotine\\tfc\n", "update.conf",
         "is one of Ballotine's own files"},
        {"entity files in a deeper folder", "#DIRS#\nEntities \\Ballotine\\tfc\n",
         "Entities/sub/2fort.ref", "is one of Ballotine's own files"},
        {"not an entity file", "#DIRS#\nEntities \\Ballotine\\tfc\n", "Entities/config.conf",
         "is one of Ballotine's own files"},
    };
    for (const Hostile& hostile : cases) {
        SCOPED_TRACE(hostile.label);
        TempDir dir;
        const WorkingPaths paths = test::TfcPaths(dir, "Sierra/Half-Life");
        const std::string game = paths.installDir + "/";
        for (const char* own :
             {"Ballotine/ripent", "Ballotine/mods.cfg", "Ballotine/tfc/mappings.conf"}) {
            WriteFile(game + own, "ours");
        }
        fs::create_directories(dir / "outside");
        fs::create_directory_symlink(dir / "outside", game + "tfc/linked");
        const std::string mappingsText = "#FILES#\n" + std::string(hostile.mappings) + "#END#\n";
        WriteFile(paths.modWorkDir + "mappings.conf", mappingsText);
        InstallMappings mappings;
        ASSERT_TRUE(LoadMappings(mappings, paths));
        const std::string package = paths.modWorkDir + "mapzips/evil/";
        WriteFile(package + "models/fine.mdl", "fine");
        WriteFile(package + hostile.file, "theirs");
        test::CapturedLog log(dir);

        EXPECT_FALSE(PlaceContents(package, mappings, paths, log.Log()));

        const std::string text = log.Text();
        EXPECT_NE(text.find("    NOT COPYING " + package), std::string::npos) << text;
        EXPECT_NE(text.find(hostile.refusal), std::string::npos) << text;
        EXPECT_NE(text.find("    Package refused: nothing of it was copied\n"), std::string::npos);
        EXPECT_FALSE(fs::exists(game + "tfc/models/fine.mdl")) << "all or nothing";
        EXPECT_TRUE(fs::is_empty(dir / "outside"));
        for (const char* escaped : {"evil_dir", "Sierra/evil_dir", "valve"}) {
            EXPECT_FALSE(fs::exists(dir / escaped)) << escaped;
        }
        for (const char* own : {"Ballotine/ripent", "Ballotine/mods.cfg"}) {
            EXPECT_EQ(ReadFile(game + own), "ours") << own;
        }
        EXPECT_EQ(ReadFile(paths.modWorkDir + "mappings.conf"), mappingsText);
    }
}

TEST_F(Placing, EntityFilesMayGoIntoTheModsEntitiesFolder) {
    Load("#FILES#\n#DIRS#\nEntities \\Ballotine\\tfc\n");
    WriteFile(Package("Entities/2fort.ref"), "ref");
    WriteFile(Package("entities/2fort.TPT"), "tpt");
    EXPECT_TRUE(Place());
    EXPECT_EQ(ReadFile(paths.modWorkDir + "Entities/2fort.ref"), "ref");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "Entities/2fort.TPT"), "tpt");
}

TEST_F(Placing, ProgramFilesAreLeftOutByNameModeOrContent) {
    const std::tuple<const char*, const char*, unsigned> programs[] = {
        {"dlls/tfc_i386.so", "library", 0644},
        {"dlls/libstdc++.so.6", "library", 0644},
        {"dlls/libx.SO.1.2", "library", 0644},
        {"models/elf.mdl",
         "\x7F"
         "ELF\x02\x01",
         0644},
        {"models/script.txt", "#!/bin/sh\nrm -rf ~\n", 0644},
        {"models/runme", "anything", 0755},
        {"models/game.dll", "program", 0644},
    };
    for (const auto& [name, content, mode] : programs) {
        WriteFile(Package(name), content);
        fs::permissions(Package(name), static_cast<fs::perms>(mode));
    }
    WriteFile(Package("models/so.txt"), "not a library");
    WriteFile(Package("models/x.sonic"), "not a library");

    EXPECT_TRUE(Place());
    const std::string text = log.Text();
    for (const auto& [name, content, mode] : programs) {
        EXPECT_FALSE(fs::exists(Game("tfc/" + std::string(name)))) << name;
        const std::string file = fs::path(name).filename();
        EXPECT_NE(text.find("NOT COPYING FILE " + file + ", if you need"), std::string::npos)
            << name;
    }
    EXPECT_EQ(ReadFile(Game("tfc/models/so.txt")), "not a library");
    EXPECT_EQ(ReadFile(Game("tfc/models/x.sonic")), "not a library");
}

} // namespace
} // namespace ballotine
