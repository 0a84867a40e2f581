#include "platform/AtomicFile.h"

#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::size_t FilesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(AtomicFile, CommitReplacesTheTargetWholeAndWithoutCommitNothingChanges) {
    TempDir dir;
    WriteFile(dir.Path() / "mods.cfg", "old");
    {
        AtomicFile file(dir / "mods.cfg");
        file.Write("lost");
    }
    EXPECT_EQ(ReadFile(dir.Path() / "mods.cfg"), "old");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    {
        AtomicFile file(dir / "MODS.CFG");
        ASSERT_TRUE(file.IsOpen());
        EXPECT_TRUE(file.Write("new "));
        EXPECT_TRUE(file.Write(std::string(200000, 'x')));
        EXPECT_EQ(ReadFile(dir.Path() / "mods.cfg"), "old") << "untouched until the commit";
        EXPECT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadFile(dir.Path() / "mods.cfg").size(), 200004u);
    EXPECT_EQ(FilesIn(dir.Path()), 1u) << "no temporary file left, no second spelling";
}

TEST(AtomicFile, RestartDropsEverythingWrittenBeforeBufferedOrNot) {
    TempDir dir;
    const std::string target = dir / "package.zip";
    WriteFile(target, "installed");
    AtomicFile file(target);
    ASSERT_TRUE(file.Write(std::string(200000, 'x'))); // past the buffer: on disk already
    ASSERT_TRUE(file.Write("tail"));                   // still buffered
    ASSERT_TRUE(file.Restart());
    EXPECT_EQ(ReadFile(target), "installed");
    ASSERT_TRUE(file.Write("fresh"));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile(target), "fresh");
    EXPECT_FALSE(file.Restart()) << "a committed file cannot be restarted";
}

TEST(AtomicFile, AFailedWriteKeepsTheOldFile) {
    TempDir dir;
    WriteFile(dir.Path() / "vote.ent", "the earlier vote map");
    {
        const test::FileSizeLimit limit(4096);
        AtomicFile file(dir / "vote.ent");
        ASSERT_TRUE(file.IsOpen());
        file.Write(std::string(100000, 'e'));
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(ReadFile(dir.Path() / "vote.ent"), "the earlier vote map");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    WriteFile(dir.Path() / "tool", "#!/bin/sh\n");
    fs::permissions(dir.Path() / "tool", fs::perms(0750));
    ASSERT_TRUE(WriteFileAtomically(dir / "tool", "#!/bin/sh\nexit 0\n"));
    EXPECT_EQ(fs::status(dir.Path() / "tool").permissions(), fs::perms(0750));

    ASSERT_TRUE(WriteFileAtomically(dir / "fresh", "x"));
    const auto fresh = fs::status(dir.Path() / "fresh").permissions();
    EXPECT_NE(fresh & fs::perms::owner_read, fs::perms::none);
    EXPECT_NE(fresh & fs::perms::others_read, fs::perms::none) << "not a private temp file's mode";
}

TEST(AtomicFile, WritesThroughALinkButNotIntoAMissingFolderOrOverAFolder) {
    TempDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir / "absent/file.txt", "x"));
    fs::create_directory(dir.Path() / "afolder");
    EXPECT_FALSE(WriteFileAtomically(dir / "afolder", "x"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "afolder"));
    WriteFile(dir.Path() / "real.cfg", "old");
    fs::create_symlink("real.cfg", dir.Path() / "link.cfg");
    ASSERT_TRUE(WriteFileAtomically(dir / "link.cfg", "new"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.cfg"));
    EXPECT_EQ(ReadFile(dir.Path() / "real.cfg"), "new");
}

} // namespace
} // namespace ballotine
