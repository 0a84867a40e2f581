#include "ToolRun.h"
#include "TreeSnapshot.h"
#include "ZipBuilder.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWalk.h"
#include "pkzip25/ToolArguments.h"
#include "platform/ToolRunner.h"
#include "support/TestFiles.h"

#include <fcntl.h>
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
    ASSERT_TRUE(SplitEntryName(std::string(255, 'n') + "/x.pkzip25-", path, reason)) << reason;
    const std::string tooLong(256, 'n');
    for (const std::string& name :
         {std::string("a/../b"), std::string("maps\\..\\..\\x"), std::string(".."),
          std::string("/etc/passwd"), std::string("\\\\server\\share\\x"), std::string("C:\\x"),
          std::string("c:x"), std::string(), "maps/" + tooLong, "maps/" + tooLong + "/x",
          std::string(".pkzip25-0123456789abcdef.journal"), std::string("maps\\.PKZIP25-x/a")}) {
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
          {"-extract", "-direct", "-over=all", "a.zip", "b.zip", "out/"},
          {"-extract", "-direct", "-over=all", "-maxsize=0", "a.zip", "out/"},
          {"-extract", "-direct", "-over=all", "-maxsize=", "a.zip", "out/"},
          {"-extract", "-direct", "-over=all", "-maxsize=1T", "a.zip", "out/"}}) {
        const ParsedArguments parsed = ParseArguments(arguments);
        EXPECT_FALSE(parsed.request.has_value() || parsed.error.empty()) << arguments.size();
    }
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

// Every refusal is found before the first change: the target keeps what it had, the files
// the archive would have replaced or added before the bad entry included.
TEST(Pkzip25Test, RefusesAnArchiveWithAnEntryItCannotPlace) {
    using AddEntry = std::function<void(ZipBuilder&, const fs::path&)>;
    const auto add = [](std::string name) {
        return [name](ZipBuilder& zip, const fs::path&) { zip.File(name, "bad"); };
    };
    std::string deep;
    for (int level = 0; level < 20; ++level) {
        deep += std::string(200, 'd') + "/";
    }
    const std::tuple<const char*, AddEntry, const char*> cases[] = {
        {"parent", add("../x.txt"), "'..'"},
        {"absolute", [](ZipBuilder& zip, const fs::path& out) { zip.File(out / "a.txt", "bad"); },
         "absolute"},
        {"link leading out",
         [](ZipBuilder& zip, const fs::path&) {
             zip.Link("maps/out", "../../outside").File("maps/out/x.txt", "bad");
         },
         "outside"},
        // Links that stay inside are refused as well: see the tool's notes.
        {"link inside", [](ZipBuilder& zip, const fs::path&) { zip.Link("maps/in", "../sound"); },
         "link"},
        {"a name too long", add("sub/" + std::string(256, 'n')), "longer than 255 bytes"},
        // 4,080 bytes: a path, but not below the target's own
        {"a path too long", add(deep + std::string(60, 'x')), "path longer than the 4095 bytes"},
        {"a work file's name", add(".pkzip25-0123456789abcdef.journal"), "work files"},
        {"one name twice", add("sub/new.txt"), "clashes with another entry over 'sub/new.txt'"},
        {"one name twice, letter case aside", add("SUB\\New.TXT"),
         "clashes with another entry over 'sub/new.txt'"},
        {"a file, then a folder of its name", add("sub/new.txt/inner"), "clashes"},
        {"a file where a folder is", add("maps"), "'maps' in the target folder to be a file"},
        {"a folder where a file is", add("keep.txt/inner"),
         "'keep.txt' in the target folder to be a folder"},
    };
    for (const auto& [label, addBadEntry, message] : cases) {
        SCOPED_TRACE(label);
        TempDir dir;
        const fs::path outside = dir.Path() / "outside";
        fs::create_directories(outside);
        WriteFile(dir.Path() / "target/keep.txt", "old");
        WriteFile(dir.Path() / "target/maps/old.bsp", "old map");
        ZipBuilder zip;
        zip.File("maps/old.bsp", "new").File("sub/new.txt", "fine");
        addBadEntry(zip, outside);
        zip.File("last.txt", "fine").Save(dir.Path() / "pack.zip");
        const TreeSnapshot before = SnapshotOf(dir.Path());

        const ToolRun run = Extract(dir);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.errors.find("entry '") != std::string::npos && Lines(run.errors) == 1)
            << run.errors;
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
        TreeSnapshot after = SnapshotOf(dir.Path());
        after.erase("stderr.txt");
        EXPECT_EQ(after, before);
    }
}

