#include "CliTestSupport.h"
#include "cli/Commands.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;

// The compile and the list files are pinned by the vote map tests; these check the commands'
// wiring to them, on the demo with its real entity tool.
class VoteListCommandsTest : public test::CliOnDemo {
protected:
    int Run(const std::vector<std::string>& args) {
        const test::CliRun run = CliOnDemo::Run(args);
        out = run.out;
        err = run.err;
        return run.status;
    }
    std::string Lists(const std::string& name) const { return WorkFile("VoteMapLists/" + name); }

    std::string out;
    std::string err;
};

TEST_F(VoteListCommandsTest, CompileTakesAListThenTheOptionsAndMapsGivenAndRunsTheTool) {
    WriteFile(Lists("cup.VML"), "VML Header V1.2\n20 1 0\nrock2\nlakeside\n");
    ASSERT_EQ(Run({"--yes", "compile", "--list", Lists("cup.VML"), "--players", "32", "--no-thugs",
                   "Lakeside", "SKYLINE", "well"}),
              kExitOk)
        << err;
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "Are you sure you want to create a 4 level VoteMap? [y/n] yes\n"
                   "VoteMap successfully Compiled\n");
    const std::string text = ReadFile(Maps("vote.ent"));
    EXPECT_NE(text.find("\"health\" \"1700\""), std::string::npos) << "walls 0 from the list";
    EXPECT_NE(text.find("\"team2_name\" \"(X) Thugs Disabled\""), std::string::npos);
    EXPECT_NE(text.find("\"map\" \"skyline\""), std::string::npos) << "the available spelling";
    ASSERT_EQ(Run({"current"}), kExitOk);
    EXPECT_EQ(out,
              "lakeside\tInstalled\nrock2\tInstalled\nskyline\tConfigurable\nwell\tInstalled\n");
}

TEST_F(VoteListCommandsTest, RefusalsAndDeclinesLeaveTheVoteMapAlone) {
    const std::string before = ReadFile(Maps("vote.ent"));
    EXPECT_EQ(Run({"--yes", "compile", "2fort", "atlantis"}), kExitFailed);
    EXPECT_EQ(err, "compile: 'atlantis' is not in Available Maps\n");
    EXPECT_EQ(Run({"--yes", "compile", "2fort"}), kExitFailed);
    EXPECT_NE(err.find("You have currently selected 1"), std::string::npos);
    EXPECT_EQ(Run({"compile", "2fort", "well"}), kExitFailed) << "no terminal: answered No";
    EXPECT_EQ(Run({"--yes", "compile", "--list", Lists("none.VML"), "2fort", "well"}), kExitFailed);
    EXPECT_EQ(err, "Unable to load VoteMapList\nFile does not exist\n");
    EXPECT_EQ(ReadFile(Maps("vote.ent")), before);
}

TEST_F(VoteListCommandsTest, WrongOptionsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"compile", "--players", "3", "2fort", "well"},
          {"compile", "--players", "12x", "2fort", "well"},
          {"compile", "--walls", "4", "2fort", "well"},
          {"compile", "--walls"},
          {"compile", "--thugs", "2fort"},
          {"save-list", "--list", "a.VML", "b.VML"},
          {"save-list"},
          {"show-list"},
          {"show-list", "a.VML", "b.VML"},
          {"install-tools", "extra"}}) {
        EXPECT_EQ(Run(args), kExitUsage) << args[0] << " " << args.size();
        EXPECT_FALSE(err.empty());
    }
}

TEST_F(VoteListCommandsTest, SaveListWritesWhatShowListReads) {
    ASSERT_EQ(Run({"save-list", Lists("finals"), "--players", "22", "--walls", "2", "WELL",
                   "quarry", "2fort"}),
              kExitOk)
        << err;
    EXPECT_EQ(err, "VoteMap List 'finals.VML' successfully saved!\n");
    EXPECT_EQ(ReadFile(Lists("finals.VML")), "VML Header V1.2\n22 3 2\n2fort\nquarry\nwell\n");

    ASSERT_EQ(Run({"show-list", Lists("finals.VML")}), kExitOk) << err;
    EXPECT_EQ(out, "22\t3\t2\n2fort\nquarry\nwell\n");

    EXPECT_EQ(Run({"save-list", Lists("finals.VML"), "rock2"}), kExitFailed)
        << "an existing file needs a Yes";
    EXPECT_EQ(ReadFile(Lists("finals.VML")), "VML Header V1.2\n22 3 2\n2fort\nquarry\nwell\n");
    ASSERT_EQ(Run({"--yes", "save-list", Lists("finals.VML"), "--no-thugs", "rock2"}), kExitOk);
    EXPECT_EQ(ReadFile(Lists("finals.VML")), "VML Header V1.2\n12 0 1\nrock2\n");
}

TEST_F(VoteListCommandsTest, InstallToolsPutsTheToolBesideTheProgramIntoTheWorkingFolder) {
    const std::filesystem::path installed = demo.Layout().gameDir / "Ballotine" / "ripent";
    WriteFile(installed, "an older tool");
    const test::CliRun run = test::RunBuiltCli("--registry " + Registry() + " install-tools");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ripent\t" + installed.string() + "\n");
    EXPECT_EQ(ReadFile(installed), ReadFile(test::BuiltProgram("ripent")));
    const auto perms = std::filesystem::status(installed).permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
}

} // namespace
} // namespace ballotine
