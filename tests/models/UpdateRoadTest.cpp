#include "models/UpdateRoad.h"

#include "catalogue/ModTable.h"
#include "install/InstallTestSupport.h"
#include "models/ResourceList.h"
#include "models/VoteMapData.h"
#include "platform/ToolRunner.h"
#include "support/ScriptedPrompter.h"
#include "tools/pkzip25/ZipBuilder.h"
#include "updates/CatalogueTree.h"
#include "updates/ModUpdates.h"
#include "updates/UpdateCatalogue.h"
#include "updates/UpdateTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace ballotine {
namespace test {

// Downloads by writing the content served for each pending item's address; an address without
// content fails. With a result other than 1 nothing is fetched, as after a cancel.
class FakeDownloader final : public DownloadRunner {
public:
    void Serve(const std::string& url, std::string content) { m_content[url] = std::move(content); }
    void SetResult(DownloadRunResult result) { m_result = result; }

    DownloadRunResult RunQueue(DownloadQueue& queue, bool allowSkip) override {
        runs.emplace_back();
        skipAllowed.push_back(allowSkip);
        for (DownloadItem& item : queue) {
            if (item.status != DownloadStatus::Pending) {
                continue;
            }
            runs.back().push_back(item);
            if (m_result != DownloadRunResult::WorkedThrough) {
                continue;
            }
            const auto found = m_content.find(item.url);
            if (found != m_content.end()) {
                WriteFile(item.localPath, found->second);
            }
            item.status =
                found != m_content.end() ? DownloadStatus::Downloaded : DownloadStatus::Failed;
        }
        return m_result;
    }

    // The pending items of each run, as they were handed over.
    std::vector<std::vector<DownloadItem>> runs;
    std::vector<bool> skipAllowed;

private:
    std::map<std::string, std::string> m_content;
    DownloadRunResult m_result = DownloadRunResult::WorkedThrough;
};

// The update road on the mod tfc of a game in a temporary folder, with the real zip tool and a
// downloader that serves prepared files; notes of the road are kept.
class UpdateRoadTest : public testing::Test {
protected:
    // The bytes of a package big enough for the installer, holding one file.
    std::string Package(const std::string& entry, char fill) const {
        const std::string file = dir / "package-source.zip";
        ZipBuilder().Stored().File(entry, std::string(4096, fill)).Save(file);
        return ReadFile(file);
    }

    TempDir dir;
    WorkingPaths paths = TfcPaths(dir);
    UpdateTables tables;
    ScriptedPrompter prompter;
    SpawnToolRunner runner{{BuiltProgram("pkzip25").parent_path()}};
    FakeDownloader downloader;
    std::vector<std::string> notes;
    UpdateRoad road{tables.downloads,
                    tables.versions,
                    tables.mappings,
                    tables.log,
                    prompter,
                    runner,
                    downloader,
                    [this](const std::string& note) { notes.push_back(note); },
                    false};
};

} // namespace test

namespace {
using test::MapListText;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

constexpr const char* kMapListUrl = "http://up/tfc/database.conf";
constexpr const char* kModListUrl = "http://up/modsupdate.cfg";

class VoteDataAndMods : public test::UpdateRoadTest {
protected:
    VoteDataAndMods() {
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n#DIRS#\n#END#");
        fs::create_directories(paths.installDir + "/tfc");
    }
    bool LoadMods(const std::string& list, CatalogueTree& into) {
        WriteFile(paths.workDir + "modsupdate.cfg", list);
        return LoadModUpdates(mods, paths, tables.downloads, into, road.debugLog);
    }

    ResourceListRequest request{"Team Fortress Classic", "tfc", "http://up/tfc", kModListUrl,
                                paths};
    CatalogueTree tree{tables.downloads};
    ModTable mods;
};

TEST_F(VoteDataAndMods, MissingVoteSpritesAreFetchedAndInstalled) {
    WriteFile(paths.voteSpriteDir + "well.spr", "present");
    WriteFile(paths.modWorkDir + "update.conf", MapListText(5, {{.key = "2fort", .hasVoteData = 1},
                                                                {.key = "well", .hasVoteData = 1},
                                                                {.key = "hunted"}}));
    downloader.Serve("http://up/tfc/voteVM/2fortVM.zip", Package("sprites/vote/2fort.spr", 's'));
    downloader.SetResult(DownloadRunResult::Cancelled);
    EXPECT_EQ(FetchVoteMapData(request, road), 0) << "cancelled";
    EXPECT_FALSE(fs::exists(paths.voteSpriteDir + "2fort.spr"));
    downloader.SetResult(DownloadRunResult::WorkedThrough);

    EXPECT_EQ(FetchVoteMapData(request, road), 1);

    ASSERT_EQ(downloader.runs.size(), 2u);
    ASSERT_EQ(downloader.runs[1].size(), 1u) << "a present sprite and no vote data fetch nothing";
    EXPECT_EQ(test::Fields(downloader.runs[1][0], paths),
              "2fort votemap data...||http://up/tfc/voteVM/2fortVM.zip|"
              "http://up/tfc/voteVM/2fortVM.zip|Ballotine/tfc/mapzips/2fortVM.zip|0|-1|P|0");
    EXPECT_FALSE(downloader.skipAllowed[1]);
    EXPECT_EQ(ReadFile(paths.voteSpriteDir + "2fort.spr"), std::string(4096, 's'));
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "mapzips/2fortVM")) << "extraction folder removed";
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "update.log")) << "no report";
    EXPECT_EQ(tables.versions.Count(), 0) << "no version recorded";

    // The next opening finds the sprite and shows no download at all.
    EXPECT_EQ(FetchVoteMapData(request, road), 0);
    EXPECT_EQ(downloader.runs.size(), 2u);
}

