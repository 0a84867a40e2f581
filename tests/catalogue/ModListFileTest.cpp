#include "catalogue/ModListFile.h"

#include "catalogue/ModSelector.h"
#include "catalogue/Session.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::ScriptedPrompter;
using test::TempDir;
using test::WriteFile;

const std::string kHeader = "#Mod Header V1.0 - DO NOT MODIFY\n";

// A game folder whose working folder holds the given mods.cfg and mod working folders.
class ModListTest : public testing::Test {
protected:
    ModListTest() {
        session.paths.installDir = dir.Path().string();
        session.paths.workDir = (dir.Path() / "Ballotine").string() + "/";
        fs::create_directories(dir.Path() / "Ballotine");
    }
    void ModsCfg(const std::string& content) {
        WriteFile(dir.Path() / "Ballotine/mods.cfg", content);
    }
    void WorkingFolder(const std::string& mod) {
        fs::create_directories(dir.Path() / "Ballotine" / mod);
    }
    std::string SavedModsCfg() { return ReadFile(dir.Path() / "Ballotine/mods.cfg"); }
    // "dir version title baseUrl offered|hidden", a line per record.
    std::string Records() const {
        std::string text;
        for (const ModRecord& r : session.mods.records) {
            text += r.dir + " " + std::to_string(r.version) + " " + r.title + " " + r.baseUrl +
                    (r.offered ? " offered\n" : " hidden\n");
        }
        return text;
    }
    bool Load() { return LoadModList(session, prompter); }

    TempDir dir;
    Session session;
    ScriptedPrompter prompter;
};

TEST_F(ModListTest, AnInstalledModWithWorkingFolderIsOfferedAndPreselected) {
    WorkingFolder("tfc");
    ModsCfg("#Mod Header V1.0 - DO NOT MODIFY\r\nhttp://list\r\ntfc 1\r\nTeam Fortress "
            "Classic\r\nhttp://tfc\r\n#END#\r\n"); // as written on Windows
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.mods.modListUrl, "http://list");
    EXPECT_EQ(Records(), "tfc 1 Team Fortress Classic http://tfc offered\n");
    EXPECT_EQ(session.selector.SelectedText(), "Team Fortress Classic");
    EXPECT_EQ(session.paths.mapsDir, session.paths.installDir + "/tfc/maps/");
    EXPECT_EQ(session.currentListName, "default.VML");
    EXPECT_TRUE(prompter.Transcript().empty());
}

TEST_F(ModListTest, ModsNotInstalledOrWithoutWorkingFolderAreKeptAndSavedInDecimal) {
    WorkingFolder("zero");
    WorkingFolder("hex");
    ModsCfg(kHeader + "u\nzero 0\nZero\nz\nnofolder 010\nNo Folder\nn\nhex 0x10\nH\nb\n#END#");
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.mods.records[1].version, 8);
    EXPECT_EQ(session.selector.Entries(), std::vector<std::string>{"H"});
    EXPECT_FALSE(session.paths.HasMod()) << "record 0 is preferred but not offered: no mod";
    ASSERT_TRUE(SaveModList(session, prompter));
    EXPECT_EQ(SavedModsCfg(),
              kHeader + "u\nzero 0\nZero\nz\nnofolder 8\nNo Folder\nn\nhex 16\nH\nb\n#END#");
}

TEST_F(ModListTest, EndMarkerRules) {
    WorkingFolder("tfc");
    // "#END# " is not the marker: it starts a record that takes the next two lines
    ModsCfg(kHeader + "u\n#END# \nA\nB\ntfc 1\nT\nb\n#END#\nafter 1\nGone\nx\n");
    ASSERT_TRUE(Load());
    EXPECT_EQ(Records(), "#END# 0 A B hidden\ntfc 1 T b offered\n");
    ASSERT_TRUE(SaveModList(session, prompter));
    const std::string saved = SavedModsCfg();
    EXPECT_EQ(saved.find("Gone"), std::string::npos) << "lines after the marker disappear";
    EXPECT_EQ(saved.substr(saved.size() - 6), "\n#END#") << "no line end after the marker";
}

