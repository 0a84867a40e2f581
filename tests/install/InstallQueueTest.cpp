#include "install/InstallQueue.h"

#include "catalogue/ModTable.h"
#include "download/DownloadQueue.h"
#include "install/InstallMappings.h"
#include "install/InstallTestSupport.h"
#include "platform/CommandRunner.h"
#include "support/FakeCommandRunner.h"
#include "support/ScriptedPrompter.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/VersionTable.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::FakeCommandRunner;
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
        WriteFile(paths.modWorkDir + "config.conf",
                  "#TFC Header V1.0 - DO NOT MODIFY\n2fort 1 2\n#END#");
        LoadVersionTable(versions, paths);
        mods.records.push_back({"tfc", 1, "Team Fortress Classic", "http://s/tfc", true});
        // The stand-in tool unpacks every map package into a map file and a sound folder.
        runner.SetAction([this](const FakeCommandRunner::Call& call) {
            if (call.commandLine.find("mapzips") == std::string::npos) {
                return 0;
            }
            const std::size_t target = call.commandLine.rfind(' ') + 1;
            const std::string folder = paths.workDir + call.commandLine.substr(target);
            const std::string base = fs::path(folder).parent_path().filename().string();
            WriteFile(folder + base + ".bsp", "map " + base);
            WriteFile(folder + "sound/" + base + ".wav", "wav");
            return 0;
        });
    }

    void Add(const std::string& name, const std::string& localPath, std::int32_t version,
             const std::string& key, bool full, DownloadStatus status) {
        queue.Append(name, "http://s/" + name, "N/A", localPath, 5000, version, key, full);
        queue.Rewind();
        while (queue.Advance()) {
        }
        queue.SetStatus(status);
    }
    void AddMapPackage(const std::string& name, const std::string& base, DownloadStatus status,
                       std::int32_t version = 3) {
        const std::string localPath = MapZip(base);
        if (status == StatusDownloaded) {
            WriteFile(localPath, std::string(4096, 'z'));
        }
        Add(name, localPath, version, base, true, status);
    }
    std::string MapZip(const std::string& base) const {
        return paths.modWorkDir + "mapzips/" + base + ".zip";
    }
    DownloadStatus StatusOf(const std::string& name) {
        EXPECT_TRUE(queue.FindByName(name));
        return queue.GetStatus();
    }
    std::int32_t Install() { return InstallQueue(queue, context); }
    std::string Log() const { return ReadFile(paths.modWorkDir + "update.log"); }
    std::string ViewerCommand() const {
        return "xdg-open \"" + paths.modWorkDir + "update.log\" >/dev/null 2>&1 &";
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    ModTable mods;
    VersionTable versions;
    InstallMappings mappings;
    InstallLog log;
    ScriptedPrompter prompter;
    FakeCommandRunner runner;
    DownloadQueue queue;
    InstallContext context{paths, "tfc", mods, versions, mappings, log, prompter, runner};
};

TEST_F(Installing, TwoFailedDownloadsAndOneMapPackage) {
    AddMapPackage("Rock2 map", "rock2", StatusFailed);
    AddMapPackage("2Fort remake", "2fort", StatusDownloaded);
    AddMapPackage("Well map", "well", StatusFailed);
    AddMapPackage("Never reached", "never", StatusPending);
    AddMapPackage("Not ticked", "unticked", StatusNone);

    EXPECT_EQ(Install(), 2);

    const std::string folder = paths.modWorkDir + "mapzips/2fort";
    EXPECT_EQ(Log(),
              std::string(kLogHeader) +
                  "\nRock2 map....\n\n  Download failed...\n"
                  "\n2Fort remake...\n\n"
                  "  Saved to " +
                  MapZip("2fort") +
                  "\n"
                  "  Unpacking zip file....\n"
                  "    Extraction complete\n"
                  "  Moving contents to mod structure....\n"
                  "    Copying file " +
                  folder + "/2fort.bsp to " + paths.mapsDir + "2fort.bsp\n" + "    Copying file " +
                  folder + "/sound/2fort.wav to " + paths.modDir + "sound/2fort.wav\n" +
                  "  Installation successful....\n"
                  "  Removing temporary files....\n"
                  "    Deleting file " +
                  folder + "/2fort.bsp\n" + "    Deleting file " + folder + "/sound/2fort.wav\n" +
                  "    Removing directory " + folder + "/sound\n" + "    Removing directory " +
                  folder + "\n" + "\nWell map....\n\n  Download failed...\n");

    EXPECT_EQ(StatusOf("2Fort remake"), StatusInstalled);
    EXPECT_EQ(StatusOf("Rock2 map"), StatusFailed);
    EXPECT_EQ(StatusOf("Never reached"), StatusPending);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "map 2fort");
    EXPECT_EQ(ReadFile(paths.modDir + "sound/2fort.wav"), "wav");
    EXPECT_TRUE(fs::exists(MapZip("2fort"))) << "the package stays";
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\n2fort 3 2\n#END#");
    ASSERT_EQ(runner.Calls().size(), 2u);
    EXPECT_EQ(runner.Calls()[1].commandLine, ViewerCommand());
    EXPECT_TRUE(prompter.Transcript().empty());
}

