#include "bsp/LumpTable.h"
#include "platform/ToolRunner.h"
#include "ripent/EntityText.h"
#include "support/TestFiles.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace ballotine::ripent {
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace ballotine::bsp;

TEST(EntityText, AcceptsWhatTheGameLoadsAndNamesTheReasonAndLineOfWhatItRefuses) {
    for (const std::string& text : {
             "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n{\n\"origin\" \"0 0 -200\"\n}\n"s,
             "// made by hand {\n{ // the world \"\n\"wad\" \"room.wad;\" // after a pair\n}\n"s,
             "{\"a\" \"b\"}{\"c\" \"d\"}{}\t{ \"\" \"\" }"s,
             "{\n\"message\" \"two\nlines\"\n}\n"s, // a value across lines, as the game reads it
         }) {
        EXPECT_EQ(FindEntityTextError(text), std::nullopt) << text;
    }
    const std::pair<std::string, std::string> refused[] = {
        {"{\n\"classname\" \"worldspawn\"\n", "line 1: entity is not closed"},
        {"{\r\n\"a\" \"b\"\r\n\"c\"\r\n}\r\n", "line 3: key \"c\" has no value"},
        {"{\n\"a\" \"b\n}\n", "line 2: unterminated quote"},
        {"{\n\"a\" \"x\ny\"\n\"c\"\n}\n", "line 4: key \"c\" has no value"}, // lines inside values
        {"{\n\"a\" \"b\"\n{\n\"c\" \"d\"\n}\n", "line 3: \"{\" inside an entity"},
        {"\"a\" \"b\"", "line 1: text outside an entity"},
        {"{\nclassname worldspawn\n}", "line 2: text outside quotes"},
        {"{\n\"a\"\0 \"b\"\n}"s, "line 2: zero byte in the entity text"},
        {"  // nothing but a comment\n\n", "holds no entity"},
    };
    for (const auto& [text, error] : refused) {
        EXPECT_EQ(FindEntityTextError(text), error) << text;
    }
}

TEST(EntityText, LumpEndsWithExactlyOneZeroByte) {
    const std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";
    std::string error;
    for (const std::string& content : {text, text + '\0'}) {
        EXPECT_EQ(MakeEntityLump(content, error), text + '\0');
    }
    EXPECT_EQ(EntityTextOfLump(text + '\0'), text);
    for (const auto& [content, expected] :
         {std::pair{""s, "is empty"s}, std::pair{"\0"s, "is empty"s},
          std::pair{text + "\0\0"s, "line 4: zero byte in the entity text"s}}) {
        EXPECT_EQ(MakeEntityLump(content, error), std::nullopt);
        EXPECT_EQ(error, expected);
    }
}

const std::string kRoom = test::ReadFile(test::TestDataPath("room.bsp"));

TEST(LumpTable, RefusesTablesThatDoNotFitTheFile) {
    // Lump 1 of the room lies at 124 and is 780 bytes long, lump 10 follows it at 904.
    const std::int64_t size = 6164;
    const std::tuple<int, Lump, std::optional<std::string>> cases[] = {
        {8, {size, 0}, std::nullopt},   // empty at the very end
        {10, {904, 224}, std::nullopt}, // touching is not overlapping
        {3, {size - 10, 11}, "lump 3 lies outside the file"},
        {8, {-4, 0}, "lump 8 lies outside the file"},
        {10, {903, 224}, "lumps 1 and 10 overlap"},
        {1, {120, 780}, "lump 1 overlaps the header"},
        {0, {124, 4}, "lumps 0 and 1 overlap"},
    };
    const LumpTable room = DecodeHeader(kRoom).lumps;
    for (const auto& [index, value, error] : cases) {
        LumpTable lumps = room;
        lumps[static_cast<std::size_t>(index)] = value;
        EXPECT_EQ(FindLumpTableError(lumps, size), error) << "lump " << index;
    }
}

const std::string kText =
    "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n{\r\n\"origin\" \"0 0 8\"\r\n}\r\n";

std::string_view LumpBytes(std::string_view map, int index) {
    const Lump lump = DecodeHeader(map).lumps[static_cast<std::size_t>(index)];
    return map.substr(static_cast<std::size_t>(lump.offset), static_cast<std::size_t>(lump.length));
}

