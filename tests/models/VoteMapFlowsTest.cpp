#include "bsp/LumpTable.h"
#include "catalogue/Session.h"
#include "common/Text.h"
#include "models/CompileFlow.h"
#include "models/ListFlows.h"
#include "models/MainWindowModel.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/DemoFixture.h"
#include "support/FakeToolRunner.h"
#include "support/FileSizeLimit.h"
#include "support/ManualClock.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;

// The main window's model on a fresh demo installation, as after start-up: lakeside and well
// in the vote list, the window's start settings; the vote map template shows each keyword.
class VoteMapTest : public ::testing::Test {
protected:
    VoteMapTest() {
        EXPECT_TRUE(StartSession(session, registry, prompter));
        model.RefreshMapLists();
        model.Settings().OnPlayersChanged(12);
    }
    // Empties the vote list, then moves these available maps into it as "<--" does.
    void Choose(std::initializer_list<const char*> names) {
        model.ClearChosenMaps();
        for (const char* name : names) {
            const auto match = model.AvailableMaps().FindNoCase(name);
            ASSERT_TRUE(match) << name;
            model.AvailableMaps().SetSelected(*match, true);
        }
        model.AddChosenMaps();
    }
    // The vote list holds exactly these names (states do not matter to the compile).
    void ChooseNames(const Strings& names) {
        model.ClearChosenMaps();
        model.ChosenMaps().Clear();
        for (const std::string& name : names) {
            model.ChosenMaps().Insert(name, MapState::Installed);
        }
    }
    std::string MapsFile(const std::string& name) const { return session.paths.mapsDir + name; }
    std::string WorkFile(const std::string& name) const { return session.paths.modWorkDir + name; }
    std::string VoteEnt() const { return ReadFile(MapsFile("vote.ent")); }
    void PutTemplate() {
        WriteFile(WorkFile("Entities/vote.ref"),
                  "DRHLTH|THUGON|THUGNUM|THUGMSG\nMRF01MRF01 mrf01 RDR01\nMRF02 RDR02\n"
                  "MRF03 RDR03\nMRF16 RDR16\n");
    }

    test::DemoFixture demo;
    test::ScriptedPrompter prompter;
    test::FakeToolRunner runner;
    test::ManualClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry = RegistryFile::Load(demo.Layout().registryFile);
    Session session;
    MainWindowModel model{session};
};

TEST_F(VoteMapTest, TwoMapsFillTheirSlotsAndLeaveTheOthersClosed) {
    PutTemplate();
    Choose({"2fort", "lakeside"});
    const std::string before = VoteEnt();
    prompter.AnswerNo();
    EXPECT_FALSE(CompileVoteMap(model, services)) << "declined: nothing changes";
    EXPECT_EQ(VoteEnt(), before);
    EXPECT_EQ(prompter.BusyCount(), 0);

    prompter.Forget();
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, services));
    EXPECT_EQ(VoteEnt(), "1100|2|2|(2) Political Thug (Limit 2)\n2fort2fort mrf01 godoor\n"
                         "lakeside godoor\nvote RDR03\nvote RDR16\n\n");
    EXPECT_EQ(prompter.Transcript(),
              (Strings{"? Are you sure you want to create a 2 level VoteMap?",
                       "VoteMap successfully Compiled"}));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].Line(),
              session.paths.workDir + "ripent -import " + session.paths.mapsDir + "vote");
    EXPECT_FALSE(model.Settings().uncompiledChanges);
    EXPECT_EQ(prompter.BusyCount(), 1);
    EXPECT_EQ(prompter.BusyDepth(), 0);
}

