#include "platform/Paths.h"

#include "platform/FolderListing.h"
#include "platform/Wildcard.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

TEST(Paths, BackslashesBecomeTheSeparator) {
    EXPECT_EQ(ToNativeSeparators("Entities\\vote.ref"), "Entities/vote.ref");
    EXPECT_EQ(ToNativeSeparators("\\valve\\maps\\"), "/valve/maps/");
    EXPECT_EQ(WithTrailingSeparator("/game"), "/game/");
    EXPECT_EQ(WithTrailingSeparator("/game/"), "/game/");
    EXPECT_EQ(LastPathComponent("http://host/x/2fort.zip"), "2fort.zip");
    EXPECT_EQ(LastPathComponent("C:\\a\\b.zip"), "b.zip");
    EXPECT_EQ(LastPathComponent("plain"), "plain");
}

TEST(Paths, ResolveCaseFindsTheSpellingOnDisk) {
    TempDir dir;
    WriteFile(dir.Path() / "TFC/Maps/2Fort.BSP", "map");

    EXPECT_EQ(ResolveCase(dir.Path() / "tfc/maps/2fort.bsp"), dir.Path() / "TFC/Maps/2Fort.BSP");
    EXPECT_EQ(ResolveCase(dir.Path() / "TFC/Maps/2Fort.BSP"), dir.Path() / "TFC/Maps/2Fort.BSP")
        << "an exact name is used as it is";
    EXPECT_EQ(ResolveCase(dir.Path() / "tfc/maps/new.bsp"), dir.Path() / "TFC/Maps/new.bsp")
        << "a file to be created lands in the folder that exists under another case";
    EXPECT_EQ(ResolveCase(dir.Path() / "tfc/none/x/y.txt"), dir.Path() / "TFC/none/x/y.txt")
        << "after the first missing component the rest stays as written";
}

TEST(Paths, WildcardsMatchLikeWindowsWithoutRegardToCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.spr", "2fort.spr", true},     {"*.spr", "2FORT.SPR", true},
        {"*.spr", "2fort.sprx", false},   {"*.spr", "spr", false},
        {"2fort.*", "2fort.ref", true},   {"2fort.*", "2fort", true},
        {"2fort.*", "2fortx.ref", false}, {"2fort.*", "2fort.16.ref", true},
        {"*.*", "noext", true},           {"?fort.bsp", "2fort.bsp", true},
        {"?fort.bsp", "fort.bsp", false}, {"*", "", true},
        {"a*b*c", "aXXbYYc", true},       {"a*b*c", "aXXbYY", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
    }
}

TEST(FolderListing, OneReadAnswersLookupsWithoutRegardToCase) {
    TempDir dir;
    WriteFile(dir.Path() / "Well.spr", "12345");
    WriteFile(dir.Path() / "2fort.spr", "1");
    WriteFile(dir.Path() / "b.txt", "");
    fs::create_directory(dir.Path() / "Entities");
    fs::create_directory_symlink(dir.Path() / "Entities", dir.Path() / "link");

    const FolderListing listing = FolderListing::Read(dir.Path());
    ASSERT_TRUE(listing.Exists());
    std::vector<std::string> names;
    for (const FolderEntry& entry : listing.Entries()) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"2fort.spr", "b.txt", "Entities", "link", "Well.spr"}));

    const FolderEntry* well = listing.Find("WELL.SPR");
    ASSERT_NE(well, nullptr);
    EXPECT_EQ(well->name, "Well.spr");
    EXPECT_EQ(well->size, 5u);
    EXPECT_TRUE(listing.Find("entities")->isFolder);
    EXPECT_TRUE(listing.Find("link")->isLink);
    EXPECT_FALSE(listing.Find("link")->isFolder) << "a link to a folder is not a folder";
    EXPECT_EQ(listing.Find("missing"), nullptr);
    EXPECT_EQ(listing.Match("*.SPR").size(), 2u);
    EXPECT_TRUE(listing.AnyMatch("b.*"));

    EXPECT_FALSE(FolderListing::Read(dir.Path() / "absent").Exists());
}

} // namespace
} // namespace ballotine
