#pragma once

#include "pkzip25/FileDescriptor.h"

#include <string>
#include <string_view>
#include <vector>

namespace ballotine::pkzip25 {

// Opens the folder `relative` ("/"-separated, empty for `root` itself) below the open folder
// `root`, one component at a time and never through a symbolic link, so a link planted in
// the target folder cannot lead a write elsewhere. With `created` given, missing folders are
// made (0755 before the umask) and their relative paths appended in the order made.
// Nothing open, with the reason in `reason`, when it fails.
FileDescriptor OpenFolderBelow(int root, std::string_view relative,
                               std::vector<std::string>* created, std::string& reason);

// Joins a relative folder and a name with "/".
std::string JoinRelative(std::string_view folder, std::string_view name);

} // namespace ballotine::pkzip25
