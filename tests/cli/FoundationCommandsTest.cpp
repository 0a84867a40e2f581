#include "CliTestSupport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::CliRun;
using test::RunCliWith;

class Cli : public test::CliOnDemo {};

TEST_F(Cli, PathsAndModsPrintTheirRecords) {
    const CliRun paths = Run({"paths"});
    ASSERT_EQ(paths.status, 0) << paths.err;
    const std::string game = demo.Layout().gameDir.string();
    EXPECT_EQ(paths.out, "InstallDir\t" + game + "\n" + "WorkDir\t" + game + "/Ballotine/\n" +
                             "ModDir\t" + game + "/tfc/\n" + "MapsDir\t" + game + "/tfc/maps/\n" +
                             "ModWorkDir\t" + game + "/Ballotine/tfc/\n" + "VoteSpriteDir\t" +
                             game + "/tfc/sprites/vote/\n");
    EXPECT_EQ(paths.err, "");

    const CliRun mods = Run({"mods"});
    ASSERT_EQ(mods.status, 0) << mods.err;
    EXPECT_EQ(mods.out, "tfc\t1\tTeam Fortress Classic\toffered\t*\n"
                        "valve\t1\tHalf-Life Deathmatch\toffered\t\n"
                        "dmc\t1\tDeathmatch Classic\thidden\t\n"
                        "ricochet\t0\tRicochet\thidden\t\n");
}

TEST_F(Cli, ModOptionSelectsAsTheSelectorWould) {
    const CliRun run = Run({"--mod", "half-life deathmatch", "mods"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("valve\t1\tHalf-Life Deathmatch\toffered\t*\n"), std::string::npos);

    const CliRun hidden = Run({"--mod", "Deathmatch Classic", "paths"});
    EXPECT_EQ(hidden.status, 2) << "a mod that is not offered cannot be selected";
    EXPECT_NE(hidden.err.find("'Team Fortress Classic'"), std::string::npos) << hidden.err;
}

TEST_F(Cli, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"paths", "extra"}, {"mods", "extra"}, {"locate", "a", "b"}}) {
        EXPECT_EQ(Run(args).status, 2) << args[0];
    }
    const std::vector<std::vector<std::string>> bad = {
        {}, {"nosuchcommand"}, {"--registry"}, {"--yes", "--no", "paths"}, {"--bogus", "paths"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(RunCliWith(args).status, 2) << (args.empty() ? "(none)" : args[0]);
    }
}

TEST(CliStartUp, FailuresPrintTheirMessagesAndExitOne) {
    test::TempDir dir;
    const CliRun missing = RunCliWith({"--registry", dir / "none.conf", "paths"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Error - Cannot locate installed version of Half-Life\nAborting...\n");
    EXPECT_EQ(missing.out, "");

    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\n";
    test::WriteFile(dir.Path() / "key.conf", key + "Language=en\n");
    const CliRun noValue = RunCliWith({"--registry", dir / "key.conf", "mods"});
    EXPECT_EQ(noValue.status, 1);
    EXPECT_EQ(noValue.err, "Error - Install Path Registry Entry not found\nAborting...\n");

    test::WriteFile(dir.Path() / "game.conf", key + "InstallPath=" + (dir / "hl") + "\n");
    const CliRun noModList = RunCliWith({"--registry", dir / "game.conf", "mods"});
    EXPECT_EQ(noModList.status, 1);
    EXPECT_EQ(noModList.err, "Mod Data not found. Aborting...\n");
}

TEST_F(Cli, LocateWritesTheRegistryForAGameFolderOnly) {
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

TEST_F(Cli, TheBuiltProgramSplitsOutputAndMessages) {
    const CliRun run = test::RunBuiltCli("--registry " + Registry() + " mods");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "tfc\t1\tTeam Fortress Classic\toffered\t*");
}

} // namespace
} // namespace ballotine
