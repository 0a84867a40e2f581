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
    // `file` vanishes after it was listed, or a folder takes its place; the output holds `out`
    // (or is empty for "") and standard error ends with `err`.
    const auto expect = [this](const std::string& file, bool folder, std::vector<std::string> args,
                               int status, const std::string& out, const std::string& err) {
        SCOPED_TRACE(file);
        demo = std::make_unique<test::DemoFixture>();
        folder ? FolderInstead(file) : Vanish(file);
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
