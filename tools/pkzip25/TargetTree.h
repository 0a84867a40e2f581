#pragma once

#include "pkzip25/EntryPath.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWalk.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

struct dirent;

namespace ballotine::pkzip25 {

// Where an entry will be written: its folder below the target ("/"-separated, empty for the
// target itself) and its name there (empty for a folder entry).
struct Placement {
    std::string folder;
    std::string name;
    bool replaces = false; // something of that name is there (a file, a link, ...)
};

// The target folder as it is on disk plus what the archive adds, for checking every entry
// before anything is written.
//
// Names compare without regard to letter case, as on the system the packages are made for:
// an entry "MAPS/x.bsp" goes into an existing "maps" folder and keeps that spelling. Only
// the folders that entries reach are read, each once.
class TargetTree {
public:
    // A target that does not exist yet is fine (it is made later); one that is not a folder
    // is not.
    bool Open(const std::filesystem::path& target, std::string& reason);

    // Finds where an entry lands and adds it to the tree. Refuses a path that passes through
    // a link or a file of the target folder, a file that would replace a folder, and an
    // archive that holds the same name as a file and as a folder, or as a file twice (letter
    // case aside: which of the two would win is anybody's guess).
    bool Place(const EntryPath& path, Placement& placement, std::string& reason);

    // The folders the placed entries need that are not there yet, each after its parent.
    const std::vector<std::string>& NewFolders() const { return m_newFolders; }

private:
    enum class Kind { Folder, File, Link, Other };
    struct Node {
        std::string name; // the spelling on disk, or the first one the archive gave
        Kind kind = Kind::Folder;
        bool onDisk = false;
        bool listed = false;  // children read from disk (or nothing to read)
        bool claimed = false; // a file an entry writes
        std::unordered_map<std::string, std::unique_ptr<Node>> children; // by lower-case name
    };

    static Kind KindOnDisk(int folderFd, const dirent& item);
    bool EnsureListed(Node& node, const std::string& relative, std::string& reason);

    FileDescriptor m_root;
    std::optional<FolderCursor> m_cursor; // while the target exists
    Node m_top;
    std::vector<std::string> m_newFolders;
};

} // namespace ballotine::pkzip25