// Runs the built tool as a user would from a shell, its two streams kept apart.
class RipentProgram : public ::testing::Test {
protected:
    int Ripent(const std::string& arguments) {
        const ToolRun run =
            SpawnToolRunner().RunTool("/bin/sh",
                                      {"-c", "\"" + test::BuiltProgram("ripent").string() + "\" " +
                                                 arguments + " > out 2> err"},
                                      m_logs.Path());
        out = test::ReadFile(m_logs / "out");
        err = test::ReadFile(m_logs / "err");
        return run.Succeeded() ? 0 : 1;
    }
    std::string Map(const char* extension) const { return m_maps / ("vote"s + extension); }
    int Import() { return Ripent("-import \"" + Map("") + "\""); }

    test::TempDir m_maps;
    test::TempDir m_logs;
    std::string out;
    std::string err;
};

TEST_F(RipentProgram, ImportKeepsTheTextAndEveryOtherLumpAndExportGivesItBack) {
    for (const char* given : {"vote", "vote.bsp", "vote.ent", "VOTE.BSP"}) {
        test::WriteFile(Map(".bsp"), kRoom);
        test::WriteFile(Map(".ent"), kText);
        EXPECT_EQ(Ripent("-import \"" + (m_maps / given) + "\""), 0) << given << ": " << err;
        EXPECT_EQ(out + err, "");
        const std::string map = test::ReadFile(Map(".bsp"));
        EXPECT_EQ(LumpBytes(map, kEntityLump), kText + '\0');
        const LumpTable lumps = DecodeHeader(map).lumps;
        EXPECT_EQ(FindLumpTableError(lumps, static_cast<std::int64_t>(map.size())), std::nullopt);
        for (int i = 0; i < kLumpCount; ++i) {
            if (i != kEntityLump) {
                EXPECT_EQ(LumpBytes(map, i), LumpBytes(kRoom, i)) << "lump " << i;
            }
            const auto padding = static_cast<std::size_t>(-lumps[i].End() & 3);
            EXPECT_EQ(lumps[i].offset % 4, 0) << "lump " << i;
            EXPECT_EQ(map.substr(static_cast<std::size_t>(lumps[i].End()), padding),
                      std::string(padding, '\0'))
                << "lump " << i;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(m_maps.Path()), {}), 2)
            << "a temporary file was left behind";
    }

    ASSERT_EQ(Ripent("-export \"" + Map(".ent") + "\""), 0);
    EXPECT_EQ(test::ReadFile(Map(".ent")), kText);
    test::WriteFile(Map(".bsp"), kRoom);
    ASSERT_EQ(Ripent("-export \"" + Map(".bsp") + "\""), 0);
    EXPECT_EQ(test::ReadFile(Map(".ent")) + '\0', LumpBytes(kRoom, kEntityLump));
    ASSERT_EQ(Import(), 0);
    EXPECT_EQ(test::ReadFile(Map(".bsp")), kRoom) << "the compiler's layout comes back whole";
    // A .ent exported with its terminating zero byte imports as the same lump.
    test::WriteFile(Map(".ent"), kText + '\0');
    ASSERT_EQ(Import(), 0);
    EXPECT_EQ(LumpBytes(test::ReadFile(Map(".bsp")), kEntityLump), kText + '\0');
}

