#include "catalogue/ModTable.h"
#include "download/DownloadQueue.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"
#include "updates/ModUpdates.h"
#include "updates/UpdateCatalogue.h"
#include "updates/UpdateTestSupport.h"
#include "updates/VersionTable.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace ballotine {
namespace {
using test::ListedMap;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

constexpr const char* kHeader = "#TFC Header V1.0 - DO NOT MODIFY\n";

class VersionTableFiles : public testing::Test {
protected:
    std::string ConfigFile() const { return paths.modWorkDir + "config.conf"; }
    // Loads, scans the maps folder and returns the file written.
    std::string LoadAndScan(const std::string& config) {
        WriteFile(ConfigFile(), config);
        EXPECT_TRUE(LoadVersionTable(table, paths));
        EXPECT_TRUE(ScanInstalledMaps(table, paths));
        return ReadFile(ConfigFile());
    }

    test::TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    VersionTable table;
};

TEST_F(VersionTableFiles, TheScanAddsMapsOnDiskToTheRecordAndMarksKnownOnes) {
    for (const char* name : {"well.bsp", "2fort.bsp", "readme.txt"}) {
        WriteFile(paths.mapsDir + name, "BSP");
    }
    CreateFolders(paths.mapsDir + "notamap.bsp");
    const std::string twoMaps = std::string(kHeader) + "2fort 1 0\nwell 1 0\n#END#";
    EXPECT_EQ(LoadAndScan(std::string(kHeader) + "#END#"), twoMaps);
    EXPECT_EQ(LoadAndScan("#tfc header v1.0 - do not modify\nold 1 1\n#END#"), twoMaps)
        << "a file without the header (it compares with its case) is replaced";

    WriteFile(paths.mapsDir + "ROCK2.BSP", "BSP");
    EXPECT_EQ(
        LoadAndScan(std::string(kHeader) + "2Fort 3 2\nrock2 0 4\ngone 5 1\n#END#\nafter 9 9\n"),
        std::string(kHeader) + "2Fort 3 2\nrock2 1 4\ngone 5 1\nwell 1 0\n#END#")
        << "the table never forgets a map; lines after the end marker are dropped";
}

TEST_F(VersionTableFiles, NumbersReadAsCReadsThemAndAFailedSaveSaysSo) {
    WriteFile(ConfigFile(), std::string(kHeader) + "a 010 0x10\nb -3 +7\nhalfway 2\n\n   \n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    std::vector<std::string> entries;
    for (const VersionEntry& entry : table.Entries()) {
        entries.push_back(entry.key + " " + std::to_string(entry.mapVersion) + " " +
                          std::to_string(entry.entityVersion));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"a 8 16", "b -3 7", "halfway 2 0"}));

    DeleteFile(ConfigFile());
    EXPECT_FALSE(LoadVersionTable(table, paths));
    EXPECT_EQ(table.Count(), 0);
    WorkingPaths noMod = paths;
    ClearModPaths(noMod);
    EXPECT_FALSE(ScanInstalledMaps(table, noMod)) << "no mod: nothing is written anywhere";
    CreateFolders(ConfigFile()); // a folder where the file should be
    table.Append({"2fort", 1, 0});
    EXPECT_FALSE(SaveVersionTable(table, paths));
}

TEST_F(VersionTableFiles, InstalledPackagesRaiseVersionsButNeverLowerThem) {
    WriteFile(ConfigFile(), std::string(kHeader) + "2fort 5 1\nrock2 0 4\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    const std::tuple<const char*, std::int32_t, bool, DownloadStatus> items[] = {
        {"2FORT", 2, true, DownloadStatus::Installed},   // older map package: 5 stays
        {"2fort", 3, false, DownloadStatus::Installed},  // newer entity package: 1 becomes 3
        {"rock2", 2, true, DownloadStatus::Installed},   // map arrives beside its entities
        {"well", 3, false, DownloadStatus::Installed},   // unknown key, entity package
        {"*tfc", 4, true, DownloadStatus::Installed},    // mod package
        {"hunted", 7, true, DownloadStatus::Downloaded}, // not installed: not recorded
    };
    DownloadQueue queue;
    for (const auto& [key, version, full, status] : items) {
        DownloadItem& item = queue.emplace_back(test::Item(key, "u", "p", 10, status));
        item.packageKey = key;
        item.version = version;
        item.fullPackage = full;
    }
    EXPECT_TRUE(RecordInstalledVersions(table, queue, paths));
    EXPECT_EQ(ReadFile(ConfigFile()),
              std::string(kHeader) + "2fort 5 3\nrock2 2 4\nwell 0 3\n*tfc 4 0\n#END#");
}

