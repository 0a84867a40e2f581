#include "common/LineReader.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace ballotine {
namespace {

std::vector<std::string> AllLines(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (ReadLine(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsLinesTheWayTheFilesAreRead) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"empty file gives one empty line", "", {""}},
        {"last line without line feed", "a\nb", {"a", "b"}},
        {"trailing line feed gives a final empty line", "a\nb\n", {"a", "b", ""}},
        {"carriage return before line feed dropped", "head\r\nnext\r\n", {"head", "next", ""}},
        {"lone carriage return kept", "a\rb\n", {"a\rb", ""}},
        {"carriage return at end of file kept", "a\r", {"a\r"}},
        {"zero byte ends a line", std::string("ab\0cd\n", 6), {"ab", "cd", ""}},
        {"empty lines kept", "\n\nx", {"", "", "x"}},
        {"high bytes are ordinary", "\xE9t\xE9\xFF\n", {"\xE9t\xE9\xFF", ""}},
        {"long lines are never cut",
         std::string(100000, 'x') + "\nend",
         {std::string(100000, 'x'), "end"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllLines(c.bytes), c.expected) << c.name;
    }
}

TEST(LineReader, AfterTheEndReturnsFalseAndLeavesTheBufferAlone) {
    std::istringstream in("only");
    std::string line;
    ASSERT_TRUE(ReadLine(in, line));
    EXPECT_EQ(line, "only");
    line = "untouched";
    EXPECT_FALSE(ReadLine(in, line));
    EXPECT_EQ(line, "untouched");
    EXPECT_FALSE(ReadLine(in, line));
}

} // namespace
} // namespace ballotine
