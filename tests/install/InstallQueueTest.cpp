#include "install/InstallQueue.h"

#include "catalogue/ModTable.h"
#include "download/DownloadQueue.h"
#include "install/InstallMappings.h"
#include "install/InstallTestSupport.h"
#include "platform/ToolRunner.h"
#include "support/DownloadItems.h"
#include "support/FakeToolRunner.h"
#include "support/ScriptedPrompter.h"
#include "tools/pkzip25/ZipBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::FakeToolRunner;
using test::ReadFile;
using test::ScriptedPrompter;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

constexpr const char* kLogHeader = "Map Download & Installation Log V1.0\n"
                                   "====================================\n\n";

class Installing : public testing::Test {
protected:
    Installing() {
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
        mods.records.push_back({"tfc", 1, "Team Fortress Classic", "http://s/tfc", true});
        // The stand-in tool unpacks every map package into a map file and a sound folder.
        runner.SetAction([this](const FakeToolRunner::Call& call) {
            const std::string& target = call.arguments.back();
            if (target.find("mapzips") == std::string::npos) {
                return 0;
            }
            const std::string folder = paths.workDir + target;
            const std::string base = fs::path(folder).parent_path().filename().string();
            WriteFile(folder + base + ".bsp", "map " + base);
            WriteFile(folder + "sound/" + base + ".wav", "wav");
            return 0;
        });
    }

    void Add(const std::string& name, const std::string& localPath, std::int32_t version,
             const std::string& key, DownloadStatus status = DownloadStatus::Downloaded) {
        DownloadItem& item =
            queue.emplace_back(test::Item(name, "http://s/" + name, localPath, 5000, status));
        item.version = version;
        item.packageKey = key;
        item.fullPackage = true;
    }
    // A map package of version 3, its file present once downloaded.
    void AddMapPackage(const std::string& name, const std::string& base, DownloadStatus status) {
        if (status == DownloadStatus::Downloaded) {
            WriteFile(MapZip(base), std::string(4096, 'z'));
        }
        Add(name, MapZip(base), 3, base, status);
    }
    std::string MapZip(const std::string& base) const {
        return paths.modWorkDir + "mapzips/" + base + ".zip";
    }
    DownloadStatus StatusOf(const std::string& name) { return test::ItemNamed(queue, name).status; }
    // The number of items that failed.
    std::int32_t Install() {
        const InstallResult result = InstallQueue(queue, context);
        modInstalled = result.modInstalled;
        return result.failed;
    }
    std::string Log() const { return ReadFile(paths.modWorkDir + "update.log"); }
    // The viewer, started without waiting for it.
    std::string Viewer() const { return "xdg-open " + paths.modWorkDir + "update.log"; }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    ModTable mods;
    InstallMappings mappings;
    InstallLog log;
    ScriptedPrompter prompter;
    FakeToolRunner runner;
    DownloadQueue queue;
    InstallContext context{paths, "tfc", mods, mappings, log, prompter, runner};
    bool modInstalled = false;
};

