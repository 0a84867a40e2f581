#include "bsp/LumpTable.h"
#include "catalogue/ModListFile.h"
#include "catalogue/ModTable.h"
#include "cli/CliTestSupport.h"
#include "cli/Commands.h"
#include "download/DownloadQueue.h"
#include "install/InstallMappings.h"
#include "install/InstallQueue.h"
#include "install/InstallTestSupport.h"
#include "mapsettings/EntityUpdate.h"
#include "models/CompileFlow.h"
#include "models/ListFlows.h"
#include "platform/FileSystem.h"
#include "platform/ToolRunner.h"
#include "support/DownloadItems.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/VersionTable.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// The names in a folder that start with `prefix`: what a failed write left behind.
std::vector<std::string> Leftovers(const fs::path& folder, std::string_view prefix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(prefix)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// The command line on the demo installation; a run may meet a disk that fills up after
// `limit` bytes of any one file.
class FaultsOnDemo : public testing::Test {
protected:
    test::CliRun Run(std::vector<std::string> args, rlim_t limit = RLIM_INFINITY) {
        args.insert(args.begin(), {"--registry", demo->Layout().registryFile.string()});
        const test::FileSizeLimit full(limit);
        return test::RunCliWith(args);
    }
    std::string Game(const std::string& relative) const { return demo->Game(relative); }

    std::unique_ptr<test::DemoFixture> demo = std::make_unique<test::DemoFixture>();
};

TEST_F(FaultsOnDemo, OnAFullDiskEachCommandKeepsTheFileItWritesAndSaysSo) {
    const std::string voteMap = ReadFile(Game("tfc/maps/vote.bsp"));
    const std::string harbourside = ReadFile(Game("tfc/maps/harbourside.bsp"));
    const std::string config = Game("Ballotine/tfc/config.conf");
    const std::string registry = demo->Layout().registryFile.string();
    // The registry last: the others need it to find the game.
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"versions"}, config, "Cannot write " + config},
        {{"--yes", "compile", "2fort", "well"}, Game("tfc/maps/vote.ent"), kCompileFailedMessage},
        {{"--yes", "apply", "harbourside", "16"},
         Game("tfc/maps/harbourside.ent"),
         kEntityFileFailedMessage},
        {{"locate", Game("")}, registry, "Unable to write " + registry},
    };
    for (const auto& [args, file, message] : cases) {
        WriteFile(file, "the earlier file");
        const test::CliRun run = Run(args, 20);
        EXPECT_EQ(run.status, kExitFailed) << file;
        EXPECT_TRUE(run.err.ends_with(message + "\n")) << run.err;
        EXPECT_EQ(ReadFile(file), "the earlier file");
        EXPECT_TRUE(Leftovers(fs::path(file).parent_path(), ".").empty()) << file;
    }
    EXPECT_EQ(ReadFile(Game("tfc/maps/vote.bsp")), voteMap);
    EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.bsp")), harbourside) << "never imported";

    // Nor is the registry written where a folder is, or below a file.
    fs::remove(registry);
    fs::create_directory(registry);
    EXPECT_EQ(Run({"locate", Game("")}).err, "Unable to write " + registry + "\n");
    EXPECT_TRUE(fs::is_directory(registry));
    const fs::path file = fs::path(registry).parent_path() / "file";
    WriteFile(file, "a file");
    EXPECT_EQ(test::RunCliWith({"--registry", file / "registry.conf", "locate", Game("")}).status,
              kExitFailed);
    EXPECT_EQ(ReadFile(file), "a file");
}

// A map large enough that its entity text fits where the map does not: the entity tool
// itself meets the full disk. A tool that cannot start leaves the map as well.
TEST_F(FaultsOnDemo, TheEntityToolKeepsTheMapWhenItCannotWriteItOrStart) {
    const std::string map = Game("tfc/maps/harbourside.bsp");
    fs::copy_file(test::TestDataPath("room.bsp"), map, fs::copy_options::overwrite_existing);
    const std::string before = ReadFile(map);
    WriteFile(Game("tfc/maps/harbourside.txt"), "the earlier text");
    // Beneath the failure, what the tool said or why it did not start.
    const std::pair<rlim_t, std::string> cases[] = {
        {4096, "ripent: " + map + ": cannot be written"},
        {RLIM_INFINITY,
         Game("Ballotine/ripent") + " could not be started: No such file or directory"},
    };
    for (const auto& [limit, reason] : cases) {
        if (limit == RLIM_INFINITY) {
            fs::remove(Game("Ballotine/ripent"));
        }
        const test::CliRun run = Run({"--yes", "apply", "harbourside", "16"}, limit);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_TRUE(
            run.err.ends_with(std::string(kEntityCompileFailedMessage) + "\n\n" + reason + "\n"))
            << run.err;
        EXPECT_EQ(ReadFile(map), before);
        EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.txt")), "the earlier text");
        EXPECT_TRUE(Leftovers(Game("tfc/maps"), ".harbourside").empty());
    }
}

