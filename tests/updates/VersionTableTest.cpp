#include "updates/VersionTable.h"

#include "install/InstallTestSupport.h"

#include <gtest/gtest.h>
#include <limits>

namespace ballotine {
namespace {
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr const char* kHeader = "#TFC Header V1.0 - DO NOT MODIFY\n";

class VersionTableFiles : public testing::Test {
protected:
    std::string ConfigFile() const { return paths.modWorkDir + "config.conf"; }
    void AddMaps(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            WriteFile(paths.mapsDir + name, "BSP");
        }
    }
    // Loads, scans the maps folder and returns the file written.
    std::string LoadAndScan(const std::string& config) {
        WriteFile(ConfigFile(), config);
        EXPECT_TRUE(LoadVersionTable(table, paths));
        EXPECT_TRUE(ScanInstalledMaps(table, paths));
        return ReadFile(ConfigFile());
    }

    TempDir dir;
    WorkingPaths paths = test::TfcPaths(dir);
    VersionTable table;
};

TEST_F(VersionTableFiles, MapsOnDiskAreAddedToAnEmptyTable) {
    AddMaps({"well.bsp", "2fort.bsp", "readme.txt"});
    CreateFolders(paths.mapsDir + "notamap.bsp");
    EXPECT_EQ(LoadAndScan(std::string(kHeader) + "#END#"),
              std::string(kHeader) + "2fort 1 0\nwell 1 0\n#END#");
}

TEST_F(VersionTableFiles, ScanKeepsKnownVersionsAndMarksPresentMaps) {
    AddMaps({"2fort.bsp", "ROCK2.BSP", "new.bsp"});
    const std::string written = LoadAndScan(std::string(kHeader) + "2Fort 3 2\n"
                                                                   "rock2 0 4\n"
                                                                   "gone 5 1\n"
                                                                   "#END#\n"
                                                                   "after 9 9\n");
    EXPECT_EQ(written, std::string(kHeader) + "2Fort 3 2\nrock2 1 4\ngone 5 1\nnew 1 0\n#END#")
        << "the table never forgets a map; lines after the end marker are dropped";
}

TEST_F(VersionTableFiles, NumbersReadAsTheyAreWrittenInC) {
    WriteFile(ConfigFile(), std::string(kHeader) + "a 010 0x10\nb -3 +7\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.Entries()[0].mapVersion, 8);
    EXPECT_EQ(table.Entries()[0].entityVersion, 16);
    EXPECT_EQ(table.Entries()[1].mapVersion, -3);
    EXPECT_EQ(table.Entries()[1].entityVersion, 7);
}

TEST_F(VersionTableFiles, LinesThatDoNotScan) {
    WriteFile(ConfigFile(), std::string(kHeader) + "halfway 2\n\n   \nx y z\n#END#");
    ASSERT_TRUE(LoadVersionTable(table, paths));
    ASSERT_EQ(table.Count(), 2) << "blank lines name no map and are dropped";
    EXPECT_EQ(table.Entries()[0].key, "halfway");
    EXPECT_EQ(table.Entries()[0].mapVersion, 2);
    EXPECT_EQ(table.Entries()[0].entityVersion, 0);
    EXPECT_EQ(table.Entries()[1].key, "x");
    EXPECT_EQ(table.Entries()[1].mapVersion, 0);
}

TEST_F(VersionTableFiles, AFileWithoutTheHeaderGivesAnEmptyTableThatTheScanReplaces) {
    AddMaps({"2fort.bsp"});
    EXPECT_EQ(LoadAndScan("#tfc header v1.0 - do not modify\nold 1 1\n#END#"),
              std::string(kHeader) + "2fort 1 0\n#END#");
    EXPECT_EQ(LoadAndScan(""), std::string(kHeader) + "2fort 1 0\n#END#");
}

TEST_F(VersionTableFiles, NoFileNoTable) {
    table.Append({"stale", 1, 1});
    EXPECT_FALSE(LoadVersionTable(table, paths));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(FileExists(ConfigFile()));

    WorkingPaths noMod = paths;
    ClearModPaths(noMod);
    EXPECT_FALSE(LoadVersionTable(table, noMod));
    EXPECT_FALSE(ScanInstalledMaps(table, noMod)) << "no mod: nothing is written anywhere";
}

TEST_F(VersionTableFiles, ASaveThatCannotWriteReportsIt) {
    CreateFolders(ConfigFile()); // a folder where the file should be
    table.Append({"2fort", 1, 0});
    EXPECT_FALSE(SaveVersionTable(table, paths));
    EXPECT_TRUE(FolderExists(ConfigFile()));
    EXPECT_EQ(table.Count(), 1);
}

TEST(VersionTable, GapsLookKeysUpWithoutRegardToCase) {
    VersionTable table;
    EXPECT_EQ(table.MapVersionGap("2fort", 1), -1) << "empty table";
    table.Append({"2Fort", 3, 2});
    table.Append({"2FORT", 9, 9});
    EXPECT_EQ(table.MapVersionGap("2fort", 1), 2);
    EXPECT_EQ(table.EntityVersionGap("2FORT", 4), -2) << "the first entry of a key answers";
    EXPECT_EQ(table.MapVersionGap("well", 0), -1);

    table.Append({"big", std::numeric_limits<std::int32_t>::max(), 1});
    EXPECT_EQ(table.MapVersionGap("big", -5), std::numeric_limits<std::int32_t>::max())
        << "versions from a list must not overflow the difference";
    EXPECT_EQ(table.EntityVersionGap("big", std::numeric_limits<std::int32_t>::min()),
              std::numeric_limits<std::int32_t>::max());
}

TEST(VersionTable, FileNameOfTakesTheLastComponent) {
    EXPECT_EQ(FileNameOf("http://s/maps/2fort.zip"), "2fort.zip");
    EXPECT_EQ(FileNameOf("C:\\x\\y.zip"), "y.zip");
    EXPECT_EQ(FileNameOf("plain.zip"), "plain.zip");
    EXPECT_EQ(FileNameOf("http://s/dir/"), "");
}

} // namespace
} // namespace ballotine
