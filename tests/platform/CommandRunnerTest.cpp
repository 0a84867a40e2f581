#include "platform/CommandRunner.h"

#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;

TEST(CommandRunner, NulRedirectionsMapToDevNull) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"/w/ripent\" -import \"/m/vote\" > nul",
         "\"/w/ripent\" -import \"/m/vote\" > /dev/null"},
        {"tool >nul 2> NUL; next", "tool >/dev/null 2> /dev/null; next"},
        {"tool > null.txt", "tool > null.txt"},
        {"echo nul", "echo nul"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(ShellCommandRunner::MapNullDevice(in), out);
    }
}

TEST(CommandRunner, RunsInTheGivenFolderWithItsToolsFirstAndReportsTheStatus) {
    test::TempDir dir;
    test::WriteFile(dir.Path() / "tools/ls", "#!/bin/sh\necho ours > \"$1\"\n");
    fs::permissions(dir.Path() / "tools/ls", fs::perms(0755));
    const fs::path before = fs::current_path();
    ShellCommandRunner runner({dir.Path() / "tools"});
    EXPECT_EQ(runner.Run("ls result.txt; pwd > where.txt; echo hidden > nul", dir.Path()), 0);
    EXPECT_EQ(ReadFile(dir.Path() / "result.txt"), "ours\n");
    EXPECT_EQ(ReadFile(dir.Path() / "where.txt"), dir.Path().string() + "\n");
    EXPECT_FALSE(fs::exists(dir.Path() / "nul")) << "output to nul is discarded";
    EXPECT_EQ(fs::current_path(), before);

    EXPECT_EQ(runner.Run("exit 3"), 3);
    EXPECT_NE(runner.Run("true", dir.Path() / "missing"), 0) << "a folder that is not there";
    EXPECT_NE(runner.Run("no-such-command-ballotine > nul 2> nul"), 0);
    EXPECT_NE(runner.Run("kill -9 $$"), 0) << "a killed command is no success";
}

TEST(CommandRunner, NamesInDoubleQuotesCannotRunCommands) {
    test::TempDir dir;
    const std::string hostile = "a\"; touch pwned; echo \"$(touch pwned2)`touch pwned3`\\";
    ASSERT_EQ(ShellCommandRunner().Run(
                  "printf %s \"" + EscapeForDoubleQuotes(hostile) + "\" > out.txt", dir.Path()),
              0);
    EXPECT_EQ(ReadFile(dir.Path() / "out.txt"), hostile);
    for (const char* trace : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(fs::exists(dir.Path() / trace)) << trace;
    }
}

} // namespace
} // namespace ballotine
