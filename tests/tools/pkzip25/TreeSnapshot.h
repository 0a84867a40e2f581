#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace ballotine::test {

// Everything below a folder, byte for byte: each path (relative, links not followed) with its
// kind, permission bits and content, and, with `inodes`, each file's inode, so that a file put
// back is told from a copy of it. Folder times are left out: they change when a name comes
// and goes.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot SnapshotOf(const std::filesystem::path& folder, bool inodes = true);

} // namespace ballotine::test
