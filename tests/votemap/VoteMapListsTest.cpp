#include "votemap/VoteMapLists.h"

#include "DemoVoteList.h"
#include "common/Text.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;

class VoteMapListsTest : public test::DemoVoteList {
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
    const struct {
        const char* content; // nullptr: no file
        const char* message;
    } cases[] = {
        {nullptr, "Unable to load VoteMapList\nFile does not exist"},
        {"", "VML Header Invalid"},
        {"VML Header V1.2 \n12 2 1\nrock2\n", "VML Header Invalid"},
        {"vml header v1.2\n12 2 1\nrock2\n", "VML Header Invalid"},
        {" VML Header V1.2\n", "VML Header Invalid"},
    };
    model.Settings().uncompiledChanges = false;
    for (const auto& c : cases) {
        std::filesystem::remove(ListFile("bad.VML"));
        if (c.content != nullptr) {
            WriteFile(ListFile("bad.VML"), c.content);
        }
        prompter.Forget();
        EXPECT_FALSE(Load(ListFile("bad.VML")));
        EXPECT_EQ(prompter.Transcript(), Strings{c.message});
    }
    prompter.CancelNextFile();
    EXPECT_FALSE(LoadVoteMapList(model, prompter));
    EXPECT_EQ(model.ChosenMaps().Names(), (Strings{"lakeside", "well"}));
    EXPECT_EQ(Shown(), "12 2 1 | Ballotine V2.2");
    EXPECT_EQ(session.currentListName, "default.VML");
}

// Save As elsewhere then Save into the mod's list folder is also driven through the window.
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
    Choose({"rock2"});
    ASSERT_TRUE(SaveVoteMapList(model, prompter));
    EXPECT_EQ(ReadFile(ListFile("finals.VML")), "VML Header V1.2\n12 2 2\nrock2\n");
    EXPECT_EQ(ReadFile(elsewhere / "finals.VML"), "VML Header V1.2\n12 2 2\n")
        << "the copy elsewhere stays as saved";
}

TEST_F(VoteMapListsTest, AFailedSaveSaysSoAndKeepsNameAndOlderFile) {
    // Save As into a folder that is a file: nothing can be written there.
    test::TempDir elsewhere;
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ListFile("")), {}), 1)
        << "no temporary file left behind";
    EXPECT_EQ(prompter.Messages(),
              (Strings{"Unable to save VoteMapList", "Unable to save VoteMapList"}));
}

} // namespace
} // namespace ballotine
