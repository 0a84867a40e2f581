#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The mod selector as a plain model: the titles of the offered mods, kept in ascending order
// without regard to case, and at most one selected entry. The window's drop-down list mirrors
// it; a selection is always found again by its title.
class ModSelector {
public:
    void Clear();
    void Add(std::string_view title);

    const std::vector<std::string>& Entries() const { return m_entries; }
    int SelectedIndex() const { return m_selected; }
    bool HasSelection() const { return m_selected >= 0; }
    // The shown text; empty without a selection.
    std::string SelectedText() const;

    // Selects an entry by position; false (and no selection) when out of range.
    bool Select(int index);
    // Selects the first entry, in sorted order, that begins with `prefix` without regard to
    // case; false and no change when none does.
    bool SelectFirstStartingWith(std::string_view prefix);
    // Selects the first entry equal to `title` without regard to case.
    bool SelectTitle(std::string_view title);

private:
    std::vector<std::string> m_entries;
    int m_selected = -1;
};

} // namespace ballotine
