#include "platform/ToolRunner.h"

#include "support/TestFiles.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;

class ToolRunnerTest : public ::testing::Test {
protected:
    // A tool in the tool folder: a shell script with this body.
    void Tool(const std::string& name, const std::string& body) {
        test::WriteFile(dir.Path() / "tools" / name, "#!/bin/sh\n" + body + "\n");
        fs::permissions(dir.Path() / "tools" / name, fs::perms(0755));
    }

    test::TempDir dir;
    SpawnToolRunner runner{{dir.Path() / "tools"}};
};

TEST_F(ToolRunnerTest, TheToolFolderComesFirstAndTheToolRunsInTheGivenFolder) {
    Tool("ls", "echo \"ours in $(pwd): $*\"; echo said >&2");
    const fs::path before = fs::current_path();
    const ToolRun run = runner.RunTool("ls", {"a b", "c"}, dir.Path());
    EXPECT_TRUE(run.Succeeded());
    EXPECT_EQ(run.output, "ours in " + dir.Path().string() + ": a b c\nsaid\n");
    EXPECT_EQ(run.FailureReason(), "");
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(ToolRunnerTest, EveryEndingIsToldWithTheToolsOwnWordsFirst) {
    Tool("exit3", "exit 3");
    Tool("complains", "echo 'complains: cannot read x.zip' >&2; exit 1");
    Tool("killed", "kill -9 $$");
    Tool("chatty", "for i in 1 2 3 4 5 6 7 8 9 10; do echo line $i; done; echo; exit 4");
    const struct {
        const char* program;
        fs::path folder;
        ToolOutcome outcome;
        int code;
        std::string reason;
    } cases[] = {
        {"exit3", {}, ToolOutcome::Failed, 3, "exit3 ended with exit status 3"},
        {"complains", {}, ToolOutcome::Failed, 1, "complains: cannot read x.zip"},
        {"killed", {}, ToolOutcome::Killed, 9, "killed was ended by signal 9"},
        {"chatty",
         {},
         ToolOutcome::Failed,
         4,
         "line 3\nline 4\nline 5\nline 6\nline 7\nline 8\nline 9\nline 10"},
        {"no-such-tool-ballotine",
         {},
         ToolOutcome::DidNotStart,
         ENOENT,
         "no-such-tool-ballotine could not be started: No such file or directory"},
        {"exit3", dir.Path() / "missing", ToolOutcome::DidNotStart, ENOENT,
         "exit3 could not be started: No such file or directory"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runner.RunTool(c.program, {}, c.folder);
        EXPECT_EQ(run.outcome, c.outcome) << c.program;
        EXPECT_EQ(run.code, c.code) << c.program;
        EXPECT_EQ(run.FailureReason(), c.reason) << c.program;
        EXPECT_EQ(WithFailureReason("It failed.", run), "It failed.\n\n" + c.reason);
    }
}

TEST_F(ToolRunnerTest, ArgumentsReachTheToolAsTheyAre) {
    Tool("args", "printf '[%s]\\n' \"$@\"");
    const std::vector<std::string> arguments = {
        "a\"b", "$(touch pwned)", "`touch pwned2`", "x; touch pwned3", "two words", "", "*",
        "'",    "> nul"};
    const ToolRun run = runner.RunTool("args", arguments, dir.Path());
    ASSERT_TRUE(run.Succeeded()) << run.FailureReason();
    std::string expected;
    for (const std::string& argument : arguments) {
        expected += "[" + argument + "]\n";
    }
    EXPECT_EQ(run.output, expected);
    for (const char* trace : {"pwned", "pwned2", "pwned3", "nul"}) {
        EXPECT_FALSE(fs::exists(dir.Path() / trace)) << trace;
    }
}

TEST_F(ToolRunnerTest, ADetachedToolRunsOnWithoutBeingWaitedFor) {
    // The viewer waits (10 s at most) for a sign that only comes once StartDetached returned.
    Tool("viewer", "i=0; while [ ! -e \"$1.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); "
                   "done; echo \"$1\" > \"$1.tmp\"; mv \"$1.tmp\" \"$1.seen\"");
    const std::string file = dir / "update.log";
    ASSERT_TRUE(runner.StartDetached("viewer", {file}));
    EXPECT_FALSE(fs::exists(file + ".seen")) << "it was waited for";
    test::WriteFile(file + ".go", "");
    for (int wait = 0; wait < 1000 && !fs::exists(file + ".seen"); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ReadFile(file + ".seen"), file + "\n");
    EXPECT_FALSE(runner.StartDetached("no-such-viewer-ballotine", {file}));
}

} // namespace
} // namespace ballotine
