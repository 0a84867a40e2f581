#include "catalogue/BuiltInMaps.h"
#include "catalogue/CatalogueTestSupport.h"
#include "catalogue/GameLocator.h"
#include "catalogue/MapDetails.h"
#include "catalogue/MapList.h"
#include "catalogue/MapScan.h"
#include "catalogue/ModListFile.h"
#include "catalogue/ModSelector.h"
#include "catalogue/Session.h"
#include "catalogue/WorkingPaths.h"
#include "platform/Registry.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Names = std::vector<std::string>;
using namespace std::string_literals;

// The working paths derived from the game folder are printed by the CLI paths test.
TEST(GameLocator, FindsInstallPathUnderAnyCaseOfItsNameOrSaysWhatIsMissing) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\n";
    const std::string noGame = "Error - Cannot locate installed version of Half-Life\nAborting...";
    const std::string noPath = "Error - Install Path Registry Entry not found\nAborting...";
    const std::pair<std::string, std::string> cases[] = {
        {key + "Other=1\ninstallpath=/hl\n", ""},
        {key + "INSTALLPATH=\\hl\n", ""}, // backslashes become separators
        {"[HKEY_LOCAL_MACHINE\\Software\\Valve]\nInstallPath=/x\n", noGame},
        {key + "InstallPath=\n", noPath},
    };
    for (const auto& [registry, message] : cases) {
        test::ScriptedPrompter prompter;
        WorkingPaths paths;
        EXPECT_EQ(LocateGame(paths, RegistryFile::Parse(registry), prompter), message.empty());
        EXPECT_EQ(paths.workDir, message.empty() ? "/hl/Ballotine/" : "");
        EXPECT_EQ(prompter.Transcript(), message.empty() ? Names{} : Names{message});
    }
}

MapList Of(const Names& names) {
    MapList list;
    for (const std::string& name : names) {
        list.Insert(name, MapState::Installed);
    }
    return list;
}

TEST(MapList, KeepsEntriesSortedAndInsertAllPlacesThemAsOneByOneInsertionWould) {
    EXPECT_EQ(Of({"well", "2fort", "Rock2", "cz2", "ROCK1"}).Names(),
              (Names{"2fort", "cz2", "ROCK1", "Rock2", "well"}));
    MapList oneByOne = Of({"alpha", "delta", "Well"});
    MapList batch = Of({"alpha", "delta", "Well"});
    std::vector<MapEntry> entries;
    for (const std::string name : {"well", "beta", "zulu", "Alpha", "alpha", "0"}) {
        oneByOne.Insert(name, MapState::NotDownloaded);
        entries.push_back({name, MapState::NotDownloaded, true});
    }
    batch.InsertAll(entries);
    EXPECT_EQ(batch.Names(), oneByOne.Names());
    EXPECT_TRUE(batch.SelectedEntries().empty()) << "a moved entry arrives unselected";

    MapList list = Of({"well", "2fort"});
    list.Insert("WELL", MapState::NotDownloaded);
    EXPECT_EQ(list.At(list.FindNoCase("Well").value()).name, "WELL") << "the first of equals";
    EXPECT_FALSE(list.FindNoCase("wel") || list.FindNoCase("wells"));
}

TEST(MapList, RemoveFirstMatchesDeletesOneEntryPerNameAndFocusFollowsItsEntry) {
    MapList list = Of({"a", "b", "B", "c"});
    // "b" twice takes both spellings; "x" matches nothing; "C" matches without regard to case.
    list.RemoveFirstMatches({{"b"}, {"x"}, {"b"}, {"C"}});
    EXPECT_EQ(list.Names(), Names{"a"});
    MapList sorted = Of({"a", "b", "B", "b", "c", "d"});
    sorted.RemoveFirstMatches({{"a"}, {"B"}, {"b"}, {"bb"}, {"C"}, {"C"}});
    EXPECT_EQ(sorted.Names(), (Names{"b", "d"})) << "names in list order take the same entries";

    MapList focused = Of({"b", "d", "f"});
    focused.SetFocused(1); // d
    focused.Insert("a", MapState::Installed);
    focused.InsertAll({{"c"}, {"e"}, {"0"}});
    EXPECT_EQ(focused.At(*focused.Focused()).name, "d");
    focused.RemoveFirstMatches({{"a"}, {"c"}});
    EXPECT_EQ(focused.At(*focused.Focused()).name, "d");
    focused.RemoveFirstMatches({{"D"}});
    EXPECT_FALSE(focused.Focused());
    focused.SetFocused(99);
    EXPECT_FALSE(focused.Focused());
}

