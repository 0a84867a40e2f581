#include "platform/FileSystem.h"

#include "BuildInfo.h"
#include "platform/AtomicFile.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"
#include "platform/Wildcard.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class Files : public ::testing::Test {
protected:
    fs::path P(std::string_view relative) const { return dir.Path() / relative; }
    std::size_t Count() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.Path()), {}));
    }
    test::TempDir dir;
};

TEST_F(Files, AtomicFileReplacesWholeOnCommitOnly) {
    WriteFile(P("mods.cfg"), "old");
    AtomicFile(dir / "mods.cfg").Write("lost");
    EXPECT_EQ(ReadFile(P("mods.cfg")), "old");
    {
        AtomicFile file(dir / "MODS.CFG");
        EXPECT_TRUE(file.Write(std::string(200000, 'x'))); // past the buffer: on disk already
        EXPECT_TRUE(file.Write("tail"));
        EXPECT_EQ(ReadFile(P("mods.cfg")), "old") << "untouched until the commit";
        ASSERT_TRUE(file.Restart());
        ASSERT_TRUE(file.Write("fresh"));
        EXPECT_TRUE(file.Commit());
        EXPECT_FALSE(file.Restart()) << "a committed file cannot be restarted";
    }
    EXPECT_EQ(ReadFile(P("mods.cfg")), "fresh");
    EXPECT_EQ(Count(), 1u) << "no temporary file left, no second spelling";
    {
        const test::FileSizeLimit limit(4096);
        AtomicFile file(dir / "mods.cfg");
        file.Write(std::string(100000, 'e'));
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(ReadFile(P("mods.cfg")), "fresh");
    EXPECT_EQ(Count(), 1u);
}

TEST_F(Files, AtomicWritesKeepModesFollowLinksAndNeedAFolder) {
    WriteFile(P("tool"), "#!/bin/sh\n");
    fs::permissions(P("tool"), fs::perms(0750));
    ASSERT_TRUE(WriteFileAtomically(dir / "tool", "#!/bin/sh\nexit 0\n"));
    EXPECT_EQ(fs::status(P("tool")).permissions(), fs::perms(0750));
    ASSERT_TRUE(WriteFileAtomically(dir / "fresh", "x"));
    EXPECT_NE(fs::status(P("fresh")).permissions() & fs::perms::others_read, fs::perms::none)
        << "not a private temp file's mode";

    EXPECT_FALSE(WriteFileAtomically(dir / "absent/file.txt", "x"));
    fs::create_directory(P("afolder"));
    EXPECT_FALSE(WriteFileAtomically(dir / "afolder", "x"));
    EXPECT_TRUE(fs::is_directory(P("afolder")));
    fs::create_symlink("tool", P("link"));
    ASSERT_TRUE(WriteFileAtomically(dir / "link", "new"));
    EXPECT_TRUE(fs::is_symlink(P("link")));
    EXPECT_EQ(ReadFile(P("tool")), "new");
}

TEST_F(Files, LookupsIgnoreCaseAndFolderListingsAreReadOnce) {
    WriteFile(P("TFC/Maps/2Fort.BSP"), std::string(1234, 'b'));
    WriteFile(P("TFC/Maps/WELL.bsp"), "12345");
    WriteFile(P("TFC/Maps/readme.txt"), "");
    fs::create_directory(P("TFC/Maps/Entities"));
    fs::create_directory_symlink(P("TFC/Maps/Entities"), P("TFC/Maps/link"));

    EXPECT_EQ(ResolveCase(P("tfc/maps/2fort.bsp")), P("TFC/Maps/2Fort.BSP"));
    EXPECT_EQ(ResolveCase(P("tfc/maps/new.bsp")), P("TFC/Maps/new.bsp"))
        << "a file to be created lands in the folder that exists under another case";
    EXPECT_EQ(ResolveCase(P("tfc/none/x/y")), P("TFC/none/x/y"));
    const std::pair<const char*, const char*> resolved[] = {
        {"TFC/Maps/new/deeper/x", "TFC/Maps/new/deeper/x"}, // kept as written from the end
        {"tfc/maps/link/NEW", "TFC/Maps/link/NEW"},
        {"tfc/MAPS/new/", "TFC/Maps/new/"},
        {"tfc/maps/../maps/WELL.BSP", "TFC/Maps/../Maps/WELL.bsp"},
        {"TFC/./maps/2FORT.bsp", "TFC/./Maps/2Fort.BSP"},
    };
    for (const auto& [given, onDisk] : resolved) {
        EXPECT_EQ(ResolveCase(P(given)), P(onDisk)) << given;
    }
    EXPECT_EQ(ResolveCase("/"), "/");
    EXPECT_EQ(QueryFile(dir / "tfc/MAPS/2fort.bsp")->size, 1234u);
    EXPECT_EQ(ReadWholeFile(dir / "tfc/MAPS/2fort.BSP")->size(), 1234u);
    EXPECT_FALSE(QueryFile(""));
    EXPECT_TRUE(FileExists(dir / "tfc/maps/well.bsp"));
    EXPECT_FALSE(FileExists(dir / "tfc/maps"));
    EXPECT_TRUE(FolderExists(dir / "Tfc"));
    EXPECT_FALSE(FolderExists(dir / "tfc/maps/well.bsp"));
    EXPECT_FALSE(OpenForReading(dir / "tfc")) << "a folder does not open as a file";

    const auto found = FindFiles(dir / "tfc/maps/*.bsp");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].name, "WELL.bsp");
    EXPECT_TRUE(FindFiles(dir / "tfc/maps/").empty()) << "a folder alone is no pattern";

    const FolderListing listing = FolderListing::Read(P("TFC/Maps"));
    std::vector<std::string> names;
    for (const FolderEntry& entry : listing.Entries()) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"2Fort.BSP", "Entities", "link", "readme.txt",
                                               "WELL.bsp"}));
    EXPECT_EQ(listing.Find("well.BSP")->size, 5u);
    EXPECT_TRUE(listing.Find("entities")->isFolder);
    EXPECT_FALSE(listing.Find("link")->isFolder) << "a link to a folder is not a folder";
    EXPECT_TRUE(listing.Find("link")->isLink);
    EXPECT_EQ(listing.Find("missing"), nullptr);
    EXPECT_EQ(listing.Match("*.bsp").size(), 2u);
    EXPECT_TRUE(listing.AnyMatch("R*.*"));
    EXPECT_FALSE(FolderListing::Read(P("absent")).Exists());
}

