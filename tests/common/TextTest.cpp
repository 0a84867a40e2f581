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
using Lines = std::vector<std::string>;

TEST(LineReader, SplitsLinesTheWayTheFilesAreRead) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {""}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb\n", {"a\rb", ""}},
        {"a\r", {"a\r"}},
        {std::string("ab\0cd\n", 6), {"ab", "cd", ""}},
        {"\n\n\xE9\xFF", {"", "", "\xE9\xFF"}},
        {std::string(100000, 'x') + "\nend", {std::string(100000, 'x'), "end"}},
    };
    for (const auto& [bytes, expected] : cases) {
        std::istringstream in(bytes);
        Lines lines;
        for (std::string line; ReadLine(in, line);) {
            lines.push_back(line);
        }
        EXPECT_EQ(lines, expected) << bytes.substr(0, 20);
    }
    std::istringstream in("only");
    std::string line;
    ASSERT_TRUE(ReadLine(in, line));
    line = "untouched";
    EXPECT_FALSE(ReadLine(in, line));
    EXPECT_EQ(line, "untouched") << "after the end the buffer stays as it was";
}

TEST(LineScanner, IntegersScanLikePercentI) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"  7 rest", 7},
        {"010", 8},
        {"0X1f", 31},
        {"-0x10", -16},
        {"+9", 9},
        {"08", 0},
        {"12abc", 12},
        {"0xg", 0},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ScanInt(text), expected) << "'" << text << "'";
    }
}

TEST(LineScanner, FieldsAndWordsStopAtTheFirstMismatch) {
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

    EXPECT_EQ(FirstWord("\tkey\tvalue"), "key");
    EXPECT_EQ(FirstWord("   "), "");
    LineScanner scanner("a  b");
    EXPECT_EQ(scanner.Word(), "a");
    EXPECT_EQ(scanner.Rest(), "  b");
}

TEST(Text, ComparisonAndSortOrderIgnoreOnlyAsciiCase) {
    EXPECT_TRUE(EqualsNoCase("INSTALLPATH", "InstallPath"));
    EXPECT_FALSE(EqualsNoCase("InstallPath", "InstallPath "));
    EXPECT_FALSE(EqualsNoCase("\xC9", "\xE9")) << "bytes above ASCII compare as themselves";
    EXPECT_TRUE(StartsWithNoCase("Alpha Two", "alpha"));
    EXPECT_FALSE(StartsWithNoCase("Al", "alpha"));
    EXPECT_TRUE(EndsWithNoCase("vote.TPT", ".tpt"));
    EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
    std::vector<std::string> names = {"well", "2fort", "Rock2", "rock2", "cz2", "B"};
    std::sort(names.begin(), names.end(), LessNoCase{});
    EXPECT_EQ(names, (std::vector<std::string>{"2fort", "B", "cz2", "Rock2", "rock2", "well"}));
    EXPECT_EQ(Format("<%s>", std::string(5000, 'y').c_str()).size(), 5002u) << "no fixed buffer";
}

} // namespace
} // namespace ballotine
