#include "votemap/VoteMapCompile.h"

#include "DemoVoteList.h"
#include "common/Text.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;

// A template whose lines show each keyword's value.
constexpr const char* kTemplate = "DRHLTH|THUGON|THUGNUM|THUGMSG\n"
                                  "MRF01MRF01 mrf01 RDR01\n"
                                  "MRF02 RDR02\n"
                                  "MRF03 RDR03\n"
                                  "MRF16 RDR16\n";

class VoteMapCompileTest : public test::DemoVoteList {
protected:
    VoteMapCompileTest() { WriteFile(WorkFile("Entities/vote.ref"), kTemplate); }

    // The vote list holds exactly these names (states do not matter to the compile).
    void ChooseNames(const Strings& names) {
        model.ClearChosenMaps();
        model.ChosenMaps().Clear();
        for (const std::string& name : names) {
            model.ChosenMaps().Insert(name, MapState::Installed);
        }
    }
    std::string VoteEnt() const { return ReadFile(MapsFile("vote.ent")); }
};

TEST_F(VoteMapCompileTest, TwoMapsFillTheirSlotsAndLeaveTheOthersClosed) {
    Choose({"2fort", "lakeside"});
    const std::string before = VoteEnt();
    prompter.AnswerNo();
    EXPECT_FALSE(CompileVoteMap(model, services)) << "declined: nothing changes";
    EXPECT_EQ(VoteEnt(), before);
    EXPECT_EQ(prompter.BusyCount(), 0);

    prompter.Forget();
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, services));

    EXPECT_EQ(VoteEnt(), "1100|2|2|(2) Political Thug (Limit 2)\n"
                         "2fort2fort mrf01 godoor\n"
                         "lakeside godoor\n"
                         "vote RDR03\n"
                         "vote RDR16\n"
                         "\n");
    EXPECT_EQ(prompter.Transcript(),
              (Strings{"? Are you sure you want to create a 2 level VoteMap?",
                       "VoteMap successfully Compiled"}));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].commandLine, "\"" + session.paths.workDir + "ripent\" -import \"" +
                                                 session.paths.mapsDir + "vote\" > nul");
    EXPECT_FALSE(model.Settings().uncompiledChanges);
    EXPECT_EQ(prompter.BusyCount(), 1);
    EXPECT_EQ(prompter.BusyDepth(), 0);
}

TEST_F(VoteMapCompileTest, OneOrSeventeenMapsAreRefusedWithoutAQuestionSixteenFillEverySlot) {
    const std::string before = VoteEnt();
    for (const int count : {0, 1, 17, 16}) {
        Strings names;
        for (int i = 1; i <= count; ++i) {
            names.push_back(Format("m%02i", i));
        }
        ChooseNames(names);
        prompter.Forget();
        if (count == 16) {
            EXPECT_TRUE(runner.Calls().empty());
            EXPECT_EQ(VoteEnt(), before);
            prompter.AnswerYes();
            prompter.AnswerYes(); // the maps have no .bsp
            ASSERT_TRUE(CompileVoteMap(model, services));
            break;
        }
        EXPECT_FALSE(CompileVoteMap(model, services));
        EXPECT_EQ(prompter.Transcript(),
                  Strings{Format("Unable to compile VoteMap!\n\nThe VoteMap must have between 2 "
                                 "to 16 Maps\nYou have currently selected %i",
                                 count)});
    }
    const std::string text = VoteEnt();
    EXPECT_NE(text.find("m01m01 mrf01 godoor\nm02 godoor\nm03 godoor\nm16 godoor\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("RDR"), std::string::npos);
}

TEST_F(VoteMapCompileTest, MissingMapsAreNamedInListOrderAndBuiltInMapsNeverAre) {
    // WELL and 2Fort are the game's own: present without a file, whatever their case.
    ChooseNames({"2Fort", "frostfall", "lakeside", "quarry", "WELL"});
    ASSERT_FALSE(std::filesystem::exists(MapsFile("2fort.bsp")));
    const std::string before = VoteEnt();
    model.Settings().uncompiledChanges = true;
    prompter.AnswerYes();
    prompter.AnswerNo();
    EXPECT_FALSE(CompileVoteMap(model, services));
    EXPECT_EQ(prompter.Questions().back(),
              "You have not downloaded/installed all of the selected maps (frostfall, quarry)\n"
              "Do you wish to continue the compile?");
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_TRUE(runner.Calls().empty());
    EXPECT_EQ(VoteEnt(), before);
    EXPECT_TRUE(model.Settings().uncompiledChanges);

    prompter.AnswerYes();
    prompter.AnswerYes();
    EXPECT_TRUE(CompileVoteMap(model, services));
    EXPECT_EQ(runner.Calls().size(), 1u);
}

TEST_F(VoteMapCompileTest, AFailingToolIsReportedAndTheTextStaysWritten) {
    Choose({"2fort", "well"});
    runner.SetExitStatus(127);
    model.Settings().uncompiledChanges = true;
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, services));
    EXPECT_EQ(prompter.Messages(), Strings{"VoteMap Compile Failed"});
    EXPECT_NE(VoteEnt().find("2fort2fort"), std::string::npos);
    EXPECT_TRUE(model.Settings().uncompiledChanges);
}

TEST_F(VoteMapCompileTest, WithoutTemplateOrWritableTextTheEarlierTextStaysAndFailureIsShown) {
    Choose({"2fort", "well"});
    const std::string before = VoteEnt();
    std::filesystem::remove(WorkFile("Entities/vote.ref"));
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, services));
    EXPECT_EQ(VoteEnt(), before);

    WriteFile(WorkFile("Entities/vote.ref"), kTemplate);
    std::filesystem::remove(MapsFile("vote.ent"));
    std::filesystem::create_directory(MapsFile("vote.ent"));
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, services));

    EXPECT_EQ(prompter.Messages(), (Strings{"VoteMap Compile Failed", "VoteMap Compile Failed"}));
    EXPECT_TRUE(runner.Calls().empty()) << "the tool never runs on a stale text";
    EXPECT_TRUE(model.Settings().uncompiledChanges);
}

TEST_F(VoteMapCompileTest, LongLinesAreNeitherCutNorOverflowed) {
    const std::string padding(6000, 'x');
    WriteFile(WorkFile("Entities/vote.ref"), padding + "MRF01" + padding + "MRF02\r\nTHUGMSG");
    Choose({"2fort", "well"});
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, services));
    EXPECT_EQ(VoteEnt(), padding + "2fort" + padding + "well\n(2) Political Thug (Limit 2)\n");
}

TEST_F(VoteMapCompileTest, NamesThatHoldShellCharactersStayInsideTheirQuotes) {
    session.paths.workDir += "a\"$(touch x)`y`\\/";
    Choose({"2fort", "well"});
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, services));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_NE(runner.Calls()[0].commandLine.find("a\\\"\\$(touch x)\\`y\\`\\\\/ripent\""),
              std::string::npos)
        << runner.Calls()[0].commandLine;
}

} // namespace
} // namespace ballotine
