#include "models/GameSetup.h"

#include "catalogue/GameLocator.h"
#include "catalogue/ModListFile.h"
#include "models/EntityTool.h"
#include "models/WindowStart.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/BareGame.h"
#include "support/FakeToolRunner.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Names = std::vector<std::string>;
using Snapshot = std::map<std::string, std::string>;

const fs::path kPrograms = BALLOTINE_BIN_DIR;

// SetUpGame on a bare game folder, with the built kit and tools.
class GameSetupTest : public testing::Test {
protected:
    GameSetupReport SetUp(std::vector<std::string> mods = {}, std::string server = "",
                          std::vector<fs::path> toolFolders = {kPrograms}) {
        GameSetupRequest request{game.Dir().string(), std::move(mods), std::move(server),
                                 VoteKitFolder(kPrograms).value_or(fs::path()),
                                 std::move(toolFolders)};
        return SetUpGame(request);
    }
    // The paths made, relative to the game folder.
    std::string Made(const GameSetupReport& report) const {
        std::string made;
        for (const std::string& path : report.made) {
            made += fs::path(path).lexically_relative(game.Dir()).string() + " ";
        }
        return made;
    }
    // The relative names of a snapshot that the other lacks.
    static Names Added(const Snapshot& before, const Snapshot& after) {
        Names added;
        for (const auto& [name, content] : after) {
            if (!before.contains(name)) {
                added.push_back(name);
            }
        }
        return added;
    }

    test::BareGame game;
};

TEST_F(GameSetupTest, MakesEverythingAGameNeedsOnce) {
    const GameSetupReport report = SetUp();
    ASSERT_TRUE(report.Succeeded()) << report.error;
    EXPECT_EQ(report.mods, Names{"tfc"});
    EXPECT_EQ(report.notes, Names{"setting up tfc (Team Fortress Classic)"});
    EXPECT_EQ(Made(report),
              "Ballotine/ Ballotine/ripent Ballotine/tfc/ Ballotine/tfc/Entities/ "
              "Ballotine/tfc/Entities/vote.ref Ballotine/tfc/servertypes.conf "
              "Ballotine/tfc/mappings.conf Ballotine/tfc/VoteMapLists/ Ballotine/tfc/config.conf "
              "tfc/maps/vote.bsp tfc/sprites/ tfc/sprites/vote/ tfc/sprites/vote/vote.spr "
              "tfc/sprites/vote/blank.spr tfc/sprites/vote/alpine.spr "
              "tfc/sprites/vote/badlands.spr tfc/sprites/vote/canyon.spr Ballotine/mods.cfg ");
    EXPECT_EQ(ReadFile(game.Game("Ballotine/mods.cfg")),
              "#Mod Header V1.0 - DO NOT MODIFY\n\ntfc 1\nTeam Fortress Classic\n\n#END#");
    EXPECT_EQ(ReadFile(game.Game("Ballotine/tfc/config.conf")),
              "#TFC Header V1.0 - DO NOT MODIFY\nalpine 1 0\nbadlands 1 0\ncanyon 1 0\n#END#")
        << "the maps on disk, without the kit's vote map";
    EXPECT_EQ(ReadFile(game.Game("Ballotine/tfc/mappings.conf")),
              "Where the files of a package go (written by ballotine-cli init).\n#FILES#\n"
              "bsp tfc\\maps\ntxt tfc\\maps\nres tfc\\maps\nwad tfc\n#DIRS#\nvalve @\n"
              "Entities \\Ballotine\\tfc\n#END#");
    const fs::path kit = *VoteKitFolder(kPrograms);
    EXPECT_EQ(ReadFile(game.Game("tfc/maps/vote.bsp")), ReadFile(kit / "vote.bsp"));
    EXPECT_EQ(ReadFile(game.Game("Ballotine/ripent")), ReadFile(kPrograms / "ripent"));
    EXPECT_EQ(::access(game.Game("Ballotine/ripent").c_str(), X_OK), 0) << "still a program";

    const Snapshot before = game.Snapshot();
    const GameSetupReport again = SetUp();
    ASSERT_TRUE(again.Succeeded()) << again.error;
    EXPECT_TRUE(again.made.empty());
    EXPECT_EQ(game.Snapshot(), before) << "a second run changes nothing";
}

