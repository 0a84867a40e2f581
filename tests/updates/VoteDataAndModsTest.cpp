#include "catalogue/ModTable.h"
#include "updates/CatalogueTree.h"
#include "updates/ModUpdates.h"
#include "updates/UpdateCatalogue.h"
#include "updates/UpdateTestSupport.h"
#include "updates/VoteMapData.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::FakeDownloader;
using test::ListedMap;
using test::MapListText;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

class VoteDataAndMods : public test::UpdateRoadTest {
protected:
    VoteDataAndMods() {
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n#DIRS#\n#END#");
    }
    std::vector<std::string> Urls(std::size_t run) const {
        std::vector<std::string> urls;
        for (const DownloadItem& item : downloader.runs.at(run)) {
            urls.push_back(item.url);
        }
        return urls;
    }

    // "dir version baseUrl" of every mod.
    static std::vector<std::string> Mods(const ModTable& mods) {
        std::vector<std::string> lines;
        for (const ModRecord& mod : mods.records) {
            lines.push_back(mod.dir + " " + std::to_string(mod.version) + " " + mod.baseUrl);
        }
        return lines;
    }

    ResourceListRequest request{"Team Fortress Classic", "tfc", "http://up/tfc",
                                "http://up/modsupdate.cfg", paths};
    CatalogueTree tree{tables.downloads};
};

TEST_F(VoteDataAndMods, MissingVoteSpritesAreFetchedAndInstalled) {
    WriteFile(paths.voteSpriteDir + "well.spr", "present");
    WriteFile(paths.modWorkDir + "update.conf", MapListText(5, {{.key = "2fort", .hasVoteData = 1},
                                                                {.key = "well", .hasVoteData = 1},
                                                                {.key = "hunted"}}));
    downloader.Serve("http://up/tfc/voteVM/2fortVM.zip", Package("sprites/vote/2fort.spr", 's'));
    downloader.SetResult(-1);
    EXPECT_EQ(FetchVoteMapData(request, road), 0) << "cancelled";
    EXPECT_FALSE(fs::exists(paths.voteSpriteDir + "2fort.spr"));
    downloader.SetResult(1);

    EXPECT_EQ(FetchVoteMapData(request, road), 1);

    ASSERT_EQ(downloader.runs.size(), 2u);
    ASSERT_EQ(downloader.runs[1].size(), 1u) << "a present sprite and no vote data fetch nothing";
    EXPECT_EQ(test::Fields(downloader.runs[1][0], paths),
              "2fort votemap data...|NA|http://up/tfc/voteVM/2fortVM.zip|"
              "http://up/tfc/voteVM/2fortVM.zip|Ballotine/tfc/mapzips/2fortVM.zip|0|-1|1|0");
    EXPECT_FALSE(downloader.skipAllowed[1]);
    EXPECT_EQ(ReadFile(paths.voteSpriteDir + "2fort.spr"), std::string(4096, 's'));
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fortVM")) << "extraction folder removed";
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "update.log")) << "no report";
    EXPECT_EQ(tables.versions.Count(), 0) << "no version recorded";

    // The next opening finds the sprite and shows no download at all.
    EXPECT_EQ(FetchVoteMapData(request, road), 0);
    EXPECT_EQ(downloader.runs.size(), 2u);
}

TEST_F(VoteDataAndMods, ModUpdatesRefreshAddressesLearnModsAndListNewerPackages) {
    fs::create_directories(paths.installDir + "/tfc");
    fs::create_directories(paths.installDir + "/newmod");
    ModTable mods;
    mods.modListUrl = "http://old/list";
    mods.records = {{"tfc", 2, "Team Fortress Classic", "http://old/tfc", true},
                    {"valve", 1, "Half-Life", "http://old/valve", true}};
    const auto record = [](const std::string& folder, int version, const std::string& title) {
        return "#MOD#\n" + folder + " " + std::to_string(version) + " 9000\n" + title + " mod\n" +
               title + " package\nhttp://new/" + folder + "\nhttp://new/" + folder +
               ".zip\nhttp://mirror/" + folder + ".zip\n";
    };
    WriteFile(paths.workDir + "modsupdate.cfg",
              "http://new/list\n" + record("TFC", 3, "tfc") + record("valve", 4, "valve") +
                  record("newmod", 7, "newmod") + record("absent", 1, "absent") + "#END#");

    ASSERT_TRUE(LoadModUpdates(mods, request, road, tree));

    EXPECT_EQ(mods.modListUrl, "http://new/list");
    // valve's address is replaced though it is not installed; absent is not installed: neither
    // listed nor learnt.
    EXPECT_EQ(Mods(mods),
              (std::vector<std::string>{"tfc 2 http://new/TFC", "valve 1 http://new/valve",
                                        "newmod 0 http://new/newmod"}));
    EXPECT_EQ(mods.records[2].title, "newmod mod");
    EXPECT_FALSE(mods.tableChanged);
    const auto& listed = tree.Packages(Category::BallotineUpdates);
    ASSERT_EQ(listed.size(), 2u) << "valve's folder is missing";
    EXPECT_EQ(listed[0].label, "newmod package");
    EXPECT_EQ(
        test::Fields(tables.downloads.At(listed[1].queueIndex), paths),
        "tfc package|*TFC|http://new/TFC.zip|http://mirror/TFC.zip|Ballotine/TFC.zip|3|9000|0|1");

    // The same version as installed is not listed; the address is still taken over.
    tables.downloads.Clear();
    CatalogueTree again(tables.downloads);
    WriteFile(paths.workDir + "modsupdate.cfg", "http://new/list\n" + record("tfc", 2, "tfc"));
    mods.records[0].baseUrl = "http://old/tfc";
    ASSERT_TRUE(LoadModUpdates(mods, request, road, again));
    EXPECT_EQ(again.PackageCount(), 0);
    EXPECT_EQ(mods.records[0].baseUrl, "http://new/tfc");

    WriteFile(paths.workDir + "modsupdate.cfg", "http://newer/list\n#END#\n" + record("x", 1, "x"));
    ASSERT_TRUE(LoadModUpdates(mods, request, road, again));
    EXPECT_EQ(mods.modListUrl, "http://newer/list");
    EXPECT_EQ(mods.Count(), 3);

    // An empty answer keeps the address that works.
    WriteFile(paths.workDir + "modsupdate.cfg", "");
    ASSERT_TRUE(LoadModUpdates(mods, request, road, again));
    EXPECT_EQ(mods.modListUrl, "http://newer/list");

    fs::remove(paths.workDir + "modsupdate.cfg");
    EXPECT_FALSE(LoadModUpdates(mods, request, road, again));
}