TEST(VersionTable, GapsLookKeysUpWithoutRegardToCaseAndNeverOverflow) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    VersionTable table;
    table.Append({"2Fort", 3, 2});
    table.Append({"2FORT", 9, 9});
    table.Append({"big", kMax, 1});
    EXPECT_EQ(table.MapVersionGap("2fort", 1), 2);
    EXPECT_EQ(table.EntityVersionGap("2FORT", 4), -2) << "the first entry of a key answers";
    EXPECT_EQ(table.MapVersionGap("well", 0), -1);
    EXPECT_EQ(table.MapVersionGap("big", -5), kMax);
    EXPECT_EQ(table.EntityVersionGap("big", std::numeric_limits<std::int32_t>::min()), kMax);
    EXPECT_EQ(FileNameOf("C:\\x\\y.zip"), "y.zip");
    EXPECT_EQ(FileNameOf("http://s/dir/"), "");
}

MapUpdateList ParseMaps(const std::string& text) {
    std::istringstream in(text);
    return ParseMapUpdateList(in);
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

// Numbers read as C reads "%i"; a field that is not there is 0; the first line that is not a
// marker ends the list, and markers compare with their case.
TEST(MapUpdateList, ReadsEveryFieldOfEveryRecordUpToTheEnd) {
    const std::string record = "#MAP#\n2fort 16 1\n2 010\nhttp://s/2fort.zip\nN/A\n2Fort remake\n"
                               "3 4096\nhttp://s/ents.zip\nhttp://m/ents.zip\n2Fort entities\n";
    const MapUpdateList list = ParseMaps("0x14\n" + record + record + "#END#\n" + record);
    EXPECT_EQ(list.listRevision, 20);
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(Fields(list.records[1]), "2fort|16|1|2|8|http://s/2fort.zip|N/A|2Fort remake|3|4096|"
                                       "http://s/ents.zip|http://m/ents.zip|2Fort entities|1");
    EXPECT_EQ(Fields(ParseMaps("5\n#MAP#\nrock2 4 1\n1 5000\nhttp://s/rock2.zip").records.at(0)),
              "rock2|4|1|1|5000|http://s/rock2.zip|||0|0||||0");
    EXPECT_TRUE(ParseMaps("3\n#map#\n2fort 1 0\n").records.empty());
    EXPECT_FALSE(ReadMapUpdateList("/nonexistent/update.conf").has_value());
}

TEST(ModUpdateList, ReadsTheAddressAndRecordsUpToTheFirstOtherLine) {
    const auto parse = [](const std::string& text) {
        std::istringstream in(text);
        return ParseModUpdateList(in);
    };
    const ModUpdateList list = parse("http://s/mods2.cfg\n#MOD#\ntfc 0x10 010\nTeam Fortress "
                                     "Classic\nTFC data 16\nhttp://s/tfc\nhttp://s/tfc/tfc.zip\n"
                                     "N/A\n#END#\n#MOD#\ndmc 2 1\n");
    EXPECT_EQ(list.modListUrl, "http://s/mods2.cfg");
    ASSERT_EQ(list.records.size(), 1u);
    const ModUpdateRecord& tfc = list.records[0];
    EXPECT_EQ(tfc.dir + "|" + std::to_string(tfc.version) + "|" + std::to_string(tfc.size) + "|" +
                  tfc.modTitle + "|" + tfc.packageTitle + "|" + tfc.baseUrl + "|" + tfc.packageUrl +
                  "|" + tfc.packageMirrorUrl + "|" + std::to_string(tfc.complete),
              "tfc|16|8|Team Fortress Classic|TFC data 16|http://s/tfc|http://s/tfc/tfc.zip|N/A|1");
    const ModUpdateRecord cut = parse("u\n#MOD#\ndmc 2 1\nDeathmatch Classic\n").records.at(0);
    EXPECT_EQ(cut.modTitle, "Deathmatch Classic");
    EXPECT_TRUE(cut.packageTitle.empty() && cut.packageUrl.empty() && !cut.complete);
}

// The mod update list of a game in a temporary folder, read into the mod table and the
// catalogue.
class ModUpdates : public testing::Test {
protected:
    ModUpdates() { fs::create_directories(paths.installDir + "/tfc"); }
    // "dir version baseUrl" of every mod.
    std::vector<std::string> Mods() const {
        std::vector<std::string> lines;
        for (const ModRecord& mod : mods.records) {
            lines.push_back(mod.dir + " " + std::to_string(mod.version) + " " + mod.baseUrl);
        }
        return lines;
    }
    bool LoadMods(const std::string& list, CatalogueTree& into) {
        WriteFile(paths.workDir + "modsupdate.cfg", list);
        return LoadModUpdates(mods, paths, downloads, into, {});
    }

    test::TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    ModTable mods;
    AvailableDownloads downloads;
    CatalogueTree tree{downloads};
};

TEST_F(ModUpdates, RefreshAddressesLearnModsAndListNewerPackages) {
    fs::create_directories(paths.installDir + "/newmod");
    mods.modListUrl = "http://old/list";
    mods.records = {{"tfc", 2, "Team Fortress Classic", "http://old/tfc", true},
                    {"valve", 1, "Half-Life", "http://old/valve", true}};
    const auto record = [](const std::string& folder, int version) {
        return "#MOD#\n" + folder + " " + std::to_string(version) + " 9000\n" + folder + " mod\n" +
               folder + " package\nhttp://new/" + folder + "\nhttp://new/" + folder +
               ".zip\nhttp://mirror/" + folder + ".zip\n";
    };
    ASSERT_TRUE(LoadMods("http://new/list\n" + record("TFC", 3) + record("valve", 4) +
                             record("newmod", 7) + record("absent", 1) + "#END#",
                         tree));

    EXPECT_EQ(mods.modListUrl, "http://new/list");
    // valve's address is replaced though it is not installed; absent is not installed: neither
    // listed nor learnt.
    EXPECT_EQ(Mods(), (std::vector<std::string>{"tfc 2 http://new/TFC", "valve 1 http://new/valve",
                                                "newmod 0 http://new/newmod"}));
    EXPECT_EQ(mods.records[2].title, "newmod mod");
    const auto& listed = tree.Packages(Category::BallotineUpdates);
    ASSERT_EQ(listed.size(), 2u) << "valve's folder is missing";
    EXPECT_EQ(listed[0].label, "newmod package");
    EXPECT_EQ(
        test::Fields(downloads.At(listed[1].queueIndex.value()), paths),
        "TFC package|*TFC|http://new/TFC.zip|http://mirror/TFC.zip|Ballotine/TFC.zip|3|9000|N|1");

    // The same version as installed is not listed; the address is still taken over.
    CatalogueTree again(downloads);
    mods.records[0].baseUrl = "http://old/tfc";
    ASSERT_TRUE(LoadMods("http://new/list\n" + record("tfc", 2), again));
    EXPECT_EQ(again.PackageCount(), 0);
    EXPECT_EQ(mods.records[0].baseUrl, "http://new/tfc");
    ASSERT_TRUE(LoadMods("http://newer/list\n#END#\n" + record("x", 1), again));
    EXPECT_EQ(mods.modListUrl, "http://newer/list");
    EXPECT_EQ(mods.Count(), 3);
    ASSERT_TRUE(LoadMods("", again));
    EXPECT_EQ(mods.modListUrl, "http://newer/list") << "an empty answer keeps the address";
    fs::remove(paths.workDir + "modsupdate.cfg");
    EXPECT_FALSE(LoadModUpdates(mods, paths, downloads, again, {}));
}

TEST(ListedNames, PlainNamesCannotLeaveAFolderAndNAIsNoAddress) {
    for (const char* good : {"..x", "x..", "*tfc", "n\xC3\xA9"}) {
        EXPECT_TRUE(IsPlainName(good)) << good;
    }
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "tab\there", "del\x7F"}) {
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    }
    const std::pair<const char*, std::optional<std::string>> addresses[] = {
        {"http://m/x.zip", "http://m/x.zip"},
        {"N/A", std::nullopt},
        {"n/a", std::nullopt},
        {"", std::nullopt},
        {"N/A2", "N/A2"}};
    for (const auto& [text, address] : addresses) {
        EXPECT_EQ(ListedAddress(text), address) << text;
    }
}

