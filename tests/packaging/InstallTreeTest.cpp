#include "BuildInfo.h"
#include "support/BareGame.h"
#include "support/DemoFixture.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::RunShell;
using test::ShellQuoted;
using test::ShellRun;

constexpr bool kWithGui = BALLOTINE_WITH_GUI != 0;
const std::string kId = "io.github.ballotine.Ballotine";

bool HasProgram(const std::string& name) {
    return RunShell("command -v " + name + " >/dev/null 2>&1").status == 0;
}

// `cmake --install` of this build into a fresh DESTDIR with the prefix /usr, as the packages
// are made.
class InstallTree : public ::testing::Test {
protected:
    void SetUp() override {
        const ShellRun install = RunShell("DESTDIR=" + ShellQuoted(root.Path().string()) + " " +
                                          ShellQuoted(BALLOTINE_CMAKE_COMMAND) + " --install " +
                                          ShellQuoted(BALLOTINE_BUILD_DIR) + " --prefix /usr 2>&1");
        ASSERT_EQ(install.status, 0) << install.out;
    }
    fs::path Installed(std::string_view relative) const { return root.Path() / "usr" / relative; }
    // A program of the installation run by the shell with `arguments`, without a display and
    // with a PATH that holds none of our programs: output and status.
    ShellRun RunInstalled(std::string_view program, const std::string& arguments) const {
        return RunShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH=/usr/bin:/bin " +
                        ShellQuoted(Installed(program).string()) + " " + arguments + " 2>&1");
    }

    test::TempDir root;
};

std::string Bin(std::string_view name) {
    return std::string(BALLOTINE_INSTALL_BINDIR) + "/" + std::string(name);
}
std::string Helper(std::string_view name) {
    return std::string(BALLOTINE_INSTALL_HELPERDIR) + "/" + std::string(name);
}
std::string Share(std::string_view relative) {
    return std::string(BALLOTINE_INSTALL_DATADIR) + "/" + std::string(relative);
}
std::string ManPage(std::string_view program) {
    return std::string(BALLOTINE_INSTALL_MANDIR) + "/man1/" + std::string(program) + ".1.gz";
}

TEST_F(InstallTree, HoldsThePackagesFilesAndNothingElse) {
    struct Expected {
        std::string path;
        bool gui;
        bool program;
    };
    std::vector<Expected> expected = {
        {Bin("ballotine-cli"), false, true},
        {Helper("ripent"), false, true},
        {Helper("pkzip25"), false, true},
        {ManPage("ballotine-cli"), false, false},
        {ManPage("ripent"), false, false},
        {ManPage("pkzip25"), false, false},
        {Share("bash-completion/completions/ballotine-cli"), false, false},
        {Share("doc/ballotine-cli/copyright"), false, false},
        {Share("doc/ballotine-cli/changelog.gz"), false, false},
        {Bin("ballotine"), true, true},
        {ManPage("ballotine"), true, false},
        {Share("applications/" + kId + ".desktop"), true, false},
        {Share("metainfo/" + kId + ".metainfo.xml"), true, false},
        {Share("icons/hicolor/scalable/apps/" + kId + ".svg"), true, false},
        {Share("doc/ballotine/copyright"), true, false},
        {Share("doc/ballotine/changelog.gz"), true, false},
    };
    for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        expected.push_back(
            {Share("icons/hicolor/" + std::string(size) + "/apps/" + kId + ".png"), true, false});
    }
    // The vote map kit is installed once its build step has made it.
    for (const char* kit : {"vote.bsp", "vote.ref", "vote.spr", "blank.spr"}) {
        if (fs::exists(fs::path(BALLOTINE_VOTE_KIT_DIR) / kit)) {
            expected.push_back({Share(std::string("ballotine/kit/") + kit), false, false});
        }
    }
    std::set<std::string> wanted;
    for (const Expected& file : expected) {
        if (file.gui && !kWithGui) {
            continue;
        }
        wanted.insert(file.path);
        const fs::perms mode = fs::status(Installed(file.path)).permissions();
        EXPECT_EQ(mode & fs::perms::owner_exec,
                  file.program ? fs::perms::owner_exec : fs::perms::none)
            << file.path;
        EXPECT_NE(mode & fs::perms::others_read, fs::perms::none) << file.path;
    }
    std::set<std::string> installed;
    for (const auto& entry : fs::recursive_directory_iterator(root.Path() / "usr")) {
        if (!entry.is_directory()) {
            installed.insert(fs::relative(entry.path(), root.Path() / "usr").string());
        }
    }
    EXPECT_EQ(installed, wanted);
}

TEST_F(InstallTree, EveryProgramAndTheChangelogTellTheProjectsVersion) {
    std::vector<std::pair<std::string, std::string>> programs = {
        {"ballotine-cli", Bin("ballotine-cli")},
        {"ripent", Helper("ripent")},
        {"pkzip25", Helper("pkzip25")},
    };
    if (kWithGui) {
        programs.emplace_back("ballotine", Bin("ballotine"));
    }
    for (const auto& [name, path] : programs) {
        const ShellRun version = RunInstalled(path, "--version");
        EXPECT_EQ(version.status, 0) << name;
        EXPECT_EQ(version.out, name + " " + kVersion + "\n");
        const ShellRun help = RunInstalled(path, "--help");
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_TRUE(std::regex_search(help.out, std::regex("^[Uu]sage: " + name + " ")))
            << help.out;
    }
    const ShellRun changelog = RunShell(
        "zcat " + ShellQuoted(Installed(Share("doc/ballotine-cli/changelog.gz")).string()));
    EXPECT_EQ(changelog.out.substr(0, changelog.out.find('\n')),
              "ballotine (" + std::string(kVersion) + ") unstable; urgency=medium")
        << "the changelog's newest entry is this version";
}

