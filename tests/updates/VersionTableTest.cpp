#include "updates/VersionTable.h"

#include "download/DownloadQueue.h"
#include "install/InstallTestSupport.h"

#include <gtest/gtest.h>
#include <limits>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;

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
    // "key map entity" for every entry.
    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (const VersionEntry& entry : table.Entries()) {
            entries.push_back(entry.key + " " + std::to_string(entry.mapVersion) + " " +
                              std::to_string(entry.entityVersion));
        }
        return entries;
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
    // A file without the header (it compares with its case) or an empty one is replaced.
    EXPECT_EQ(LoadAndScan("#tfc header v1.0 - do not modify\nold 1 1\n#END#"), twoMaps);
    EXPECT_EQ(LoadAndScan(""), twoMaps);

    WriteFile(paths.mapsDir + "ROCK2.BSP", "BSP");
    EXPECT_EQ(
        LoadAndScan(std::string(kHeader) + "2Fort 3 2\nrock2 0 4\ngone 5 1\n#END#\nafter 9 9\n"),
        std::string(kHeader) + "2Fort 3 2\nrock2 1 4\ngone 5 1\nwell 1 0\n#END#")
        << "the table never forgets a map; lines after the end marker are dropped";
}

TEST_F(VersionTableFiles, NumbersReadAsCReadsThemAndBlankLinesAreDropped) {
    WriteFile(ConfigFile(),
              std::string(kHeader) + "a 010 0x10\nb -3 +7\nhalfway 2\n\n   \nx y z\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a 8 16", "b -3 7", "halfway 2 0", "x 0 0"}));
}

TEST_F(VersionTableFiles, NoFileNoTableAndAFailedSaveSaysSo) {
    table.Append({"stale", 1, 1});
    EXPECT_FALSE(LoadVersionTable(table, paths));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(FileExists(ConfigFile()));

    WorkingPaths noMod = paths;
    ClearModPaths(noMod);
    EXPECT_FALSE(LoadVersionTable(table, noMod));
    EXPECT_FALSE(ScanInstalledMaps(table, noMod)) << "no mod: nothing is written anywhere";

    CreateFolders(ConfigFile()); // a folder where the file should be
    table.Append({"2fort", 1, 0});
    EXPECT_FALSE(SaveVersionTable(table, paths));
    EXPECT_TRUE(FolderExists(ConfigFile()));
}

TEST_F(VersionTableFiles, InstalledPackagesRaiseVersionsButNeverLowerThem) {
    WriteFile(ConfigFile(), std::string(kHeader) + "2fort 5 1\nrock2 0 4\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    const std::tuple<const char*, std::int32_t, bool, DownloadStatus> items[] = {
        {"2FORT", 2, true, StatusInstalled},   // older map package: 5 stays
        {"2fort", 3, false, StatusInstalled},  // newer entity package: 1 becomes 3
        {"rock2", 2, true, StatusInstalled},   // map arrives beside its entities
        {"well", 3, false, StatusInstalled},   // unknown key, entity package
        {"*tfc", 4, true, StatusInstalled},    // mod package
        {"hunted", 7, true, StatusDownloaded}, // not installed: not recorded
        {"rock2", 9, false, StatusFailed},
    };
    DownloadQueue queue;
    for (const auto& [key, version, full, status] : items) {
        queue.Append(key, "u", "N/A", "p", 10, version, key, full);
    }
    queue.Rewind();
    for (const auto& item : items) {
        queue.SetStatus(std::get<3>(item));
        queue.Advance();
    }

    EXPECT_TRUE(RecordInstalledVersions(table, queue, paths));
    EXPECT_EQ(ReadFile(ConfigFile()),
              std::string(kHeader) + "2fort 5 3\nrock2 2 4\nwell 0 3\n*tfc 4 0\n#END#");
}

TEST(VersionTable, GapsLookKeysUpWithoutRegardToCaseAndNeverOverflow) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    VersionTable table;
    EXPECT_EQ(table.MapVersionGap("2fort", 1), -1) << "empty table";
    table.Append({"2Fort", 3, 2});
    table.Append({"2FORT", 9, 9});
    table.Append({"big", kMax, 1});
    EXPECT_EQ(table.MapVersionGap("2fort", 1), 2);
    EXPECT_EQ(table.EntityVersionGap("2FORT", 4), -2) << "the first entry of a key answers";
    EXPECT_EQ(table.MapVersionGap("well", 0), -1);
    EXPECT_EQ(table.MapVersionGap("big", -5), kMax);
    EXPECT_EQ(table.EntityVersionGap("big", std::numeric_limits<std::int32_t>::min()), kMax);

    EXPECT_EQ(FileNameOf("http://s/maps/2fort.zip"), "2fort.zip");
    EXPECT_EQ(FileNameOf("C:\\x\\y.zip"), "y.zip");
    EXPECT_EQ(FileNameOf("plain.zip"), "plain.zip");
    EXPECT_EQ(FileNameOf("http://s/dir/"), "");
}

} // namespace
} // namespace ballotine
