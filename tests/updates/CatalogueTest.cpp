#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/UpdateCatalogue.h"
#include "updates/UpdateTestSupport.h"
#include "updates/VersionTable.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ListedMap;
using test::MapListText;
using test::TempDir;
using test::WriteFile;

class Catalogue : public testing::Test {
protected:
    void Build(int revision, const std::vector<ListedMap>& maps) {
        WriteFile(paths.modWorkDir + "update.conf", MapListText(revision, maps));
        BuildUpdateTree(paths, versions, downloads, tree, {});
    }
    // "Category: label" for every listed package, categories in order.
    std::vector<std::string> Listing() const {
        std::vector<std::string> listing;
        for (const Category category : kCategories) {
            for (const CatalogueNode& package : tree.Packages(category)) {
                listing.push_back(std::string(CategoryLabel(category)) + ": " + package.label);
            }
        }
        return listing;
    }
    std::vector<bool> Checks(Category category) const {
        std::vector<bool> checks;
        for (const CatalogueNode& package : tree.Packages(category)) {
            checks.push_back(package.checked);
        }
        return checks;
    }
    const CatalogueNode& CategoryNode(Category category) const { return tree.Node({category, -1}); }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    VersionTable versions;
    AvailableDownloads downloads;
    CatalogueTree tree{downloads};
};

TEST_F(Catalogue, ListsByVersionsAndRevision) {
    versions.Append({"present", 1, 0});
    versions.Append({"Current", 2, 0});
    versions.Append({"ents", 0, 3});
    versions.Append({"newer", 0, 3});
    Build(20, {{"fresh", 16}, // 16 + 5 > 20
               {"older", 15},
               {"present", 1, 2},
               {"current", 1, 2}, // recorded as Current 2: nothing newer
               {"entonly", 1, 0, 3},
               {"ents", 1, 0, 3}, // known entity version 3
               {"newer", 1, 0, 4},
               {"negative", 19, -1, -2}});
    EXPECT_EQ(Listing(), (std::vector<std::string>{
                             "New Maps: fresh map",
                             "Entity Updates: entonly entities",
                             "Entity Updates: negative entities",
                             "Entity Updates: newer entities",
                             "Full Map Updates: present map",
                             "Downloadable Maps: older map",
                         }));
    // Map before entity package, in the order of the list.
    ASSERT_EQ(downloads.Count(), 6);
    const DownloadItem& map = downloads.At(downloads.FindByTitle("PRESENT MAP"));
    EXPECT_EQ(map.url, "http://s/maps/present.zip");
    EXPECT_EQ(map.localPath, paths.modWorkDir + "mapzips/present.zip");
    EXPECT_EQ(map.packageKey, "present");
    EXPECT_EQ(map.version, 2);
    EXPECT_EQ(map.size, 5000);
    EXPECT_TRUE(map.fullPackage);
    const DownloadItem& entities = downloads.At(downloads.FindByTitle("newer entities"));
    EXPECT_EQ(entities.localPath, paths.modWorkDir + "mapzips/newer_ent.zip");
    EXPECT_EQ(entities.packageKey, "newer");
    EXPECT_FALSE(entities.fullPackage);
    EXPECT_EQ(entities.status, StatusNone);
}

TEST_F(Catalogue, AnEmptyRecordListsEveryOfferedPackage) {
    Build(3, {{"zeta", 0, 1, 1}, {"Alpha", 0, 1, 0}, {"beta", 0, 0, 2}});
    EXPECT_EQ(Listing(), (std::vector<std::string>{"New Maps: Alpha map", "New Maps: zeta map",
                                                   "Entity Updates: beta entities",
                                                   "Entity Updates: zeta entities"}));
    Build(3, {});
    EXPECT_EQ(downloads.Count(), 4) << "a list without records adds nothing";
}