// A hostile list names paths outside the game's folders as keys, folder names and package
// file names; none of them is listed, fetched or unpacked, and the sane records still are.
TEST_F(VoteDataAndMods, HostileListsTouchNothingOutsideTheGame) {
    const std::string outside = dir / "outside";
    fs::create_directories(outside + "/victim");
    WriteFile(outside + "/victim/keep.txt", "keep");

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
    ASSERT_EQ(downloader.runs[0].size(), 1u);
    EXPECT_EQ(downloader.runs[0][0].url, "http://up/tfc/voteVM/okVM.zip");

    BuildUpdateTree(paths, tables.versions, tables.downloads, tree, road.debugLog);
    std::vector<std::string> listed;
    for (const DownloadItem& item : tables.downloads.Queue()) {
        listed.push_back(item.localPath);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{paths.modWorkDir + "mapzips/ok.zip",
                                                paths.modWorkDir + "mapzips/ok_ent.zip"}));
    EXPECT_GE(notes.size(), 7u) << "each record left out is noted";

    mods.records = {{"tfc", 1, "Team Fortress Classic", "http://old/tfc", true}};
    std::string modList = "http://list\n";
    for (const std::string folder : {"..", "../outside", "..\\outside", "tfc"}) {
        modList += "#MOD#\n" + folder + " 5 9000\nEvil\nEvil package " + folder +
                   "\nhttp://evil\nhttp://evil/p.zip\nN/A\n";
    }
    ASSERT_TRUE(LoadMods(modList, tree));
    EXPECT_EQ(mods.Count(), 1) << "no hostile folder is learnt";
    ASSERT_EQ(tree.Packages(Category::BallotineUpdates).size(), 1u);
    EXPECT_EQ(tree.Packages(Category::BallotineUpdates)[0].label, "Evil package tfc");
    EXPECT_EQ(ReadFile(outside + "/victim/keep.txt"), "keep");
}

// The opening and "Download..." of the update list on a game in a temporary folder, with a
// downloader that serves prepared lists and packages.
class ResourceListTest : public VoteDataAndMods {
protected:
    ResourceListTest() {
        WriteFile(paths.modWorkDir + "config.conf", "#TFC Header V1.0 - DO NOT MODIFY\n#END#");
        mods.records = {{"tfc", 1, "Team Fortress Classic", "http://up/tfc", true}};
        downloader.Serve(kMapListUrl,
                         MapListText(10, {{"alpha", 9}, {"beta", 9}, {"gamma", 9}, {"delta", 9}}));
        downloader.Serve(kModListUrl, "http://up/modsupdate.cfg\n#MOD#\ntfc 2 9000\nTeam "
                                      "Fortress Classic\nTFC pack\nhttp://up/tfc\n"
                                      "http://up/tfc.zip\nN/A\n#END#");
    }
    ResourceList list{request, mods, road};
};

TEST_F(ResourceListTest, OpensWithTheListsAndTheCatalogue) {
    tables.downloads.Append(test::Item("left from last time", "", ""));
    ResourceList fresh(request, mods, road);

    ASSERT_EQ(fresh.Open(), ResourceList::Opening::Listed);
    const std::vector<DownloadItem>& lists = downloader.runs.at(0);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(test::Fields(lists[0], paths), "Entity Config List...||" + std::string(kMapListUrl) +
                                                 "|-|Ballotine/tfc/update.conf|0|-1|P|0");
    EXPECT_EQ(test::Fields(lists[1], paths), "Master Map...||" + std::string(kModListUrl) +
                                                 "|-|Ballotine/modsupdate.cfg|0|-1|P|0");
    EXPECT_EQ(tables.downloads.Count(), 5u) << "emptied, then the mod package and four maps";
    EXPECT_EQ(fresh.Tree().Packages(Category::BallotineUpdates).size(), 1u);
}