TEST_F(ModListTest, TheLastTfcRecordsTitleSelectsTheFirstSortedEntryItBegins) {
    for (const char* mod : {"alpha", "two", "tfc", "TFC2"}) {
        WorkingFolder(mod);
    }
    ModsCfg(kHeader + "u\ntwo 1\nAlpha Two\nb\ntfc 1\nAlpha\nb\nalpha 1\nZed\nb\n#END#");
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.selector.SelectedText(), "Alpha");
    EXPECT_EQ(session.paths.modDir, session.paths.installDir + "/tfc/");

    ModsCfg(kHeader + "u\ntfc 1\nFirst\nb\nTFC 1\nSecond\nb\n#END#");
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.selector.SelectedText(), "Second");

    ModsCfg(kHeader + "u\n#END#");
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.mods.Count(), 0);
    EXPECT_TRUE(session.selector.Entries().empty());
    EXPECT_FALSE(session.paths.HasMod());
}

TEST_F(ModListTest, RecordsCutShortReadAsEmptyTextAndZero) {
    WorkingFolder("tfc");
    ModsCfg(kHeader + "u\ntfc 2\nT\nb\nnoversion\nN\nb\nshort 1\nCut");
    ASSERT_TRUE(Load());
    EXPECT_EQ(Records(), "tfc 2 T b offered\nnoversion 0 N b hidden\nshort 1 Cut  hidden\n");
}

TEST_F(ModListTest, EveryRecordIsKeptWhateverTheCount) {
    std::string content = kHeader + "u\n";
    for (int i = 0; i < 200; ++i) {
        content += "mod" + std::to_string(i) + " 1\nTitle " + std::to_string(i) + "\nb\n";
    }
    ModsCfg(content + "#END#");
    ASSERT_TRUE(Load());
    EXPECT_EQ(session.mods.Count(), 200);
    ASSERT_TRUE(SaveModList(session, prompter));
    EXPECT_EQ(SavedModsCfg(), content + "#END#");
}

TEST_F(ModListTest, FailuresShowTheirMessagesAndAFailedSaveKeepsTheOldFile) {
    ASSERT_FALSE(Load());
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"Mod Data not found. Aborting..."});

    for (const std::string& bad :
         {std::string(""), std::string("#Mod Header V1.0 - DO NOT MODIFY \nu\n"),
          std::string("#mod header v1.0 - do not modify\n")}) {
        ScriptedPrompter local;
        ModsCfg(bad);
        EXPECT_FALSE(LoadModList(session, local));
        EXPECT_EQ(local.Messages(), std::vector<std::string>{"Mod Data invalid. Aborting..."});
        EXPECT_EQ(session.mods.Count(), 0);
    }

    ModsCfg(kHeader + "u\n#END#");
    ASSERT_TRUE(Load());
    session.mods.records.push_back(ModRecord{"new", 1, "New", "b", false});
    session.paths.workDir = (dir.Path() / "missing").string() + "/";
    prompter.Forget();
    EXPECT_FALSE(SaveModList(session, prompter));
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"Unable to save mod list..."});
    EXPECT_EQ(SavedModsCfg(), kHeader + "u\n#END#");
}

TEST_F(ModListTest, SelectingAnotherModRederivesThePaths) {
    WorkingFolder("tfc");
    WorkingFolder("valve");
    ModsCfg(kHeader + "u\ntfc 1\nTFC\nb\nvalve 1\nHalf-Life\nb\n#END#");
    ASSERT_TRUE(Load());
    session.currentListName = "mine.VML";
    ASSERT_TRUE(session.selector.SelectTitle("Half-Life"));
    ASSERT_TRUE(SelectCurrentMod(session));
    EXPECT_EQ(session.paths.modWorkDir, session.paths.workDir + "valve/");
    EXPECT_EQ(session.currentListName, "default.VML");
}

// Prefix selection (the Alpha / Alpha Two case) is covered by the mod list tests.
TEST(ModSelector, KeepsTitlesSortedAndTheSelectionOnItsEntry) {
    ModSelector selector;
    for (const char* title : {"Team Fortress Classic", "alpha", "Half-Life"}) {
        selector.Add(title);
    }
    EXPECT_FALSE(selector.HasSelection());
    EXPECT_EQ(selector.SelectedText(), "");
    ASSERT_TRUE(selector.SelectTitle("team fortress CLASSIC"));
    selector.Add("Beta");
    EXPECT_EQ(selector.Entries(),
              (std::vector<std::string>{"alpha", "Beta", "Half-Life", "Team Fortress Classic"}));
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic");
    EXPECT_FALSE(selector.SelectFirstStartingWith("Gamma"));
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic") << "no match keeps the selection";
    EXPECT_FALSE(selector.Select(5));
    EXPECT_FALSE(selector.HasSelection());
}

} // namespace
} // namespace ballotine