TEST_F(Catalogue, CheckingACategoryCascadesAtTheNextRefresh) {
    Build(20, {{"a", 18}, {"b", 18}, {"c", 18}, {"d", 1, 0, 1}});
    const NodeId newMaps{Category::NewMaps, -1};
    EXPECT_FALSE(tree.RefreshCheckMarks()) << "nothing waits";

    tree.ToggleCheck(newMaps);
    EXPECT_EQ(Checks(Category::NewMaps), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(CategoryNode(Category::NewMaps).image, ImageChevronRight);
    ASSERT_TRUE(tree.RefreshCheckMarks());
    EXPECT_EQ(Checks(Category::NewMaps), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(CategoryNode(Category::NewMaps).image, ImageChevronLeft);
    EXPECT_EQ(CategoryNode(Category::NewMaps).selectedImage, ImageChevronLeftSelected);
    EXPECT_EQ(tree.Packages(Category::NewMaps)[1].image, ImageTick);
    EXPECT_EQ(tree.Packages(Category::NewMaps)[1].selectedImage, ImageTickSelected);
    EXPECT_EQ(tree.TakeRedrawn().size(), 4u) << "the category and its three packages";
    EXPECT_EQ(tree.SelectedCount(), 3);

    tree.ToggleCheck({Category::NewMaps, 1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(Checks(Category::NewMaps), (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(CategoryNode(Category::NewMaps).checked) << "a package never changes its category";
    EXPECT_EQ(tree.Packages(Category::NewMaps)[1].image, ImageCross);

    tree.ToggleCheck(newMaps);
    tree.RefreshCheckMarks();
    EXPECT_EQ(Checks(Category::NewMaps), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(CategoryNode(Category::NewMaps).image, ImageChevronRight);

    // The update categories show only the highlighted chevrons once changed; checking
    // "Ballotine Updates" passes nothing on.
    tree.ToggleCheck({Category::EntityUpdates, -1});
    tree.ToggleCheck({Category::BallotineUpdates, -1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(CategoryNode(Category::EntityUpdates).image, ImageChevronLeftSelected);
    EXPECT_EQ(CategoryNode(Category::BallotineUpdates).image, ImageChevronRight);
    EXPECT_EQ(Checks(Category::EntityUpdates), (std::vector<bool>{true}));
}

TEST_F(Catalogue, TotalsCountCheckedPackagesAndTheirKnownSizes) {
    std::vector<ListedMap> maps;
    for (const char* key : {"m0", "m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8", "m9"}) {
        maps.push_back({key, 0});
    }
    maps[2].mapSize = 1000;
    maps[5].mapSize = 2000;
    maps[7].mapSize = -1;
    Build(100, maps);
    tree.UpdateSelectionTotals();
    EXPECT_FALSE(tree.DownloadEnabled());

    for (const int child : {2, 5, 7}) {
        tree.ToggleCheck({Category::DownloadableMaps, child});
    }
    tree.RefreshCheckMarks();
    EXPECT_EQ(tree.StatusText(), "  Total Files Selected:3 of 10 files                          "
                                 "Total Download Size: 3000 bytes");
    EXPECT_TRUE(tree.DownloadEnabled());

    tree.ApplyCheckStates(downloads);
    EXPECT_EQ(downloads.At(downloads.FindByTitle("m5 map")).status, StatusPending);
    EXPECT_EQ(downloads.At(downloads.FindByTitle("m4 map")).status, StatusNone);
}

TEST_F(Catalogue, TwoPackagesOfOneTitleBothNameTheFirstItem) {
    Build(10, {{"same", 0}, {"SAME", 0, 1}});
    ASSERT_EQ(tree.Packages(Category::DownloadableMaps).size(), 2u);
    EXPECT_EQ(tree.Packages(Category::DownloadableMaps)[0].queueIndex, 0);
    EXPECT_EQ(tree.Packages(Category::DownloadableMaps)[1].queueIndex, 0);
    tree.ToggleCheck({Category::DownloadableMaps, 1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(tree.SelectedCount(), 1);
    EXPECT_EQ(tree.SelectedBytes(), 5000);
}

TEST_F(Catalogue, DetailsOfPackagesAndCategories) {
    const std::string longKey(70, 'k');
    Build(10, {{"known", 0, 2, 0, 0, 4096}, {"unsized", 0, 1, 0, 0, 0}, {longKey, 0}});
    // Sorted: the long title, "known map", "unsized map".
    const ItemDetails known = tree.Details({Category::DownloadableMaps, 1});
    EXPECT_EQ(known.caption, "known map");
    EXPECT_EQ(known.text, "Version 2\nSize 4096 bytes\n\nhttp://s/maps/known.zip\n");
    EXPECT_EQ(tree.Details({Category::DownloadableMaps, 2}).text,
              "Version 1\nSize N/A\n\nhttp://s/maps/unsized.zip\n");
    EXPECT_EQ(tree.Details({Category::DownloadableMaps, 0}).caption, std::string(64, 'k') + "...");

    const ItemDetails entities = tree.Details({Category::EntityUpdates, -1});
    EXPECT_EQ(entities.caption, "Entity Updates");
    EXPECT_EQ(entities.text, "These are the list of entities updates for either\nmaps you already "
                             "have or for maps you can download...");
    EXPECT_EQ(tree.Details({Category::FullMapUpdates, -1}).text,
              "These are the list of new updates/fixes for maps you already have ...");
}

TEST(DetailsCaption, CutsAfterThe64thCharacter) {
    EXPECT_EQ(DetailsCaption(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(DetailsCaption(std::string(64, 'a')), std::string(64, 'a') + "...");
    // Characters, not bytes, in a UTF-8 title: no character is cut in half.
    std::string accented;
    for (int i = 0; i < 70; ++i) {
        accented += "\xC3\xA9";
    }
    EXPECT_EQ(DetailsCaption(accented), accented.substr(0, 128) + "...");
    EXPECT_EQ(DetailsCaption(std::string(70, '\xE9')), std::string(64, '\xE9') + "...");
}

} // namespace
} // namespace ballotine
