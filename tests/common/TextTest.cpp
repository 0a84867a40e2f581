#include "common/Text.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
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

TEST(LineScanner, IntegersScanLikePercentI) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"  7 rest", 7},
        {"010", 8},
        {"0x10", 16},
        {"0X1f", 31},
        {"-5", -5},
        {"+9", 9},
        {"-0x10", -16},
        {"0", 0},
        {"08", 0},
        {"12abc", 12},
        {"0x", 0},
        {"0xg", 0},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"   ", std::nullopt},
        {"99999999999", std::numeric_limits<std::int32_t>::max()},
        {"-99999999999", std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScanInt(c.text), c.expected) << "'" << c.text << "'";
    }
}

TEST(LineScanner, FieldsStopAtTheFirstMismatch) {
    LineScanner full("tfc 010 0x10");
    EXPECT_EQ(full.Word(), "tfc");
    EXPECT_EQ(full.Int(), 8);
    EXPECT_EQ(full.Int(), 16);
    EXPECT_TRUE(full.Ok());

    LineScanner cut("16 x 3");
    EXPECT_EQ(cut.Int(), 16);
    EXPECT_EQ(cut.Int(), std::nullopt);
    EXPECT_EQ(cut.Int(), std::nullopt) << "a failed scan ends the line even if a number follows";
    EXPECT_FALSE(cut.Ok());

    LineScanner noVersion("tfc");
    EXPECT_EQ(noVersion.Word(), "tfc");
    EXPECT_EQ(IntOrZero(noVersion.Int()), 0);
}

TEST(LineScanner, WordsAreWhitespaceDelimited) {
    EXPECT_EQ(FirstWord("  2fort 1 0"), "2fort");
    EXPECT_EQ(FirstWord("\tkey\tvalue"), "key");
    EXPECT_EQ(FirstWord("   "), "");
    LineScanner scanner("a  b");
    EXPECT_EQ(scanner.Word(), "a");
    EXPECT_EQ(scanner.Rest(), "  b");
}

TEST(Text, ComparisonAndSortOrderIgnoreOnlyAsciiCase) {
    EXPECT_TRUE(EqualsNoCase("InstallPath", "installpath"));
    EXPECT_TRUE(EqualsNoCase("INSTALLPATH", "InstallPath"));
    EXPECT_FALSE(EqualsNoCase("InstallPath", "InstallPath "));
    EXPECT_FALSE(EqualsNoCase("\xC9", "\xE9")) << "bytes above ASCII compare as themselves";
    EXPECT_TRUE(StartsWithNoCase("Alpha Two", "alpha"));
    EXPECT_FALSE(StartsWithNoCase("Al", "alpha"));
    EXPECT_TRUE(EndsWithNoCase("vote.TPT", ".tpt"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    // sorting ignores case but is total
    std::vector<std::string> names = {"well", "2fort", "Rock2", "rock2", "cz2", "B"};
    std::sort(names.begin(), names.end(), LessNoCase{});
    EXPECT_EQ(names, (std::vector<std::string>{"2fort", "B", "cz2", "Rock2", "rock2", "well"}));
}

TEST(Text, FormatBuildsStringsOfAnyLength) {
    const std::string big(5000, 'y');
    EXPECT_EQ(Format("<%s>", big.c_str()).size(), 5002u);
    EXPECT_EQ(Format("%s", ""), "");
}

} // namespace
} // namespace ballotine