using ModFolderTest = test::ModFolders;

// "name:I" (installed), ":C" (configurable) or ":N" (not downloaded), in list order.
std::string Contents(const MapList& list) {
    std::string text;
    for (const MapEntry& entry : list.Entries()) {
        text += (text.empty() ? "" : " ") + entry.name + ":" + "ICN"[static_cast<int>(entry.state)];
    }
    return text;
}

TEST_F(ModFolderTest, ScanGivesEachSpriteItsStateAndFalseWithoutSpritesOrMod) {
    MapList available;
    available.Insert("stale", MapState::Installed);
    EXPECT_FALSE(ScanVoteSprites(session.paths, available)) << "missing folder";
    EXPECT_TRUE(available.Empty());
    Sprite("readme.txt");
    EXPECT_FALSE(ScanVoteSprites(session.paths, available)) << "no .spr file";
    Sprite("vote.spr"); // only the vote map's own sprites: an empty list
    EXPECT_TRUE(ScanVoteSprites(session.paths, available));
    EXPECT_TRUE(available.Empty());

    for (const char* sprite :
         {"2fort.spr", "vote.spr", "blank.spr", "mymap.spr", "present.SPR", "Well.spr",
          "settings.spr", "dead.spr", "notes.txt", "2fo.spr", "2fort_x.spr", "box.spr", "real.spr",
          "linked.spr", "folder.spr/inside.txt", "Orbit.spr", "orbit.spr"}) {
        Sprite(sprite);
    }
    MapFile("PRESENT.bsp");
    MapFile("mymap.txt");          // a description is no map file
    EntityFile("settings.16.ref"); // entity settings without a map file still count
    EntityFile("Dead.ref");
    EntityFile("2FORT.tfc.16.ref"); // 2fort only: not 2fo, not 2fort_x
    EntityFile("box");              // a name without an extension matches too
    MapFile("elsewhere/linked.bsp");
    fs::create_symlink("elsewhere/linked.bsp", session.paths.mapsDir + "linked.bsp");
    MapFile("real.bsp/inside.txt"); // a folder of that name is no map file
    for (const char* unvotable : {"quo\"te.spr", "tab\t.spr", "del\x7F.spr", "lf\n.spr"}) {
        Sprite(unvotable);
    }
    std::vector<std::string> leftOut;
    EXPECT_TRUE(ScanVoteSprites(session.paths, available, &leftOut));
    EXPECT_EQ(Contents(available), "2fo:N 2fort:C 2fort_x:N box:C dead:C linked:I mymap:N "
                                   "Orbit:N present:I real:N settings:C Well:I");
    std::sort(leftOut.begin(), leftOut.end());
    EXPECT_EQ(leftOut, (std::vector<std::string>{"del\x7F", "lf\n", "quo\"te", "tab\t"}));
    ClearModPaths(session.paths);
    EXPECT_FALSE(ScanVoteSprites(session.paths, available));
}

