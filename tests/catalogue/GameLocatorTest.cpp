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
TEST(GameLocator, FindsInstallPathUnderAnyCaseOfItsNameOrSaysWhatIsMissing) {
    const std::string noGame = "Error - Cannot locate installed version of Half-Life\nAborting...";
    const std::string noPath = "Error - Install Path Registry Entry not found\nAborting...";
    const std::pair<RegistryFile, std::string> cases[] = {
        {GameKeyWith("Other=1\nInstallPath=/hl\n"), ""},
        {GameKeyWith("installpath=/hl\n"), ""},
        {GameKeyWith("INSTALLPATH=\\hl\n"), ""}, // backslashes become separators
        {RegistryFile{}, noGame},
        {RegistryFile::Parse("[HKEY_LOCAL_MACHINE\\Software\\Valve]\nInstallPath=/x\n"), noGame},
        {GameKeyWith("Language=english\n"), noPath},
        {GameKeyWith("InstallPath=\n"), noPath},
    };
    for (const auto& [registry, message] : cases) {
        ScriptedPrompter prompter;
        WorkingPaths paths;
        EXPECT_EQ(LocateGame(paths, registry, prompter), message.empty()) << message;
        EXPECT_EQ(paths.workDir, message.empty() ? "/hl/Ballotine/" : "");
        EXPECT_EQ(prompter.Transcript(),
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
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
