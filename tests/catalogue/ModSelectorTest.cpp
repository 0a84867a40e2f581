#include "catalogue/ModSelector.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(ModSelector, KeepsTitlesSortedWithoutRegardToCase) {
    ModSelector selector;
    for (const char* title : {"Team Fortress Classic", "alpha", "Half-Life", "Beta"}) {
        selector.Add(title);
    }
    EXPECT_EQ(selector.Entries(),
              (std::vector<std::string>{"alpha", "Beta", "Half-Life", "Team Fortress Classic"}));
    EXPECT_FALSE(selector.HasSelection());
    EXPECT_EQ(selector.SelectedText(), "");
}

TEST(ModSelector, SelectionFollowsItsEntryWhenOthersAreAdded) {
    ModSelector selector;
    selector.Add("Team Fortress Classic");
    ASSERT_TRUE(selector.SelectTitle("team fortress CLASSIC"));
    selector.Add("Alpha");
    EXPECT_EQ(selector.SelectedText(), "Team Fortress Classic");
    EXPECT_FALSE(selector.Select(5));
    EXPECT_FALSE(selector.HasSelection());
}

TEST(ModSelector, PrefixSelectionTakesTheFirstInSortedOrder) {
    ModSelector selector;
    selector.Add("Alpha Two");
    selector.Add("Alpha");
    ASSERT_TRUE(selector.SelectFirstStartingWith("alpha"));
    EXPECT_EQ(selector.SelectedText(), "Alpha");
    EXPECT_FALSE(selector.SelectFirstStartingWith("Gamma"));
    EXPECT_EQ(selector.SelectedText(), "Alpha") << "no match leaves the selection";
}

} // namespace
} // namespace ballotine
