#pragma once

#include "catalogue/MapState.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

struct MapEntry {
    std::string name;
    MapState state = MapState::Installed;
    bool selected = false;
};

// One of the main window's two map lists as a plain model: entries kept in ascending order of
// name without regard to case (an entry is inserted anywhere and the list places it, after
// any entry of an equal name), each with a selection mark, plus at most one focused entry.
// The window's list views mirror it.
class MapList {
public:
    std::size_t Count() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }
    const MapEntry& At(std::size_t index) const { return m_entries[index]; }
    const std::vector<MapEntry>& Entries() const { return m_entries; }
    void Reserve(std::size_t count) { m_entries.reserve(count); }
    // The entries' names, in list order.
    std::vector<std::string> Names() const;

    // Places a new, unselected entry; returns its position.
    std::size_t Insert(std::string_view name, MapState state);
    // Places many new, unselected entries as if inserted one by one in the given order.
    void InsertAll(std::vector<MapEntry> entries);
    void Clear();

    // The first entry, in list order, whose name equals `name` without regard to case.
    std::optional<std::size_t> FindNoCase(std::string_view name) const;
    // For each name of `names`, in order, deletes the first entry of this list whose name
    // equals it without regard to case (an entry is deleted at most once).
    void RemoveFirstMatches(const std::vector<MapEntry>& names);

    void SetSelected(std::size_t index, bool selected);
    void ClearSelection();
    // The selected entries, in list order.
    std::vector<MapEntry> SelectedEntries() const;

    std::optional<std::size_t> Focused() const { return m_focused; }
    void SetFocused(std::optional<std::size_t> index);

    // Gives an entry another state; its name, place and selection stay.
    void SetState(std::size_t index, MapState state) { m_entries[index].state = state; }

private:
    // Which entries RemoveFirstMatches deletes.
    std::vector<bool> FirstMatches(const std::vector<MapEntry>& names) const;
    std::vector<bool> FirstMatchesOfSorted(const std::vector<MapEntry>& names) const;

    std::vector<MapEntry> m_entries;
    std::optional<std::size_t> m_focused;
};

} // namespace ballotine