TEST_F(VoteMapTest, OneOrSeventeenMapsAreRefusedWithoutAQuestionSixteenFillEverySlot) {
    PutTemplate();
    const std::string before = VoteEnt();
    for (const int count : {0, 1, 17}) {
        Strings names(static_cast<std::size_t>(count), "m");
        ChooseNames(names);
        prompter.Forget();
        EXPECT_FALSE(CompileVoteMap(model, services));
        EXPECT_EQ(prompter.Transcript(),
                  Strings{Format("Unable to compile VoteMap!\n\nThe VoteMap must have between 2 "
                                 "to 16 Maps\nYou have currently selected %i",
                                 count)});
    }
    EXPECT_TRUE(runner.Calls().empty());
    EXPECT_EQ(VoteEnt(), before);

    Strings names;
    for (int i = 1; i <= 16; ++i) {
        names.push_back(Format("m%02i", i));
    }
    ChooseNames(names);
    prompter.AnswerYes();
    prompter.AnswerYes(); // the maps have no .bsp
    ASSERT_TRUE(CompileVoteMap(model, services));
    EXPECT_NE(VoteEnt().find("m01m01 mrf01 godoor\nm02 godoor\nm03 godoor\nm16 godoor\n"),
              std::string::npos)
        << VoteEnt();
    EXPECT_EQ(VoteEnt().find("RDR"), std::string::npos);
}

TEST_F(VoteMapTest, MissingMapsAreNamedInListOrderAndBuiltInMapsNeverAre) {
    // WELL and 2Fort are the game's own: present without a file, whatever their case.
    ChooseNames({"2Fort", "frostfall", "lakeside", "quarry", "WELL"});
    ASSERT_FALSE(fs::exists(MapsFile("2fort.bsp")));
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

TEST_F(VoteMapTest, FailuresSayCompileFailedAndKeepTheChanges) {
    PutTemplate();
    Choose({"2fort", "well"});
    const std::string before = VoteEnt();
    fs::remove(WorkFile("Entities/vote.ref"));
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, services)) << "no template";
    EXPECT_EQ(VoteEnt(), before);

    PutTemplate();
    fs::remove(MapsFile("vote.ent"));
    fs::create_directory(MapsFile("vote.ent"));
    prompter.AnswerYes();
    EXPECT_FALSE(CompileVoteMap(model, services)) << "the text cannot be written";
    EXPECT_TRUE(runner.Calls().empty()) << "the tool never runs on a stale text";

    // The tool fails: vote.bsp is as it was, so the text that names its maps goes back (or
    // stays away), and the new one is kept beside it.
    fs::remove(MapsFile("vote.ent"));
    WriteFile(MapsFile("vote.ent"), before);
    runner.SetExitStatus(1, "ripent: vote.bsp is not a BSP 30 map\n");
    for (const bool hadText : {true, false}) {
        if (!hadText) {
            fs::remove(MapsFile("vote.ent"));
        }
        prompter.AnswerYes();
        EXPECT_FALSE(CompileVoteMap(model, services)) << "the tool fails";
        EXPECT_EQ(fs::exists(MapsFile("vote.ent")), hadText);
        if (hadText) {
            EXPECT_EQ(VoteEnt(), before);
        }
        EXPECT_NE(ReadFile(MapsFile("vote.ent.failed")).find("2fort2fort"), std::string::npos);
    }
    const std::string toolFailed = "VoteMap Compile Failed\n\nripent: vote.bsp is not a BSP 30 map";
    EXPECT_EQ(prompter.Messages(),
              (Strings{"VoteMap Compile Failed", "VoteMap Compile Failed", toolFailed, toolFailed}))
        << "what the tool said beneath";
    EXPECT_TRUE(model.Settings().uncompiledChanges);
}

TEST_F(VoteMapTest, LongLinesAndOddFolderNamesPassUnharmed) {
    const std::string padding(6000, 'x');
    WriteFile(WorkFile("Entities/vote.ref"), padding + "MRF01" + padding + "MRF02\r\nTHUGMSG");
    session.paths.workDir += "a\"$(touch x)`y`\\/";
    Choose({"2fort", "well"});
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, services));
    EXPECT_EQ(VoteEnt(), padding + "2fort" + padding + "well\n(2) Political Thug (Limit 2)\n");
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].program, session.paths.workDir + "ripent");
}

std::string_view LumpOf(std::string_view map, int index) {
    const bsp::Lump lump = bsp::DecodeHeader(map).lumps[static_cast<std::size_t>(index)];
    return map.substr(static_cast<std::size_t>(lump.offset), static_cast<std::size_t>(lump.length));
}

