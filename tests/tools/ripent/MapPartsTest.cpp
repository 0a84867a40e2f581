#include "ripent/EntityText.h"
#include "ripent/LumpTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>

namespace ballotine::ripent {
namespace {

using namespace std::string_literals;

TEST(EntityText, AcceptsWhatTheGameLoads) {
    const std::string texts[] = {
        "{\n\"classname\" \"worldspawn\"\n}\n{\n\"origin\" \"0 0 -200\"\n}\n",
        "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n",
        "// made by hand {\n{ // the world \"\n\"wad\" \"room.wad;\" // after a pair\n}\n",
        "{\"a\" \"b\"}{\"c\" \"d\"}",
        "{}\t{ \"\" \"\" }",
        "{\n\"url\" \"http://example.org/{x}\"\n}",
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(FindEntityTextError(text), std::nullopt) << text;
    }
}

TEST(EntityText, NamesTheReasonAndLineOfWhatTheGameRefuses) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"{\n\"classname\" \"worldspawn\"\n", "line 1: entity is not closed"},
        {"{\n\"a\" \"b\"\n}\n}\n", "line 4: \"}\" without an entity to close"},
        {"{\n\"a\" \"b\"\n\"lonely\"\n}\n", "line 3: key \"lonely\" has no value"},
        {"{\r\n\"a\" \"b\"\r\n\"c\"\r\n}\r\n", "line 3: key \"c\" has no value"},
        {"{ \"a\"", "line 1: key \"a\" has no value"},
        {"{\n\"a\" \"b\n}\n{\n\"c\" \"d\"\n}\n", "line 2: unterminated quote"},
        {"{\n\"a\" \"b\"\n{\n\"c\" \"d\"\n}\n", "line 3: \"{\" inside an entity"},
        {"\"a\" \"b\"", "line 1: text outside an entity"},
        {"{\nclassname worldspawn\n}", "line 2: text outside quotes"},
        {"{ \"a\" \"b\" } / {", "line 1: text outside quotes"},
        {"{\n\"a\"\0 \"b\"\n}"s, "line 2: zero byte in the entity text"},
        {"  // nothing but a comment\n\n", "holds no entity"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindEntityTextError(c.text), c.error) << c.text;
    }
}

TEST(EntityText, LumpEndsWithExactlyOneZeroByte) {
    const std::string text = "{\r\n\"classname\" \"worldspawn\"\r\n}\r\n";
    for (const std::string& content : {text, text + '\0'}) {
        std::string error;
        EXPECT_EQ(MakeEntityLump(content, error), text + '\0');
    }
    EXPECT_EQ(EntityTextOfLump(text + '\0'), text);

    struct Refused {
        std::string content;
        std::string error;
    };
    for (const auto& [content, expected] :
         {Refused{"", "is empty"}, Refused{"\0"s, "is empty"},
          Refused{text + "\0\0"s, "line 4: zero byte in the entity text"}}) {
        std::string error;
        EXPECT_EQ(MakeEntityLump(content, error), std::nullopt);
        EXPECT_EQ(error, expected);
    }
}

LumpTable RoomLumps() {
    const std::string room = test::ReadFile(test::TestDataPath("room.bsp"));
    return DecodeHeader(room).lumps;
}

TEST(LumpTable, RefusesTablesThatDoNotFitTheFile) {
    struct Case {
        int lump;
        Lump value;
        std::optional<std::string> error;
    };
    // Lump 1 of the room lies at 124 and is 780 bytes long, lump 10 follows it at 904.
    const std::int64_t size = 6164;
    const Case cases[] = {
        {8, {size, 0}, std::nullopt},   // empty at the very end
        {8, {500, 0}, std::nullopt},    // empty inside another lump
        {10, {904, 224}, std::nullopt}, // touching is not overlapping
        {3, {size - 10, 11}, "lump 3 lies outside the file"},
        {3, {1128, -1}, "lump 3 lies outside the file"},
        {8, {-4, 0}, "lump 8 lies outside the file"},
        {10, {903, 224}, "lumps 1 and 10 overlap"},
        {1, {120, 780}, "lump 1 overlaps the header"},
        {0, {124, 4}, "lumps 0 and 1 overlap"},
    };
    for (const Case& c : cases) {
        LumpTable lumps = RoomLumps();
        lumps[static_cast<std::size_t>(c.lump)] = c.value;
        EXPECT_EQ(FindLumpTableError(lumps, size), c.error) << "lump " << c.lump;
    }
}

TEST(LumpTable, LayoutKeepsTheCompilersOrderAndAlignsEveryLump) {
    const LumpTable room = RoomLumps();
    EXPECT_EQ(PlanLayout(room, room[kEntityLump].length), room);

    const LumpTable grown = PlanLayout(room, 1001);
    EXPECT_EQ(grown[kEntityLump], (Lump{room[kEntityLump].offset, 1001}));
    for (int i = 1; i < kLumpCount; ++i) {
        EXPECT_EQ(grown[i].length, room[i].length);
        EXPECT_EQ(grown[i].offset % 4, 0) << "lump " << i;
        if (room[i].offset < room[kEntityLump].offset) {
            EXPECT_EQ(grown[i].offset, room[i].offset) << "lump " << i;
        }
    }
    EXPECT_EQ(grown[2].offset, room[kEntityLump].offset + 1004);
    EXPECT_EQ(FindLumpTableError(grown, LaidOutSize(grown)), std::nullopt);
}

} // namespace
} // namespace ballotine::ripent