TEST(Wildcard, MatchesLikeWindowsWithoutRegardToCase) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*.spr", "2FORT.SPR", true},     {"*.spr", "2fort.sprx", false},
        {"*.spr", "spr", false},          {"2fort.*", "2fort", true},
        {"2fort.*", "2fortx.ref", false}, {"2fort.*", "2fort.16.ref", true},
        {"*.*", "noext", true},           {"?fort.bsp", "fort.bsp", false},
        {"a*b*c", "aXXbYYc", true},       {"a*b*c", "aXXbYY", false},
    };
    for (const auto& [pattern, name, matches] : cases) {
        EXPECT_EQ(MatchesWildcard(pattern, name), matches) << pattern << " vs " << name;
    }
    EXPECT_EQ(ToNativeSeparators("\\valve\\maps\\"), "/valve/maps/");
    EXPECT_EQ(WithTrailingSeparator("/game"), "/game/");
    EXPECT_EQ(WithTrailingSeparator("/game/"), "/game/");
    EXPECT_EQ(LastPathComponent("http://host/x/2fort.zip"), "2fort.zip");
    EXPECT_EQ(LastPathComponent("C:\\a\\b.zip"), "b.zip");
}

TEST_F(Files, CopyReplacesWholeOrNotAtAllAndFoldersComeAndGo) {
    WriteFile(P("new.bin"), "new content");
    WriteFile(P("target.bin"), "old");
    ASSERT_TRUE(CopyFileReplacing(dir / "new.bin", dir / "TARGET.BIN"));
    EXPECT_EQ(ReadFile(P("target.bin")), "new content");
    EXPECT_FALSE(fs::exists(P("TARGET.BIN"))) << "written under the existing spelling";
    EXPECT_FALSE(CopyFileReplacing(dir / "missing.bin", dir / "target.bin"));
    EXPECT_EQ(ReadFile(P("target.bin")), "new content");
    EXPECT_FALSE(CopyFileReplacing(dir / "new.bin", dir / "target.bin/x.bin"));
    EXPECT_EQ(ReadFile(P("target.bin")), "new content");

    EXPECT_TRUE(CreateFolder(dir / "mapzips"));
    EXPECT_TRUE(CreateFolder(dir / "MAPZIPS")) << "exists under another case";
    EXPECT_FALSE(fs::exists(P("MAPZIPS")));
    EXPECT_TRUE(CreateFolders(dir / "a/b/c"));
    EXPECT_FALSE(RemoveFolder(dir / "a")) << "not empty";
    EXPECT_TRUE(RemoveFolder(dir / "A/B/C"));
    EXPECT_FALSE(FolderExists(dir / "a/b/c"));
    EXPECT_FALSE(DeleteFile(dir / "a")) << "a folder is not deleted as a file";
}