TEST_F(Installing, TwoFailedDownloadsAndOneMapPackage) {
    AddMapPackage("Rock2 map", "rock2", DownloadStatus::Failed);
    AddMapPackage("2Fort remake", "2fort", DownloadStatus::Downloaded);
    AddMapPackage("Well map", "well", DownloadStatus::Failed);
    AddMapPackage("Never reached", "never", DownloadStatus::Pending);
    AddMapPackage("Not ticked", "unticked", DownloadStatus::None);

    EXPECT_EQ(Install(), 2);

    const std::string from = "    Copying file " + paths.modWorkDir + "mapzips/2fort/";
    const std::string rm = paths.modWorkDir + "mapzips/2fort";
    EXPECT_EQ(Log(), std::string(kLogHeader) + "\nRock2 map....\n\n  Download failed...\n" +
                         "\n2Fort remake...\n\n  Saved to " + MapZip("2fort") +
                         "\n  Unpacking zip file....\n    Extraction complete\n" +
                         "  Moving contents to mod structure....\n" + from + "2fort.bsp to " +
                         paths.mapsDir + "2fort.bsp\n" + from + "sound/2fort.wav to " +
                         paths.modDir + "sound/2fort.wav\n  Installation successful....\n" +
                         "  Removing temporary files....\n    Deleting file " + rm +
                         "/2fort.bsp\n    Deleting file " + rm + "/sound/2fort.wav\n" +
                         "    Removing directory " + rm + "/sound\n    Removing directory " + rm +
                         "\n\nWell map....\n\n  Download failed...\n");
    EXPECT_EQ(StatusOf("2Fort remake"), DownloadStatus::Installed);
    EXPECT_EQ(StatusOf("Rock2 map"), DownloadStatus::Failed);
    EXPECT_EQ(StatusOf("Never reached"), DownloadStatus::Pending);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "map 2fort");
    EXPECT_EQ(ReadFile(paths.modDir + "sound/2fort.wav"), "wav");
    EXPECT_TRUE(fs::exists(MapZip("2fort"))) << "the package stays";
    EXPECT_FALSE(modInstalled);
    ASSERT_EQ(runner.Calls().size(), 2u);
    EXPECT_EQ(runner.Calls()[1].Line(), Viewer());
    EXPECT_TRUE(runner.Calls()[1].detached);
    EXPECT_TRUE(prompter.Transcript().empty());
}

TEST_F(Installing, AQueueWithNothingToDoLogsTheHeaderOnly) {
    AddMapPackage("Not ticked", "unticked", DownloadStatus::None);
    AddMapPackage("Done before", "done", DownloadStatus::Installed);
    WriteFile(paths.modWorkDir + "update.log", "the previous run's report, much longer");

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(Log(), kLogHeader);
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].Line(), Viewer());
}

// Without a base name in reach the package is neither unpacked nor removed.
TEST_F(Installing, APathWithoutABaseNameIsLeftAsItIs) {
    Add("Short", "a.zip", 1, "a");
    Add("Parent folder", MapZip(".."), 1, "c");
    WriteFile(MapZip(".."), std::string(4096, 'z'));

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(Log(), std::string(kLogHeader) + "\nShort...\n\n  Saved to a.zip\n" +
                         "\nParent folder...\n\n  Saved to " + MapZip("..") + "\n");
    EXPECT_EQ(StatusOf("Parent folder"), DownloadStatus::Downloaded);
    EXPECT_TRUE(fs::exists(MapZip("..")));
    EXPECT_EQ(runner.Calls().size(), 1u) << "the viewer only";
    EXPECT_TRUE(fs::exists(paths.modWorkDir + "mappings.conf")) << "no folder above was removed";
}

TEST_F(Installing, ModPackagesSetTheirVersionInTheModTableAndSaySo) {
    WriteFile(paths.workDir + "tfc.zip", std::string(4096, 'z'));
    WriteFile(paths.workDir + "newmod.zip", std::string(4096, 'z'));
    Add("TFC data", paths.workDir + "tfc.zip", 4, "*TFC");
    Add("New mod", paths.workDir + "newmod.zip", 2, "*newmod");
    Add("Lost mod", paths.workDir + "lost.zip", 2, "*lost");

    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(mods.records[0].version, 4);
    EXPECT_EQ(mods.records.size(), 1u) << "an unknown mod is installed but not learnt";
    EXPECT_TRUE(modInstalled);
    EXPECT_EQ(StatusOf("New mod"), DownloadStatus::Installed);
    EXPECT_EQ(StatusOf("Lost mod"), DownloadStatus::Downloaded);
    EXPECT_NE(Log().find("\nTFC data...\n\n  Saved to " + paths.workDir +
                         "tfc.zip\n  Unpacking zip file....\n    Extraction complete\n"
                         "  Installation successful....\n\nNew mod...\n"),
              std::string::npos);
    EXPECT_NE(Log().find("    Unable to download file\n  Unpacking file failed....\n"),
              std::string::npos);
}

