#include "platform/CommandRunner.h"

#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(CommandRunner, NulRedirectionsMapToDevNull) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"\"/w/ripent\" -import \"/m/vote\" > nul",
         "\"/w/ripent\" -import \"/m/vote\" > /dev/null"},
        {"tool >nul 2> NUL", "tool >/dev/null 2> /dev/null"},
        {"tool > nul; next", "tool > /dev/null; next"},
        {"tool > null.txt", "tool > null.txt"},
        {"echo nul", "echo nul"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellCommandRunner::MapNullDevice(c.in), c.out);
    }
}

TEST(CommandRunner, NamesInDoubleQuotesCannotRunCommands) {
    TempDir dir;
    const std::string hostile = "a\"; touch pwned; echo \"$(touch pwned2)`touch pwned3`\\";
    ShellCommandRunner runner;
    ASSERT_EQ(
        runner.Run("printf %s \"" + EscapeForDoubleQuotes(hostile) + "\" > out.txt", dir.Path()),
        0);
    EXPECT_EQ(ReadFile(dir.Path() / "out.txt"), hostile);
    for (const char* trace : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(fs::exists(dir.Path() / trace)) << trace;
    }
}

TEST(CommandRunner, ReportsTheExitStatus) {
    ShellCommandRunner runner;
    EXPECT_EQ(runner.Run("true"), 0);
    EXPECT_EQ(runner.Run("exit 3"), 3);
    EXPECT_NE(runner.Run("no-such-command-ballotine > nul 2> nul"), 0);
    EXPECT_NE(runner.Run("kill -9 $$"), 0) << "a killed command is no success";
}

TEST(CommandRunner, RunsInTheGivenFolderWithoutMovingTheProgram) {
    TempDir dir;
    const fs::path before = fs::current_path();
    ShellCommandRunner runner;
    EXPECT_EQ(runner.Run("pwd > where.txt", dir.Path()), 0);
    EXPECT_EQ(ReadFile(dir.Path() / "where.txt"), dir.Path().string() + "\n");
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_NE(runner.Run("true", dir.Path() / "missing"), 0) << "a folder that is not there";
    EXPECT_EQ(runner.Run("echo hidden > nul", dir.Path()), 0);
    EXPECT_FALSE(fs::exists(dir.Path() / "nul")) << "output to nul is discarded";
}

TEST(CommandRunner, TheProgramsOwnToolsComeFirst) {
    TempDir dir;
    WriteFile(dir.Path() / "tools/ls", "#!/bin/sh\necho ours > \"$1\"\n");
    fs::permissions(dir.Path() / "tools/ls", fs::perms(0755));
    ShellCommandRunner runner({dir.Path() / "tools"});
    EXPECT_EQ(runner.Run("ls result.txt", dir.Path()), 0);
    EXPECT_EQ(ReadFile(dir.Path() / "result.txt"), "ours\n");
}

} // namespace
} // namespace ballotine