// Files that are listed but gone when read (a link whose file was deleted meanwhile reads
// exactly so) or a folder where a file belongs: each command carries on without the file or
// says what is missing, and changes nothing on disk.
TEST_F(FaultsOnDemo, ReadersCarryOnOrSayWhatIsMissing) {
    const auto expect = [this](const std::string& file, bool folder, std::vector<std::string> args,
                               int status, const std::string& out, const std::string& err) {
        SCOPED_TRACE(file);
        demo = std::make_unique<test::DemoFixture>();
        fs::remove(Game(file));
        if (folder) {
            fs::create_directory(Game(file));
        } else {
            fs::create_symlink(Game("gone-meanwhile"), Game(file));
        }
        const std::string map = ReadFile(Game("tfc/maps/harbourside.bsp"));
        const test::CliRun run = Run(std::move(args));
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_TRUE(out.empty() ? run.out.empty() : run.out.find(out) != std::string::npos)
            << run.out;
        EXPECT_TRUE(run.err.ends_with(err)) << run.err;
        EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.bsp")), map);
        EXPECT_FALSE(fs::exists(Game("gone-meanwhile"))) << "nothing written through the link";
    };
    const auto line = [](const char* message) { return std::string(message) + "\n"; };
    expect("tfc/sprites/vote/quarry.spr", false, {"details", "quarry"}, kExitOk, "Name\tquarry\n",
           "");
    expect("tfc/maps/skyline.bsp", false, {"details", "skyline"}, kExitOk,
           "Size\tN/A\nDownloaded\tNo\n", "");
    expect("tfc/maps/vote.ent", false, {"current"}, kExitOk, "", "");
    expect("Ballotine/mods.cfg", true, {"paths"}, kExitFailed, "", line(kModDataNotFoundMessage));
    const std::string list = Game("Ballotine/tfc/VoteMapLists/gone.VML");
    expect("Ballotine/tfc/VoteMapLists/gone.VML", false, {"show-list", list}, kExitFailed, "",
           line(kListNotFoundMessage));
    expect("Ballotine/tfc/config.conf", false, {"versions"}, kExitFailed, "",
           "no version record is kept for this mod.\n");
    expect("Ballotine/tfc/Entities/harbourside.16.ref", false,
           {"--yes", "apply", "harbourside", "16"}, kExitFailed, "",
           line(kReferenceDataFailedMessage));
}

// An installation that fails: the installed map, the earlier report and the version record
// stay as they were.
class InstallFaults : public testing::Test {
protected:
    void SetUp() override {
        test::ZipBuilder()
            .File("2fort.bsp", std::string(8192, 'n'))
            .Stored()
            .File("pad.dat", std::string(4096, 'p'))
            .Save(paths.modWorkDir + "mapzips/2fort.zip");
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n");
        WriteFile(paths.mapsDir + "2fort.bsp", "the installed map");
        WriteFile(paths.modWorkDir + "config.conf", kRecord);
        WriteFile(paths.modWorkDir + "update.log", "the earlier report");
    }
    std::int32_t Install(const fs::path& toolFolder, rlim_t limit = RLIM_INFINITY) {
        DownloadItem item = test::Item("2fort", "u", paths.modWorkDir + "mapzips/2fort.zip", 3,
                                       DownloadStatus::Downloaded);
        item.packageKey = "2fort";
        item.version = 1;
        item.fullPackage = true;
        DownloadQueue queue = {item};
        ModTable mods;
        VersionTable versions;
        LoadVersionTable(versions, paths);
        InstallMappings mappings;
        InstallLog log;
        SpawnToolRunner tools{{toolFolder}};
        InstallContext context{paths, "tfc", mods, mappings, log, prompter, tools};
        context.showLog = false;
        const test::FileSizeLimit full(limit);
        // The installation and the version record, as the update list runs them.
        const InstallResult result = InstallQueue(queue, context);
        RecordInstalledVersions(versions, queue, paths);
        return result.failed;
    }
    void ExpectNothingInstalled(const std::string& report) {
        EXPECT_NE(ReadFile(paths.modWorkDir + "update.log").find(report), std::string::npos)
            << ReadFile(paths.modWorkDir + "update.log");
        EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"), kRecord);
        EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fort")) << "nothing left behind";
    }

    static constexpr const char* kRecord = "#TFC Header V1.0 - DO NOT MODIFY\n2fort 1 0\n#END#";
    test::TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    test::ScriptedPrompter prompter;
    fs::path pkzip25 = test::BuiltProgram("pkzip25").parent_path();
};

TEST_F(InstallFaults, AFullDiskLosesNothingAndTheUserIsTold) {
    EXPECT_EQ(Install(pkzip25, 128), 1);
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{kLogNotCreatedMessage});
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "the installed map");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "update.log"), "the earlier report");
    ExpectNothingInstalled("");
}

