#include "catalogue/ModSelector.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

// Prefix selection (the Alpha / Alpha Two case) is covered by the mod list tests.
TEST(ModSelector, KeepsTitlesSortedAndTheSelectionOnItsEntry) {
    ModSelector selector;
    for (const char* title : {"Team Fortress Classic", "alpha", "Half-Life"}) {
        selector.Add(title);
    }
    EXPECT_FALSE(selector.HasSelection());
    EXPECT_EQ(selector.SelectedText(), "");
    ASSERT_TRUE(selector.SelectTitle("team fortress CLASSIC"));
    selector.Add("Beta");
    EXPECT_EQ(selector.Entries(),
              (std::vector<std::string>{"alpha", "Beta", "Half-Life", "Team Fortress Classic"}));
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic");
    EXPECT_FALSE(selector.SelectFirstStartingWith("Gamma"));
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic") << "no match keeps the selection";
    EXPECT_FALSE(selector.Select(5));
    EXPECT_FALSE(selector.HasSelection());
}

} // namespace
} // namespace ballotine
