#include "catalogue/MapList.h"

#include "common/Text.h"

#include <algorithm>
#include <iterator>

namespace ballotine {

namespace {

bool EntryLess(const MapEntry& a, const MapEntry& b) {
    return LessNoCase{}(a.name, b.name);
}

} // namespace

std::size_t MapList::Insert(std::string_view name, MapState state) {
    const auto place = std::upper_bound(m_entries.begin(), m_entries.end(), name,
                                        [](std::string_view value, const MapEntry& entry) {
                                            return LessNoCase{}(value, entry.name);
                                        });
    const auto index = static_cast<std::size_t>(place - m_entries.begin());
    m_entries.insert(place, MapEntry{std::string(name), state, false});
    if (m_focused && index <= *m_focused) {
        ++*m_focused;
    }
    return index;
}

void MapList::InsertAll(std::vector<MapEntry> entries) {
    // A stable sort and a stable merge place equal names exactly as one-by-one insertion
    // would, without moving the whole list once per entry. Moved entries come from the other
    // list in its order, so usually there is nothing to sort.
    if (!std::is_sorted(entries.begin(), entries.end(), EntryLess)) {
        std::stable_sort(entries.begin(), entries.end(), EntryLess);
    }
    if (m_focused) {
        const std::string& focusedName = m_entries[*m_focused].name;
        *m_focused += static_cast<std::size_t>(
            std::count_if(entries.begin(), entries.end(), [&](const MapEntry& entry) {
                return LessNoCase{}(entry.name, focusedName);
            }));
    }
    const auto middle = static_cast<std::ptrdiff_t>(m_entries.size());
    m_entries.reserve(m_entries.size() + entries.size());
    for (MapEntry& entry : entries) {
        entry.selected = false;
        m_entries.push_back(std::move(entry));
    }
    std::inplace_merge(m_entries.begin(), m_entries.begin() + middle, m_entries.end(), EntryLess);
}

std::vector<std::string> MapList::Names() const {
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const MapEntry& entry : m_entries) {
        names.push_back(entry.name);
    }
    return names;
}

void MapList::Clear() {
    m_entries.clear();
    m_focused.reset();
}

std::optional<std::size_t> MapList::FindNoCase(std::string_view name) const {
    // Names equal without regard to case sit together, the first of them first in list order.
    const auto first = std::lower_bound(m_entries.begin(), m_entries.end(), name,
                                        [](const MapEntry& entry, std::string_view value) {
                                            return CompareNoCase(entry.name, value) < 0;
                                        });
    if (first == m_entries.end() || !EqualsNoCase(first->name, name)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(first - m_entries.begin());
}

std::vector<bool> MapList::FirstMatchesOfSorted(const std::vector<MapEntry>& names) const {
    // Both in list order: one walk finds them all. Equal names sit together, so each later
    // equal name takes the entry after the one before it took.
    std::vector<bool> doomed(m_entries.size(), false);
    std::size_t at = 0;
    for (const MapEntry& wanted : names) {
        while (at < m_entries.size() && CompareNoCase(m_entries[at].name, wanted.name) < 0) {
            ++at;
        }
        if (at < m_entries.size() && EqualsNoCase(m_entries[at].name, wanted.name)) {
            doomed[at++] = true;
        }
    }
    return doomed;
}

std::vector<bool> MapList::FirstMatches(const std::vector<MapEntry>& names) const {
    if (std::is_sorted(names.begin(), names.end(), EntryLess)) {
        return FirstMatchesOfSorted(names);
    }
    std::vector<bool> doomed(m_entries.size(), false);
    for (const MapEntry& wanted : names) {
        const auto first = FindNoCase(wanted.name);
        if (!first) {
            continue;
        }
        std::size_t index = *first;
        while (index < m_entries.size() && doomed[index] &&
               EqualsNoCase(m_entries[index].name, wanted.name)) {
            ++index;
        }
        if (index < m_entries.size() && !doomed[index] &&
            EqualsNoCase(m_entries[index].name, wanted.name)) {
            doomed[index] = true;
        }
    }
    return doomed;
}

void MapList::RemoveFirstMatches(const std::vector<MapEntry>& names) {
    const std::vector<bool> doomed = FirstMatches(names);
    if (std::find(doomed.begin(), doomed.end(), true) == doomed.end()) {
        return;
    }
    if (m_focused) {
        const auto before = static_cast<std::size_t>(std::count(
            doomed.begin(), doomed.begin() + static_cast<std::ptrdiff_t>(*m_focused), true));
        m_focused = doomed[*m_focused] ? std::nullopt : std::optional(*m_focused - before);
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (doomed[i]) {
            continue;
        }
        if (kept != i) {
            m_entries[kept] = std::move(m_entries[i]);
        }
        ++kept;
    }
    m_entries.resize(kept);
}

void MapList::SetSelected(std::size_t index, bool selected) {
    if (index < m_entries.size()) {
        m_entries[index].selected = selected;
    }
}

void MapList::ClearSelection() {
    for (MapEntry& entry : m_entries) {
        entry.selected = false;
    }
}

std::vector<MapEntry> MapList::SelectedEntries() const {
    std::vector<MapEntry> selected;
    std::copy_if(m_entries.begin(), m_entries.end(), std::back_inserter(selected),
                 [](const MapEntry& entry) { return entry.selected; });
    return selected;
}

void MapList::SetFocused(std::optional<std::size_t> index) {
    m_focused = index && *index < m_entries.size() ? index : std::nullopt;
}

} // namespace ballotine