TEST_F(ModFolderTest, VoteMapEntriesAreEachMapNamedBySpritePathOncePerLine) {
    MapList available = Of({"2fort", "well", "rock2", "canyon"});
    available.Insert("ruins", MapState::NotDownloaded);
    const auto read = [&](std::string_view voteEnt) {
        MapFile("vote.ent", voteEnt);
        MapList chosen;
        chosen.Insert("stale", MapState::Installed);
        ReadVoteMapEntries(session.paths, available, chosen);
        return Contents(chosen);
    };
    EXPECT_EQ(read("{\n\"model\" \"sprites/vote/well.spr\"\n\"model\" \"sprites/vote/ruins.spr\"\n"
                   "\"model\" \"sprites/vote/well.spr\"\n"    // again: nothing
                   "\"model\" \"sprites/vote/Rock2.spr\"\n"   // case counts
                   "\"model\" \"sprites/vote/unknown.spr\"\n" // no sprite
                   "\"message\" \"2fort.spr sprites/other/canyon.spr\"\n}\n"),
              "ruins:N well:I");
    // canyon comes before well in the list, whatever the line's order
    EXPECT_EQ(read("\"sprites/vote/well.spr sprites/vote/canyon.spr\"\n"), "canyon:I");
    EXPECT_EQ(
        read("\"sprites/vote/well.spr\"\n\"sprites/vote/canyon.spr sprites/vote/well.spr\"\n"),
        "well:I")
        << "a line that also names a map already taken adds nothing";
    ClearModPaths(session.paths); // the file stays, the mod is gone
    MapList chosen = Of({"stale"});
    ReadVoteMapEntries(session.paths, available, chosen);
    EXPECT_TRUE(chosen.Empty());
}

// "caption|text"
std::string Describe(const std::string& fileContent) {
    std::istringstream in(fileContent);
    const MapDescription description = ReadMapDescription(in);
    return description.caption + "|" + description.text;
}

TEST_F(ModFolderTest, MapDetailsJoinLinesAndBuiltInMapsIgnoreTheirFiles) {
    const std::pair<const char*, const char*> cases[] = {
        {"Title\n", "Title|"}, // the reader's last empty line is skipped as the first one
        {"Title\n\nLine one\nLine two\n", "Title|Line one Line two \n\n"},
        {"Title\r\nFirst\r\n\r\nSecond", "Title|First \n\nSecond "},
    };
    for (const auto& [file, shown] : cases) {
        EXPECT_EQ(Describe(file), shown) << file;
    }
    std::string file = "Title\n";
    for (int i = 0; i < 10; ++i) {
        file += std::string(100, 'x') + "\n";
    }
    // Five lines of 101 make 505 (< 512), so a sixth is added; then the text is 606.
    EXPECT_EQ(Describe(file).size(), 6U + 606U);
    EXPECT_EQ(Describe("Title\n" + std::string(10000, 'y')).size(), 6U + 4095U);
    EXPECT_EQ(Describe(std::string(10000, 'c')).size(), 4095U + 1U);

    MapFile("WELL.txt", "Other title\n\nOther text");
    MapFile("well.bsp", "tiny");
    const MapDetails well = ReadMapDetails(session.paths, "WeLL");
    EXPECT_EQ(well.name + "|" + well.sizeText + "|" + well.downloadedText + "|" + well.caption,
              "WeLL|2252800|By Default|The Well - Capture The Flag");
    EXPECT_EQ(well.description, FindBuiltInMap("well")->description);
    ClearModPaths(session.paths);
    const MapDetails noMod = ReadMapDetails(session.paths, "CMakeCache");
    EXPECT_EQ(noMod.downloadedText, "No") << "nothing is looked up in the current folder";
    EXPECT_EQ(noMod.description, "Map description not available");
}

const std::string kHeader = "#Mod Header V1.0 - DO NOT MODIFY\n";

// A game folder whose working folder holds the given mods.cfg and mod working folders.
class ModListTest : public test::ModFolders {
protected:
    ModListTest() { ClearModPaths(session.paths); }
    bool Load(const std::string& content, std::initializer_list<const char*> folders = {}) {
        for (const char* mod : folders) {
            fs::create_directories(session.paths.workDir + mod);
        }
        WriteFile(session.paths.workDir + "mods.cfg", content);
        return LoadModList(session, prompter);
    }
    std::string Saved() {
        EXPECT_TRUE(SaveModList(session, prompter));
        return ReadFile(session.paths.workDir + "mods.cfg");
    }
    // "dir version title baseUrl offered|hidden", a line per record.
    std::string Records() const {
        std::string text;
        for (const ModRecord& r : session.mods.records) {
            text += r.dir + " " + std::to_string(r.version) + " " + r.title + " " + r.baseUrl +
                    (r.offered ? " offered\n" : " hidden\n");
        }
        return text;
    }
    test::ScriptedPrompter prompter;
};