TEST(Pkzip25Test, KeepsProtectedFoldersButForAllowedFiles) {
    const std::vector<std::string> options = {"-extract",       "-nofix",
                                              "-direct",        "-over=all",
                                              "-protect=Tools", "-allow=Tools/tfc/Entities/*.ref",
                                              "pack.zip",       "target/"};
    const std::pair<const char*, bool> cases[] = {
        {"Tools/ripent", false},
        {"tools\\TFC\\mappings.conf", false},
        {"Tools/tfc/Entities/sub/2fort.ref", false},
        {"Tools/tfc/Entities/2fort.bsp", false},
        {"Tools", false}, // a file in the place of the folder
        {"TOOLS/tfc/entities/2fort.REF", true},
        {"Tools/", true}, // a folder on the way
        {"Tools/tfc/Entities/", true},
        {"Toolshed/ripent", true},
    };
    for (const auto& [name, allowed] : cases) {
        SCOPED_TRACE(name);
        TempDir dir;
        WriteFile(dir.Path() / "target/Tools/ripent", "ours");
        WriteFile(dir.Path() / "target/Tools/tfc/mappings.conf", "ours");
        ZipBuilder zip;
        zip.File("maps/a.bsp", "map");
        std::string_view entry = name;
        if (entry.ends_with('/')) {
            zip.Folder(std::string(entry));
        } else {
            zip.File(std::string(entry), "theirs");
        }
        zip.Save(dir.Path() / "pack.zip");
        const TreeSnapshot before = SnapshotOf(dir.Path());

        const ToolRun run = RunTool(dir, options);
        EXPECT_EQ(run.status, allowed ? 0 : 1) << run.errors;
        EXPECT_EQ(ReadFile(dir.Path() / "target/Tools/ripent"), "ours");
        EXPECT_EQ(ReadFile(dir.Path() / "target/Tools/tfc/mappings.conf"), "ours");
        if (!allowed) {
            EXPECT_NE(run.errors.find("protected folder 'Tools'"), std::string::npos) << run.errors;
            TreeSnapshot after = SnapshotOf(dir.Path());
            after.erase("stderr.txt");
            EXPECT_EQ(after, before);
        }
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
    ZipBuilder().ZeroFile("big.bsp", kSize).Stored().Save(dir.Path() / "pack.zip");
    // Measured by a small process of its own: what this process learns of its children
    // counts its own memory, which each program it starts inherits until it runs.
    const std::string measure =
        "import resource, subprocess, sys; status = subprocess.call(sys.argv[1:]); "
        "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss); sys.exit(status)";
    const ballotine::ToolRun run =
        SpawnToolRunner({BuiltProgram("pkzip25").parent_path()})
            .RunTool(
                "/bin/sh",
                {"-c", "python3 -c '" + measure +
                           "' pkzip25 -extract -nofix -direct -over=all pack.zip target/ > peak"},
                dir.Path());
    ASSERT_TRUE(run.Succeeded()) << run.FailureReason();
    EXPECT_EQ(fs::file_size(dir.Path() / "target/big.bsp"), kSize);
    EXPECT_LT(std::stol(ReadFile(dir.Path() / "peak")), 64l << 10) << "in KiB";
}

// What an archive may expand to: a gigabyte of zeros in a megabyte is refused before it is
// written, or, when its headers lie, once it outgrows them; the operator may move the cap,
// and empty entries count. No file may grow past 4 MB meanwhile.
TEST(Pkzip25Test, RefusesAnArchiveThatExpandsPastItsLimits) {
    TempDir made;
    ZipBuilder().File("readme.txt", "fine").ZeroFile("bomb.bin", 1u << 30).Save(made / "bomb");
    std::string lying = ReadFile(made / "bomb"); // its size, 1 GiB, said to be 1000 bytes
    for (std::size_t at = 0;
         (at = lying.find(std::string("\0\0\0\x40", 4), at)) != std::string::npos;) {
        lying.replace(at, 4, std::string("\xe8\x03\0\0", 4));
    }
    WriteFile(made / "lying", lying);
    ZipBuilder().File("big.bsp", std::string(2 << 20, 'b')).Stored().Save(made / "2MB");
    ZipBuilder fifteen;
    for (int i = 0; i < 15; ++i) {
        fifteen.File("e" + std::to_string(i), "");
    }
    fifteen.Save(made / "15");
    fifteen.File("e15", "").File("e16", "").Save(made / "17");
    const std::tuple<const char*, std::string, std::string, int, const char*> cases[] = {
        {"bomb", "", "", 1, "more than 100 times its own 1"},
        {"bomb", "-maxsize=16G", "", 1, "more than 100 times its own 1"},
        {"lying", "", "", 1, "more than the 1000 bytes it declares"},
        {"2MB", "-maxsize=1M", "", 1, "more than 1 MiB, the most"},
        {"2MB", "", "PKZIP25_MAXSIZE=1M", 1, "more than 1 MiB, the most"},
        {"2MB", "-maxsize=3m", "PKZIP25_MAXSIZE=1M", 0, ""},
        {"17", "-maxsize=64K", "", 1, "more than 64 KiB"},
        {"15", "-maxsize=64K", "", 0, ""},
        {"2MB", "", "PKZIP25_MAXSIZE=lots", 2, "PKZIP25_MAXSIZE=lots is not a size"},
    };
    for (const auto& [archive, option, variable, status, message] : cases) {
        SCOPED_TRACE(std::string(archive) + " " + option + " " + variable);
        TempDir dir;
        WriteFile(dir.Path() / "target/keep.txt", "old");
        fs::copy_file(made / archive, dir / "pack.zip");
        std::vector<std::string> arguments = {"-extract", "-nofix", "-direct", "-over=all"};
        if (!option.empty()) {
            arguments.push_back(option);
        }
        arguments.insert(arguments.end(), {"pack.zip", "target/"});
        const ToolRun run = RunTool(dir, arguments, "ulimit -f 8192; " + variable);
        EXPECT_EQ(run.status, status) << run.errors;
        if (status != 0) {
            EXPECT_TRUE(Lines(run.errors) == 1 && run.errors.find(message) != std::string::npos)
                << run.errors;
            EXPECT_EQ(SnapshotOf(dir.Path() / "target").size(), 1u);
        }
    }
}

// Empties folders nested too deep for a walk by path objects to be cheap (each would parse
// its thousand components, and the test would hold all it parsed): innermost first.
void RemoveDeepTree(const std::string& top, const std::vector<std::string>& folders) {
    for (auto folder = folders.rbegin(); folder != folders.rend() && !folder->empty(); ++folder) {
        for (const char* file : {"/f.txt", "/up.txt"}) {
            ::unlink((top + *folder + file).c_str());
        }
        ::rmdir((top + *folder).c_str());
    }
}

// Walking a deep tree costs what changes between one path and the next, not the depth, and
// holds a bounded number of descriptors open.
TEST(Pkzip25Parts, FolderCursorReusesWhatPathsShare) {
    constexpr int kDepth = 1000;
    TempDir dir;
    // Plain strings throughout: paths of a thousand components are slow to parse.
    const std::string top = dir.Path().string() + "/";
    std::vector<std::string> levels = {""};
    for (int level = 1; level <= kDepth + 2; ++level) {
        const char name = level > kDepth ? "xy"[level - kDepth - 1] : char('a' + level % 26);
        levels.push_back(JoinRelative(levels[std::min(level - 1, kDepth)], {&name, 1}));
        ASSERT_EQ(::mkdir((top + levels.back()).c_str(), 0755), 0) << level;
    }
    const FileDescriptor root(::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    FolderCursor cursor(root.Get(), {});
    const auto descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto systemTime = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return usage.ru_stime.tv_sec * 1000000l + usage.ru_stime.tv_usec;
    };
    const auto descriptorsBefore = descriptors();
    const long started = systemTime();
    std::string reason;
    // A walk from the top for each would open five million folders: seconds of system time.
    for (int i = 0; i < 5000; ++i) {
        ASSERT_GE(cursor.Open(levels[kDepth + 1 + i % 2], false, reason), 0) << i;
    }
    EXPECT_LT(systemTime() - started, 1000000l);
    EXPECT_LE(descriptors() - descriptorsBefore,
              FolderCursor::kRecentLevels + kDepth / FolderCursor::kStrideLevels + 1);
    // Up to every seventh level, where only some folders stayed open, and back down.
    for (int level = kDepth + 1; level >= 0; level -= 7) {
        for (int opened : {level, kDepth + 2}) {
            struct stat got {};
            struct stat expected {};
            ASSERT_EQ(::fstat(cursor.Open(levels[opened], false, reason), &got), 0) << reason;
            ASSERT_EQ(::stat((top + levels[opened]).c_str(), &expected), 0);
            ASSERT_EQ(got.st_ino, expected.st_ino) << opened;
        }
    }
    EXPECT_EQ(cursor.Open(levels[kDepth] + "/missing", false, reason), -1);
    EXPECT_NE(reason.find("missing"), std::string::npos) << reason;
    RemoveDeepTree(top, levels);
}

// A package nested six hundred folders deep, a file in each as archivers store it, more on
// the way back up; then again over what the first run made.
TEST(Pkzip25Test, UnpacksADeeplyNestedPackage) {
    TempDir dir;
    ZipBuilder zip;
    std::vector<std::string> folders = {""};
    for (int level = 0; level < 600; ++level) {
        folders.push_back(folders.back() + char('a' + level % 26) + "/");
        zip.Folder(folders.back()).File(folders.back() + "f.txt", std::to_string(level));
    }
    for (int level = 600; level > 0; level -= 9) {
        zip.File(folders[level] + "up.txt", "up");
    }
    zip.Save(dir.Path() / "pack.zip");
    for (int round = 0; round < 2; ++round) {
        const ToolRun run = Extract(dir);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(ReadFile(dir / ("target/" + folders.back() + "f.txt")), "599");
        EXPECT_EQ(ReadFile(dir / ("target/" + folders[6] + "up.txt")), "up");
    }
    RemoveDeepTree(dir / "target/", folders);
}

} // namespace
} // namespace ballotine::test