TEST_F(GameSetupTest, NeverReplacesAFileAndAddsOnlyTheRecordsTheModListLacks) {
    WriteFile(game.Game("dmc/liblist.gam"), "game \"Team Fortress Classic\"\n"); // a copied mod
    WriteFile(game.Game("Ballotine/tfc/servertypes.conf"), "mine");
    WriteFile(game.Game("tfc/maps/VOTE.BSP"), "my own vote map");
    WriteFile(game.Game("tfc/sprites/vote/Alpine.spr"), "my own picture");
    WriteFile(game.Game("Ballotine/mods.cfg"),
              "#Mod Header V1.0 - DO NOT MODIFY\nhttp://list\nvalve 1\nHL\nhttp://valve\n#END#");
    const GameSetupReport report = SetUp({"TFC", "dmc", "tfc"}, "http://example.org/ballotine/");
    ASSERT_TRUE(report.Succeeded()) << report.error;
    EXPECT_EQ(report.mods, (Names{"tfc", "dmc"}));
    EXPECT_EQ(ReadFile(game.Game("Ballotine/tfc/servertypes.conf")), "mine");
    EXPECT_EQ(ReadFile(game.Game("tfc/maps/VOTE.BSP")), "my own vote map");
    EXPECT_FALSE(fs::exists(game.Game("tfc/maps/vote.bsp")));
    EXPECT_EQ(ReadFile(game.Game("tfc/sprites/vote/Alpine.spr")), "my own picture");
    EXPECT_EQ(ReadFile(game.Game("Ballotine/mods.cfg")),
              "#Mod Header V1.0 - DO NOT MODIFY\nhttp://list\nvalve 1\nHL\nhttp://valve\n"
              "tfc 1\nTeam Fortress Classic\nhttp://example.org/ballotine/tfc\n"
              "dmc 1\nTeam Fortress Classic (dmc)\nhttp://example.org/ballotine/dmc\n#END#")
        << "the existing list and its address kept; a title taken already made unique";
    EXPECT_EQ(Made(report).find("mods.cfg"), std::string::npos) << "changed, not made";

    fs::remove(game.Game("Ballotine/mods.cfg"));
    ASSERT_TRUE(SetUp({"tfc"}, "https://maps.example.org").Succeeded());
    EXPECT_EQ(ReadFile(game.Game("Ballotine/mods.cfg")),
              "#Mod Header V1.0 - DO NOT MODIFY\nhttps://maps.example.org/modsupdate.cfg\n"
              "tfc 1\nTeam Fortress Classic\nhttps://maps.example.org/tfc\n#END#");
}

TEST_F(GameSetupTest, WhatCannotBeSetUpIsRefusedBeforeAnythingIsMade) {
    const Snapshot before = game.Snapshot();
    struct Case {
        std::vector<std::string> mods;
        std::string server;
        std::string error;
    };
    const Case cases[] = {
        {{"cstrike"}, "", "there is no mod folder 'cstrike' in " + game.Dir().string()},
        {{"../tfc"},
         "",
         "'../tfc' cannot be a mod's folder: it must be one folder name without "
         "blanks, and not Ballotine's own"},
        {{"my mod"}, "", "'my mod' cannot be a mod's folder"},
        {{"Ballotine"}, "", "'Ballotine' cannot be a mod's folder"},
        {{"tfc/maps"}, "", "'tfc/maps' cannot be a mod's folder"},
        {{}, "example.org", "'example.org' is not an update server address"},
        {{}, "http://a b", "'http://a b' is not an update server address"},
        {{}, "://x", "'://x' is not an update server address"},
    };
    for (const Case& c : cases) {
        const GameSetupReport report = SetUp(c.mods, c.server);
        EXPECT_TRUE(report.error.starts_with(c.error)) << report.error;
        EXPECT_TRUE(report.made.empty());
    }
    WriteFile(game.Game("Ballotine/mods.cfg"), "not a mod list");
    EXPECT_TRUE(SetUp().error.ends_with("mods.cfg is not a mod list (its first line is not "
                                        "\"#Mod Header V1.0 - DO NOT MODIFY\"); it is left as it "
                                        "is"));
    fs::remove_all(game.Game("Ballotine"));
    fs::rename(game.Game("tfc"), game.Game("notfc"));
    EXPECT_EQ(SetUp().error, "no Team Fortress Classic folder (tfc with a liblist.gam) in " +
                                 game.Dir().string() + "; name the mod's folder with --mod FOLDER");
    fs::rename(game.Game("notfc"), game.Game("tfc"));
    GameSetupRequest noKit{game.Dir().string(), {}, "", game.Dir(), {kPrograms}};
    EXPECT_EQ(SetUpGame(noKit).error,
              "the vote map kit in " + game.Dir().string() + " lacks vote.bsp");
    EXPECT_EQ(game.Snapshot(), before);
}