TEST_F(Installing, AQueueWithNothingToDoLogsTheHeaderOnly) {
    AddMapPackage("Not ticked", "unticked", StatusNone);
    AddMapPackage("Done before", "done", StatusInstalled);
    WriteFile(paths.modWorkDir + "update.log", "the previous run's report, much longer");

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(Log(), kLogHeader);
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].commandLine, ViewerCommand());
}

TEST_F(Installing, APathWithoutABaseNameIsLeftAsItIs) {
    Add("Short", "a.zip", 1, "a", true, StatusDownloaded);
    Add("Separator too late", paths.modWorkDir + "mapzips\\x\\.zip", 1, "b", true,
        StatusDownloaded);
    Add("Parent folder", paths.modWorkDir + "mapzips/...zip", 1, "c", true, StatusDownloaded);
    WriteFile(paths.modWorkDir + "mapzips/...zip", std::string(4096, 'z'));
    WriteFile(paths.modWorkDir + "mapzips/keep.zip", "another package");

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(Log(), std::string(kLogHeader) + "\nShort...\n\n  Saved to a.zip\n" +
                         "\nSeparator too late...\n\n  Saved to " + paths.modWorkDir +
                         "mapzips\\x\\.zip\n" + "\nParent folder...\n\n  Saved to " +
                         paths.modWorkDir + "mapzips/...zip\n");
    EXPECT_EQ(StatusOf("Short"), StatusDownloaded);
    EXPECT_EQ(StatusOf("Parent folder"), StatusDownloaded);
    EXPECT_TRUE(fs::exists(paths.modWorkDir + "mapzips/keep.zip"));
    EXPECT_TRUE(fs::exists(paths.modWorkDir + "config.conf"));
}

TEST_F(Installing, ModPackagesRecordTheirVersionInTheModTable) {
    WriteFile(paths.workDir + "tfc.zip", std::string(4096, 'z'));
    WriteFile(paths.workDir + "newmod.zip", std::string(4096, 'z'));
    Add("TFC data", paths.workDir + "tfc.zip", 4, "*TFC", true, StatusDownloaded);
    Add("New mod", paths.workDir + "newmod.zip", 2, "*newmod", true, StatusDownloaded);
    Add("Lost mod", paths.workDir + "lost.zip", 2, "*lost", true, StatusDownloaded);

    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(mods.records[0].version, 4);
    EXPECT_EQ(mods.records.size(), 1u) << "an unknown mod is installed but not learnt";
    EXPECT_TRUE(mods.tableChanged);
    EXPECT_EQ(StatusOf("New mod"), StatusInstalled);
    EXPECT_EQ(StatusOf("Lost mod"), StatusDownloaded);
    EXPECT_EQ(runner.Calls()[0].commandLine,
              "pkzip25 -extract -nofix -direct -over=all tfc.zip " + paths.installDir + "/");
    EXPECT_EQ(Log(), std::string(kLogHeader) + "\nTFC data...\n\n  Saved to " + paths.workDir +
                         "tfc.zip\n  Unpacking zip file....\n    Extraction complete\n"
                         "  Installation successful....\n" +
                         "\nNew mod...\n\n  Saved to " + paths.workDir +
                         "newmod.zip\n  Unpacking zip file....\n    Extraction complete\n"
                         "  Installation successful....\n" +
                         "\nLost mod...\n\n  Saved to " + paths.workDir +
                         "lost.zip\n  Unpacking zip file....\n    Unable to download file\n"
                         "  Unpacking file failed....\n");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\n2fort 1 2\n*TFC 4 0\n*newmod 2 0\n#END#");
}

