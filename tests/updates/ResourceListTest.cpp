#include "updates/ResourceList.h"

#include "catalogue/MainWindowModel.h"
#include "catalogue/Session.h"
#include "platform/Registry.h"
#include "support/DemoFixture.h"
#include "support/ScriptedPrompter.h"
#include "updates/UpdateTestSupport.h"

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

constexpr const char* kMapListUrl = "http://up/tfc/database.conf";
constexpr const char* kModListUrl = "http://up/modsupdate.cfg";

// The opening and "Download..." of the update list on a game in a temporary folder, with a
// downloader that serves prepared lists and packages.
class ResourceListTest : public test::UpdateRoadTest {
protected:
    ResourceListTest() {
        fs::create_directories(paths.installDir + "/tfc");
        WriteFile(paths.modWorkDir + "config.conf", "#TFC Header V1.0 - DO NOT MODIFY\n#END#");
        WriteFile(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n#END#");
        mods.records = {{"tfc", 1, "Team Fortress Classic", "http://up/tfc", true}};
        std::vector<ListedMap> maps;
        for (const char* key : {"alpha", "beta", "gamma", "delta"}) {
            maps.push_back({key, 9});
        }
        downloader.Serve(kMapListUrl, MapListText(10, maps));
        downloader.Serve(kModListUrl, "http://up/modsupdate.cfg\n#MOD#\ntfc 2 9000\nTeam "
                                      "Fortress Classic\nTFC pack\nhttp://up/tfc\n"
                                      "http://up/tfc.zip\nN/A\n#END#");
    }
    ModTable mods;
    ResourceList list{
        {"Team Fortress Classic", "tfc", "http://up/tfc", kModListUrl, paths}, mods, road};
};

TEST_F(ResourceListTest, OpensWithTheListsAndTheCatalogue) {
    tables.downloads.Append({"left from last time", "", "", "", "", 0, 1, StatusNone, false});
    mods.tableChanged = true;
    ResourceList fresh({"Team Fortress Classic", "tfc", "http://up/tfc", kModListUrl, paths}, mods,
                       road);
    EXPECT_FALSE(mods.tableChanged);
    EXPECT_EQ(fresh.Caption(), "New 'Team Fortress Classic' Downloads...");

    ASSERT_EQ(fresh.Open(), ResourceList::Opening::Listed);
    const std::vector<DownloadItem>& lists = downloader.runs.at(0);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(test::Fields(lists[0], paths), "Entity Config List...|N/A|" +
                                                 std::string(kMapListUrl) +
                                                 "|N/A|Ballotine/tfc/update.conf|0|-1|1|0");
    EXPECT_EQ(test::Fields(lists[1], paths), "Master Map...|N/A|" + std::string(kModListUrl) +
                                                 "|N/A|Ballotine/modsupdate.cfg|0|-1|1|0");
    EXPECT_EQ(tables.downloads.Count(), 5) << "emptied, then the mod package and four maps";
    EXPECT_EQ(fresh.Tree().Packages(Category::BallotineUpdates).size(), 1u);
    EXPECT_EQ(fresh.Tree().StatusText(), "  Total Files Selected:0 of 5 files                   "
                                         "       Total Download Size: 0 bytes");
}

TEST_F(ResourceListTest, ListFailuresEndTheOpeningWithTheirMessages) {
    downloader.SetResult(-1);
    EXPECT_EQ(list.Open(), ResourceList::Opening::Cancelled);
    EXPECT_EQ(prompter.Messages(),
              std::vector<std::string>{"Unable to download config list. Retry again later..."});

    // An error page of 256 bytes stored as the list, and a list that did not come at all.
    downloader.SetResult(1);
    downloader.Serve(kMapListUrl, std::string(256, 'x'));
    for (const char* baseUrl : {"http://up/tfc", "http://gone"}) {
        prompter.Forget();
        ResourceList again({"T", "tfc", baseUrl, kModListUrl, paths}, mods, road);
        EXPECT_EQ(again.Open(), ResourceList::Opening::Cancelled);
        EXPECT_EQ(prompter.Messages(),
                  std::vector<std::string>{"Unable to download config list. Retry later..."});
    }
}

TEST_F(ResourceListTest, WithoutTheModListOrTheRecordLessIsListed) {
    ResourceList noModList({"T", "tfc", "http://up/tfc", "http://gone", paths}, mods, road);
    ASSERT_EQ(noModList.Open(), ResourceList::Opening::Listed);
    EXPECT_EQ(noModList.Tree().Packages(Category::BallotineUpdates).size(), 0u);
    EXPECT_EQ(noModList.Tree().PackageCount(), 4);
    EXPECT_TRUE(prompter.Messages().empty());

    fs::remove(paths.modWorkDir + "config.conf");
    ResourceList noRecord({"T", "tfc", "http://up/tfc", kModListUrl, paths}, mods, road);
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
}

// After the update list the main window saves the mod list and marks vote list maps that
// gained entity settings.
TEST(RefreshAfterUpdates, SavesTheModListAndMarksNewEntitySettings) {
    test::DemoFixture demo;
    Session session;
    test::ScriptedPrompter prompter;
    ASSERT_TRUE(StartSession(session, RegistryFile::Load(demo.Layout().registryFile), prompter));
    MainWindowModel model(session);
    model.RefreshMapLists();
    ASSERT_EQ(model.ChosenMaps().At(0).name, "lakeside");
    ASSERT_EQ(model.ChosenMaps().At(0).state, MapState::Installed);

    session.mods.records.push_back({"newmod", 0, "New Mod", "http://new", false});
    WriteFile(demo.Game("Ballotine/tfc/Entities/lakeside.16.ref"), "lakeside.tpt\n");
    model.RefreshAfterUpdates(prompter);

    EXPECT_EQ(model.ChosenMaps().At(0).state, MapState::Configurable);
    EXPECT_EQ(model.ChosenMaps().At(1).state, MapState::Installed) << "well has no settings";
    EXPECT_NE(ReadFile(demo.Game("Ballotine/mods.cfg")).find("newmod 0\nNew Mod\nhttp://new\n"),
              std::string::npos);
    EXPECT_TRUE(prompter.Messages().empty());
}

} // namespace
} // namespace ballotine
