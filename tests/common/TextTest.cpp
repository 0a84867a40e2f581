#include "common/Text.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace ballotine {
namespace {

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