TEST_F(Files, LinksAreNeitherCopiedNorDeletedAsWhatTheyPointTo) {
    WriteFile(P("real/secret.txt"), "secret");
    fs::create_symlink(P("real/secret.txt"), P("link.txt"));
    EXPECT_FALSE(CopyFileReplacing(dir / "link.txt", dir / "copy.txt"));
    EXPECT_FALSE(fs::exists(P("copy.txt")));
    fs::create_directory_symlink(P("real"), P("dirlink"));
    EXPECT_FALSE(RemoveFolder(dir / "dirlink/")) << "a link is not a folder to remove";
    EXPECT_TRUE(DeleteFile(dir / "dirlink/"));
    EXPECT_TRUE(DeleteFile(dir / "link.txt"));
    EXPECT_EQ(ReadFile(P("real/secret.txt")), "secret");
}

TEST_F(Files, HelperToolsAreLookedForInTheInstalledHelperFolderThenBesideTheProgram) {
    const fs::path helpers = (P("usr/bin") / kHelperFolderFromPrograms).lexically_normal();
    enum class Helpers { None, Folder, File };
    struct Case {
        const char* layout;
        Helpers made;
        fs::path programs;
        std::vector<fs::path> folders;
    };
    const Case cases[] = {
        {"installed", Helpers::Folder, P("usr/bin"), {helpers, P("usr/bin")}},
        {"installed, named through ..",
         Helpers::Folder,
         P("usr/bin/../bin"),
         {helpers, P("usr/bin/../bin")}},
        {"build tree", Helpers::None, P("usr/bin"), {P("usr/bin")}},
        {"a file where the helper folder belongs", Helpers::File, P("usr/bin"), {P("usr/bin")}},
    };
    for (const Case& c : cases) {
        fs::remove_all(P("usr"));
        fs::create_directories(P("usr/bin"));
        if (c.made == Helpers::Folder) {
            fs::create_directories(helpers);
        } else if (c.made == Helpers::File) {
            WriteFile(helpers, "not a folder");
        }
        EXPECT_EQ(HelperToolFolders(c.programs), c.folders) << c.layout;
    }
}

TEST_F(Files, TheVoteMapKitIsTakenFromTheInstalledDataFolderThenFromTheBuildTree) {
    const fs::path installed = (P("usr/bin") / kDataFolderFromPrograms / "kit").lexically_normal();
    struct Case {
        const char* layout;
        std::vector<fs::path> kits; // folders that hold vote.ref
        std::optional<fs::path> found;
    };
    const Case cases[] = {
        {"installed", {installed, P("usr/kit")}, installed},
        {"build tree, beside an empty installed kit folder", {P("usr/kit")}, P("usr/kit")},
        {"none", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        fs::remove_all(P("usr"));
        fs::create_directories(installed);
        for (const fs::path& kit : c.kits) {
            WriteFile(kit / "vote.ref", "template");
        }
        EXPECT_EQ(VoteKitFolder(P("usr/bin")), c.found) << c.layout;
    }
}

} // namespace
} // namespace ballotine
