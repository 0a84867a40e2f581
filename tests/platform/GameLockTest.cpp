#include "platform/GameLock.h"

#include "support/FileSizeLimit.h"
#include "support/OtherLockHolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;

TEST(GameLock, OneWriterAtATimeAndTheNextOneIsToldWho) {
    test::TempDir dir;
    test::OtherLockHolder other(dir.Path(), "updates");

    LockHolder holder;
    EXPECT_FALSE(GameLock::TryTake(dir.Path(), "compile", &holder));
    EXPECT_EQ(holder.pid, other.Pid());
    EXPECT_EQ(holder.operation, "updates");
    EXPECT_EQ(holder.Describe(),
              holder.program + " (process " + std::to_string(other.Pid()) + ", updates)");

    test::ScriptedPrompter prompter;
    prompter.AnswerNo();
    EXPECT_FALSE(LockGameForWriting(dir.Path(), "compile", prompter));
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0],
              "Another program is changing this game: " + holder.Describe() + ".\nTry again?");

    other.Release();
    const auto lock = LockGameForWriting(dir.Path(), "compile", prompter);
    ASSERT_TRUE(lock);
    EXPECT_TRUE(lock->Holds());
    EXPECT_EQ(prompter.Questions().size(), 1u) << "free: nothing asked";
}

// An operation inside another of the same process (the command line holds the lock for the
// whole command, the flows take it too) goes on; only the outer one lets go. A disk too full
// for the holder's record changes nothing of that.
TEST(GameLock, TheHolderTakesItAgainAsAnInnerOperation) {
    for (const rlim_t recordRoom : {RLIM_INFINITY, rlim_t{4}}) {
        test::TempDir dir;
        std::optional<GameLock> outer;
        {
            const test::FileSizeLimit full(recordRoom);
            outer = GameLock::TryTake(dir.Path(), "updates");
            ASSERT_TRUE(outer && outer->Holds());
            const auto inner = GameLock::TryTake(dir.Path(), "install");
            ASSERT_TRUE(inner) << recordRoom;
            EXPECT_FALSE(inner->Holds());
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(GameLock::TryTake(dir.Path(), "compile") ? 1 : 0);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0) << "still held after the inner one went";
        outer.reset();
        EXPECT_TRUE(GameLock::TryTake(dir.Path(), "compile"));
    }
}

TEST(GameLock, NoFolderNoLockNeeded) {
    test::TempDir dir;
    for (const fs::path& folder : {dir.Path() / "missing", fs::path()}) {
        const auto lock = GameLock::TryTake(folder, "compile");
        ASSERT_TRUE(lock) << folder;
        EXPECT_FALSE(lock->Holds());
        EXPECT_FALSE(fs::exists(folder / kGameLockFileName));
    }
}

} // namespace
} // namespace ballotine
