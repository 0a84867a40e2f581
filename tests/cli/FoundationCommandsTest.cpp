#include "CliTestSupport.h"
#include "cli/CliMain.h"
#include "cli/Commands.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {
using test::CliRun;
using test::RunCliWith;

class Cli : public test::CliOnDemo {};

// What bash offers for the last of the typed words (after the program's name), completed by
// `script` in the folder `cwd`: one entry per offer, sorted.
std::vector<std::string> Completions(const test::TempDir& cwd, const std::string& script,
                                     const std::vector<std::string>& typed) {
    test::WriteFile(cwd / "driver", "source \"$1\"; shift\n"
                                    "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1))\n"
                                    "_ballotine_cli\n"
                                    "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    std::string command = "cd " + test::ShellQuoted(cwd.Path().string()) + " && bash driver " +
                          test::ShellQuoted(script) + " " +
                          test::ShellQuoted(test::BuiltProgram("ballotine-cli").string());
    for (const std::string& word : typed) {
        command += " " + test::ShellQuoted(word);
    }
    const test::ShellRun run = test::RunShell(command);
    EXPECT_EQ(run.status, 0) << command;
    std::istringstream lines(run.out);
    std::vector<std::string> offers;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            offers.push_back(line);
        }
    }
    std::sort(offers.begin(), offers.end());
    return offers;
}

TEST_F(Cli, PathsAndModsPrintTheirRecordsAndModSelectsAsTheSelectorWould) {
    const CliRun paths = Run({"paths"});
    ASSERT_EQ(paths.status, 0) << paths.err;
    const std::string game = demo.Layout().gameDir.string();
    EXPECT_EQ(paths.out, "InstallDir\t" + game + "\nWorkDir\t" + game + "/Ballotine/\nModDir\t" +
                             game + "/tfc/\nMapsDir\t" + game + "/tfc/maps/\nModWorkDir\t" + game +
                             "/Ballotine/tfc/\nVoteSpriteDir\t" + game + "/tfc/sprites/vote/\n");
    EXPECT_EQ(paths.err, "");
    EXPECT_EQ(Run({"mods"}).out, "tfc\t1\tTeam Fortress Classic\toffered\t*\n"
                                 "valve\t1\tHalf-Life Deathmatch\toffered\t\n"
                                 "dmc\t1\tDeathmatch Classic\thidden\t\n"
                                 "ricochet\t0\tRicochet\thidden\t\n");
    for (const char* mod : {"half-life deathmatch", "VALVE", "valve"}) {
        EXPECT_NE(
            Run({"--mod", mod, "mods"}).out.find("valve\t1\tHalf-Life Deathmatch\toffered\t*\n"),
            std::string::npos)
            << mod;
    }
    const CliRun hidden = Run({"--mod", "Deathmatch Classic", "paths"});
    EXPECT_EQ(hidden.status, 2) << "a mod that is not offered cannot be selected";
    EXPECT_NE(hidden.err.find("'Team Fortress Classic'"), std::string::npos) << hidden.err;

    const CliRun built = test::RunBuiltCli("--registry " + Registry() + " mods");
    EXPECT_EQ(built.status, 0);
    EXPECT_EQ(built.out.substr(0, built.out.find('\n')),
              "tfc\t1\tTeam Fortress Classic\toffered\t*")
        << "records on stdout, messages elsewhere";
}