TEST_F(Installing, WithoutALogTheRunStillInstallsAndSaysSo) {
    CreateFolders(paths.modWorkDir + "update.log/held"); // a folder where the log goes
    AddMapPackage("2Fort remake", "2fort", StatusDownloaded);

    EXPECT_EQ(Install(), 0);
    EXPECT_EQ(StatusOf("2Fort remake"), StatusInstalled);
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"Unable to create log file"});
    ASSERT_EQ(runner.Calls().size(), 1u) << "no viewer";
    EXPECT_TRUE(fs::is_directory(paths.modWorkDir + "update.log/held"));
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(Installing, TheViewerIsGivenTheLogPathSafely) {
    TempDir odd;
    paths = test::TfcPaths(odd, "Half$(touch x)\"Life");
    Install();
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].commandLine, "xdg-open \"" + odd / "Half\\$(touch x)\\\"Life" +
                                                 "/Ballotine/tfc/update.log\" >/dev/null 2>&1 &");

    context.showLog = false;
    Install();
    EXPECT_EQ(runner.Calls().size(), 1u);
}

TEST(PackageBaseName, IsTheNameBeforeTheLastFourCharacters) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"/g/Ballotine/tfc/mapzips/2fort.zip", "2fort"},
        {"C:\\x\\mapzips\\2fortVM.zip", "2fortVM"},
        {"/g/x.y/a.zip", "a"},
        {"/g/ab/c/.zip", std::nullopt},
        {"/g/ab/..zip", std::nullopt},
        {"/.zip", std::nullopt},
        {"a/zip", std::nullopt},
    };
    for (const auto& [path, base] : cases) {
        EXPECT_EQ(PackageBaseName(path), base) << path;
    }
}

// With the real zip tool, found on the PATH the program gives its commands: a package unpacked,
// placed over an older map and cleaned up, and a package the tool refuses whole.
TEST_F(Installing, TheRealToolInstallsAPackageAndRefusesAHostileOneWhole) {
    const auto save = [this](test::ZipBuilder zip, const std::string& base) {
        // padded to pass the size check whatever the archive's overhead
        zip.Stored().File("padding/pad.dat", std::string(4096, 'p')).Save(MapZip(base));
    };
    save(test::ZipBuilder()
             .File("2fort.bsp", "new map")
             .File("sound\\2fort\\wind.wav", "wind")
             .File("models/flag.mdl", "flag"),
         "2fort");
    save(test::ZipBuilder().File("fine.bsp", "no").File("../outside.bsp", "no"), "evil");
    WriteFile(paths.mapsDir + "2fort.bsp", "old map");
    Add("2Fort", MapZip("2fort"), 2, "2fort", true, StatusDownloaded);
    Add("Evil", MapZip("evil"), 1, "evil", true, StatusDownloaded);
    ShellCommandRunner tool{{test::BuiltProgram("pkzip25").parent_path()}};
    InstallContext withTool{paths, "tfc", mods, versions, mappings, log, prompter, tool};
    withTool.showLog = false;

    EXPECT_EQ(InstallQueue(queue, withTool), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "new map") << "overwritten";
    EXPECT_EQ(ReadFile(paths.modDir + "sound/2fort/wind.wav"), "wind");
    EXPECT_EQ(ReadFile(paths.modDir + "models/flag.mdl"), "flag");
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fort"));
    EXPECT_TRUE(fs::exists(MapZip("2fort")));
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/outside.bsp"));
    EXPECT_FALSE(fs::exists(paths.mapsDir + "fine.bsp")) << "a refused archive is refused whole";
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\n2fort 2 2\n#END#");
    EXPECT_NE(Log().find("\nEvil...\n\n  Saved to " + MapZip("evil") +
                         "\n  Unpacking zip file....\n    Extract command failed\n"
                         "  Unpacking file failed....\n"),
              std::string::npos)
        << Log();
    EXPECT_TRUE(prompter.Transcript().empty());
}

} // namespace
} // namespace ballotine
