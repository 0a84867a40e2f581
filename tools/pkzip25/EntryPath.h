#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ballotine::pkzip25 {

// Where an archive entry lands below the target folder: its path components, without empty
// or "." ones. No components at all is the target folder itself.
struct EntryPath {
    std::vector<std::string> components;
    bool isFolder = false; // the name ended with a separator
};

// Splits an entry name into its components; "\" separates like "/" because packages are
// made on Windows. False, with the reason in `reason`, for a name that would land outside
// the target folder: absolute, with a drive letter, or with a ".." component anywhere (even
// one that would climb back in, which no honest archive needs); for a component longer than
// a file system takes (NAME_MAX) or a name longer than a path may be (PATH_MAX); and for a
// component starting with the prefix of the tool's own work files, which a later run would
// take for the leftovers of a killed one.
bool SplitEntryName(std::string_view name, EntryPath& path, std::string& reason);

// Whether a link stored at `link` with the text `linkTarget` points to a place inside the
// target folder, judged from the text alone.
bool LinkStaysInside(const EntryPath& link, std::string_view linkTarget);

// The name as it can be shown on one line of a message: control characters become '?'.
std::string Printable(std::string_view name);

} // namespace ballotine::pkzip25
