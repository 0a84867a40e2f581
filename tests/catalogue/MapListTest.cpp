#include "catalogue/MapList.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

std::vector<std::string> Names(const MapList& list) {
    std::vector<std::string> names;
    for (const MapEntry& entry : list.Entries()) {
        names.push_back(entry.name);
    }
    return names;
}

TEST(MapList, KeepsEntriesSortedWithoutRegardToCase) {
    MapList list;
    for (const char* name : {"well", "2fort", "Rock2", "cz2", "ROCK1", "hunted"}) {
        list.Insert(name, MapState::Installed);
    }
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"2fort", "cz2", "hunted", "ROCK1", "Rock2", "well"}));
}

TEST(MapList, InsertAllPlacesEntriesAsOneByOneInsertionWould) {
    const std::vector<std::string> existing = {"alpha", "delta", "Well"};
    const std::vector<std::string> added = {"well", "beta", "zulu", "Alpha", "alpha", "0"};
    MapList oneByOne;
    MapList batch;
    for (const std::string& name : existing) {
        oneByOne.Insert(name, MapState::Installed);
        batch.Insert(name, MapState::Installed);
    }
    std::vector<MapEntry> entries;
    for (const std::string& name : added) {
        oneByOne.Insert(name, MapState::NotDownloaded);
        entries.push_back({name, MapState::NotDownloaded, true});
    }
    batch.InsertAll(entries);
    EXPECT_EQ(Names(batch), Names(oneByOne));
    for (const MapEntry& entry : batch.Entries()) {
        EXPECT_FALSE(entry.selected) << entry.name << ": a moved entry arrives unselected";
    }
}

TEST(MapList, FindNoCaseGivesTheFirstOfEqualNames) {
    MapList list;
    list.Insert("well", MapState::Installed);
    list.Insert("WELL", MapState::NotDownloaded);
    list.Insert("2fort", MapState::Installed);
    ASSERT_TRUE(list.FindNoCase("Well"));
    EXPECT_EQ(list.At(*list.FindNoCase("Well")).name, "WELL");
    EXPECT_FALSE(list.FindNoCase("wel"));
    EXPECT_FALSE(list.FindNoCase("wells"));
}

TEST(MapList, RemoveFirstMatchesDeletesOneEntryPerName) {
    MapList list;
    for (const char* name : {"a", "b", "B", "c"}) {
        list.Insert(name, MapState::Installed);
    }
    // "b" twice takes both spellings; "x" matches nothing; "C" matches without regard to case.
    list.RemoveFirstMatches({{"b"}, {"x"}, {"b"}, {"C"}});
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a"}));

    // Names in list order (a whole selection moving back) take the same entries.
    MapList sorted;
    for (const char* name : {"a", "b", "B", "b", "c", "d"}) {
        sorted.Insert(name, MapState::Installed);
    }
    sorted.SetFocused(5); // d
    sorted.RemoveFirstMatches({{"a"}, {"B"}, {"b"}, {"bb"}, {"C"}, {"C"}});
    EXPECT_EQ(Names(sorted), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(sorted.At(*sorted.Focused()).name, "d");
}

TEST(MapList, FocusFollowsItsEntryThroughInsertionsAndRemovals) {
    MapList list;
    for (const char* name : {"b", "d", "f"}) {
        list.Insert(name, MapState::Installed);
    }
    list.SetFocused(1); // d
    list.Insert("a", MapState::Installed);
    EXPECT_EQ(list.At(*list.Focused()).name, "d");
    list.InsertAll({{"c"}, {"e"}, {"0"}});
    EXPECT_EQ(list.At(*list.Focused()).name, "d");
    list.RemoveFirstMatches({{"a"}, {"c"}});
    EXPECT_EQ(list.At(*list.Focused()).name, "d");
    list.RemoveFirstMatches({{"D"}});
    EXPECT_FALSE(list.Focused());
    list.SetFocused(99);
    EXPECT_FALSE(list.Focused());
}

TEST(MapList, SelectedEntriesInListOrder) {
    MapList list;
    for (const char* name : {"c", "a", "b"}) {
        list.Insert(name, MapState::Installed);
    }
    list.SetSelected(2, true);
    list.SetSelected(0, true);
    list.SetSelected(7, true); // out of range: ignored
    const auto selected = list.SelectedEntries();
    ASSERT_EQ(selected.size(), 2U);
    EXPECT_EQ(selected[0].name, "a");
    EXPECT_EQ(selected[1].name, "c");
    list.ClearSelection();
    EXPECT_TRUE(list.SelectedEntries().empty());
}

} // namespace
} // namespace ballotine