TEST_F(ResourceListTest, ListFailuresEndTheOpeningWithTheirMessages) {
    downloader.SetResult(DownloadRunResult::Cancelled);
    EXPECT_EQ(list.Open(), ResourceList::Opening::Cancelled);
    EXPECT_EQ(prompter.Messages(),
              std::vector<std::string>{"Unable to download config list. Retry again later..."});

    prompter.Forget();
    downloader.SetResult(DownloadRunResult::WorkedThrough);
    downloader.Serve(kMapListUrl, std::string(256, 'x')); // an error page stored as the list
    ResourceList again(request, mods, road);
    EXPECT_EQ(again.Open(), ResourceList::Opening::Cancelled);
    EXPECT_EQ(prompter.Messages(),
              std::vector<std::string>{"Unable to download config list. Retry later..."});
}

TEST_F(ResourceListTest, WithoutTheModListOrTheRecordLessIsListed) {
    ResourceList noModList({"T", "tfc", "http://up/tfc", "http://gone", paths}, mods, road);
    ASSERT_EQ(noModList.Open(), ResourceList::Opening::Listed);
    EXPECT_EQ(noModList.Tree().Packages(Category::BallotineUpdates).size(), 0u);
    EXPECT_EQ(noModList.Tree().PackageCount(), 4);
    EXPECT_TRUE(prompter.Messages().empty());

    fs::remove(paths.modWorkDir + "config.conf");
    ResourceList noRecord(request, mods, road);
    ASSERT_EQ(noRecord.Open(), ResourceList::Opening::CategoriesOnly);
    EXPECT_EQ(noRecord.Tree().PackageCount(), 1) << "the mod package only";
    EXPECT_TRUE(noRecord.Tree().StatusText().empty());
    EXPECT_FALSE(fs::exists(paths.modWorkDir + "config.conf")) << "never created from nothing";
}

// "Download..." right after a double click on a category: the cascade counts all the same.
TEST_F(ResourceListTest, DownloadAppliesAWaitingCascadeThenInstalls) {
    ASSERT_EQ(list.Open(), ResourceList::Opening::Listed);
    EXPECT_FALSE(list.Download()) << "nothing checked";
    EXPECT_EQ(downloader.runs.size(), 1u);

    downloader.Serve("http://s/maps/alpha.zip", Package("alpha.bsp", 'b'));
    downloader.Serve("http://s/maps/beta.zip", Package("beta.bsp", 'b'));
    list.Tree().ToggleCheck({Category::NewMaps, -1});
    ASSERT_TRUE(list.Download());

    ASSERT_EQ(downloader.runs.size(), 2u);
    EXPECT_EQ(downloader.runs[1].size(), 4u);
    EXPECT_TRUE(downloader.skipAllowed[1]);
    EXPECT_EQ(list.FailedCount(), 2) << "gamma and delta were not served";
    EXPECT_EQ(ReadFile(paths.mapsDir + "alpha.bsp"), std::string(4096, 'b'));
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\nalpha 1 0\nbeta 1 0\n#END#");
    EXPECT_NE(ReadFile(paths.modWorkDir + "update.log").find("delta map....\n\n  Download failed"),
              std::string::npos);
    EXPECT_FALSE(list.ModInstalled());
}

// A mod package may bring code the game runs: it is installed only after a Yes. The window
// reads the mod list anew only after one was installed.
TEST_F(ResourceListTest, AnInstalledModPackageIsNewsForTheWindow) {
    ASSERT_EQ(list.Open(), ResourceList::Opening::Listed);
    downloader.Serve("http://up/tfc.zip", Package("tfc/readme.txt", 'r'));
    list.Tree().SetChecked({Category::BallotineUpdates, 0}, true);
    prompter.AnswerNo();
    EXPECT_FALSE(list.Download()) << "declined: nothing left to download";
    EXPECT_EQ(downloader.runs.size(), 1u);
    EXPECT_EQ(prompter.Questions(),
              std::vector<std::string>{"'TFC pack' updates the mod 'tfc': it may replace program "
                                       "files the game runs.\nInstall it only from an update "
                                       "server you trust. Install it?"});
    prompter.AnswerYes();
    ASSERT_TRUE(list.Download());
    EXPECT_TRUE(list.ModInstalled());
    EXPECT_EQ(mods.records[0].version, 2);
    EXPECT_EQ(ReadFile(paths.installDir + "/tfc/readme.txt"), std::string(4096, 'r'));
    EXPECT_EQ(ReadFile(paths.modWorkDir + "config.conf"),
              "#TFC Header V1.0 - DO NOT MODIFY\n*tfc 2 0\n#END#");
}

} // namespace
} // namespace ballotine