// The demo's vote map compiled with the entity tool the demo's working folder holds.
TEST_F(VoteMapTest, TheRealToolImportsTheFilledTemplateAndKeepsEveryOtherLump) {
    SpawnToolRunner tools;
    Services realServices{prompter, tools, clock};
    const std::string before = ReadFile(MapsFile("vote.bsp"));
    Choose({"ballot_bay", "2fort", "skyline"});
    model.Settings().OnWallsChanged(3);
    prompter.AnswerYes();
    ASSERT_TRUE(CompileVoteMap(model, realServices));
    EXPECT_EQ(prompter.Messages(), Strings{"VoteMap successfully Compiled"});

    const std::string text = ReadFile(MapsFile("vote.ent"));
    for (const char* filled : {"\"model\" \"sprites/vote/2fort.spr\"", "\"map\" \"skyline\"",
                               "\"targetname\" \"RDR04\"", "\"health\" \"3400\""}) {
        EXPECT_NE(text.find(filled), std::string::npos) << filled;
    }
    EXPECT_EQ(text.find("MRF"), std::string::npos);
    const std::string after = ReadFile(MapsFile("vote.bsp"));
    EXPECT_EQ(LumpOf(after, 0), text + '\0');
    for (int lump = 1; lump < bsp::kLumpCount; ++lump) {
        EXPECT_EQ(LumpOf(after, lump), LumpOf(before, lump)) << "lump " << lump;
    }
    fs::remove(MapsFile("vote.ent"));
    ASSERT_TRUE(
        tools.RunTool(test::BuiltProgram("ripent"), {"-export", MapsFile("vote")}, {}).Succeeded());
    EXPECT_EQ(ReadFile(MapsFile("vote.ent")), text) << "the tool's export gives it back";

    Session restarted;
    ASSERT_TRUE(StartSession(restarted, registry, prompter));
    MainWindowModel window(restarted);
    window.RefreshMapLists();
    EXPECT_EQ(window.ChosenMaps().Names(), (Strings{"2fort", "ballot_bay", "skyline"}));
}

class VoteMapListsTest : public VoteMapTest {
protected:
    std::string ListFile(const std::string& name) const { return WorkFile("VoteMapLists/" + name); }
    bool Load(const std::string& path) {
        prompter.NextFile(path);
        return LoadVoteMapList(model, prompter);
    }
    // "players thugs walls", " changed" while not compiled, then the window's title.
    std::string Shown() const {
        const VoteMapSettings& s = model.Settings();
        return Format("%i %i %i%s | ", s.playerCount, s.thugCount, s.wallStrength,
                      s.uncompiledChanges ? " changed" : "") +
               model.Title();
    }
    std::string Dialog(std::size_t index) const {
        const FileDialogRequest& d = prompter.FileDialogs().at(index);
        return d.title + "|" + d.filterName + "|" + d.filterPattern + "|" + d.initialFolder + "|" +
               d.initialName + "|" + d.defaultExtension;
    }
};

TEST_F(VoteMapListsTest, LoadTakesAvailableMapsInTheirSpellingOnceAndSorted) {
    WriteFile(ListFile("mixed.VML"), "VML Header V1.2\r\n2 3 2\r\nWELL\r\nSkyline\r\nskyline\r\n"
                                     "unknown_map\r\n\r\nBallot_Bay\r\n");
    model.Settings().uncompiledChanges = false;
    ASSERT_TRUE(Load(ListFile("mixed.VML")));
    EXPECT_EQ(model.ChosenMaps().Names(), (Strings{"ballot_bay", "skyline", "well"}));
    EXPECT_FALSE(model.AvailableMaps().FindNoCase("skyline"));
    EXPECT_TRUE(model.AvailableMaps().FindNoCase("lakeside")) << "back from the earlier list";
    // players held to the slider's range; the Thugs? box decides the thugs, not the file
    EXPECT_EQ(Shown(), "4 1 2 changed | Ballotine V2.1 - mixed.VML");
    EXPECT_TRUE(prompter.Transcript().empty());
    EXPECT_EQ(Dialog(0), "Select A VoteMap List...|VoteMap List (*.VML)|*.VML|" +
                             WorkFile("VoteMapLists/") + "||.VML");

    model.Settings().OnThugsToggled(false);
    WriteFile(ListFile("big.VML"), "VML Header V1.2\n40 2 9\n");
    ASSERT_TRUE(Load(ListFile("big.VML")));
    EXPECT_EQ(Shown(), "32 0 3 changed | Ballotine V2.1 - big.VML");
    EXPECT_TRUE(model.ChosenMaps().Empty());

    WriteFile(ListFile("short.VML"), "VML Header V1.2\n0x10 x 0\nrock2");
    ASSERT_TRUE(Load(ListFile("short.VML")));
    EXPECT_EQ(Shown(), "16 0 3 changed | Ballotine V2.1 - short.VML")
        << "the scan stops at x: walls as they were";
    EXPECT_EQ(model.ChosenMaps().Names(), Strings{"rock2"});
}

