#pragma once

#include "platform/FolderListing.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The folder being published, looked into the way the game looks into its own folder: names
// match without regard to letter case, and every answer carries the spelling found on disk.
// Links are followed only while they stay inside the folder; one that leads out of it is
// refused, so a published package never carries a file from elsewhere on the machine.
class SourceTree {
public:
    // `root` must exist; it is made canonical.
    explicit SourceTree(const std::filesystem::path& root);

    enum class Kind { Found, Missing, Refused };
    struct Lookup {
        Kind kind = Kind::Missing;
        std::string relative;       // as spelled on disk, "/" between folders
        std::filesystem::path path; // root / relative
        std::string reason;         // why it was refused
    };

    // A regular file at `relative` ("/" between folders).
    Lookup File(std::string_view relative) const;
    // A folder at `relative`; "" is the root.
    Lookup Folder(std::string_view relative) const;
    // The listing of a folder found by Folder (its on-disk spelling).
    const FolderListing& Listing(const std::string& relative) const;
    // Every regular file below a folder found by Folder, on-disk spellings relative to the
    // root, in name order; links that lead out of the tree are reported in `refused`.
    std::vector<std::string> FilesBelow(const std::string& relative,
                                        std::vector<Lookup>& refused) const;

    const std::filesystem::path& Root() const { return m_root; }
    // Whether `path` (made canonical) lies inside the tree.
    bool Contains(const std::filesystem::path& path) const;

private:
    Lookup Resolve(std::string_view relative, bool wantFolder) const;
    void Walk(const std::string& folder, std::vector<std::string>& files,
              std::vector<Lookup>& refused, std::vector<std::filesystem::path>& visited) const;

    std::filesystem::path m_root;
    mutable std::map<std::string, FolderListing> m_listings;
};

// `a` and `b` joined with "/" ("" stands for the root).
std::string JoinRelative(std::string_view a, std::string_view b);

} // namespace ballotine
