#include "common/LineScanner.h"

#include <gtest/gtest.h>
#include <limits>

namespace ballotine {
namespace {

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

} // namespace
} // namespace ballotine
