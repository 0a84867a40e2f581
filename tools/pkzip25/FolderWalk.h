#pragma once

#include "pkzip25/ChangeGate.h"
#include "pkzip25/FileDescriptor.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct dirent;

namespace ballotine::pkzip25 {

// Opens folders below an open root folder one component at a time and never through a
// symbolic link, so a link planted in the target folder cannot lead a write elsewhere.
//
// The folders of the last path stay open and the next path starts from the deepest folder it
// shares with it, so walking a tree entry by entry costs the components that change, not the
// depth. Past kRecentLevels levels only every kStrideLevels-th stays open, which bounds the
// descriptors held while a climb back up reopens at most that many levels.
class FolderCursor {
public:
    // `root` stays the caller's and must outlive the cursor; `gate` (may be empty) is asked
    // before each folder is made.
    FolderCursor(int root, ChangeGate gate) : m_root(root), m_gate(std::move(gate)) {}

    // The folder `relative` ("/"-separated, empty for the root), open until the next call, or
    // -1 with the reason. With `make`, missing folders are made (0755 before the umask).
    int Open(std::string_view relative, bool make, std::string& reason);

    // Closes every folder it holds.
    void Reset() { m_levels.clear(); }

    static constexpr std::size_t kRecentLevels = 64;
    static constexpr std::size_t kStrideLevels = 16;

private:
    struct Level {
        std::string name;
        FileDescriptor fd; // closed for a level not kept open
    };

    int LevelFd(std::size_t depth, std::string& reason);
    FileDescriptor OpenChild(int parent, std::size_t depth, bool make, std::string& reason);
    std::string PathTo(std::size_t depth) const;
    void CloseOldLevels();

    int m_root;
    ChangeGate m_gate;
    std::vector<Level> m_levels;
};

// Calls `take` with each entry of the open folder `folder` but "." and "..", read through a
// descriptor of its own so that `folder` stays usable. False, with errno set, when the folder
// cannot be read.
bool ListFolder(int folder, const std::function<void(const dirent& item)>& take);

// Joins a relative folder and a name with "/".
std::string JoinRelative(std::string_view folder, std::string_view name);

} // namespace ballotine::pkzip25
