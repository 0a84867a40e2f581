#include "catalogue/GameFolders.h"

#include "catalogue/GameRegistration.h"
#include "catalogue/ModFolders.h"
#include "catalogue/SteamLibraries.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::WriteFile;
using Paths = std::vector<fs::path>;

// Steam's current layout: libraries with their apps (app ids and sizes are numbers too).
constexpr std::string_view kCurrentLayout = R"("libraryfolders"
{
	"0"
	{
		"path"		"/home/me/.local/share/Steam"
		"label"		""
		"apps"
		{
			"70"		"467183549"
		}
	}
	"1"
	{
		"path"		"/mnt/games/SteamLibrary"
		"totalsize"		"1000204886016"
	}
}
)";

TEST(SteamLibraries, TakesEveryLibraryPathAndNothingElseFromUntrustedText) {
    const std::pair<std::string, Paths> cases[] = {
        {std::string(kCurrentLayout), {"/home/me/.local/share/Steam", "/mnt/games/SteamLibrary"}},
        // the older layout: numbered values next to other settings
        {"\"LibraryFolders\" { \"TimeNextStatsReport\" \"1690000000\" \"1\" \"/srv/steam\" }",
         {"/srv/steam"}},
        // Steam's escapes; a value "path" is no key; a platform condition after a value
        {R"("l" { "0" { "label" "path" "contentid" "/not/a/library" "path" "/a\\b \"c\"" [$LINUX] } })",
         {R"(/a\b "c")"}},
        // only absolute paths without control characters, each once
        {R"("l" { "0" { "path" "D:\\Games" } "1" { "path" "relative" } "2" { "path" "/x\ny" }
                 "3" { "path" "/dup" } "4" { "path" "/dup" } })",
         {"/dup"}},
        {"// \"l\" { \"0\" { \"path\" \"/commented\" } }\n\"l\" { \"0\" { \"path\" \"/kept\" } }",
         {"/kept"}},
        // broken files: what came before the break is kept, nothing after it
        {R"("l" { "0" { "path" "/first" } } } "m" { "0" { "path" "/after" } })", {"/first"}},
        {R"("l" { "0" { "path" "/first" } "1" { "path" "/cut)", {"/first"}},
        {R"("l" { { "path" "/keyless" } })", {}},
        {"", {}},
        {std::string(4000, '{'), {}},
        {std::string(4000, '"'), {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseLibraryFolders(text), expected) << text.substr(0, 120);
    }
    std::string deep = "\"l\" ";
    for (int i = 0; i < 40; ++i) {
        deep += "{ \"k\" ";
    }
    EXPECT_TRUE(ParseLibraryFolders(deep + "\"path\" \"/deep\"").empty());
    std::string many = "\"l\" {";
    for (int i = 0; i < 100; ++i) {
        many += " \"" + std::to_string(i) + "\" { \"path\" \"/lib" + std::to_string(i) + "\" }";
    }
    const Paths libraries = ParseLibraryFolders(many + " }");
    ASSERT_EQ(libraries.size(), kMostLibraries);
    EXPECT_EQ(libraries.back(), "/lib63");
}

TEST(GameFolders, FindsTheGameBelowEverySteamRootLibraryAndServerFolderOnce) {
    test::TempDir home;
    const fs::path native = home.Path() / ".local/share/Steam";
    const fs::path library = home.Path() / "Library";
    const fs::path flatpak = home.Path() / ".var/app/com.valvesoftware.Steam/.local/share/Steam";
    WriteFile(native / "steamapps/common/Half-Life/valve/liblist.gam", "game \"Half-Life\"");
    WriteFile(library / "steamapps/common/Half-Life/hl_linux", "x");
    WriteFile(flatpak / "steamapps/common/Half-Life/Ballotine/mods.cfg", "x");
    WriteFile(home.Path() / "Steam/steamapps/common/Half-Life/hlds_linux", "x"); // SteamCMD
    WriteFile(home.Path() / "serverfiles/hlds_run", "x");
    WriteFile(home.Path() / "hlds/readme.txt", "not a game");
    // the library list names the native root itself, the library and a game-less library
    WriteFile(native / "steamapps/libraryfolders.vdf",
              "\"libraryfolders\" { \"0\" { \"path\" \"" + native.string() + "\" } \"1\" { " +
                  "\"path\" \"" + library.string() + "\" } \"2\" { \"path\" \"/nonexistent\" } }");
    fs::create_directories(home.Path() / ".steam");
    fs::create_directory_symlink(native, home.Path() / ".steam/steam");

    EXPECT_EQ(FindGameFolders(home.Path()),
              (Paths{home.Path() / ".steam/steam/steamapps/common/Half-Life",
                     flatpak / "steamapps/common/Half-Life",
                     home.Path() / "Steam/steamapps/common/Half-Life",
                     library / "steamapps/common/Half-Life", home.Path() / "serverfiles"}));
    test::TempDir empty;
    EXPECT_TRUE(FindGameFolders(empty.Path()).empty());
}

