#include "catalogue/ModTable.h"
#include "cli/CliTestSupport.h"
#include "cli/Commands.h"
#include "download/DownloadQueue.h"
#include "install/InstallMappings.h"
#include "install/InstallQueue.h"
#include "install/InstallTestSupport.h"
#include "mapsettings/EntityUpdate.h"
#include "platform/CommandRunner.h"
#include "support/DemoFixture.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/VersionTable.h"
#include "votemap/VoteMapCompile.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// The files of a folder whose names start with `prefix`: what a failed write left behind.
std::vector<std::string> Leftovers(const fs::path& folder, std::string_view prefix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix)) {
            names.push_back(name);
        }
    }
    return names;
}

// The command line on the demo installation, each operation run on a disk that fills up after
// `limit` bytes of any one file.
class DiskFullOnDemo : public testing::Test {
protected:
    int RunFull(std::vector<std::string> args, rlim_t limit) {
        args.insert(args.begin(), {"--registry", demo.Layout().registryFile.string()});
        test::CliRun run;
        {
            const test::FileSizeLimit full(limit);
            run = test::RunCliWith(args);
        }
        err = run.err;
        return run.status;
    }
    std::string Game(const std::string& relative) const { return demo.Game(relative); }

    test::DemoFixture demo;
    std::string err;
};

TEST_F(DiskFullOnDemo, EachCommandKeepsTheFileItWritesAndSaysSo) {
    const std::string voteMap = ReadFile(Game("tfc/maps/vote.bsp"));
    // `file` is what the command writes; it holds an earlier version.
    const auto expectKept = [this](std::vector<std::string> args, const std::string& file,
                                   const std::string& message) {
        SCOPED_TRACE(file);
        WriteFile(file, "the earlier file");
        EXPECT_EQ(RunFull(std::move(args), 20), kExitFailed);
        EXPECT_TRUE(err.ends_with(message + "\n")) << err;
        EXPECT_EQ(ReadFile(file), "the earlier file");
        EXPECT_TRUE(Leftovers(fs::path(file).parent_path(), ".").empty());
    };
    const std::string config = Game("Ballotine/tfc/config.conf");
    expectKept({"versions"}, config, "Cannot write " + config);
    expectKept({"--yes", "compile", "2fort", "well"}, Game("tfc/maps/vote.ent"),
               kCompileFailedMessage);
    expectKept({"--yes", "apply", "harbourside", "16"}, Game("tfc/maps/harbourside.ent"),
               kEntityFileFailedMessage);
    // last: the others need the registry to find the game
    const std::string registry = demo.Layout().registryFile.string();
    expectKept({"locate", Game("")}, registry, "Unable to write " + registry);
    EXPECT_EQ(ReadFile(Game("tfc/maps/vote.bsp")), voteMap);
    EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.bsp")).size(), 668u) << "never imported";
}

// A map large enough that its entity text fits where the map does not: the entity tool
// itself meets the full disk.
TEST_F(DiskFullOnDemo, TheEntityToolKeepsTheMapWhenItCannotWriteIt) {
    const std::string map = Game("tfc/maps/harbourside.bsp");
    fs::copy_file(test::TestDataPath("room.bsp"), map, fs::copy_options::overwrite_existing);
    const std::string before = ReadFile(map);
    WriteFile(Game("tfc/maps/harbourside.txt"), "the earlier text");

    EXPECT_EQ(RunFull({"--yes", "apply", "harbourside", "16"}, 4096), kExitFailed);
    EXPECT_TRUE(err.ends_with(std::string(kEntityCompileFailedMessage) + "\n")) << err;
    EXPECT_EQ(ReadFile(map), before);
    EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.txt")), "the earlier text");
    EXPECT_TRUE(Leftovers(Game("tfc/maps"), ".harbourside").empty());
}

