#include "CliTestSupport.h"
#include "support/DemoFixture.h"
#include "support/TestFiles.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine {
namespace {
using test::CliRun;
using test::DemoFixture;
using test::RunCliWith;

class CliOnDemo : public testing::Test {
protected:
    CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", demo.Layout().registryFile.string()});
        return RunCliWith(args);
    }
    DemoFixture demo;
};

TEST_F(CliOnDemo, PathsPrintsTheSixWorkingPathsInOrder) {
    const CliRun run = Run({"paths"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string game = demo.Layout().gameDir.string();
    EXPECT_EQ(run.out, "InstallDir\t" + game + "\n" + "WorkDir\t" + game + "/Ballotine/\n" +
                           "ModDir\t" + game + "/tfc/\n" + "MapsDir\t" + game + "/tfc/maps/\n" +
                           "ModWorkDir\t" + game + "/Ballotine/tfc/\n" + "VoteSpriteDir\t" + game +
                           "/tfc/sprites/vote/\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliOnDemo, ModsListsEveryRecordAndMarksTheSelectedOne) {
    const CliRun run = Run({"mods"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "tfc\t1\tTeam Fortress Classic\toffered\t*\n"
                       "valve\t1\tHalf-Life Deathmatch\toffered\t\n"
                       "dmc\t1\tDeathmatch Classic\thidden\t\n"
                       "ricochet\t0\tRicochet\thidden\t\n");
}

TEST_F(CliOnDemo, CommandArgumentsAreChecked) {
    EXPECT_EQ(Run({"paths", "extra"}).status, 2);
    EXPECT_EQ(Run({"mods", "extra"}).status, 2);
    EXPECT_EQ(Run({"locate", "a", "b"}).status, 2);
}

TEST_F(CliOnDemo, ModOptionSelectsAsTheSelectorWould) {
    const CliRun run = Run({"--mod", "half-life deathmatch", "mods"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("valve\t1\tHalf-Life Deathmatch\toffered\t*\n"), std::string::npos);

    const CliRun hidden = Run({"--mod", "Deathmatch Classic", "paths"});
    EXPECT_EQ(hidden.status, 2) << "a mod that is not offered cannot be selected";
    EXPECT_NE(hidden.err.find("'Team Fortress Classic'"), std::string::npos) << hidden.err;
}

TEST(Cli, StartUpFailuresPrintTheirMessagesAndExitOne) {
    test::TempDir dir;
    const CliRun missing = RunCliWith({"--registry", dir / "none.conf", "paths"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Error - Cannot locate installed version of Half-Life\nAborting...\n");
    EXPECT_EQ(missing.out, "");

    test::WriteFile(dir.Path() / "key.conf",
                    "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nLanguage=en\n");
    const CliRun noValue = RunCliWith({"--registry", dir / "key.conf", "mods"});
    EXPECT_EQ(noValue.status, 1);
    EXPECT_EQ(noValue.err, "Error - Install Path Registry Entry not found\nAborting...\n");

    test::WriteFile(
        dir.Path() / "game.conf",
        "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nInstallPath=" + (dir / "hl") + "\n");
    const CliRun noModList = RunCliWith({"--registry", dir / "game.conf", "mods"});
    EXPECT_EQ(noModList.status, 1);
    EXPECT_EQ(noModList.err, "Mod Data not found. Aborting...\n");
}

TEST(Cli, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {}, {"nosuchcommand"}, {"--registry"}, {"--yes", "--no", "paths"}, {"--bogus", "paths"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(RunCliWith(args).status, 2) << (args.empty() ? "(none)" : args[0]);
    }
}

TEST(Cli, HelpDescribesTheProgramAndEachCommand) {
    const CliRun help = RunCliWith({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"paths", "mods", "locate"}) {
        EXPECT_NE(help.out.find(std::string("  ") + command), std::string::npos) << command;
        const CliRun commandHelp = RunCliWith({command, "--help"});
        EXPECT_EQ(commandHelp.status, 0);
        EXPECT_NE(commandHelp.out.find(std::string("ballotine-cli [OPTIONS] ") + command),
                  std::string::npos);
    }
}

TEST(Cli, LocateWritesTheRegistryForAGameFolderOnly) {
    DemoFixture demo;
    test::TempDir dir;
    const std::string registry = dir / "cfg/Ballotine/registry.conf";
    const CliRun bad = RunCliWith({"--registry", registry, "locate", dir.Path().string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("does not look like a Half-Life folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(registry));

    const std::string game = demo.Layout().gameDir.string();
    const CliRun good = RunCliWith({"--registry", registry, "locate", game + "/"});
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out, "InstallPath\t" + game + "\nRegistry\t" + registry + "\n");
    const CliRun paths = RunCliWith({"--registry", registry, "paths"});
    ASSERT_EQ(paths.status, 0) << paths.err;
    EXPECT_EQ(paths.out.substr(0, paths.out.find('\n')), "InstallDir\t" + game);
}

TEST(Cli, TheBuiltProgramSplitsOutputAndMessages) {
    DemoFixture demo;
    const std::string command = test::BuiltProgram("ballotine-cli").string() + " --registry '" +
                                demo.Layout().registryFile.string() + "' mods 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string out;
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe.get()) != nullptr) {
        out += chunk.data();
    }
    EXPECT_EQ(pclose(pipe.release()), 0);
    EXPECT_EQ(out.substr(0, out.find('\n')), "tfc\t1\tTeam Fortress Classic\toffered\t*");
}

} // namespace
} // namespace ballotine