TEST_F(RipentProgram, RefusalLeavesTheMapByteIdentical) {
    std::string version29 = kRoom;
    version29[0] = 29;
    BspHeader header = DecodeHeader(kRoom);
    header.lumps[14].length = static_cast<std::int64_t>(kRoom.size());
    const std::string outside = EncodeHeader(header) + kRoom.substr(kHeaderSize);
    // One case of each kind of refusal; the reasons themselves are the readers' own tests.
    const std::tuple<std::string, std::optional<std::string>, std::string> cases[] = {
        {kRoom, std::nullopt, "vote.ent: cannot be read"},
        {kRoom.substr(0, 100), kText, "vote.bsp: too short to be a BSP map"},
        {version29, kText, "vote.bsp: BSP version 29, not 30"},
        {outside, kText, "vote.bsp: lump 14 lies outside the file"},
        {kRoom, "", "vote.ent: is empty"},
        {kRoom, "{\n\"a\" \"b\"\n{\n}\n", "vote.ent: line 3: \"{\" inside an entity"},
    };
    for (const auto& [map, text, reason] : cases) {
        test::WriteFile(Map(".bsp"), map);
        fs::remove(Map(".ent"));
        if (text) {
            test::WriteFile(Map(".ent"), *text);
        }
        EXPECT_NE(Import(), 0) << reason;
        EXPECT_TRUE(err.find(reason) != std::string::npos &&
                    std::count(err.begin(), err.end(), '\n') == 1)
            << err;
        EXPECT_EQ(test::ReadFile(Map(".bsp")), map) << reason;
    }
    // Export refuses a broken map the same way and keeps the text it would have replaced.
    test::WriteFile(Map(".bsp"), version29);
    test::WriteFile(Map(".ent"), kText);
    EXPECT_NE(Ripent("-export \"" + Map("") + "\""), 0);
    EXPECT_EQ(test::ReadFile(Map(".ent")), kText);
    fs::remove(Map(".bsp"));
    EXPECT_NE(Import(), 0);
    EXPECT_FALSE(fs::exists(Map(".bsp")));
}

// A map or text this run may not write is refused before anything is written: replacing it
// would drop its read-only mark (and make it the runner's).
TEST_F(RipentProgram, RefusesFilesItMayNotWrite) {
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const char* refused : {".bsp", ".ent"}) {
        test::WriteFile(Map(".bsp"), kRoom);
        test::WriteFile(Map(".ent"), kText);
        fs::permissions(Map(refused), readOnly);
        EXPECT_NE(Ripent((refused == ".bsp"s ? "-import \"" : "-export \"") + Map("") + "\""), 0);
        EXPECT_EQ(err, "ripent: " + Map(refused) +
                           ": is read-only; ripent changes only files it may write\n");
        EXPECT_EQ(test::ReadFile(Map(".bsp")), kRoom);
        EXPECT_EQ(test::ReadFile(Map(".ent")), kText);
        EXPECT_EQ(fs::status(Map(refused)).permissions(), readOnly);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_maps.Path()), {}), 2);
        fs::permissions(Map(refused), fs::perms::owner_write, fs::perm_options::add);
    }
}

// A killed run leaves its temporary file beside the map; the next run removes those whose
// writer has ended and whose lock is free, and nothing else.
TEST_F(RipentProgram, RemovesTheLeftoversOfKilledRuns) {
    test::WriteFile(Map(".bsp"), kRoom);
    test::WriteFile(Map(".ent"), kText);
    const std::string dead = "999999999"; // above any process id the system hands out
    const std::string self = std::to_string(::getpid());
    const std::vector<std::string> removed = {".vote.bsp.ripent-" + dead + "-1.tmp",
                                              ".vote.bsp.tmp" + dead + "-5"};
    const std::vector<std::string> kept = {".vote.bsp.ripent-" + self +
                                               "-3.tmp", // its writer still runs
                                           ".vote.bsp.ripent-" + dead + "-9.tmp",  // locked (below)
                                           ".other.bsp.ripent-" + dead + "-1.tmp", // another map's
                                           ".vote.bsp.ripent-x.tmp", "vote.bsp.bak"};
    for (const std::string& name : removed) {
        test::WriteFile(m_maps.Path() / name, "half a map");
    }
    for (const std::string& name : kept) {
        test::WriteFile(m_maps.Path() / name, "not a leftover");
    }
    const int locked = ::open((m_maps.Path() / kept[1]).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(locked, LOCK_EX), 0);
    EXPECT_EQ(Import(), 0) << err;
    ::close(locked);
    for (const std::string& name : removed) {
        EXPECT_FALSE(fs::exists(m_maps.Path() / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(m_maps.Path() / name)) << name;
    }
}

TEST_F(RipentProgram, HelpAndMisuse) {
    EXPECT_EQ(Ripent("--help"), 0);
    EXPECT_NE(out.find("ripent -import PATH"), std::string::npos);
    for (const char* arguments :
         {"", "-import", "-frobnicate x", "-import a b", "-import -export a"}) {
        EXPECT_NE(Ripent(arguments), 0) << arguments;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << arguments;
    }
}

} // namespace
} // namespace ballotine::ripent