TEST_F(ModListTest, AnInstalledModWithWorkingFolderIsOfferedAndPreselected) {
    ASSERT_TRUE(Load("#Mod Header V1.0 - DO NOT MODIFY\r\nhttp://list\r\ntfc 1\r\nTeam Fortress "
                     "Classic\r\nhttp://tfc\r\n#END#\r\n", // as written on Windows
                     {"tfc", "valve"}));
    EXPECT_EQ(session.mods.modListUrl, "http://list");
    EXPECT_EQ(Records(), "tfc 1 Team Fortress Classic http://tfc offered\n");
    EXPECT_EQ(session.selector.SelectedText(), "Team Fortress Classic");
    EXPECT_EQ(session.paths.mapsDir, session.paths.installDir + "/tfc/maps/");
    EXPECT_TRUE(prompter.Transcript().empty());

    ASSERT_TRUE(Load(kHeader + "u\ntfc 1\nTFC\nb\nvalve 1\nHalf-Life\nb\n#END#"));
    session.currentListName = "mine.VML";
    ASSERT_TRUE(session.selector.SelectTitle("Half-Life") && SelectCurrentMod(session));
    EXPECT_EQ(session.paths.modWorkDir, session.paths.workDir + "valve/");
    EXPECT_EQ(session.currentListName, "default.VML");
}

TEST_F(ModListTest, ModsNotInstalledOrWithoutWorkingFolderAreKeptAndSavedInDecimal) {
    ASSERT_TRUE(
        Load(kHeader + "u\nzero 0\nZero\nz\nnofolder 010\nNo Folder\nn\nhex 0x10\nH\nb\n#END#",
             {"zero", "hex"}));
    EXPECT_EQ(session.selector.Entries(), Names{"H"});
    EXPECT_FALSE(session.paths.HasMod()) << "record 0 is preferred but not offered: no mod";
    EXPECT_EQ(Saved(),
              kHeader + "u\nzero 0\nZero\nz\nnofolder 8\nNo Folder\nn\nhex 16\nH\nb\n#END#");

    std::string many = kHeader + "u\n";
    for (int i = 0; i < 200; ++i) {
        many += "mod" + std::to_string(i) + " 1\nTitle\nb\n";
    }
    ASSERT_TRUE(Load(many + "#END#"));
    EXPECT_EQ(Saved(), many + "#END#") << "every record is kept whatever the count";
}

TEST_F(ModListTest, EndMarkerRulesAndRecordsCutShort) {
    // "#END# " is not the marker: it starts a record that takes the next two lines
    ASSERT_TRUE(Load(kHeader + "u\n#END# \nA\nB\ntfc 1\nT\nb\n#END#\nafter 1\nGone\nx\n", {"tfc"}));
    EXPECT_EQ(Records(), "#END# 0 A B hidden\ntfc 1 T b offered\n");
    const std::string saved = Saved();
    EXPECT_EQ(saved.find("Gone"), std::string::npos) << "lines after the marker disappear";
    EXPECT_TRUE(saved.ends_with("\n#END#")) << "no line end after the marker";

    ASSERT_TRUE(Load(kHeader + "u\ntfc 2\nT\nb\nnoversion\nN\nb\nshort 1\nCut"));
    EXPECT_EQ(Records(), "tfc 2 T b offered\nnoversion 0 N b hidden\nshort 1 Cut  hidden\n");
}

