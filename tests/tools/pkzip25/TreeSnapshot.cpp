#include "TreeSnapshot.h"

#include "support/TestFiles.h"

#include <sys/stat.h>

namespace ballotine::test {
namespace fs = std::filesystem;

TreeSnapshot SnapshotOf(const fs::path& folder, bool inodes) {
    TreeSnapshot snapshot;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0) {
            continue;
        }
        std::string shown = std::to_string(info.st_mode);
        if (S_ISREG(info.st_mode)) {
            shown += (inodes ? " inode " + std::to_string(info.st_ino) : "") + ": " +
                     ReadFile(it->path());
        } else if (S_ISLNK(info.st_mode)) {
            shown += " -> " + fs::read_symlink(it->path(), error).string();
        }
        snapshot[fs::relative(it->path(), folder).string()] = shown;
    }
    return snapshot;
}

} // namespace ballotine::test
