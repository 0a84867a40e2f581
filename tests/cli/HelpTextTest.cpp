#include "CliTestSupport.h"
#include "cli/CliMain.h"
#include "cli/Commands.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::CliRun;
using test::RunCliWith;

fs::path CommittedManPage() {
    return test::TestDataPath("../../docs/ballotine-cli.1");
}

TEST(HelpText, TheHelpAndTheManualPageDescribeEveryCommandAndOption) {
    const CliRun help = RunCliWith({"--help"});
    const CliRun man = RunCliWith({"--man"});
    ASSERT_EQ(help.status, 0);
    ASSERT_EQ(man.status, 0);
    for (const CommandInfo& command : AllCommands()) {
        const std::string name(command.name);
        EXPECT_NE(help.out.find("\n  " + name), std::string::npos) << name;
        EXPECT_NE(man.out.find(".TP\n\\fB" + name + "\\fR"), std::string::npos) << name;
        const CliRun commandHelp = RunCliWith({name, "--help"});
        EXPECT_EQ(commandHelp.status, 0) << name;
        EXPECT_NE(commandHelp.out.find(std::string(command.help)), std::string::npos) << name;
        EXPECT_NE(commandHelp.out.find("ballotine-cli [OPTIONS] " + name), std::string::npos)
            << name;
    }
    for (const OptionHelp& option : GlobalOptionsHelp()) {
        const std::string shown(option.option);
        EXPECT_NE(help.out.find("\n  " + shown + "  "), std::string::npos) << shown;
        std::string troff;
        for (const char c : shown) {
            troff += c == '-' ? "\\-" : std::string(1, c);
        }
        EXPECT_NE(man.out.find(".TP\n\\fB" + troff + "\\fR\n"), std::string::npos) << shown;
    }
}

TEST(HelpText, TheCommittedManualPageIsTheOneTheProgramMakes) {
    EXPECT_EQ(test::ReadFile(CommittedManPage()), ManPageText())
        << "run scripts/man to write docs/ballotine-cli.1 anew";
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
