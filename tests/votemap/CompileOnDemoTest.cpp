#include "DemoVoteList.h"
#include "ripent/LumpTable.h"
#include "support/TestFiles.h"
#include "votemap/VoteMapCompile.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;

std::string_view LumpOf(std::string_view map, int index) {
    const ripent::Lump lump = ripent::DecodeHeader(map).lumps[static_cast<std::size_t>(index)];
    return map.substr(static_cast<std::size_t>(lump.offset), static_cast<std::size_t>(lump.length));
}

// The demo's vote map compiled with the entity tool the demo's working folder holds.
class CompileOnDemoTest : public test::DemoVoteList {
protected:
    ShellCommandRunner shell;
    Services realServices{prompter, shell, clock};
};

TEST_F(CompileOnDemoTest, TheToolImportsTheFilledTemplateAndKeepsEveryOtherLump) {
    const std::string before = ReadFile(MapsFile("vote.bsp"));
    Choose({"ballot_bay", "2fort", "skyline"});
    model.Settings().OnWallsChanged(3);
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, realServices));
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"VoteMap successfully Compiled"});

    const std::string text = ReadFile(MapsFile("vote.ent"));
    for (const char* filled :
         {"\"model\" \"sprites/vote/2fort.spr\"", "\"map\" \"skyline\"", "\"target\" \"godoor\"",
          "\"target\" \"RDR04\"", "\"health\" \"3400\"",
          "\"team2_name\" \"(2) Political Thug "
          "(Limit 2)\"",
          "\"model\" \"sprites/vote/vote.spr\""}) {
        EXPECT_NE(text.find(filled), std::string::npos) << filled;
    }
    EXPECT_EQ(text.find("MRF"), std::string::npos);

    const std::string after = ReadFile(MapsFile("vote.bsp"));
    EXPECT_EQ(LumpOf(after, 0), text + '\0');
    for (int lump = 1; lump < ripent::kLumpCount; ++lump) {
        EXPECT_EQ(LumpOf(after, lump), LumpOf(before, lump)) << "lump " << lump;
    }

    // The tool's own export gives the same text back.
    std::filesystem::remove(MapsFile("vote.ent"));
    ASSERT_EQ(shell.Run("\"" + test::BuiltProgram("ripent").string() + "\" -export \"" +
                        MapsFile("vote") + "\""),
              0);
    EXPECT_EQ(ReadFile(MapsFile("vote.ent")), text);

    // At the next start the window shows the compiled maps.
    Session restarted;
    ASSERT_TRUE(StartSession(restarted, registry, prompter));
    MainWindowModel window(restarted);
    window.RefreshMapLists();
    EXPECT_EQ(window.ChosenMaps().Names(),
              (std::vector<std::string>{"2fort", "ballot_bay", "skyline"}));
}

TEST_F(CompileOnDemoTest, WithoutTheToolTheCompileFails) {
    std::filesystem::remove(session.paths.workDir + "ripent");
    Choose({"2fort", "well"});
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, realServices));
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"VoteMap Compile Failed"});
}

} // namespace
} // namespace ballotine
