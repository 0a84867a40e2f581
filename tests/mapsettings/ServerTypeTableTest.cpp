#include "mapsettings/ServerTypeTable.h"

#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::TempDir;
using test::WriteFile;

const std::string kHeader = "//Supported Server Types - *** DO NOT MODIFY ***//\n";

class ServerTypes : public testing::Test {
protected:
    std::string ModWorkDir() const { return dir.Path().string() + "/"; }
    void Conf(const std::string& content) { WriteFile(dir.Path() / "servertypes.conf", content); }
    void Reference(const std::string& name) {
        WriteFile(dir.Path() / "Entities" / name, "x.tpt\n");
    }
    std::vector<std::string> Keys() {
        table.LoadServerTypes(ModWorkDir());
        std::vector<std::string> keys;
        for (const ServerType& type : table.Types()) {
            keys.push_back(type.key);
        }
        return keys;
    }
    std::vector<std::string> Listed(const std::string& map) {
        table.LoadServerTypes(ModWorkDir());
        std::vector<std::string> rows;
        for (const ServerSizeRow& row : ListServerSizes(table, ModWorkDir(), map)) {
            rows.push_back(row.displayName + "=" + row.key);
        }
        return rows;
    }

    TempDir dir;
    ServerTypeTable table;
};

TEST_F(ServerTypes, EndLinesSkipThemselvesAndTheLineAfterAndTheHeaderMustBeExact) {
    Conf(kHeader + "16\nSixteen\n#END old\nforgotten\n32\nThirty-two\n#END");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"16", "32"}));
    EXPECT_EQ(table.Types()[1].displayName, "Thirty-two");
    EXPECT_EQ(table.FindServerType("32"), 1);
    EXPECT_EQ(table.FindServerType("64"), -1);

    for (const char* bad :
         {"//Supported Server Types - *** DO NOT MODIFY ***// \n16\nSixteen\n", ""}) {
        Conf(bad);
        EXPECT_TRUE(Keys().empty()) << bad;
    }
    std::filesystem::remove(dir.Path() / "servertypes.conf");
    EXPECT_TRUE(Keys().empty());
}

TEST_F(ServerTypes, LongKeysAndNamesAreCutAndEveryEntryIsKept) {
    std::string content = kHeader + "abcdefghijkl\n" + std::string(300, 'n') + "\n";
    for (int i = 0; i < 150; ++i) {
        content += "k" + std::to_string(i) + "\nName " + std::to_string(i) + "\n";
    }
    Conf(content);
    const auto keys = Keys();
    ASSERT_EQ(keys.size(), 151u + 1u) << "every entry, plus the final empty line's entry";
    EXPECT_EQ(keys[0], "abcdefghi");
    EXPECT_EQ(table.Types()[0].displayName.size(), 127u);
    EXPECT_EQ(table.FindServerType("K149"), 150);
}

TEST_F(ServerTypes, SizesAreListedInRankOrderWhateverTheFolderOrder) {
    Conf(kHeader + "32\nThirty-two players\n16\nSixteen players\n8\nEight\nhuge\nHuge\n");
    for (const char* file : {"2fort.16.ref", "2fort.32.REF", "2fort.8.ref", "2fort.HUGE.ref",
                             "2fort.64.ref", "2fort.16.txt", "2fortx.16.ref", "2fort.ref"}) {
        Reference(file);
    }
    EXPECT_EQ(Listed("2fort"), (std::vector<std::string>{"Thirty-two players=32",
                                                         "Sixteen players=16", "Huge=HUGE"}))
        << "one-character keys, unknown keys, other extensions and other maps are left out";

    std::vector<std::string> names = {"2fort.16.ref", "2fort.32.REF", "2fort.HUGE.ref"};
    do { // whatever order the folder lists the files in
        std::vector<std::string> keys;
        for (const ServerSizeRow& row : RankServerSizes(table, "2fort", names)) {
            keys.push_back(row.key);
        }
        EXPECT_EQ(keys, (std::vector<std::string>{"32", "16", "HUGE"})) << names[0] << names[1];
    } while (std::next_permutation(names.begin(), names.end()));
}

TEST_F(ServerTypes, AMapNameWithADotTakesTheKeyAfterTheLastDot) {
    Conf(kHeader + "16\nSixteen\n");
    Reference("my.map.16.ref");
    EXPECT_EQ(Listed("my.map"), std::vector<std::string>{"Sixteen=16"});
    EXPECT_TRUE(Listed("none").empty());
    EXPECT_TRUE(Listed("my").empty()) << "my.map's sizes are not those of the map my";
    Reference("my.16.ref");
    EXPECT_EQ(Listed("MY"), std::vector<std::string>{"Sixteen=16"});
    EXPECT_TRUE(Listed("my*").empty()) << "a wildcard in a map name matches no other map";
    EXPECT_TRUE(ListServerSizes(table, "", "my.map").empty()) << "no mod selected";
}

} // namespace
} // namespace ballotine