TEST_F(DiskFullOnDemo, TheRegistryIsNotWrittenWhereAFolderIsOrThroughAFile) {
    const fs::path registry = demo.Layout().registryFile;
    fs::remove(registry);
    fs::create_directory(registry);
    EXPECT_EQ(RunFull({"locate", Game("")}, RLIM_INFINITY), kExitFailed);
    EXPECT_EQ(err, "Unable to write " + registry.string() + "\n");
    EXPECT_TRUE(fs::is_directory(registry));

    const fs::path underFile = registry.parent_path() / "file" / "registry.conf";
    WriteFile(registry.parent_path() / "file", "a file");
    EXPECT_EQ(test::RunCliWith({"--registry", underFile.string(), "locate", Game("")}).status,
              kExitFailed);
    EXPECT_EQ(ReadFile(registry.parent_path() / "file"), "a file");
}

// An installation run on a full disk: the zip tool cannot unpack, the report cannot be
// written; the installed map, the earlier report and the version record stay as they were.
class InstallOnFullDisk : public testing::Test {
protected:
    std::int32_t Install(CommandRunner& tools, rlim_t limit) {
        DownloadQueue queue;
        queue.Append("2fort", "u", "N/A", package, 3, 1, "2fort", true);
        queue.Rewind();
        queue.SetStatus(StatusDownloaded);
        ModTable mods;
        VersionTable versions;
        LoadVersionTable(versions, paths);
        InstallMappings mappings;
        InstallLog log;
        InstallContext context{paths, "tfc", mods, versions, mappings, log, prompter, tools};
        context.showLog = false;
        const test::FileSizeLimit full(limit);
        return InstallQueue(queue, context);
    }
    void SetUp() override {
        test::ZipBuilder()
            .File("2fort.bsp", std::string(8192, 'n'))
            .Stored()
            .File("pad.dat", std::string(4096, 'p'))
            .Save(package);
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
        WriteFile(paths.mapsDir + "2fort.bsp", "the installed map");
        WriteFile(paths.modWorkDir + "config.conf", kRecord);
        WriteFile(paths.modWorkDir + "update.log", "the earlier report");
    }

    static constexpr const char* kRecord = "#TFC Header V1.0 - DO NOT MODIFY\n2fort 1 0\n#END#";
    test::TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    std::string package = paths.modWorkDir + "mapzips/2fort.zip";
    test::ScriptedPrompter prompter;
};

TEST_F(InstallOnFullDisk, NothingInstalledIsLostAndTheUserIsTold) {
    ShellCommandRunner tools{{test::BuiltProgram("pkzip25").parent_path()}};
    EXPECT_EQ(Install(tools, 128), 1);
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{kLogNotCreatedMessage});
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "the installed map");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "update.log"), "the earlier report");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"), kRecord);
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fort")) << "the tool left nothing";
}

TEST_F(InstallOnFullDisk, AToolThatCannotStartFailsThePackageAndTheReportSaysSo) {
    test::TempDir noTools;
    ShellCommandRunner tools{{noTools.Path()}};
    EXPECT_EQ(Install(tools, RLIM_INFINITY), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "the installed map");
    const std::string report = ReadFile(paths.modWorkDir + "update.log");
    EXPECT_NE(report.find("    Extract command failed\n  Unpacking file failed....\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(InstallOnFullDisk, AFolderWhereTheMapBelongsStaysAndTheRunCountsAFailure) {
    fs::remove(paths.mapsDir + "2fort.bsp");
    fs::create_directory(paths.mapsDir + "2fort.bsp");
    WriteFile(paths.mapsDir + "2fort.bsp/inside", "kept");
    ShellCommandRunner tools{{test::BuiltProgram("pkzip25").parent_path()}};
    EXPECT_EQ(Install(tools, RLIM_INFINITY), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp/inside"), "kept");
    const std::string report = ReadFile(paths.modWorkDir + "update.log");
    EXPECT_NE(report.find("  Installation failed (moving error)....\n"
                          "  Removing temporary files....\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("Installation successful"), std::string::npos);
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fort"));
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"), kRecord) << "not recorded as installed";
}

} // namespace
} // namespace ballotine