TEST_F(InstallFaults, AToolThatCannotStartFailsThePackageAndTheReportSaysSo) {
    test::TempDir noTools;
    EXPECT_EQ(Install(noTools.Path()), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp"), "the installed map");
    ExpectNothingInstalled("    Extract command failed\n"
                           "      pkzip25 could not be started: No such file or directory\n"
                           "  Unpacking file failed....\n");
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(InstallFaults, AFolderWhereTheMapBelongsStaysAndTheRunCountsAFailure) {
    fs::remove(paths.mapsDir + "2fort.bsp");
    WriteFile(paths.mapsDir + "2fort.bsp/inside", "kept");
    EXPECT_EQ(Install(pkzip25), 1);
    EXPECT_EQ(ReadFile(paths.mapsDir + "2fort.bsp/inside"), "kept");
    ExpectNothingInstalled("  Installation failed (moving error)....\n"
                           "  Removing temporary files....\n");
    EXPECT_EQ(ReadFile(paths.modWorkDir + "update.log").find("Installation successful"),
              std::string::npos);
}

constexpr std::int64_t kBigLump = 64 << 20;

// A valid map whose lump 1 is 64 MB of zeros (a sparse file, quick to make) and whose entity
// lump is small: an import has to copy all of it.
void WriteBigMap(const fs::path& path) {
    const std::string entities = "{\n\"classname\" \"worldspawn\"\n}\n";
    bsp::BspHeader header;
    header.lumps[0] = {bsp::kHeaderSize, static_cast<std::int64_t>(entities.size()) + 1};
    const std::int64_t second = bsp::AlignedTo4(header.lumps[0].End());
    header.lumps[1] = {second, kBigLump};
    for (int i = 2; i < bsp::kLumpCount; ++i) {
        header.lumps[static_cast<std::size_t>(i)] = {second + kBigLump, 0};
    }
    WriteFile(path, bsp::EncodeHeader(header) + entities + '\0');
    fs::resize_file(path, static_cast<std::uintmax_t>(second + kBigLump));
}

// `ripent -import base`, started without waiting; SIGXFSZ as the defaults have it.
pid_t StartImport(const std::string& base) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const std::string program = test::BuiltProgram("ripent").string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("-import"),
                               const_cast<char*>(base.c_str()), nullptr};
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ), 0);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// The entity tool killed half-way through writing a map: the map is unchanged, the only map of
// the folder, and importable again.
class RipentInterrupted : public testing::Test {
protected:
    void SetUp() override {
        WriteBigMap(map);
        WriteFile(maps / "big.ent", "{\n\"classname\" \"worldspawn\"\n\"message\" \"new\"\n}\n");
        before = std::hash<std::string>{}(ReadFile(map));
    }
    // The file the tool writes before it takes the map's place: beside the map, named after it.
    bool TemporaryOver1MB() const {
        const auto names = Leftovers(maps, ".big.bsp");
        std::error_code error;
        return !names.empty() && fs::file_size(maps / names[0], error) > (1 << 20) && !error;
    }
    void ExpectMapUnchangedAndUsable() {
        EXPECT_EQ(std::hash<std::string>{}(ReadFile(map)), before);
        const auto found = FindFiles((maps / "*.bsp").string());
        ASSERT_EQ(found.size(), 1u) << "no half-written map";
        EXPECT_EQ(found[0].name, "big.bsp");
        const int status = WaitFor(StartImport(base));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_NE(std::hash<std::string>{}(ReadFile(map)), before) << "a later import goes through";
        EXPECT_TRUE(Leftovers(maps, ".big.bsp").empty()) << "and removes the killed run's copy";
    }

    test::TempDir dir;
    fs::path maps = dir.Path() / "maps";
    fs::path map = maps / "big.bsp";
    std::string base = (maps / "big").string();
    std::size_t before = 0;
};

TEST_F(RipentInterrupted, KilledWhileWritingTheMap) {
    bool killedMidWrite = false;
    for (int attempt = 0; attempt < 5 && !killedMidWrite; ++attempt) {
        const pid_t pid = StartImport(base);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline && !TemporaryOver1MB()) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::kill(pid, SIGKILL);
        const int status = WaitFor(pid);
        killedMidWrite = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (!killedMidWrite) {
            WriteBigMap(map); // it finished first: start over
        }
    }
    ASSERT_TRUE(killedMidWrite);
    ASSERT_FALSE(Leftovers(maps, ".big.bsp").empty()) << "the kill left the half-written copy";
    ExpectMapUnchangedAndUsable();
}

TEST_F(RipentInterrupted, KilledByTheFileSizeLimit) {
    pid_t pid = -1;
    {
        const test::FileSizeLimit full(8 << 20); // inherited; the child dies of SIGXFSZ
        pid = StartImport(base);
    }
    const int status = WaitFor(pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    ExpectMapUnchangedAndUsable();
}

} // namespace
} // namespace ballotine
