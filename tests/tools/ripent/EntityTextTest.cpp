#include "ripent/EntityText.h"

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

} // namespace
} // namespace ballotine::ripent
