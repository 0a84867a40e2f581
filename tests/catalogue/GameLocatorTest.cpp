#include "catalogue/GameLocator.h"

#include "catalogue/GameFolders.h"
#include "catalogue/WorkingPaths.h"
#include "platform/Registry.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ScriptedPrompter;

RegistryFile GameKeyWith(const std::string& valueLines) {
    return RegistryFile::Parse("[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\n" + valueLines);
}

// The working paths derived from the game folder are printed by the CLI paths test.
TEST(GameLocator, FindsInstallPathUnderAnyCaseOfItsName) {
    for (const char* line : {"InstallPath=/hl", "installpath=/hl", "INSTALLPATH=\\hl"}) {
        ScriptedPrompter prompter;
        WorkingPaths paths;
        ASSERT_TRUE(
            LocateGame(paths, GameKeyWith("Other=1\n" + std::string(line) + "\n"), prompter))
            << line;
        EXPECT_EQ(paths.installDir, "/hl") << "backslashes become separators";
        EXPECT_EQ(paths.workDir, "/hl/Ballotine/");
        EXPECT_TRUE(prompter.Transcript().empty());
    }
}

TEST(GameLocator, FailuresShowTheirMessages) {
    struct Case {
        RegistryFile registry;
        const char* message;
    };
    const Case cases[] = {
        {RegistryFile{}, "Error - Cannot locate installed version of Half-Life\nAborting..."},
        {RegistryFile::Parse("[HKEY_LOCAL_MACHINE\\Software\\Valve]\nInstallPath=/x\n"),
         "Error - Cannot locate installed version of Half-Life\nAborting..."},
        {GameKeyWith("Language=english\n"),
         "Error - Install Path Registry Entry not found\nAborting..."},
        {GameKeyWith("InstallPath=\n"),
         "Error - Install Path Registry Entry not found\nAborting..."},
    };
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        WorkingPaths paths;
        EXPECT_FALSE(LocateGame(paths, c.registry, prompter));
        EXPECT_EQ(prompter.Transcript(), std::vector<std::string>{c.message});
    }
}

TEST(GameFolders, RecognisesAGameFolderAndSteamLibraries) {
    test::TempDir home;
    EXPECT_FALSE(LooksLikeGameFolder(home.Path()));
    test::WriteFile(home.Path() / ".local/share/Steam/steamapps/common/Half-Life/valve/liblist.gam",
                    "x");
    test::WriteFile(home.Path() / "Library/steamapps/common/Half-Life/hl_linux", "x");
    test::WriteFile(home.Path() / ".local/share/Steam/steamapps/libraryfolders.vdf",
                    "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                        (home.Path() / "Library").string() + "\"\n\t}\n}\n");
    const auto found = FindSteamGameFolders(home.Path());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], home.Path() / ".local/share/Steam/steamapps/common/Half-Life");
    EXPECT_EQ(found[1], home.Path() / "Library/steamapps/common/Half-Life");
    EXPECT_EQ(ParseLibraryFolders("\"path\"  \"D:\\\\Games\\\\Steam\"\n").at(0),
              "D:\\Games\\Steam");
}

} // namespace
} // namespace ballotine
