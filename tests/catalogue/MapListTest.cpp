#include "catalogue/MapList.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

using Names = std::vector<std::string>;

MapList Of(const Names& names) {
    MapList list;
    for (const std::string& name : names) {
        list.Insert(name, MapState::Installed);
    }
    return list;
}

TEST(MapList, KeepsEntriesSortedAndInsertAllPlacesThemAsOneByOneInsertionWould) {
    EXPECT_EQ(Of({"well", "2fort", "Rock2", "cz2", "ROCK1"}).Names(),
              (Names{"2fort", "cz2", "ROCK1", "Rock2", "well"}));

    const Names added = {"well", "beta", "zulu", "Alpha", "alpha", "0"};
    MapList oneByOne = Of({"alpha", "delta", "Well"});
    MapList batch = Of({"alpha", "delta", "Well"});
    std::vector<MapEntry> entries;
    for (const std::string& name : added) {
        oneByOne.Insert(name, MapState::NotDownloaded);
        entries.push_back({name, MapState::NotDownloaded, true});
    }
    batch.InsertAll(entries);
    EXPECT_EQ(batch.Names(), oneByOne.Names());
    EXPECT_TRUE(batch.SelectedEntries().empty()) << "a moved entry arrives unselected";
}

TEST(MapList, FindNoCaseGivesTheFirstOfEqualNames) {
    MapList list = Of({"well", "2fort"});
    list.Insert("WELL", MapState::NotDownloaded);
    ASSERT_TRUE(list.FindNoCase("Well"));
    EXPECT_EQ(list.At(*list.FindNoCase("Well")).name, "WELL");
    EXPECT_FALSE(list.FindNoCase("wel"));
    EXPECT_FALSE(list.FindNoCase("wells"));
}

TEST(MapList, RemoveFirstMatchesDeletesOneEntryPerName) {
    MapList list = Of({"a", "b", "B", "c"});
    // "b" twice takes both spellings; "x" matches nothing; "C" matches without regard to case.
    list.RemoveFirstMatches({{"b"}, {"x"}, {"b"}, {"C"}});
    EXPECT_EQ(list.Names(), Names{"a"});

    // Names in list order (a whole selection moving back) take the same entries.
    MapList sorted = Of({"a", "b", "B", "b", "c", "d"});
    sorted.SetFocused(5); // d
    sorted.RemoveFirstMatches({{"a"}, {"B"}, {"b"}, {"bb"}, {"C"}, {"C"}});
    EXPECT_EQ(sorted.Names(), (Names{"b", "d"}));
    EXPECT_EQ(sorted.At(*sorted.Focused()).name, "d");
}

TEST(MapList, FocusFollowsItsEntryAndSelectionIsInListOrder) {
    MapList list = Of({"b", "d", "f"});
    list.SetFocused(1); // d
    list.Insert("a", MapState::Installed);
    list.InsertAll({{"c"}, {"e"}, {"0"}});
    EXPECT_EQ(list.At(*list.Focused()).name, "d");
    list.RemoveFirstMatches({{"a"}, {"c"}});
    EXPECT_EQ(list.At(*list.Focused()).name, "d");
    list.RemoveFirstMatches({{"D"}});
    EXPECT_FALSE(list.Focused());
    list.SetFocused(99);
    EXPECT_FALSE(list.Focused());

    list.SetSelected(3, true); // f
    list.SetSelected(0, true); // 0
    list.SetSelected(7, true); // out of range: ignored
    const auto selected = list.SelectedEntries();
    ASSERT_EQ(selected.size(), 2U);
    EXPECT_EQ(selected[0].name, "0");
    EXPECT_EQ(selected[1].name, "f");
    list.ClearSelection();
    EXPECT_TRUE(list.SelectedEntries().empty());
}

} // namespace
} // namespace ballotine
