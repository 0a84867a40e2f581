#include "platform/FileSystem.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(FileSystem, FindFilesSearchesOneFolderWithoutRegardToCase) {
    TempDir dir;
    WriteFile(dir.Path() / "Sprites/Vote/2fort.spr", "x");
    WriteFile(dir.Path() / "Sprites/Vote/WELL.SPR", "x");
    WriteFile(dir.Path() / "Sprites/Vote/readme.txt", "x");

    const auto found = FindFiles(dir / "sprites/vote/*.spr");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "2fort.spr");
    EXPECT_EQ(found[1].name, "WELL.SPR");
    EXPECT_TRUE(FindFiles(dir / "sprites/none/*.spr").empty());
    EXPECT_TRUE(FindFiles(dir / "sprites/vote/").empty()) << "a folder alone is no pattern";
}

TEST(FileSystem, StatusAndExistence) {
    TempDir dir;
    WriteFile(dir.Path() / "maps/2fort.bsp", std::string(1234, 'b'));
    const auto status = QueryFile(dir / "MAPS/2FORT.bsp");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->size, 1234u);
    EXPECT_FALSE(status->isFolder);
    EXPECT_TRUE(FileExists(dir / "maps/2fort.bsp"));
    EXPECT_FALSE(FileExists(dir / "maps"));
    EXPECT_TRUE(FolderExists(dir / "Maps"));
    EXPECT_FALSE(FolderExists(dir / "maps/2fort.bsp"));
    EXPECT_FALSE(QueryFile(""));
    EXPECT_FALSE(OpenForReading(dir / "maps")) << "a folder does not open as a file";
    EXPECT_EQ(ReadWholeFile(dir / "MAPS/2fort.BSP")->size(), 1234u);
}

TEST(FileSystem, CopyReplacesWholeOrNotAtAll) {
    TempDir dir;
    WriteFile(dir.Path() / "new.bin", "new content");
    WriteFile(dir.Path() / "target.bin", "old");
    ASSERT_TRUE(CopyFileReplacing(dir / "new.bin", dir / "TARGET.BIN"));
    EXPECT_EQ(ReadFile(dir.Path() / "target.bin"), "new content");
    EXPECT_FALSE(fs::exists(dir.Path() / "TARGET.BIN")) << "written under the existing spelling";

    EXPECT_FALSE(CopyFileReplacing(dir / "missing.bin", dir / "target.bin"));
    EXPECT_EQ(ReadFile(dir.Path() / "target.bin"), "new content");

    // the target's folder is a file: the copy cannot start and nothing changes
    WriteFile(dir.Path() / "notafolder", "keep");
    EXPECT_FALSE(CopyFileReplacing(dir / "new.bin", dir / "notafolder/x.bin"));
    EXPECT_EQ(ReadFile(dir.Path() / "notafolder"), "keep");
}

TEST(FileSystem, LinksAreNeitherCopiedNorDeletedAsWhatTheyPointTo) {
    TempDir dir;
    WriteFile(dir.Path() / "secret.txt", "secret");
    fs::create_symlink(dir.Path() / "secret.txt", dir.Path() / "link.txt");
    EXPECT_FALSE(CopyFileReplacing(dir / "link.txt", dir / "copy.txt"));
    EXPECT_FALSE(fs::exists(dir.Path() / "copy.txt"));

    fs::create_directory(dir.Path() / "real");
    WriteFile(dir.Path() / "real/file", "f");
    fs::create_directory_symlink(dir.Path() / "real", dir.Path() / "dirlink");
    EXPECT_FALSE(RemoveFolder(dir / "dirlink/")) << "a link is not a folder to remove";
    EXPECT_TRUE(DeleteFile(dir / "dirlink/"));
    EXPECT_TRUE(fs::exists(dir.Path() / "real/file"));
    EXPECT_TRUE(DeleteFile(dir / "link.txt"));
    EXPECT_EQ(ReadFile(dir.Path() / "secret.txt"), "secret");
}

TEST(FileSystem, FoldersAreCreatedAndRemoved) {
    TempDir dir;
    EXPECT_TRUE(CreateFolder(dir / "mapzips"));
    EXPECT_TRUE(CreateFolder(dir / "MAPZIPS")) << "exists under another case";
    EXPECT_FALSE(fs::exists(dir.Path() / "MAPZIPS"));
    EXPECT_TRUE(CreateFolders(dir / "a/b/c"));
    EXPECT_FALSE(RemoveFolder(dir / "a")) << "not empty";
    EXPECT_TRUE(RemoveFolder(dir / "A/B/C"));
    EXPECT_FALSE(FolderExists(dir / "a/b/c"));
    EXPECT_FALSE(DeleteFile(dir / "a")) << "a folder is not deleted as a file";
}

} // namespace
} // namespace ballotine