TEST_F(ModListTest, TheLastTfcRecordsTitleSelectsTheFirstSortedEntryItBegins) {
    ASSERT_TRUE(Load(kHeader + "u\ntwo 1\nAlpha Two\nb\ntfc 1\nAlpha\nb\nalpha 1\nZed\nb\n#END#",
                     {"alpha", "two", "tfc", "TFC2"}));
    EXPECT_EQ(session.selector.SelectedText(), "Alpha");
    EXPECT_EQ(session.paths.modDir, session.paths.installDir + "/tfc/");
    ASSERT_TRUE(Load(kHeader + "u\ntfc 1\nFirst\nb\nTFC 1\nSecond\nb\n#END#"));
    EXPECT_EQ(session.selector.SelectedText(), "Second");
    ASSERT_TRUE(Load(kHeader + "u\n#END#"));
    EXPECT_TRUE(session.selector.Entries().empty());
    EXPECT_FALSE(session.paths.HasMod());
}

TEST_F(ModListTest, FailuresShowTheirMessagesAndAFailedSaveKeepsTheOldFile) {
    ASSERT_FALSE(LoadModList(session, prompter));
    EXPECT_EQ(prompter.Messages(), Names{"Mod Data not found. Aborting..."});
    for (const std::string& bad :
         {""s, "#Mod Header V1.0 - DO NOT MODIFY \nu\n"s, "#mod header v1.0 - do not modify\n"s}) {
        prompter.Forget();
        EXPECT_FALSE(Load(bad));
        EXPECT_EQ(prompter.Messages(), Names{"Mod Data invalid. Aborting..."});
        EXPECT_EQ(session.mods.Count(), 0);
    }
    ASSERT_TRUE(Load(kHeader + "u\n#END#"));
    session.mods.records.push_back(ModRecord{"new", 1, "New", "b", false});
    const std::string workDir = session.paths.workDir;
    session.paths.workDir = dir / "missing/";
    prompter.Forget();
    EXPECT_FALSE(SaveModList(session, prompter));
    EXPECT_EQ(prompter.Messages(), Names{"Unable to save mod list..."});
    EXPECT_EQ(ReadFile(workDir + "mods.cfg"), kHeader + "u\n#END#");
}

TEST_F(ModListTest, AModIsChosenByItsFolderFirstThenByItsTitleInAnyLetterCase) {
    // "Valve" is both a folder and the title of another mod; dmc is not offered.
    ASSERT_TRUE(Load(kHeader + "u\ntfc 1\nTeam Fortress Classic\nb\nvalve 1\nHalf-Life\nb\n" +
                         "hl 1\nValve\nb\ndmc 0\nDeathmatch Classic\nb\n#END#",
                     {"tfc", "valve", "hl", "dmc"}));
    const std::pair<std::string, std::string> cases[] = {
        {"TFC", "tfc/"},
        {"team fortress classic", "tfc/"},
        {"Valve", "valve/"},
        {"half-life", "valve/"},
        {"hl", "hl/"},
        {"dmc", ""},
        {"Deathmatch Classic", ""},
        {"maps", ""},
    };
    for (const auto& [name, modWorkDir] : cases) {
        ASSERT_TRUE(session.selector.SelectTitle("Half-Life") && SelectCurrentMod(session));
        EXPECT_EQ(SelectModByFolderOrTitle(session, name), !modWorkDir.empty()) << name;
        EXPECT_EQ(session.paths.modWorkDir,
                  session.paths.workDir + (modWorkDir.empty() ? "valve/" : modWorkDir))
            << name << ": a name that matches nothing keeps the selection";
    }
}

// Prefix selection (the Alpha / Alpha Two case) is covered by the mod list tests.
TEST(ModSelector, KeepsTitlesSortedAndTheSelectionOnItsEntry) {
    ModSelector selector;
    selector.Add("Team Fortress Classic");
    selector.Add("alpha");
    ASSERT_TRUE(selector.SelectTitle("team fortress CLASSIC"));
    selector.Add("Beta");
    EXPECT_EQ(selector.Entries(), (Names{"alpha", "Beta", "Team Fortress Classic"}));
    EXPECT_FALSE(selector.SelectFirstStartingWith("Gamma"));
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic") << "no match keeps the selection";
    EXPECT_FALSE(selector.Select(5));
    EXPECT_FALSE(selector.HasSelection());
}

} // namespace
} // namespace ballotine
