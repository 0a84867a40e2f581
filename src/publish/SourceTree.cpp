#include "publish/SourceTree.h"

#include "publish/PublishNames.h"

#include <algorithm>
#include <system_error>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(path, error));
}

} // namespace

std::string JoinRelative(std::string_view a, std::string_view b) {
    if (a.empty()) {
        return std::string(b);
    }
    return std::string(a) + "/" + std::string(b);
}

SourceTree::SourceTree(const fs::path& root) {
    std::error_code error;
    m_root = fs::canonical(root, error);
    if (error) {
        m_root = fs::absolute(root, error).lexically_normal();
    }
}

bool SourceTree::Contains(const fs::path& path) const {
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    if (error) {
        return false;
    }
    const std::string root = m_root.string();
    const std::string text = real.string();
    return text == root || (text.size() > root.size() && text.starts_with(root) &&
                            (root.ends_with('/') || text[root.size()] == '/'));
}

const FolderListing& SourceTree::Listing(const std::string& relative) const {
    auto it = m_listings.find(relative);
    if (it == m_listings.end()) {
        it = m_listings.emplace(relative, FolderListing::ReadNames(m_root / relative)).first;
    }
    return it->second;
}

SourceTree::Lookup SourceTree::Resolve(std::string_view relative, bool wantFolder) const {
    Lookup lookup;
    const std::vector<std::string_view> parts = PathComponents(relative);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part.empty() || part == "." || part == "..") {
            return {Kind::Refused, std::string(relative), {}, "not a path inside the folder"};
        }
        const FolderEntry* entry = Listing(lookup.relative).Find(part);
        if (entry == nullptr) {
            return {Kind::Missing, std::string(relative), {}, {}};
        }
        lookup.relative = JoinRelative(lookup.relative, entry->name);
        const bool last = i + 1 == parts.size();
        bool isFolder = entry->isFolder;
        if (entry->isLink) {
            const fs::path through = m_root / lookup.relative;
            if (!Contains(through)) {
                std::error_code error;
                const bool dangling = !fs::exists(through, error);
                return {dangling ? Kind::Missing : Kind::Refused, lookup.relative, through,
                        dangling ? "" : "a link that leads out of the folder"};
            }
            std::error_code error;
            isFolder = fs::is_directory(through, error);
            if (!isFolder && !fs::is_regular_file(through, error)) {
                return {Kind::Missing, std::string(relative), {}, {}};
            }
        } else if (!isFolder && (!last || !IsRegularFile(m_root / lookup.relative))) {
            return {Kind::Missing, std::string(relative), {}, {}}; // a device or pipe is no file
        }
        if (last && isFolder != wantFolder) {
            return {Kind::Missing, std::string(relative), {}, {}};
        }
    }
    if (!wantFolder && parts.empty()) {
        return {Kind::Missing, std::string(relative), {}, {}};
    }
    lookup.kind = Kind::Found;
    lookup.path = lookup.relative.empty() ? m_root : m_root / lookup.relative;
    return lookup;
}

SourceTree::Lookup SourceTree::File(std::string_view relative) const {
    return Resolve(relative, false);
}

SourceTree::Lookup SourceTree::Folder(std::string_view relative) const {
    return Resolve(relative, true);
}

void SourceTree::Walk(const std::string& folder, std::vector<std::string>& files,
                      std::vector<Lookup>& refused, std::vector<fs::path>& visited) const {
    std::error_code error;
    const fs::path real = fs::canonical(m_root / folder, error);
    if (error || std::find(visited.begin(), visited.end(), real) != visited.end()) {
        return; // a link back to a folder already walked
    }
    visited.push_back(real);
    for (const FolderEntry& entry : Listing(folder).Entries()) {
        const std::string relative = JoinRelative(folder, entry.name);
        if (entry.isFolder) {
            Walk(relative, files, refused, visited);
            continue;
        }
        if (!entry.isLink) {
            if (IsRegularFile(m_root / relative)) {
                files.push_back(relative);
            }
            continue;
        }
        const fs::path through = m_root / relative;
        if (!Contains(through)) {
            if (fs::exists(through, error)) {
                refused.push_back(
                    {Kind::Refused, relative, through, "a link that leads out of the folder"});
            }
            continue;
        }
        if (fs::is_directory(through, error)) {
            Walk(relative, files, refused, visited);
        } else if (fs::is_regular_file(through, error)) {
            files.push_back(relative);
        }
    }
}

std::vector<std::string> SourceTree::FilesBelow(const std::string& relative,
                                                std::vector<Lookup>& refused) const {
    std::vector<std::string> files;
    std::vector<fs::path> visited;
    Walk(relative, files, refused, visited);
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace ballotine
