#include "CliTestSupport.h"
#include "support/BareGame.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::CliRun;

// The command line on a game folder that has never seen Ballotine.
class CliOnBareGame : public testing::Test {
protected:
    CliRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--registry", game.Registry().string()});
        return test::RunCliWith(args);
    }
    // The built program, as a user runs it.
    CliRun RunBuilt(const std::string& arguments) const {
        return test::RunBuiltCli("--registry " + test::ShellQuoted(game.Registry().string()) + " " +
                                 arguments);
    }

    test::BareGame game;
};

TEST_F(CliOnBareGame, LocateInitMapsAndCompileTakeAFreshGameToAVoteMap) {
    const CliRun located = RunBuilt("locate " + test::ShellQuoted(game.Dir().string()));
    ASSERT_EQ(located.status, 0);
    EXPECT_EQ(located.out, "InstallPath\t" + game.Dir().string() + "\nRegistry\t" +
                               game.Registry().string() + "\n");
    const CliRun init = RunBuilt("init");
    ASSERT_EQ(init.status, 0);
    EXPECT_TRUE(
        init.out.starts_with(game.Game("Ballotine") + "/\n" + game.Game("Ballotine/ripent") + "\n"))
        << init.out;
    EXPECT_TRUE(init.out.ends_with(game.Game("Ballotine/mods.cfg") + "\n")) << init.out;
    EXPECT_EQ(RunBuilt("maps").out, "alpine\tInstalled\nbadlands\tInstalled\ncanyon\tInstalled\n");
    ASSERT_EQ(RunBuilt("--yes compile alpine badlands canyon").status, 0);
    EXPECT_EQ(RunBuilt("current").out,
              "alpine\tInstalled\nbadlands\tInstalled\ncanyon\tInstalled\n");
    const CliRun again = RunBuilt("init");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "") << "nothing is made twice";
}

TEST_F(CliOnBareGame, InitSaysWhatItDidOrWhatStopsIt) {
    game.Register();
    const CliRun nosuch = Run({"--mod", "cstrike", "init"});
    EXPECT_EQ(nosuch.status, 1);
    EXPECT_EQ(nosuch.err,
              "init: there is no mod folder 'cstrike' in " + game.Dir().string() + "\n");
    EXPECT_FALSE(fs::exists(game.Game("Ballotine")));

    // The in-process program has no installed ripent beside it: init says so and goes on.
    const CliRun valve = Run({"init", "--mod", "VALVE", "--update-server", "http://maps.example/"});
    ASSERT_EQ(valve.status, 0) << valve.err;
    EXPECT_EQ(valve.err, "init: no installed ripent was found to put into " +
                             game.Game("Ballotine/") + "; compiling vote maps needs one there\n");
    EXPECT_NE(valve.out.find(game.Game("Ballotine/valve/Entities/vote.ref") + "\n"),
              std::string::npos);
    EXPECT_EQ(test::ReadFile(game.Game("Ballotine/mods.cfg")),
              "#Mod Header V1.0 - DO NOT MODIFY\nhttp://maps.example/modsupdate.cfg\n"
              "valve 1\nHalf-Life\nhttp://maps.example/valve\n#END#");
    EXPECT_EQ(Run({"mods"}).out, "valve\t1\tHalf-Life\toffered\t*\n");
}

TEST_F(CliOnBareGame, SpritesDrawsPicturesForMapsWithoutOneAndKeepsTheOthers) {
    game.Register();
    ASSERT_EQ(Run({"init"}).status, 0);
    fs::copy_file(test::TestDataPath("room.bsp"), game.Game("tfc/maps/room.bsp"));
    const std::string picture = game.Game("tfc/sprites/vote/room.spr");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {{"sprites"}, 0, "room\tplan\t" + picture + "\n", ""},
        {{"sprites"}, 0, "", ""},
        {{"sprites", "ROOM"}, 0, "", "room: kept its picture room.spr\n"},
        {{"sprites", "--force", "room.bsp"}, 0, "room\tplan\t" + picture + "\n", ""},
        {{"sprites", "nosuch"},
         1,
         "",
         "skipped nosuch: no map nosuch.bsp in " + game.Game("tfc/maps/") + "\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_EQ(run.out, c.out) << c.args.back();
        EXPECT_EQ(run.err, c.err) << c.args.back();
    }
    EXPECT_NE(Run({"maps"}).out.find("room\tInstalled\n"), std::string::npos);
}

TEST_F(CliOnBareGame, AnOlderRipentInTheWorkingFolderIsReplacedAtStartUp) {
    ASSERT_EQ(RunBuilt("locate " + test::ShellQuoted(game.Dir().string())).status, 0);
    ASSERT_EQ(RunBuilt("init").status, 0);
    const std::string ripent = game.Game("Ballotine/ripent");
    test::WriteFile(ripent, "#!/bin/sh\necho 'ripent 0.9'\n");
    fs::permissions(ripent, fs::perms::owner_all);
    ASSERT_EQ(RunBuilt("maps").status, 0);
    EXPECT_EQ(test::ReadFile(ripent), test::ReadFile(test::BuiltProgram("ripent")));
    test::WriteFile(ripent, "#!/bin/sh\necho 'ripent 99.0'\n");
    ASSERT_EQ(RunBuilt("maps").status, 0);
    EXPECT_EQ(test::ReadFile(ripent), "#!/bin/sh\necho 'ripent 99.0'\n") << "a newer one stays";
}

} // namespace
} // namespace ballotine
