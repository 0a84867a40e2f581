#include "pkzip25/ProtectedPlaces.h"

#include "common/Text.h"
#include "platform/Wildcard.h"

#include <algorithm>

namespace ballotine::pkzip25 {

namespace {

std::vector<std::string> Components(std::string_view text) {
    std::vector<std::string> components;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("/\\"), text.size());
        if (end > 0 && text.substr(0, end) != ".") {
            components.emplace_back(text.substr(0, end));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return components;
}

// Whether the first `count` components of `path` match those of `pattern`.
bool LeadingMatch(const std::vector<std::string>& pattern, const std::vector<std::string>& path,
                  std::size_t count) {
    return count <= pattern.size() && count <= path.size() &&
           std::equal(path.begin(), path.begin() + static_cast<long>(count), pattern.begin(),
                      [](const std::string& name, const std::string& wildcard) {
                          return MatchesWildcard(wildcard, name);
                      });
}

std::string Joined(const std::vector<std::string>& components) {
    std::string joined;
    for (const std::string& component : components) {
        joined += (joined.empty() ? "" : "/") + component;
    }
    return joined;
}

} // namespace

void ProtectedPlaces::Protect(std::string_view folder) {
    if (auto components = Components(folder); !components.empty()) {
        m_protected.push_back(std::move(components));
    }
}

void ProtectedPlaces::Allow(std::string_view pattern) {
    if (auto components = Components(pattern); !components.empty()) {
        m_allowed.push_back(std::move(components));
    }
}

bool ProtectedPlaces::Allowed(const EntryPath& path) const {
    const std::size_t count = path.components.size();
    return std::any_of(m_allowed.begin(), m_allowed.end(), [&](const auto& pattern) {
        const bool fits = path.isFolder ? count < pattern.size() : count == pattern.size();
        return fits && LeadingMatch(pattern, path.components, count);
    });
}

std::string ProtectedPlaces::WhyRefused(const EntryPath& path) const {
    for (const std::vector<std::string>& folder : m_protected) {
        const bool inside = path.components.size() >= folder.size() &&
                            std::equal(folder.begin(), folder.end(), path.components.begin(),
                                       [](const std::string& a, const std::string& b) {
                                           return EqualsNoCase(a, b);
                                       });
        if (inside && !Allowed(path)) {
            return Format("would write into the protected folder '%s'", Joined(folder).c_str());
        }
    }
    return {};
}

} // namespace ballotine::pkzip25
