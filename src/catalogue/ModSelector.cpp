#include "catalogue/ModSelector.h"

#include "common/Text.h"

#include <algorithm>

namespace ballotine {

void ModSelector::Clear() {
    m_entries.clear();
    m_selected = -1;
}

void ModSelector::Add(std::string_view title) {
    const auto place = std::upper_bound(
        m_entries.begin(), m_entries.end(), title,
        [](std::string_view a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    const auto inserted = m_entries.insert(place, std::string(title));
    if (m_selected >= 0 && inserted - m_entries.begin() <= m_selected) {
        ++m_selected;
    }
}

std::string ModSelector::SelectedText() const {
    return m_selected >= 0 ? m_entries[static_cast<std::size_t>(m_selected)] : std::string{};
}

bool ModSelector::Select(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) {
        m_selected = -1;
        return false;
    }
    m_selected = index;
    return true;
}

bool ModSelector::SelectFirstStartingWith(std::string_view prefix) {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (StartsWithNoCase(m_entries[i], prefix)) {
            m_selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool ModSelector::SelectTitle(std::string_view title) {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (EqualsNoCase(m_entries[i], title)) {
            m_selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

} // namespace ballotine