TEST_F(VoteMapListsTest, RefusedFilesShowTheirMessageAndChangeNothing) {
    model.Settings().uncompiledChanges = false;
    EXPECT_FALSE(Load(ListFile("none.VML")));
    for (const char* content : {"", "VML Header V1.2 \n12 2 1\nrock2\n", "vml header v1.2\n"}) {
        WriteFile(ListFile("bad.VML"), content);
        EXPECT_FALSE(Load(ListFile("bad.VML"))) << content;
    }
    EXPECT_EQ(prompter.Transcript(),
              (Strings{"Unable to load VoteMapList\nFile does not exist", "VML Header Invalid",
                       "VML Header Invalid", "VML Header Invalid"}));
    prompter.CancelNextFile();
    EXPECT_FALSE(LoadVoteMapList(model, prompter));
    EXPECT_EQ(model.ChosenMaps().Names(), (Strings{"lakeside", "well"}));
    EXPECT_EQ(Shown(), "12 2 1 | Ballotine V2.2");
    EXPECT_EQ(session.currentListName, "default.VML");
}

// Save As elsewhere then Save into the mod's list folder is driven through the window.
TEST_F(VoteMapListsTest, SaveWritesTheListIntoTheModsFolderAndLoadsBack) {
    model.Settings().OnWallsChanged(2);
    model.Settings().uncompiledChanges = false;
    ASSERT_TRUE(SaveVoteMapList(model, prompter));
    EXPECT_EQ(ReadFile(ListFile("default.VML")), "VML Header V1.2\n12 2 2\nlakeside\nwell\n");
    EXPECT_EQ(prompter.Messages(), Strings{"VoteMap List 'default.VML' successfully saved!"});
    EXPECT_EQ(Shown(), "12 2 2 | Ballotine V2.2");

    model.ClearChosenMaps();
    ASSERT_TRUE(SaveVoteMapList(model, prompter));
    EXPECT_EQ(ReadFile(ListFile("default.VML")), "VML Header V1.2\n12 2 2\n");
    Choose({"2fort"});
    ASSERT_TRUE(Load(ListFile("default.VML")));
    EXPECT_TRUE(model.ChosenMaps().Empty());

    test::TempDir elsewhere;
    prompter.NextFile(elsewhere / "finals.VML");
    ASSERT_TRUE(SaveVoteMapListAs(model, prompter));
    EXPECT_EQ(Dialog(1), "Save A VoteMap List...|VoteMap List (*.VML)|*.VML|" +
                             WorkFile("VoteMapLists/") + "|default.VML|.VML");
}

TEST_F(VoteMapListsTest, AFailedSaveSaysSoAndKeepsNameAndOlderFile) {
    test::TempDir elsewhere; // Save As into a folder that is a file
    WriteFile(elsewhere.Path() / "blocked", "a file");
    prompter.NextFile(elsewhere / "blocked/x.VML");
    EXPECT_FALSE(SaveVoteMapListAs(model, prompter));
    EXPECT_EQ(session.currentListName, "default.VML");
    EXPECT_EQ(model.Title(), "Ballotine V2.2");

    // Save over an older list, the writing failing after the file was opened.
    WriteFile(ListFile("default.VML"), "VML Header V1.2\n20 2 1\nrock2\n");
    Choose({"ballot_bay", "canalworks", "harbourside", "lakeside", "skyline"});
    {
        const test::FileSizeLimit limit(40);
        EXPECT_FALSE(SaveVoteMapList(model, prompter));
    }
    EXPECT_EQ(ReadFile(ListFile("default.VML")), "VML Header V1.2\n20 2 1\nrock2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(ListFile("")), {}), 1) << "no temporary file";
    EXPECT_EQ(prompter.Messages(), Strings(2, "Unable to save VoteMapList"));
}

} // namespace
} // namespace ballotine
