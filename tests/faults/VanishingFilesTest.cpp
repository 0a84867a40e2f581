#include "catalogue/ModListFile.h"
#include "cli/CliTestSupport.h"
#include "cli/Commands.h"
#include "mapsettings/EntityUpdate.h"
#include "support/DemoFixture.h"
#include "support/TestFiles.h"
#include "votemap/VoteMapLists.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// Files that are listed but gone when read (a link whose file was deleted meanwhile reads
// exactly so), folders where files belong, and a tool that cannot start: each command says
// what it could not do, or carries on without the file, and changes nothing on disk.
class VanishingOnDemo : public testing::Test {
protected:
    test::CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", demo->Layout().registryFile.string()});
        return test::RunCliWith(args);
    }
    std::string Game(const std::string& relative) const { return demo->Game(relative); }
    // Replaces a file by a link to nothing: still listed, gone when opened.
    void Vanish(const std::string& relative) const {
        fs::remove(Game(relative));
        fs::create_symlink(Game("gone-meanwhile"), Game(relative));
    }
    void FolderInstead(const std::string& relative) const {
        fs::remove(Game(relative));
        fs::create_directory(Game(relative));
    }

    std::unique_ptr<test::DemoFixture> demo = std::make_unique<test::DemoFixture>();
};

TEST_F(VanishingOnDemo, ReadersCarryOnOrSayWhatIsMissing) {
    struct Case {
        const char* what;
        std::string file; // what vanishes after it was listed
        bool folder;      // a folder takes its place instead
        std::vector<std::string> args;
        int status;
        std::string out; // a line the output must hold, or "" for none at all
        std::string err; // what standard error ends with
    };
    const std::string lists = Game("Ballotine/tfc/VoteMapLists/");
    const std::vector<Case> cases = {
        {"a vote sprite listed, then gone",
         "tfc/sprites/vote/quarry.spr",
         false,
         {"details", "quarry"},
         kExitOk,
         "Name\tquarry\n",
         ""},
        {"the map file listed, then gone",
         "tfc/maps/skyline.bsp",
         false,
         {"details", "skyline"},
         kExitOk,
         "Size\tN/A\nDownloaded\tNo\n",
         ""},
        {"vote.ent gone", "tfc/maps/vote.ent", false, {"current"}, kExitOk, "", ""},
        {"mods.cfg a folder",
         "Ballotine/mods.cfg",
         true,
         {"paths"},
         kExitFailed,
         "",
         std::string(kModDataNotFoundMessage) + "\n"},
        {"a list file gone",
         "Ballotine/tfc/VoteMapLists/gone.VML",
         false,
         {"show-list", lists + "gone.VML"},
         kExitFailed,
         "",
         std::string(kListNotFoundMessage) + "\n"},
        {"config.conf gone",
         "Ballotine/tfc/config.conf",
         false,
         {"versions"},
         kExitFailed,
         "",
         "no version record is kept for this mod.\n"},
        {"a reference file gone",
         "Ballotine/tfc/Entities/harbourside.16.ref",
         false,
         {"--yes", "apply", "harbourside", "16"},
         kExitFailed,
         "",
         std::string(kReferenceDataFailedMessage) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        demo = std::make_unique<test::DemoFixture>();
        c.folder ? FolderInstead(c.file) : Vanish(c.file);
        const std::string map = ReadFile(Game("tfc/maps/harbourside.bsp"));
        const test::CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.out.empty()) {
            EXPECT_EQ(run.out, "");
        } else {
            EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        }
        EXPECT_TRUE(run.err.ends_with(c.err)) << run.err;
        EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.bsp")), map);
        EXPECT_FALSE(fs::exists(Game("gone-meanwhile"))) << "nothing written through the link";
    }
}

TEST_F(VanishingOnDemo, AnEntityToolThatCannotStartLeavesTheMapAndItsText) {
    fs::remove(Game("Ballotine/ripent"));
    const std::string map = ReadFile(Game("tfc/maps/harbourside.bsp"));
    const std::string text = ReadFile(Game("tfc/maps/harbourside.txt"));
    const test::CliRun run = Run({"--yes", "apply", "harbourside", "16"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.err.ends_with(std::string(kEntityCompileFailedMessage) + "\n")) << run.err;
    EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.bsp")), map);
    EXPECT_EQ(ReadFile(Game("tfc/maps/harbourside.txt")), text);
}

} // namespace
} // namespace ballotine