TEST(PlainName, RefusesWhatCouldLeaveAFolder) {
    for (const char* good : {"2fort", "a.b", "..x", "x..", "*tfc", "n\xC3\xA9"}) {
        EXPECT_TRUE(IsPlainName(good)) << good;
    }
    for (const char* bad : {"", ".", "..", "a/b", "/", "a\\b", "\\", "tab\there", "del\x7F"}) {
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    }
}

// A hostile list names paths outside the game's folders as keys, folder names and package
// file names; none of them is listed, fetched or unpacked, and the sane records still are.
TEST_F(VoteDataAndMods, HostileListsTouchNothingOutsideTheGame) {
    const std::string outside = dir / "outside";
    fs::create_directories(outside + "/victim");
    WriteFile(outside + "/victim/keep.txt", "keep");
    fs::create_directories(paths.installDir + "/tfc");

    std::string list = "10\n";
    for (const std::string key : {"..", "../../outside/victim", "..\\..\\outside", "a/b", "ok"}) {
        list += test::MapRecordText({.key = key, .entityVersion = 1, .hasVoteData = 1});
    }
    // A sane key whose package address ends in "/..": its file name would be "..".
    list += "#MAP#\nsneaky 0 0\n1 100\nhttp://s/maps/..\nN/A\nsneaky map\n0 0\nN/A\nN/A\n\n";
    list += "#MAP#\nsneaky2 0 0\n0 0\nN/A\nN/A\n\n1 100\nhttp://s/x/\nN/A\nsneaky2 ents\n#END#";
    WriteFile(paths.modWorkDir + "update.conf", list);

    EXPECT_EQ(FetchVoteMapData(request, road), 0);
    ASSERT_EQ(downloader.runs.size(), 1u);
    EXPECT_EQ(Urls(0), std::vector<std::string>{"http://up/tfc/voteVM/okVM.zip"});

    BuildUpdateTree(paths, tables.versions, tables.downloads, tree, road.debugLog);
    std::vector<std::string> listed;
    for (std::int32_t index = 0; index < tables.downloads.Count(); ++index) {
        listed.push_back(tables.downloads.At(index).localPath);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{paths.modWorkDir + "mapzips/ok.zip",
                                                paths.modWorkDir + "mapzips/ok_ent.zip"}));
    EXPECT_GE(notes.size(), 7u) << "each record left out is noted";

    ModTable mods;
    mods.records = {{"tfc", 1, "Team Fortress Classic", "http://old/tfc", true}};
    std::string modList = "http://list\n";
    for (const std::string folder : {"..", "../outside", "..\\outside", "tfc"}) {
        modList += "#MOD#\n" + folder + " 5 9000\nEvil\nEvil package " + folder +
                   "\nhttp://evil\nhttp://evil/p.zip\nN/A\n";
    }
    WriteFile(paths.workDir + "modsupdate.cfg", modList);
    ASSERT_TRUE(LoadModUpdates(mods, request, road, tree));
    EXPECT_EQ(mods.Count(), 1) << "no hostile folder is learnt";
    ASSERT_EQ(tree.Packages(Category::BallotineUpdates).size(), 1u);
    EXPECT_EQ(tree.Packages(Category::BallotineUpdates)[0].label, "Evil package tfc");
    EXPECT_EQ(ReadFile(outside + "/victim/keep.txt"), "keep");
}

} // namespace
} // namespace ballotine
