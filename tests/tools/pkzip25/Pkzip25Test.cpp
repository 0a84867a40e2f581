#include "ZipBuilder.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ToolArguments.h"
#include "platform/ToolRunner.h"
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
using Names = std::set<std::string>;

TEST(Pkzip25Parts, RefusesEntryNamesLinksAndArgumentsItWouldNotObey) {
    EntryPath path;
    std::string reason;
    ASSERT_TRUE(SplitEntryName("./sound//vox\\a..wav/", path, reason));
    EXPECT_EQ(path.components, (std::vector<std::string>{"sound", "vox", "a..wav"}));
    EXPECT_TRUE(path.isFolder);
    for (const char* name : {"a/../b", "maps\\..\\..\\x", "..", "/etc/passwd",
                             "\\\\server\\share\\x", "C:\\x", "c:x", ""}) {
        reason.clear();
        EXPECT_FALSE(SplitEntryName(name, path, reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
    const std::tuple<const char*, const char*, bool> links[] = {
        {"maps/link", "../sound/a.wav", true}, {"maps/link", "..\\sound", true},
        {"maps/link", "../..", false},         {"link", "..", false},
        {"maps/link", "a/../../../x", false},  {"maps/link", "/etc/passwd", false},
        {"maps/link", "C:\\Windows", false},
    };
    for (const auto& [name, target, inside] : links) {
        ASSERT_TRUE(SplitEntryName(name, path, reason));
        EXPECT_EQ(LinkStaysInside(path, target), inside) << name << " -> " << target;
    }
    for (const std::vector<std::string_view>& arguments :
         {std::vector<std::string_view>{"-nofix", "-direct", "-over=all", "a.zip", "out/"},
          {"-extract", "-nofix", "-over=all", "a.zip", "out/"},
          {"-extract", "-direct", "-over=none", "a.zip", "out/"},
          {"-extract", "-direct", "-over=all", "a.zip", "b.zip", "out/"}}) {
        const ParsedArguments parsed = ParseArguments(arguments);
        EXPECT_FALSE(parsed.request.has_value() || parsed.error.empty()) << arguments.size();
    }
}

struct ToolRun {
    int status = -1;
    std::string errors;
};

// Runs the built tool the way the installer does: by name, with the program's folder first on
// the PATH; in the plainest locale, as services often run.
ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& arguments) {
    SpawnToolRunner runner({BuiltProgram("pkzip25").parent_path()});
    std::vector<std::string> shell = {"-c", "umask 022; LC_ALL=C exec pkzip25 \"$@\" 2> stderr.txt",
                                      "pkzip25"};
    shell.insert(shell.end(), arguments.begin(), arguments.end());
    ToolRun run;
    run.status = runner.RunTool("/bin/sh", shell, dir.Path()).code;
    run.errors = ReadFile(dir.Path() / "stderr.txt");
    return run;
}

ToolRun Extract(const TempDir& dir, const std::string& target = "target/") {
    return RunTool(dir, {"-extract", "-nofix", "-direct", "-over=all", "pack.zip", target});
}

// Every path below a folder (links not followed), relative to it.
Names Listing(const fs::path& folder) {
    Names names;
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
    const std::pair<const char*, std::function<void(ZipBuilder&, const fs::path&)>> cases[] = {
        {"parent", [](ZipBuilder& zip, const fs::path&) { zip.File("../x.txt", "bad"); }},
        {"absolute", [](ZipBuilder& zip, const fs::path& out) { zip.File(out / "a.txt", "bad"); }},
        {"link leading out",
         [](ZipBuilder& zip, const fs::path&) {
             zip.Link("maps/out", "../../outside").File("maps/out/x.txt", "bad");
         }},
        // Links that stay inside are refused as well: see the tool's notes.
        {"link inside", [](ZipBuilder& zip, const fs::path&) { zip.Link("maps/in", "../sound"); }},
    };
    for (const auto& [label, addBadEntry] : cases) {
        SCOPED_TRACE(label);
        TempDir dir;
        const fs::path outside = dir.Path() / "outside";
        fs::create_directories(outside);
        WriteFile(dir.Path() / "target/keep.txt", "old");
        ZipBuilder zip;
        zip.File("keep.txt", "new").File("good/first.txt", "fine");
        addBadEntry(zip, outside);
        zip.File("last.txt", "fine").Save(dir.Path() / "pack.zip");

        const ToolRun run = Extract(dir);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.errors.find("entry '") != std::string::npos &&
                    std::count(run.errors.begin(), run.errors.end(), '\n') == 1)
            << run.errors;
        EXPECT_EQ(Listing(dir.Path() / "target"), Names{"keep.txt"});
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
    ZipBuilder().File("maps/x.bsp", "bsp").Save(dir.Path() / "pack.zip");
    EXPECT_EQ(Extract(dir).status, 1);
    EXPECT_EQ(Listing(outside), Names{"readme.txt"});

    // A link in the place of a file is replaced by the file, not written through.
    ZipBuilder().File("readme.txt", "ours").Save(dir.Path() / "pack.zip");
    ASSERT_EQ(Extract(dir).status, 0);
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
              (Names{"Maps", "Maps/old.bsp", "Maps/dm.bsp", "Maps/Dm.txt", "Maps/carte_\u00e9.bsp",
                     "sound", "sound/vox", "sound/vox/a.wav", "models"}));
    EXPECT_EQ(ReadFile(dir.Path() / "game/sound/vox/a.wav"), "wav");
}

TEST(Pkzip25Test, OverwritesFilesWithSanePermissions) {
    TempDir dir;
    WriteFile(dir.Path() / "target/maps/a.bsp", "old content that is longer");
    fs::permissions(dir.Path() / "target/maps/a.bsp", fs::perms::owner_read);
    ZipBuilder()
        .File("maps/a.bsp", "new", 0666)
        .File("hlds_run", "#!/bin/sh\n", 04777)
        .Folder("empty/")
        .Save(dir.Path() / "pack.zip");
    const ToolRun run = Extract(dir);
    ASSERT_EQ(run.status, 0) << run.errors;
    const fs::path out = dir.Path() / "target";
    EXPECT_EQ(ReadFile(out / "maps/a.bsp"), "new");
    EXPECT_EQ(ModeOf(out / "maps/a.bsp"), 0644u);
    EXPECT_EQ(ModeOf(out / "hlds_run"), 0755u) << "runnable, but never set-uid";
    EXPECT_EQ(ModeOf(out / "empty"), 0755u);
    EXPECT_EQ(fs::last_write_time(out / "hlds_run"), fs::last_write_time(out / "maps/a.bsp"));
    EXPECT_EQ(Listing(out), (Names{"maps", "maps/a.bsp", "hlds_run", "empty"}));
}

TEST(Pkzip25Test, FailsWithoutChangingTheTarget) {
    const auto good = [](const fs::path& zip) {
        ZipBuilder()
            .File("keep.txt", "new")
            .File("other.txt", std::string(5000, 'x'))
            .Stored()
            .Save(zip);
    };
    const std::tuple<const char*, std::function<void(const fs::path&)>, const char*> cases[] = {
        {"missing archive", [](const fs::path&) {}, "target/"},
        {"not a zip", [](const fs::path& zip) { WriteFile(zip, "<html>404</html>"); }, "target/"},
        {"truncated",
         [&](const fs::path& zip) {
             good(zip);
             fs::resize_file(zip, fs::file_size(zip) / 2);
         },
         "target/"},
        {"damaged content",
         [&](const fs::path& zip) {
             good(zip);
             std::string bytes = ReadFile(zip);
             bytes[bytes.find("xxxx")] = 'y'; // the second file no longer matches its CRC
             WriteFile(zip, bytes);
         },
         "target/"},
        {"archive is a folder", [](const fs::path& zip) { fs::create_directories(zip); },
         "target/"},
        {"target below a file", good, "target/keep.txt/sub/"},
    };
    for (const auto& [label, prepare, target] : cases) {
        SCOPED_TRACE(label);
        TempDir dir;
        WriteFile(dir.Path() / "target/keep.txt", "old");
        prepare(dir.Path() / "pack.zip");
        const ToolRun run = Extract(dir, target);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(Listing(dir.Path() / "target"), Names{"keep.txt"});
        EXPECT_EQ(ReadFile(dir.Path() / "target/keep.txt"), "old");
    }

    TempDir dir;
    good(dir.Path() / "pack.zip");
    const ToolRun misuse = RunTool(dir, {"-extract", "-over=all", "pack.zip", "out/"});
    EXPECT_EQ(misuse.status, 2) << "a bad command line is a usage error";
    EXPECT_NE(misuse.errors.find("-direct"), std::string::npos) << misuse.errors;
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
}

TEST(Pkzip25Test, StreamsBigFilesWithoutHoldingThemInMemory) {
    constexpr std::uint64_t kSize = 160ull << 20;
    TempDir dir;
    ZipBuilder().ZeroFile("big.bsp", kSize).Save(dir.Path() / "pack.zip");
    ASSERT_EQ(Extract(dir).status, 0);
    EXPECT_EQ(fs::file_size(dir.Path() / "target/big.bsp"), kSize);
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 64l << 10) << "largest child, in KiB";
}

} // namespace
} // namespace ballotine::test
