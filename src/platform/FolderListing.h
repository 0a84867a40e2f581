#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ballotine {

struct FolderEntry {
    std::string name;
    bool isFolder = false;  // a real folder; a link to one is not
    bool isLink = false;    // a symbolic link, whatever it points to
    std::uint64_t size = 0; // bytes of a regular file, else 0
};

// One read of a folder, for lookups without regard to case.
//
// An operation that looks up many names in one folder reads it once into a listing and asks
// the listing, instead of touching the file system per name. Entries are in ascending order
// without regard to case, the order in which the program shows and searches names.
class FolderListing {
public:
    // A missing or unreadable folder gives an empty listing; `Exists()` tells which.
    static FolderListing Read(const std::filesystem::path& folder);
    // The same without sizes (all 0): no status query per file, for scans of large folders
    // that need only names and kinds.
    static FolderListing ReadNames(const std::filesystem::path& folder);

    bool Exists() const { return m_exists; }
    const std::vector<FolderEntry>& Entries() const { return m_entries; }

    // The entry whose name equals `name` without regard to case, or nullptr.
    const FolderEntry* Find(std::string_view name) const;
    // The entries whose names match a wildcard pattern ("*", "?"), in listing order.
    std::vector<const FolderEntry*> Match(std::string_view pattern) const;
    // Whether any entry matches the pattern.
    bool AnyMatch(std::string_view pattern) const;

private:
    static FolderListing ReadFolder(const std::filesystem::path& folder, bool withSizes);

    bool m_exists = false;
    std::vector<FolderEntry> m_entries;
    std::unordered_map<std::string, std::size_t> m_byLowerName;
};

} // namespace ballotine