TEST(CliStartUp, FailuresPrintTheirMessagesAndExitOne) {
    test::TempDir dir;
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\n";
    test::WriteFile(dir.Path() / "key.conf", key + "Language=en\n");
    test::WriteFile(dir.Path() / "game.conf", key + "InstallPath=" + (dir / "hl") + "\n");
    const std::string locate = "Point ballotine-cli at the game with: ballotine-cli locate DIR "
                               "(without DIR it lists likely game folders)\n";
    const std::pair<std::string, std::string> cases[] = {
        {"none.conf",
         "Error - Cannot locate installed version of Half-Life\nAborting...\n" + locate},
        {"key.conf", "Error - Install Path Registry Entry not found\nAborting...\n" + locate},
        {"game.conf",
         "Mod Data not found. Aborting...\nSet the game up for Ballotine with: ballotine-cli "
         "init\n"},
    };
    for (const auto& [registry, message] : cases) {
        const CliRun run = RunCliWith({"--registry", dir / registry, "mods"});
        EXPECT_EQ(run.status, 1) << registry;
        EXPECT_EQ(run.err, message);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(Cli, LocateWritesTheRegistryForAGameFolderOnly) {
    test::TempDir dir;
    const std::string registry = dir / "cfg/Ballotine/registry.conf";
    const CliRun bad = RunCliWith({"--registry", registry, "locate", dir.Path().string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("does not look like a Half-Life folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(registry));

    const std::string game = demo.Layout().gameDir.string();
    const CliRun good = RunCliWith({"--registry", registry, "locate", game + "/"});
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out, "InstallPath\t" + game + "\nRegistry\t" + registry + "\n");
    const CliRun paths = RunCliWith({"--registry", registry, "paths"});
    EXPECT_EQ(paths.out.substr(0, paths.out.find('\n')), "InstallDir\t" + game);
}

TEST_F(Cli, UsageErrorsExitTwoAndSayWhy) {
    // Cases apart by ", ", the first one empty.
    std::string cases = ", nosuchcommand, --registry, --yes --no paths, --bogus paths, "
                        "paths extra, locate a b, maps extra, details, details a b, "
                        "details ../../etc/passwd, details maps\\x, details '', sizes, "
                        "describe harbourside, apply harbourside 16 x, "
                        "compile --players 3 2fort well, compile --players 12x 2fort well, "
                        "compile --walls 4 2fort well, compile --walls, compile --thugs 2fort, "
                        "save-list --list a.VML b.VML, show-list a.VML b.VML, "
                        "install-tools extra, updates --install, updates --all Frostfall, "
                        "versions extra, init extra, init --update-server, "
                        "init --update-server a --update-server b, sprites --bogus, "
                        "--mod tfc --mod valve paths, ";
    for (std::size_t end; (end = cases.find(", ")) != std::string::npos; cases.erase(0, end + 2)) {
        const std::string line = cases.substr(0, end);
        const CliRun run = Run(test::Words(line));
        EXPECT_EQ(run.status, kExitUsage) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_NE(run.err, "") << line;
    }
}

// A name as the manual page must spell it so that a reader can copy it: every dash a minus.
std::string Troff(std::string_view shown) {
    std::string troff;
    for (const char c : shown) {
        troff += c == '-' ? "\\-" : std::string(1, c);
    }
    return troff;
}

TEST(HelpText, TheHelpAndTheManualPageDescribeEveryCommandAndOption) {
    const CliRun help = RunCliWith({"--help"});
    const CliRun man = RunCliWith({"--man"});
    ASSERT_EQ(help.status, 0);
    ASSERT_EQ(man.status, 0);
    for (const CommandInfo& command : AllCommands()) {
        const std::string name(command.name);
        EXPECT_NE(help.out.find("\n  " + name), std::string::npos) << name;
        EXPECT_NE(man.out.find(".TP\n\\fB" + Troff(name) + "\\fR"), std::string::npos) << name;
        const CliRun own = RunCliWith({name, "--help"});
        EXPECT_EQ(own.status, 0) << name;
        EXPECT_NE(own.out.find(std::string(command.help)), std::string::npos) << name;
        EXPECT_NE(own.out.find("ballotine-cli [OPTIONS] " + name), std::string::npos) << name;
    }
    for (const OptionHelp& option : GlobalOptionsHelp()) {
        const std::string shown(option.option);
        EXPECT_NE(help.out.find("\n  " + shown + "  "), std::string::npos) << shown;
        EXPECT_NE(man.out.find(".TP\n\\fB" + Troff(shown) + "\\fR\n"), std::string::npos) << shown;
    }
    EXPECT_EQ(test::ReadFile(test::TestDataPath("../../docs/ballotine-cli.1")), ManPageText())
        << "run scripts/man to write docs/ballotine-cli.1 anew";
}

TEST_F(Cli, BashCompletionOffersCommandsOptionsFilesMapsAndServerSizes) {
    test::TempDir dir;
    const std::string script = dir / "ballotine-cli";
    test::WriteFile(script, BashCompletionScript());
    test::WriteFile(dir / "finals.VML", "");
    std::filesystem::create_directory(dir / "games");
    std::vector<std::string> commands;
    for (const CommandInfo& command : AllCommands()) {
        commands.emplace_back(command.name);
    }
    std::sort(commands.begin(), commands.end());
    const std::string registry = demo.Layout().registryFile.string();
    const std::string typedRegistry = "'" + registry + "'";
    struct Case {
        std::vector<std::string> typed;
        std::vector<std::string> offered;
    };
    const Case cases[] = {
        {{""}, commands},
        {{"--no", "comp"}, {"compile"}},
        {{"--registry", typedRegistry, "--v"}, {"--version"}},
        {{"--registry", "fi"}, {"finals.VML"}},
        {{"compile", "--"}, {"--help", "--list", "--no-thugs", "--players", "--walls"}},
        {{"updates", "--i"}, {"--install"}},
        {{"compile", "--list", "fi"}, {"finals.VML"}},
        {{"compile", "--players", ""}, {}},
        {{"show-list", "f"}, {"finals.VML"}},
        {{"show-list", "finals.VML", ""}, {}},
        {{"locate", ""}, {"games"}},
        {{"init", "--"}, {"--help", "--mod", "--update-server"}},
        {{"sprites", "--"}, {"--force", "--help"}},
        {{"publish", "--base-url", "http://x", "g"}, {"games"}},
        {{"publish", "games", "--mod", "tfc", "--"}, {"--base-url", "--help", "--mod"}},
        {{"--registry", typedRegistry, "details", "har"}, {"harbourside"}},
        {{"--registry", registry, "save-list", "finals.VML", "--walls", "2", "s"}, {"skyline"}},
        {{"--registry", registry, "--", "apply", "harbourside", ""},
         {"16", "32", "ClanMatch", "LAN"}},
        {{"nosuchcommand", ""}, {}},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.typed) {
            line += " " + word;
        }
        EXPECT_EQ(Completions(dir, script, c.typed), c.offered) << "ballotine-cli" << line;
    }
}

TEST(HelpText, TheManualPageFormatsWithoutWarnings) {
    if (std::system("command -v groff >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "groff is not installed";
    }
    test::TempDir dir;
    test::WriteFile(dir / "page.1", ManPageText());
    const std::string command =
        "groff -man -Tutf8 -ww -z " + (dir / "page.1") + " 2>" + (dir / "warnings");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::ReadFile(dir / "warnings"), "");
}

} // namespace
} // namespace ballotine