TEST_F(InstallTree, TheInstalledCommandLineFindsItsToolsInTheHelperFolder) {
    ASSERT_NE(RunShell("PATH=/usr/bin:/bin; command -v pkzip25 || command -v ripent").status, 0)
        << "no other pkzip25 or ripent on the PATH the programs are run with";
    const test::DemoFixture demo;
    const std::string registry = "--registry " + ShellQuoted(demo.Layout().registryFile.string());
    const fs::path workingRipent = demo.Layout().gameDir / "Ballotine" / "ripent";
    fs::remove(workingRipent);

    const ShellRun tools = RunInstalled(Bin("ballotine-cli"), registry + " install-tools");
    ASSERT_EQ(tools.status, 0) << tools.out;
    EXPECT_EQ(tools.out, "ripent\t" + workingRipent.string() + "\n");
    EXPECT_EQ(test::ReadFile(workingRipent), test::ReadFile(Installed(Helper("ripent"))));

    // Installing a package unpacks it with pkzip25, which only the helper folder holds.
    const ShellRun update = RunInstalled(
        Bin("ballotine-cli"), registry + " updates --install 'Ridgeline - Attack / Defend'");
    EXPECT_EQ(update.status, 0) << update.out;
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/ridgeline.bsp")));
}

// A fresh game set up by the installed command line: the kit from the data folder, ripent from
// the helper folder, nothing from the build tree.
TEST_F(InstallTree, TheInstalledCommandLineSetsUpAFreshGame) {
    const test::BareGame game;
    const std::string registry = "--registry " + ShellQuoted(game.Registry().string());
    ASSERT_EQ(
        RunInstalled(Bin("ballotine-cli"), registry + " locate " + ShellQuoted(game.Dir().string()))
            .status,
        0);
    const ShellRun init = RunInstalled(Bin("ballotine-cli"), registry + " init");
    ASSERT_EQ(init.status, 0) << init.out;
    EXPECT_EQ(test::ReadFile(game.Game("Ballotine/tfc/Entities/vote.ref")),
              test::ReadFile(Installed(Share("ballotine/kit/vote.ref"))));
    EXPECT_EQ(test::ReadFile(game.Game("Ballotine/ripent")),
              test::ReadFile(Installed(Helper("ripent"))));
    EXPECT_EQ(RunInstalled(Bin("ballotine-cli"), registry + " maps").out,
              "alpine\tInstalled\nbadlands\tInstalled\ncanyon\tInstalled\n");
}

TEST_F(InstallTree, ManualPagesFormatWithoutWarningsAndNameTheirProgram) {
    if (!HasProgram("groff")) {
        GTEST_SKIP() << "groff is not installed";
    }
    std::vector<std::string> programs = {"ballotine-cli", "ripent", "pkzip25"};
    if (kWithGui) {
        programs.emplace_back("ballotine");
    }
    for (const std::string& program : programs) {
        const std::string page = ShellQuoted(Installed(ManPage(program)).string());
        const ShellRun warnings =
            RunShell("zcat " + page + " | groff -man -Tutf8 -ww -z 2>&1 >/dev/null");
        EXPECT_EQ(warnings.status, 0) << program;
        EXPECT_EQ(warnings.out, "") << program;
        // What whatis, apropos and lintian read: "name \- what it does" after .SH NAME.
        std::string name;
        for (const char c : program) {
            name += c == '-' ? std::string("\\-") : std::string(1, c);
        }
        const ShellRun text = RunShell("zcat " + page);
        EXPECT_NE(text.out.find(".SH NAME\n" + name + " \\- "), std::string::npos) << program;
    }
}

TEST_F(InstallTree, DesktopEntryIconAndAppStreamDataAgreeAndValidate) {
    if (!kWithGui) {
        GTEST_SKIP() << "built without the window";
    }
    const fs::path desktop = Installed(Share("applications/" + kId + ".desktop"));
    const fs::path metainfo = Installed(Share("metainfo/" + kId + ".metainfo.xml"));
    const std::string entry = test::ReadFile(desktop);
    const std::string data = test::ReadFile(metainfo);
    EXPECT_NE(entry.find("\nIcon=" + kId + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=ballotine\n"), std::string::npos);
    EXPECT_NE(data.find("<id>" + kId + "</id>"), std::string::npos);
    EXPECT_NE(data.find(">" + kId + ".desktop</launchable>"), std::string::npos);
    EXPECT_NE(data.find("<release version=\"" + std::string(kVersion) + "\""), std::string::npos)
        << "the newest release of the AppStream data is this version";

    for (const auto& [tool, command] :
         {std::pair<std::string, std::string>{"desktop-file-validate", "desktop-file-validate "},
          {"appstreamcli", "appstreamcli validate --no-net "}}) {
        if (!HasProgram(tool)) {
            ADD_FAILURE() << tool << " is not installed (scripts/setup installs it)";
            continue;
        }
        const fs::path& file = tool == "appstreamcli" ? metainfo : desktop;
        const ShellRun check = RunShell(command + ShellQuoted(file.string()) + " 2>&1");
        EXPECT_EQ(check.status, 0) << check.out;
    }
}

} // namespace
} // namespace ballotine
