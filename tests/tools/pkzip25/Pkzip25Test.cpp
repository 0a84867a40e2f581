#include "ZipBuilder.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ToolArguments.h"
#include "platform/CommandRunner.h"
#include "support/TestFiles.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace ballotine::test {
namespace {
namespace fs = std::filesystem;
using namespace pkzip25;

using Components = std::vector<std::string>;

TEST(EntryNameTest, SplitsOnBothSeparatorsAndDropsEmptyParts) {
    const struct {
        const char* name;
        Components components;
        bool isFolder;
    } cases[] = {
        {"maps\\2fort.bsp", {"maps", "2fort.bsp"}, false},
        {"sound/vox\\a.wav", {"sound", "vox", "a.wav"}, false},
        {"./maps//sub/", {"maps", "sub"}, true},
        {"models\\", {"models"}, true},
        {".../x..y", {"...", "x..y"}, false},
        {"ab:c", {"ab:c"}, false},
    };
    for (const auto& c : cases) {
        EntryPath path;
        std::string reason;
        ASSERT_TRUE(SplitEntryName(c.name, path, reason)) << c.name << ": " << reason;
        EXPECT_EQ(path.components, c.components) << c.name;
        EXPECT_EQ(path.isFolder, c.isFolder) << c.name;
    }
}

TEST(EntryNameTest, RefusesNamesThatLeaveTheTarget) {
    for (const char* name : {"../x", "a/../../x", "a/../b", "..\\x", "maps\\..\\..\\x", "..",
                             "/etc/passwd", "\\\\server\\share\\x", "C:\\x", "c:x", "Z:/x", ""}) {
        EntryPath path;
        std::string reason;
        EXPECT_FALSE(SplitEntryName(name, path, reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
}

TEST(EntryNameTest, JudgesLinkTargetsFromTheLinksFolder) {
    const struct {
        const char* link;
        const char* target;
        bool inside;
    } cases[] = {
        {"maps/link", "2fort.bsp", true},     {"maps/link", "../sound/a.wav", true},
        {"maps/link", "..\\sound", true},     {"maps/link", "../..", false},
        {"maps/link", "..\\..\\x", false},    {"link", "..", false},
        {"maps/link", "a/../../../x", false}, {"maps/link", "/etc/passwd", false},
        {"maps/link", "C:\\Windows", false},  {"maps/link", "", false},
    };
    for (const auto& c : cases) {
        EntryPath link;
        std::string reason;
        ASSERT_TRUE(SplitEntryName(c.link, link, reason));
        EXPECT_EQ(LinkStaysInside(link, c.target), c.inside) << c.link << " -> " << c.target;
    }
}

TEST(ToolArgumentsTest, RefusesWhatItWouldNotObey) {
    const std::vector<std::vector<std::string_view>> refused = {
        {"-nofix", "-direct", "-over=all", "a.zip", "out/"},            // not asked to extract
        {"-extract", "-nofix", "-over=all", "a.zip", "out/"},           // flat extraction
        {"-extract", "-direct", "a.zip", "out/"},                       // no overwrite mode
        {"-extract", "-direct", "-over=none", "a.zip", "out/"},         // another overwrite mode
        {"-extract", "-direct", "-over=all", "a.zip"},                  // no target
        {"-extract", "-direct", "-over=all", "a.zip", "b.zip", "out/"}, // one path too many
    };
    for (const auto& arguments : refused) {
        const ParsedArguments parsed = ParseArguments(arguments);
        EXPECT_FALSE(parsed.request.has_value());
        EXPECT_FALSE(parsed.error.empty());
    }
}

struct ToolRun {
    int status = -1;
    std::string errors; // what the tool wrote to stderr
};

std::string Quoted(const std::string& text) {
    return "\"" + EscapeForDoubleQuotes(text) + "\"";
}

// Runs the built tool the way the installer does: by name through the shell, with the
// program's folder first on the PATH; in the plainest locale, as services often run.
ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments) {
    ShellCommandRunner runner({BuiltProgram("pkzip25").parent_path()});
    const std::string errors = dir / "stderr.txt";
    std::string command = "umask 022; LC_ALL=C pkzip25";
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    ToolRun run;
    run.status = runner.Run(command + " 2> " + Quoted(errors), dir.Path());
    run.errors = ReadFile(errors);
    fs::remove(errors);
    return run;
}

ToolRun Extract(const TempDir& dir, const std::string& archive, const std::string& target) {
    return RunTool(dir, {"-extract", "-nofix", "-direct", "-over=all", archive, target});
}

// Every path below a folder (links not followed), relative to it.
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        names.insert(fs::relative(it->path(), folder).string());
    }
    return names;
}

unsigned ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(Pkzip25Test, RefusesAnArchiveWithAnEntryLandingOutside) {
    struct Case {
        const char* label;
        std::function<void(ZipBuilder&, const fs::path& outside)> addBadEntry;
    };
    // Other names that leave the target are the entry names' own tests.
    const Case cases[] = {
        {"parent", [](ZipBuilder& zip, const fs::path&) { zip.File("../x.txt", "bad"); }},
        {"absolute",
         [](ZipBuilder& zip, const fs::path& outside) {
             zip.File((outside / "abs.txt").string(), "bad");
         }},
        {"link leading out",
         [](ZipBuilder& zip, const fs::path&) {
             zip.Link("maps/out", "../../outside").File("maps/out/x.txt", "bad");
         }},
        // Links that stay inside are refused as well: see the tool's notes.
        {"link inside", [](ZipBuilder& zip, const fs::path&) { zip.Link("maps/in", "../sound"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const fs::path outside = dir.Path() / "outside";
        fs::create_directories(outside);
        WriteFile(dir.Path() / "target/keep.txt", "old");
        ZipBuilder zip;
        zip.File("keep.txt", "new").File("good/first.txt", "fine");
        c.addBadEntry(zip, outside);
        zip.File("last.txt", "fine");
        zip.Save(dir.Path() / "pack.zip");

        const ToolRun run = Extract(dir, "pack.zip", "target/");

        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("entry '"), std::string::npos) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(Listing(dir.Path() / "target"), std::set<std::string>{"keep.txt"});
        EXPECT_EQ(ReadFile(dir.Path() / "target/keep.txt"), "old");
        EXPECT_TRUE(Listing(outside).empty());
        EXPECT_FALSE(fs::exists(dir.Path() / "x.txt"));
    }
}

TEST(Pkzip25Test, NeverWritesThroughALinkAlreadyInTheTarget) {
    TempDir dir;
    const fs::path outside = dir.Path() / "outside";
    WriteFile(outside / "readme.txt", "theirs");
    fs::create_directories(dir.Path() / "target");
    fs::create_directory_symlink(outside, dir.Path() / "target/maps");
    fs::create_symlink(outside / "readme.txt", dir.Path() / "target/readme.txt");

    ZipBuilder().File("maps/x.bsp", "bsp").Save(dir.Path() / "through.zip");
    EXPECT_EQ(Extract(dir, "through.zip", "target/").status, 1);
    EXPECT_EQ(Listing(outside), std::set<std::string>{"readme.txt"});

    // A link in the place of a file is replaced by the file, not written through.
    ZipBuilder().File("readme.txt", "ours").Save(dir.Path() / "over.zip");
    ASSERT_EQ(Extract(dir, "over.zip", "target/").status, 0);
    EXPECT_FALSE(fs::is_symlink(dir.Path() / "target/readme.txt"));
    EXPECT_EQ(ReadFile(dir.Path() / "target/readme.txt"), "ours");
    EXPECT_EQ(ReadFile(outside / "readme.txt"), "theirs");
}

TEST(Pkzip25Test, UnpacksWindowsNamesIntoFoldersIgnoringCase) {
    TempDir dir;
    WriteFile(dir.Path() / "game/Maps/old.bsp", "old");
    ZipBuilder()
        .File("maps\\dm.bsp", "dm")
        .File("MAPS\\Dm.txt", "text")
        .File("sound\\vox\\a.wav", "wav")
        .File("maps\\carte_\u00e9.bsp", "utf-8 name")
        .Folder("models\\")
        .Save(dir.Path() / "Pack.zip");

    // Paths as the installer writes them: backslashes, another letter case, options reordered.
    const ToolRun run =
        RunTool(dir, {"-over=all", "-extract", "PACK.ZIP", "-direct", "-nofix", "game\\"});

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(Listing(dir.Path() / "game"),
              (std::set<std::string>{"Maps", "Maps/old.bsp", "Maps/dm.bsp", "Maps/Dm.txt",
                                     "Maps/carte_\u00e9.bsp", "sound", "sound/vox",
                                     "sound/vox/a.wav", "models"}));
    EXPECT_EQ(ReadFile(dir.Path() / "game/Maps/dm.bsp"), "dm");
    EXPECT_EQ(ReadFile(dir.Path() / "game/sound/vox/a.wav"), "wav");
}

TEST(Pkzip25Test, OverwritesFilesWithSanePermissions) {
    TempDir dir;
    WriteFile(dir.Path() / "out/maps/a.bsp", "old content that is longer");
    fs::permissions(dir.Path() / "out/maps/a.bsp", fs::perms::owner_read);
    ZipBuilder()
        .File("maps/a.bsp", "new", 0666)
        .File("hlds_run", "#!/bin/sh\n", 04777)
        .Folder("empty/")
        .Save(dir.Path() / "pack.zip");

    const ToolRun run = Extract(dir, "pack.zip", "out/");

    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFile(dir.Path() / "out/maps/a.bsp"), "new");
    EXPECT_EQ(ModeOf(dir.Path() / "out/maps/a.bsp"), 0644u);
    EXPECT_EQ(ModeOf(dir.Path() / "out/hlds_run"), 0755u); // runnable, but never set-uid
    EXPECT_EQ(ModeOf(dir.Path() / "out/empty"), 0755u);
    EXPECT_EQ(fs::last_write_time(dir.Path() / "out/hlds_run").time_since_epoch(),
              fs::last_write_time(dir.Path() / "out/maps/a.bsp").time_since_epoch());
    EXPECT_EQ(Listing(dir.Path() / "out"),
              (std::set<std::string>{"maps", "maps/a.bsp", "hlds_run", "empty"}));
}

TEST(Pkzip25Test, FailsWithoutChangingTheTarget) {
    struct Case {
        const char* label;
        std::function<void(const fs::path& dir)> prepare; // makes pack.zip
        const char* target;
    };
    const auto good = [](const fs::path& dir) {
        ZipBuilder()
            .File("keep.txt", "new")
            .File("other.txt", std::string(5000, 'x'))
            .Stored()
            .Save(dir / "pack.zip");
    };
    const Case cases[] = {
        {"missing archive", [](const fs::path&) {}, "target/"},
        {"not a zip", [](const fs::path& dir) { WriteFile(dir / "pack.zip", "<html>404</html>"); },
         "target/"},
        {"truncated",
         [&](const fs::path& dir) {
             good(dir);
             fs::resize_file(dir / "pack.zip", fs::file_size(dir / "pack.zip") / 2);
         },
         "target/"},
        {"damaged content",
         [&](const fs::path& dir) {
             good(dir);
             std::string bytes = ReadFile(dir / "pack.zip");
             bytes[bytes.find("xxxx")] = 'y'; // the second file no longer matches its CRC
             WriteFile(dir / "pack.zip", bytes);
         },
         "target/"},
        {"archive is a folder",
         [](const fs::path& dir) { fs::create_directories(dir / "pack.zip"); }, "target/"},
        {"target below a file", good, "target/keep.txt/sub/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        WriteFile(dir.Path() / "target/keep.txt", "old");
        c.prepare(dir.Path());

        const ToolRun run = Extract(dir, "pack.zip", c.target);

        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(Listing(dir.Path() / "target"), std::set<std::string>{"keep.txt"});
        EXPECT_EQ(ReadFile(dir.Path() / "target/keep.txt"), "old");
    }
}

TEST(Pkzip25Test, RefusesABadCommandLineAsAUsageError) {
    TempDir dir;
    ZipBuilder().File("a.txt", "a").Save(dir.Path() / "pack.zip");
    const ToolRun run = RunTool(dir, {"-extract", "-over=all", "pack.zip", "out/"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("-direct"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
}

TEST(Pkzip25Test, StreamsBigFilesWithoutHoldingThemInMemory) {
    constexpr std::uint64_t kSize = 160ull << 20;
    TempDir dir;
    ZipBuilder().ZeroFile("big.bsp", kSize).Save(dir.Path() / "big.zip");

    ASSERT_EQ(Extract(dir, "big.zip", "out/").status, 0);

    EXPECT_EQ(fs::file_size(dir.Path() / "out/big.bsp"), kSize);
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 64l << 10) << "largest child, in KiB";
}

} // namespace
} // namespace ballotine::test
