#include "platform/CommandRunner.h"
#include "ripent/LumpTable.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine::ripent {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kText =
    "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n{\r\n\"origin\" \"0 0 8\"\r\n}\r\n";

// The bytes of one lump of a map, as its header describes it.
std::string_view LumpBytes(std::string_view map, int index) {
    const Lump lump = DecodeHeader(map).lumps[static_cast<std::size_t>(index)];
    return map.substr(static_cast<std::size_t>(lump.offset), static_cast<std::size_t>(lump.length));
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built tool as the system does, through the command interpreter.
class RipentProgram : public ::testing::Test {
protected:
    ProgramRun Ripent(const std::string& arguments) {
        const std::string outFile = m_logs / "out";
        const std::string errFile = m_logs / "err";
        ShellCommandRunner runner;
        ProgramRun run;
        run.status = runner.Run("\"" + test::BuiltProgram("ripent").string() + "\" " + arguments +
                                " > \"" + outFile + "\" 2> \"" + errFile + "\"");
        run.out = test::ReadFile(outFile);
        run.err = test::ReadFile(errFile);
        return run;
    }

    std::string MapPath(const char* extension) const { return m_maps / ("vote"s + extension); }

    void PutRoom() { test::WriteFile(MapPath(".bsp"), m_room); }

    const std::string m_room = test::ReadFile(test::TestDataPath("room.bsp"));
    test::TempDir m_maps;
    test::TempDir m_logs;
};

TEST_F(RipentProgram, ImportKeepsTheTextAndEveryOtherLump) {
    for (const char* given : {"vote", "vote.bsp", "vote.ent", "VOTE.BSP"}) {
        PutRoom();
        test::WriteFile(MapPath(".ent"), kText);
        const ProgramRun run = Ripent("-import \"" + (m_maps / given) + "\"");
        EXPECT_EQ(run.status, 0) << given << ": " << run.err;
        EXPECT_EQ(run.out + run.err, "");

        const std::string map = test::ReadFile(MapPath(".bsp"));
        EXPECT_EQ(LumpBytes(map, kEntityLump), kText + '\0');
        const LumpTable lumps = DecodeHeader(map).lumps;
        EXPECT_EQ(FindLumpTableError(lumps, static_cast<std::int64_t>(map.size())), std::nullopt);
        for (int i = 0; i < kLumpCount; ++i) {
            if (i != kEntityLump) {
                EXPECT_EQ(LumpBytes(map, i), LumpBytes(m_room, i)) << "lump " << i;
            }
            const auto end = static_cast<std::size_t>(lumps[i].End());
            const std::size_t padding = static_cast<std::size_t>(-lumps[i].End() & 3);
            EXPECT_EQ(lumps[i].offset % 4, 0) << "lump " << i;
            EXPECT_EQ(map.substr(end, padding), std::string(padding, '\0')) << "lump " << i;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(m_maps.Path()), fs::directory_iterator()), 2)
            << "a temporary file was left behind";
    }
}

TEST_F(RipentProgram, ExportGivesBackWhatWasImported) {
    PutRoom();
    ASSERT_EQ(Ripent("-export \"" + MapPath(".bsp") + "\"").status, 0);
    EXPECT_EQ(test::ReadFile(MapPath(".ent")) + '\0', LumpBytes(m_room, kEntityLump));
    // The compiler's own layout comes back byte for byte.
    ASSERT_EQ(Ripent("-import \"" + MapPath("") + "\"").status, 0);
    EXPECT_EQ(test::ReadFile(MapPath(".bsp")), m_room);

    // A .ent exported with its terminating zero byte imports as the same lump.
    test::WriteFile(MapPath(".ent"), kText + '\0');
    ASSERT_EQ(Ripent("-import \"" + MapPath("") + "\"").status, 0);
    EXPECT_EQ(LumpBytes(test::ReadFile(MapPath(".bsp")), kEntityLump), kText + '\0');
    ASSERT_EQ(Ripent("-export \"" + MapPath(".ent") + "\"").status, 0);
    EXPECT_EQ(test::ReadFile(MapPath(".ent")), kText);
}

TEST_F(RipentProgram, RefusalLeavesTheMapByteIdentical) {
    struct Case {
        const char* name;
        std::string map;
        std::optional<std::string> text; // nothing: no .ent file
        std::string reason;
    };
    const std::string& good = m_room;
    std::string version29 = good;
    version29[0] = 29;
    BspHeader header = DecodeHeader(good);
    header.lumps[14].length = static_cast<std::int64_t>(good.size());
    const std::string outside = EncodeHeader(header) + good.substr(kHeaderSize);
    // One case of each kind of refusal; the reasons themselves are the readers' own tests.
    const Case cases[] = {
        {"no .ent", good, std::nullopt, "vote.ent: cannot be read"},
        {"short map", good.substr(0, 100), kText, "vote.bsp: too short to be a BSP map"},
        {"version", version29, kText, "vote.bsp: BSP version 29, not 30"},
        {"outside", outside, kText, "vote.bsp: lump 14 lies outside the file"},
        {"empty .ent", good, "", "vote.ent: is empty"},
        {"unbalanced", good, "{\n\"a\" \"b\"\n{\n}\n", "vote.ent: line 3: \"{\" inside an entity"},
    };
    for (const Case& c : cases) {
        test::WriteFile(MapPath(".bsp"), c.map);
        fs::remove(MapPath(".ent"));
        if (c.text) {
            test::WriteFile(MapPath(".ent"), *c.text);
        }
        const ProgramRun run = Ripent("-import \"" + MapPath("") + "\"");
        EXPECT_NE(run.status, 0) << c.name;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.name;
        EXPECT_EQ(test::ReadFile(MapPath(".bsp")), c.map) << c.name;
    }

    // Export refuses a broken map the same way and keeps the text it would have replaced.
    test::WriteFile(MapPath(".bsp"), version29);
    test::WriteFile(MapPath(".ent"), kText);
    EXPECT_NE(Ripent("-export \"" + MapPath("") + "\"").status, 0);
    EXPECT_EQ(test::ReadFile(MapPath(".ent")), kText);

    fs::remove(MapPath(".bsp"));
    EXPECT_NE(Ripent("-import \"" + MapPath("") + "\"").status, 0);
    EXPECT_FALSE(fs::exists(MapPath(".bsp")));
}

TEST_F(RipentProgram, HelpAndMisuse) {
    const ProgramRun help = Ripent("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("ripent -import PATH"), std::string::npos);

    for (const char* arguments :
         {"", "-import", "-frobnicate x", "-import a b", "-import -export a"}) {
        const ProgramRun run = Ripent(arguments);
        EXPECT_NE(run.status, 0) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments;
    }
}

} // namespace
} // namespace ballotine::ripent
