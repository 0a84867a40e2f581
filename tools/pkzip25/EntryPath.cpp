#include "pkzip25/EntryPath.h"

#include "common/Text.h"
#include "pkzip25/WorkRecord.h"

#include <climits>

namespace ballotine::pkzip25 {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool StartsWithDriveLetter(std::string_view name) {
    const bool letter = name.size() >= 2 &&
                        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return letter && name[1] == ':';
}

// Calls `take` with each non-empty, non-"." component of a name.
template <typename Take>
void ForEachComponent(std::string_view name, Take take) {
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        const std::string_view component = name.substr(start, end - start);
        if (!component.empty() && component != ".") {
            take(component);
        }
        start = end + 1;
    }
}

} // namespace

bool SplitEntryName(std::string_view name, EntryPath& path, std::string& reason) {
    path = EntryPath{};
    if (name.empty()) {
        reason = "has no name";
        return false;
    }
    if (IsSeparator(name.front())) {
        reason = "has an absolute path";
        return false;
    }
    if (StartsWithDriveLetter(name)) {
        reason = "names a drive";
        return false;
    }
    // Checked before the components are kept: a name is as long as the archive says.
    std::string_view refused;
    ForEachComponent(name, [&](std::string_view component) {
        if (refused.empty() && (component == ".." || component.size() > NAME_MAX ||
                                StartsWithNoCase(component, kWorkNamePrefix))) {
            refused = component;
        }
    });
    if (refused == "..") {
        reason = "has a '..' component";
        return false;
    }
    if (refused.size() > NAME_MAX) {
        reason = Format("has a name longer than %d bytes, more than file systems allow", NAME_MAX);
        return false;
    }
    if (!refused.empty()) {
        reason = Format("has a name starting with '%.*s', kept for the tool's own work files",
                        static_cast<int>(kWorkNamePrefix.size()), kWorkNamePrefix.data());
        return false;
    }
    if (name.size() >= PATH_MAX) {
        reason =
            Format("has a path longer than %d bytes, more than file systems allow", PATH_MAX - 1);
        return false;
    }
    ForEachComponent(name,
                     [&](std::string_view component) { path.components.emplace_back(component); });
    path.isFolder = IsSeparator(name.back());
    return true;
}

bool LinkStaysInside(const EntryPath& link, std::string_view linkTarget) {
    if (linkTarget.empty() || IsSeparator(linkTarget.front()) ||
        StartsWithDriveLetter(linkTarget) || link.components.empty()) {
        return false;
    }
    // How deep below the target folder the walk is; it starts in the link's own folder.
    std::size_t depth = link.components.size() - 1;
    bool left = false;
    ForEachComponent(linkTarget, [&](std::string_view component) {
        if (component != "..") {
            ++depth;
        } else if (depth == 0) {
            left = true;
        } else {
            --depth;
        }
    });
    return !left;
}

std::string Printable(std::string_view name) {
    std::string shown(name);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return shown;
}

} // namespace ballotine::pkzip25