// What the zip tool said stays with each package it could not unpack, for the summary; a
// package it never ran for has nothing of the tool's to say.
TEST_F(Installing, TheZipToolsReasonStaysWithThePackage) {
    WriteFile(paths.workDir + "tfc.zip", std::string(4096, 'z'));
    Add("TFC data", paths.workDir + "tfc.zip", 4, "*tfc");
    AddMapPackage("2Fort remake", "2fort", DownloadStatus::Downloaded);
    Add("Lost mod", paths.workDir + "lost.zip", 2, "*lost");
    runner.SetAction(nullptr);
    runner.SetExitStatus(3, "pkzip25: 2fort.zip: bad CRC\n");

    EXPECT_EQ(Install(), 3);
    for (const char* name : {"TFC data", "2Fort remake"}) {
        EXPECT_EQ(test::ItemNamed(queue, name).toolReason, "pkzip25: 2fort.zip: bad CRC") << name;
    }
    EXPECT_EQ(test::ItemNamed(queue, "Lost mod").toolReason, "");
}

TEST_F(Installing, WithoutALogTheRunStillInstallsAndSaysSo) {
    CreateFolders(paths.modWorkDir + "update.log/held"); // a folder where the log goes
    AddMapPackage("2Fort remake", "2fort", DownloadStatus::Downloaded);

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(StatusOf("2Fort remake"), DownloadStatus::Installed);
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"Unable to create log file"});
    ASSERT_EQ(runner.Calls().size(), 1u) << "no viewer";
    EXPECT_TRUE(fs::is_directory(paths.modWorkDir + "update.log/held"));
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(Installing, TheViewerIsShownTheLogUnlessTheCallerPrintsItsPath) {
    Install();
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].Line(), Viewer());
    context.showLog = false;
    Install();
    EXPECT_EQ(runner.Calls().size(), 1u);
}

TEST(PackageBaseName, IsTheNameBeforeTheLastFourCharacters) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"C:\\x\\mapzips\\2fortVM.zip", "2fortVM"},
        {"/g/x.y/a.zip", "a"},
        {"/g/ab/c/.zip", std::nullopt},
        {"a/zip", std::nullopt},
    };
    for (const auto& [path, base] : cases) {
        EXPECT_EQ(PackageBaseName(path), base) << path;
    }
}

// With the real zip tool, found in the program's tool folder: a package unpacked, placed over an
// older map and cleaned up. Quotes, "$(...)", ";" and blanks in the game folder's and the
// package's names reach the tool as plain characters.
TEST_F(Installing, TheRealToolInstallsAPackageWhateverItsName) {
    TempDir odd;
    paths = test::TfcPaths(odd, "Half \"Life\";$(touch PWNED)");
    WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
    const std::string package = "2fort \"v2\"; $(touch PWNED2)";
    test::ZipBuilder()
        .File("2fort.bsp", "new map")
        .File("sound\\2fort\\wind.wav", "wind")
        .Stored() // padded to pass the size check whatever the archive's overhead
        .File("padding/pad.dat", std::string(4096, 'p'))
        .Save(MapZip(package));
    WriteFile(paths.mapsDir + "2fort.bsp", "old map");
    Add("2Fort", MapZip(package), 2, "2fort");
    SpawnToolRunner tool{{test::BuiltProgram("pkzip25").parent_path()}};
    InstallContext withTool{paths, "tfc", mods, mappings, log, prompter, tool};
    withTool.showLog = false;

    EXPECT_EQ(InstallQueue(queue, withTool).failed, 0);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "new map") << "overwritten";
    EXPECT_EQ(ReadFile(paths.modDir + "sound/2fort/wind.wav"), "wind");
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/" + package));
    EXPECT_TRUE(prompter.Transcript().empty());
    for (const char* trace : {"PWNED", "PWNED2"}) {
        EXPECT_FALSE(fs::exists(paths.workDir + trace) || fs::exists(paths.modWorkDir + trace));
    }
}

} // namespace
} // namespace ballotine