// A bad key takes its record out (its name makes files and a version line); a bad package
// address takes out only that package.
TEST(ListedNames, CheckedListKeepsWhatIsSafeOfEachRecord) {
    struct Case {
        std::string key;
        std::string mapUrl;
        std::string entityUrl;
        bool kept;
        int mapVersion;
        int entityVersion;
    };
    const std::string longest(63, 'k');
    const Case cases[] = {
        {"fine", "http://s/a.zip", "http://s/a_e.zip", true, 2, 3},
        {longest, "http://s/a.zip", "http://s/a_e.zip", true, 2, 3},
        {longest + "k", "http://s/a.zip", "http://s/a_e.zip", false, 0, 0},
        {"../up", "http://s/a.zip", "http://s/a_e.zip", false, 0, 0},
        {"badmap", "http://s/maps/..", "http://s/a_e.zip", true, 0, 3},
        {"badent", "http://s/a.zip", "http://s/ents/", true, 2, 0},
        {"both", "http://s/..", "http://s/x\\..", true, 0, 0},
    };
    test::TempDir dir;
    std::string text = "10\n";
    for (const Case& c : cases) {
        text += "#MAP#\n" + c.key + " 0 1\n2 100\n" + c.mapUrl + "\nN/A\nmap\n3 100\n" +
                c.entityUrl + "\nN/A\nents\n";
    }
    WriteFile(dir / "update.conf", text + "#END#");
    std::vector<std::string> notes;
    const auto list = ReadCheckedMapUpdateList(
        dir / "update.conf", [&notes](const std::string& note) { notes.push_back(note); });
    ASSERT_TRUE(list);
    std::size_t next = 0;
    for (const Case& c : cases) {
        if (!c.kept) {
            continue;
        }
        ASSERT_LT(next, list->records.size()) << c.key;
        const MapRecord& record = list->records[next++];
        EXPECT_EQ(record.key, c.key);
        EXPECT_EQ(record.hasVoteData, 1) << c.key << ": the vote data stays";
        EXPECT_EQ(record.mapVersion, c.mapVersion) << c.key;
        EXPECT_EQ(record.entityVersion, c.entityVersion) << c.key;
    }
    EXPECT_EQ(next, list->records.size());
    EXPECT_EQ(notes.size(), 6u) << "every record and package left out is noted";
}