TEST_F(GameSetupTest, AFailureHalfWayTakesBackEverythingThisRunMade) {
    WriteFile(game.Game("Ballotine/tfc/servertypes.conf"), "mine"); // made before: stays
    const Snapshot before = game.Snapshot();
    // A file where the pictures' folder belongs: everything before it was made by then.
    WriteFile(game.Game("tfc/sprites"), "in the way");
    GameSetupReport report = SetUp();
    EXPECT_EQ(report.error,
              "cannot make the folder " + game.Game("tfc/sprites") + ": Not a directory");
    EXPECT_TRUE(report.made.empty());
    fs::remove(game.Game("tfc/sprites"));
    EXPECT_EQ(game.Snapshot(), before);

    // A disk that fills up while the kit's vote map is written (ripent, bigger, left out).
    {
        const test::FileSizeLimit full(20000);
        report = SetUp({}, "", {});
    }
    EXPECT_TRUE(report.error.starts_with("cannot copy ")) << report.error;
    EXPECT_NE(report.error.find("tfc/maps/vote.bsp"), std::string::npos) << report.error;
    EXPECT_EQ(game.Snapshot(), before);

    // A read-only game folder (root writes anyway: then there is nothing to see).
    fs::permissions(game.Dir(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (::access(game.Dir().c_str(), W_OK) != 0) {
        report = SetUp();
        EXPECT_EQ(report.error,
                  "cannot make the folder " + game.Game("Ballotine") + ": Permission denied");
        EXPECT_EQ(game.Snapshot(), before);
    }
    fs::permissions(game.Dir(), fs::perms::owner_write, fs::perm_options::add);
}

// Answers `--version` for two tools by their paths, and counts the runs.
class VersionAnswers final : public ToolRunner {
public:
    VersionAnswers(fs::path installed, std::string installedSays, std::string workingSays)
        : m_installed(std::move(installed)), m_installedSays(std::move(installedSays)),
          m_workingSays(std::move(workingSays)) {}
    ToolRun RunTool(const fs::path& program, const std::vector<std::string>& arguments,
                    const fs::path& /*workingFolder*/) override {
        ++runs;
        EXPECT_EQ(arguments, Names{"--version"});
        return {program.string(), ToolOutcome::Succeeded, 0,
                program == m_installed ? m_installedSays : m_workingSays};
    }
    bool StartDetached(const fs::path&, const std::vector<std::string>&) override { return false; }
    int runs = 0;

private:
    fs::path m_installed;
    std::string m_installedSays;
    std::string m_workingSays;
};

// The working folder's ripent against the installed one, as each tells its version.
TEST(EntityTool, TheInstalledToolReplacesOnlyAMissingOrOlderOne) {
    test::TempDir dir;
    const fs::path installed = dir.Path() / "libexec/ripent";
    const fs::path work = dir.Path() / "Ballotine";
    WriteFile(installed, "new tool");
    fs::create_directories(work);
    using Outcome = EntityToolRefresh::Outcome;
    struct Case {
        std::string working; // the working folder's tool; empty: none
        std::string workingSays;
        std::string installedSays;
        Outcome outcome;
    };
    const Case cases[] = {
        {"", "", "ripent 2.2\n", Outcome::Placed},
        {"old", "ripent 2.1\n", "ripent 2.2\n", Outcome::Replaced},
        {"old", "ripent 2.9\n", "ripent 2.10\n", Outcome::Replaced},
        {"old", "ripent 2\n", "ripent 2.0.1\n", Outcome::Replaced},
        {"old", "Usage: ripent -import PATH\n", "ripent 2.2\n", Outcome::Replaced},
        {"same", "ripent 2.2\n", "ripent 2.2\n", Outcome::Kept},
        {"newer", "ripent 2.10\n", "ripent 2.9\n", Outcome::Kept},
        {"other", "ripent 2.2\n", "Usage\n", Outcome::NoInstalledTool},
        {"other", "ripent 2.2\n", "ripent two\n", Outcome::NoInstalledTool},
        {"new tool", "", "", Outcome::Kept}, // the same bytes: neither is run
    };
    for (const Case& c : cases) {
        fs::remove(work / "ripent");
        if (!c.working.empty()) {
            WriteFile(work / "ripent", c.working);
        }
        VersionAnswers runner(installed, c.installedSays, c.workingSays);
        const EntityToolRefresh refresh =
            RefreshEntityTool(work, {dir.Path() / "nothing", installed.parent_path()}, runner);
        EXPECT_EQ(refresh.outcome, c.outcome) << c.workingSays << " / " << c.installedSays;
        const bool copied = c.outcome == Outcome::Placed || c.outcome == Outcome::Replaced;
        EXPECT_EQ(test::ReadFile(work / "ripent"), copied ? "new tool" : c.working);
        EXPECT_EQ(refresh.text.empty(), !copied);
        EXPECT_EQ(runner.runs == 0, c.working == "new tool");
    }
    VersionAnswers runner(installed, "ripent 3.0\n", "");
    const EntityToolRefresh blocked =
        RefreshEntityTool(dir.Path() / "missing", {installed.parent_path()}, runner);
    EXPECT_EQ(blocked.outcome, Outcome::NotWritten);
    EXPECT_EQ(blocked.text,
              "Unable to put " + installed.string() + " in place as " + (dir / "missing/ripent"));
}

// The window's start before its session: where the game is, and its set-up.
class WindowStartTest : public testing::Test {
protected:
    bool Prepare(std::optional<fs::path> choice) {
        chooserCalls = 0;
        return PrepareWindowStart(registry, StartPlaces{game.Registry(), home.Path(), kPrograms},
                                  services, [&](const std::vector<fs::path>& found) {
                                      ++chooserCalls;
                                      offered = found;
                                      return choice;
                                  });
    }

    test::BareGame game;
    test::TempDir home;
    test::ScriptedPrompter prompter;
    test::FakeToolRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry;
    int chooserCalls = 0;
    std::vector<fs::path> offered;
};

TEST_F(WindowStartTest, AFirstStartChoosesTheGameAndSetsItUp) {
    WriteFile(home.Path() / "serverfiles/hlds_run", "x");
    EXPECT_FALSE(Prepare(std::nullopt));
    EXPECT_EQ(offered, std::vector<fs::path>{home.Path() / "serverfiles"});
    EXPECT_EQ(prompter.Messages(), Names{kGameNotInstalledMessage});
    EXPECT_FALSE(fs::exists(game.Registry()));

    prompter.Forget();
    prompter.AnswerNo();
    EXPECT_TRUE(Prepare(game.Dir()));
    EXPECT_EQ(RegisteredGameFolder(RegistryFile::Load(game.Registry())), game.Dir().string());
    EXPECT_EQ(RegisteredGameFolder(registry), game.Dir().string()) << "the registry reloaded";
    ASSERT_EQ(prompter.Questions().size(), 1U);
    EXPECT_TRUE(prompter.Questions()[0].find("Set it up for Team Fortress Classic (tfc) now?") !=
                std::string::npos)
        << prompter.Questions()[0];
    EXPECT_FALSE(fs::exists(game.Game("Ballotine"))) << "No makes nothing";

    prompter.Forget();
    prompter.AnswerYes();
    EXPECT_TRUE(Prepare(std::nullopt));
    EXPECT_EQ(chooserCalls, 0) << "the registered game is taken";
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_TRUE(fs::exists(game.Game("Ballotine/mods.cfg")));
    EXPECT_TRUE(fs::exists(game.Game("tfc/sprites/vote/alpine.spr")));

    prompter.Forget();
    EXPECT_TRUE(Prepare(std::nullopt));
    EXPECT_TRUE(prompter.Transcript().empty()) << "a game set up is not asked about again";
}

TEST_F(WindowStartTest, AChosenFolderThatIsNoGameOrAGameWithoutTfcIsSaidSo) {
    EXPECT_FALSE(Prepare(home.Path()));
    EXPECT_EQ(prompter.Messages().size(), 1U) << "the folder check's tests pin the words";
    EXPECT_FALSE(fs::exists(game.Registry()));

    prompter.Forget();
    fs::remove(game.Game("tfc/liblist.gam"));
    EXPECT_TRUE(Prepare(game.Dir())) << "the session's start then says Mod Data not found";
    EXPECT_EQ(prompter.Messages(),
              Names{"Ballotine has not been set up in " + game.Dir().string() +
                    ", and it holds no Team Fortress Classic folder (tfc with a liblist.gam) to "
                    "set up. ballotine-cli init --mod FOLDER sets up another mod."});
}

} // namespace
} // namespace ballotine
