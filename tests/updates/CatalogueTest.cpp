#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"
#include "updates/UpdateCatalogue.h"
#include "updates/UpdateTestSupport.h"
#include "updates/VersionTable.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {
using test::ListedMap;
using test::MapListText;
using test::TempDir;
using test::WriteFile;

MapUpdateList ParseMaps(const std::string& text) {
    std::istringstream in(text);
    return ParseMapUpdateList(in);
}

ModUpdateList ParseMods(const std::string& text) {
    std::istringstream in(text);
    return ParseModUpdateList(in);
}

// Every field of a record in one line, "|" between them.
std::string Fields(const MapRecord& r) {
    std::ostringstream out;
    out << r.key << '|' << r.addedRevision << '|' << r.hasVoteData << '|' << r.mapVersion << '|'
        << r.mapSize << '|' << r.mapUrl << '|' << r.mapMirrorUrl << '|' << r.mapTitle << '|'
        << r.entityVersion << '|' << r.entitySize << '|' << r.entityUrl << '|' << r.entityMirrorUrl
        << '|' << r.entityTitle << '|' << r.complete;
    return out.str();
}

std::string Fields(const ModUpdateRecord& r) {
    std::ostringstream out;
    out << r.dir << '|' << r.version << '|' << r.size << '|' << r.modTitle << '|' << r.packageTitle
        << '|' << r.baseUrl << '|' << r.packageUrl << '|' << r.packageMirrorUrl << '|'
        << r.complete;
    return out.str();
}

// Numbers read as C reads "%i" (010 is 8, 0x14 is 20); a field that is not there is 0; the end
// of the file ends the list.
TEST(MapUpdateList, ReadsEveryFieldOfEveryRecord) {
    const MapUpdateList list = ParseMaps("0x14\n#MAP#\n2fort 16 1\n2 010\nhttp://s/maps/2fort.zip\n"
                                         "N/A\n2Fort remake\n3 4096\nhttp://s/ents/2fort_ent.zip\n"
                                         "http://m/ents/2fort_ent.zip\n2Fort entities\n"
                                         "#MAP#\nwell 15\n0 0\n\n\n\n-1 0\nhttp://s/ents/well.zip\n"
                                         "N/A\nWell entities");
    EXPECT_EQ(list.listRevision, 20);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(Fields(list.records[0]),
              "2fort|16|1|2|8|http://s/maps/2fort.zip|N/A|2Fort remake|3|4096|"
              "http://s/ents/2fort_ent.zip|http://m/ents/2fort_ent.zip|2Fort entities|1");
    EXPECT_EQ(Fields(list.records[1]), "well|15|0|0|0||||-1|0|http://s/ents/well.zip|N/A|"
                                       "Well entities|1");
    // A record cut short keeps what it has; the rest is empty and 0.
    EXPECT_EQ(Fields(ParseMaps("5\n#MAP#\nrock2 4 1\n1 5000\nhttp://s/rock2.zip").records.at(0)),
              "rock2|4|1|1|5000|http://s/rock2.zip|||0|0||||0");
}

TEST(MapUpdateList, EndsAtTheFirstLineThatIsNotAMarker) {
    EXPECT_TRUE(ParseMaps("7\n#END#").records.empty());
    EXPECT_TRUE(ParseMaps("7\n").records.empty());
    EXPECT_EQ(ParseMaps("").listRevision, 0);
    const std::string record = "#MAP#\n2fort 1 0\n1 1\nu\nN/A\nt\n0 0\nu\nN/A\nt\n";
    EXPECT_EQ(ParseMaps("3\n" + record + "#END#\n" + record).records.size(), 1u);
    EXPECT_TRUE(ParseMaps("3\n#map#\n2fort 1 0\n").records.empty())
        << "markers compare with their case";
    EXPECT_FALSE(ReadMapUpdateList("/nonexistent/update.conf").has_value());
    EXPECT_FALSE(ReadModUpdateList("/nonexistent/modsupdate.cfg").has_value());
}

TEST(ModUpdateList, ReadsTheAddressAndRecordsUpToTheFirstOtherLine) {
    const ModUpdateList list =
        ParseMods("http://s/mods2.cfg\n#MOD#\ntfc 0x10 123456\nTeam Fortress Classic\n"
                  "TFC data 16\nhttp://s/tfc\nhttp://s/tfc/tfc.zip\nN/A\n#MOD#\ndmc 2 010\n"
                  "Deathmatch Classic\nDMC data\nhttp://s/dmc\nhttp://s/dmc/dmc.zip\n"
                  "http://m/dmc/dmc.zip\n#END#\n#MOD#\n");
    EXPECT_EQ(list.modListUrl, "http://s/mods2.cfg");
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(Fields(list.records[0]), "tfc|16|123456|Team Fortress Classic|TFC data 16|"
                                       "http://s/tfc|http://s/tfc/tfc.zip|N/A|1");
    EXPECT_EQ(Fields(list.records[1]), "dmc|2|8|Deathmatch Classic|DMC data|http://s/dmc|"
                                       "http://s/dmc/dmc.zip|http://m/dmc/dmc.zip|1");

    const ModUpdateList addressOnly = ParseMods("http://s/next.cfg\n#END#\n#MOD#\ntfc 3 1\n");
    EXPECT_EQ(addressOnly.modListUrl, "http://s/next.cfg");
    EXPECT_TRUE(addressOnly.records.empty());
    EXPECT_EQ(Fields(ParseMods("u\n#MOD#\ntfc 3 100\nTeam Fortress Classic\n").records.at(0)),
              "tfc|3|100|Team Fortress Classic|||||0");
}

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
    EXPECT_EQ(test::Fields(downloads.At(downloads.FindByTitle("PRESENT MAP")), paths),
              "present map|present|http://s/maps/present.zip|N/A|"
              "Ballotine/tfc/mapzips/present.zip|2|5000|0|1");
    EXPECT_EQ(test::Fields(downloads.At(downloads.FindByTitle("newer entities")), paths),
              "newer entities|newer|http://s/ents/newer_ent.zip|N/A|"
              "Ballotine/tfc/mapzips/newer_ent.zip|4|600|0|0");
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

    // From 64 characters on, not bytes, a caption is cut: no UTF-8 character is cut in half.
    EXPECT_EQ(DetailsCaption(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(DetailsCaption(std::string(64, 'a')), std::string(64, 'a') + "...");
    std::string accented;
    for (int i = 0; i < 70; ++i) {
        accented += "\xC3\xA9";
    }
    EXPECT_EQ(DetailsCaption(accented), accented.substr(0, 128) + "...");
    EXPECT_EQ(DetailsCaption(std::string(70, '\xE9')), std::string(64, '\xE9') + "...");
}

} // namespace
} // namespace ballotine