class Catalogue : public testing::Test {
protected:
    void Build(int revision, const std::vector<ListedMap>& maps) {
        WriteFile(paths.modWorkDir + "update.conf", test::MapListText(revision, maps));
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
    // "x" for a checked package, "." for another.
    std::string Checks(Category category) const {
        std::string checks;
        for (const CatalogueNode& package : tree.Packages(category)) {
            checks += package.checked ? 'x' : '.';
        }
        return checks;
    }
    const CatalogueNode& CategoryNode(Category category) const { return tree.Node({category, -1}); }
    // The marks as shown: the category's ("x" checked, "+" once passed on), then "|" and its
    // packages'.
    std::string Marks(Category category) const {
        const CatalogueNode& node = CategoryNode(category);
        std::string marks =
            std::string(node.markedChecked ? "x" : ".") + (node.passedOn ? "+" : "");
        marks += "|";
        for (const CatalogueNode& package : tree.Packages(category)) {
            marks += package.markedChecked ? 'x' : '.';
        }
        return marks;
    }

    test::TempDir dir;
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
    ASSERT_EQ(downloads.Count(), 6u);
    EXPECT_EQ(test::Fields(downloads.At(downloads.FindByTitle("PRESENT MAP").value()), paths),
              "present map|present|http://s/maps/present.zip|-|"
              "Ballotine/tfc/mapzips/present.zip|2|5000|N|1");
    EXPECT_EQ(test::Fields(downloads.At(downloads.FindByTitle("newer entities").value()), paths),
              "newer entities|newer|http://s/ents/newer_ent.zip|-|"
              "Ballotine/tfc/mapzips/newer_ent.zip|4|600|N|0");
}

TEST_F(Catalogue, AnEmptyRecordListsEveryOfferedPackage) {
    Build(3, {{"zeta", 0, 1, 1}, {"Alpha", 0, 1, 0}, {"beta", 0, 0, 2}});
    EXPECT_EQ(Listing(), (std::vector<std::string>{"New Maps: Alpha map", "New Maps: zeta map",
                                                   "Entity Updates: beta entities",
                                                   "Entity Updates: zeta entities"}));
}

TEST_F(Catalogue, CheckingACategoryCascadesAtTheNextRefresh) {
    Build(20, {{"a", 18}, {"b", 18}, {"c", 18}, {"d", 1, 0, 1}});
    const NodeId newMaps{Category::NewMaps, -1};
    tree.ToggleCheck(newMaps);
    EXPECT_EQ(Checks(Category::NewMaps), "...");
    EXPECT_EQ(Marks(Category::NewMaps), ".|...") << "marks wait for the refresh";
    ASSERT_TRUE(tree.RefreshCheckMarks());
    EXPECT_EQ(Checks(Category::NewMaps), "xxx");
    EXPECT_EQ(Marks(Category::NewMaps), "x+|xxx");
    EXPECT_EQ(tree.TakeRedrawn().size(), 4u) << "the category and its three packages";

    tree.ToggleCheck({Category::NewMaps, 1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(Checks(Category::NewMaps), "x.x");
    EXPECT_TRUE(CategoryNode(Category::NewMaps).checked) << "a package never changes its category";
    EXPECT_EQ(Marks(Category::NewMaps), "x+|x.x");
    EXPECT_EQ(tree.TakeRedrawn(), (std::vector<NodeId>{{Category::NewMaps, 1}}));
    EXPECT_EQ(tree.SelectedCount(), 2);

    tree.ToggleCheck(newMaps);
    tree.RefreshCheckMarks();
    EXPECT_EQ(Checks(Category::NewMaps), "...");
    EXPECT_EQ(Marks(Category::NewMaps), ".+|...");

    // Checking "Ballotine Updates" passes nothing on.
    tree.ToggleCheck({Category::EntityUpdates, -1});
    tree.ToggleCheck({Category::BallotineUpdates, -1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(Marks(Category::EntityUpdates), "x+|x");
    EXPECT_EQ(Marks(Category::BallotineUpdates), ".|");
    EXPECT_EQ(Checks(Category::EntityUpdates), "x");
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
    EXPECT_EQ(downloads.At(downloads.FindByTitle("m5 map").value()).status,
              DownloadStatus::Pending);
    EXPECT_EQ(downloads.At(downloads.FindByTitle("m4 map").value()).status, DownloadStatus::None);
}

// Each package is its own item, and packages that share a title show their keys (and, when
// those are one key in two spellings, their file names).
TEST_F(Catalogue, DetailsAndTitlesOfPackagesAndCategories) {
    const std::string longKey(63, 'k');
    Build(10,
          {{"known", 0, 2, 0, 0, 4096}, {"unsized", 0, 1, 0, 0, 0}, {longKey, 0}, {"KNOWN", 0}});
    EXPECT_EQ(Listing(),
              (std::vector<std::string>{"Downloadable Maps: " + longKey + " map",
                                        "Downloadable Maps: known map (known)",
                                        "Downloadable Maps: KNOWN map (KNOWN, KNOWN.zip)",
                                        "Downloadable Maps: unsized map"}));
    const auto& packages = tree.Packages(Category::DownloadableMaps);
    EXPECT_EQ(downloads.At(*packages[2].queueIndex).localPath,
              paths.modWorkDir + "mapzips/KNOWN-KNOWN.zip")
        << "not the file of the other package";
    tree.ToggleCheck({Category::DownloadableMaps, 1});
    tree.RefreshCheckMarks();
    EXPECT_EQ(tree.SelectedBytes(), 4096);
    tree.ApplyCheckStates(downloads);
    EXPECT_EQ(downloads.At(*packages[1].queueIndex).status, DownloadStatus::Pending);
    EXPECT_EQ(downloads.At(*packages[2].queueIndex).status, DownloadStatus::None);
    EXPECT_EQ(tree.Details({Category::DownloadableMaps, 1}).text,
              "Version 2\nSize 4096 bytes\n\nhttp://s/maps/known.zip\n");
    EXPECT_EQ(tree.Details({Category::DownloadableMaps, 3}).text,
              "Version 1\nSize N/A\n\nhttp://s/maps/unsized.zip\n");
    EXPECT_EQ(tree.Details({Category::DownloadableMaps, 0}).caption, std::string(63, 'k') + " ...");

    // From 64 characters on, not bytes, a caption is cut: no UTF-8 character is cut in half.
    EXPECT_EQ(DetailsCaption(std::string(64, 'a')), std::string(64, 'a') + "...");
    std::string accented;
    for (int i = 0; i < 70; ++i) {
        accented += "\xC3\xA9";
    }
    EXPECT_EQ(DetailsCaption(accented), accented.substr(0, 128) + "...");
}

} // namespace
} // namespace ballotine
