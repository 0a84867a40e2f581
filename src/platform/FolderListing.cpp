#include "platform/FolderListing.h"

#include "common/Text.h"
#include "platform/Paths.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <system_error>

namespace ballotine {
namespace fs = std::filesystem;

FolderListing FolderListing::Read(const fs::path& folder) {
    return ReadFolder(folder, true);
}

FolderListing FolderListing::ReadNames(const fs::path& folder) {
    return ReadFolder(folder, false);
}

FolderListing FolderListing::ReadFolder(const fs::path& folder, bool withSizes) {
    FolderListing listing;
    std::error_code error;
    fs::directory_iterator it(ResolveCase(folder.empty() ? fs::path(".") : folder), error);
    if (error) {
        return listing;
    }
    listing.m_exists = true;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        FolderEntry entry;
        entry.name = it->path().filename().string();
        // The kind comes with the listing on most file systems; only where it does not is the
        // file asked (a file that vanished in between is left out).
        entry.isLink = it->is_symlink(error);
        const bool isRegular = !entry.isLink && !error && it->is_regular_file(error);
        entry.isFolder = !entry.isLink && !error && it->is_directory(error);
        if (error) {
            error.clear();
            continue;
        }
        if (withSizes && isRegular) {
            const auto size = it->file_size(error);
            entry.size = error ? 0 : size;
            error.clear();
        }
        listing.m_entries.push_back(std::move(entry));
    }
    std::sort(
        listing.m_entries.begin(), listing.m_entries.end(),
        [](const FolderEntry& a, const FolderEntry& b) { return LessNoCase{}(a.name, b.name); });
    listing.m_byLowerName.reserve(listing.m_entries.size());
    for (std::size_t i = 0; i < listing.m_entries.size(); ++i) {
        // emplace keeps the first spelling in order when several differ only in case
        listing.m_byLowerName.emplace(ToLowerAscii(listing.m_entries[i].name), i);
    }
    return listing;
}

const FolderEntry* FolderListing::Find(std::string_view name) const {
    const auto it = m_byLowerName.find(ToLowerAscii(name));
    return it == m_byLowerName.end() ? nullptr : &m_entries[it->second];
}

std::vector<const FolderEntry*> FolderListing::Match(std::string_view pattern) const {
    std::vector<const FolderEntry*> matches;
    for (const FolderEntry& entry : m_entries) {
        if (MatchesWildcard(pattern, entry.name)) {
            matches.push_back(&entry);
        }
    }
    return matches;
}

bool FolderListing::AnyMatch(std::string_view pattern) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const FolderEntry& entry) {
        return MatchesWildcard(pattern, entry.name);
    });
}

} // namespace ballotine