TEST(GameFolders, AFolderIsTakenAsTheGameOnlyWhenItLooksLikeOneAndSaysWhatItLacks) {
    test::TempDir dir;
    WriteFile(dir.Path() / "game/valve/liblist.gam", "x");
    WriteFile(dir.Path() / "server/hlds_run", "x");
    WriteFile(dir.Path() / "plain/readme.txt", "x");
    WriteFile(dir.Path() / "file", "x");
    WriteFile(dir.Path() / "fake/valve", "a file, not the folder");
    const std::string lacks = "does not look like a Half-Life folder: it holds no valve folder, "
                              "no game program (hl_linux, hlds_linux, hlds_run, hl.sh, hl.exe) "
                              "and no Ballotine folder.";
    struct Case {
        std::string given;
        std::string folder; // as it is registered
        std::string problem;
    };
    const Case cases[] = {
        {dir / "game", dir / "game", ""},
        {dir / "game/", dir / "game", ""},
        {dir / "server/../server", dir / "server", ""},
        {dir / "plain", "", "'" + (dir / "plain") + "' " + lacks},
        {dir / "fake", "", "'" + (dir / "fake") + "' " + lacks},
        {dir / "file", "", "'" + (dir / "file") + "' is not a folder."},
        {dir / "missing", "", "'" + (dir / "missing") + "' is not a folder."},
        {"", "", "'' is not a folder."},
    };
    for (const Case& c : cases) {
        const GameFolderCheck check = CheckGameFolder(c.given);
        EXPECT_EQ(check.problem, c.problem) << c.given;
        if (c.problem.empty()) {
            EXPECT_EQ(check.folder.string(), c.folder);
        }
    }
}

TEST(ModFolders, TheTitleComesFromLiblistGamOrIsTheFolderName) {
    test::TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"// comment\ngame \"Team Fortress Classic\"\n", "Team Fortress Classic"},
        {"gamedll \"dlls/tfc.dll\"\r\n  GAME\t\"Deathmatch Classic\"  // old\r\n",
         "Deathmatch Classic"},
        {"game Ricochet\n", "Ricochet"},
        {"game \"Bad\x01\x1b[2JTitle\x7f\"", "Bad[2JTitle"},
        {"game \"" + std::string(300, 'x') + "\"", std::string(kLongestModTitle, 'x')},
        {"gamedll \"dlls/mp.dll\"\ngame \"\"\ngame \"   \"\n", "mymod"},
        {"games \"No\"\ngame\n", "mymod"},
        {std::string("\0\xff\xfe game \"x\"", 12), "mymod"},
    };
    for (const auto& [liblist, title] : cases) {
        WriteFile(dir.Path() / "mymod/liblist.gam", liblist);
        EXPECT_EQ(ReadModTitle(dir.Path() / "mymod"), title) << liblist.substr(0, 40);
    }
    fs::remove(dir.Path() / "mymod/liblist.gam");
    EXPECT_EQ(ReadModTitle(dir.Path() / "mymod"), "mymod");
    fs::create_directory(dir.Path() / "mymod/liblist.gam");
    EXPECT_EQ(ReadModTitle(dir.Path() / "mymod"), "mymod") << "a folder in the file's place";
}

TEST(ModFolders, TfcFoldersHoldALiblist) {
    test::TempDir dir;
    WriteFile(dir.Path() / "TFC/LIBLIST.GAM", "game \"Team Fortress Classic\"");
    WriteFile(dir.Path() / "tfc_downloads/maps/x.bsp", "x");
    WriteFile(dir.Path() / "valve/liblist.gam", "game \"Half-Life\"");
    EXPECT_EQ(FindTfcFolders(dir.Path()), std::vector<std::string>{"TFC"});
    fs::remove(dir.Path() / "TFC/LIBLIST.GAM");
    EXPECT_TRUE(FindTfcFolders(dir.Path()).empty());
}

} // namespace
} // namespace ballotine
