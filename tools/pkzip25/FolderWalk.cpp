#include "pkzip25/FolderWalk.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string WhyNotOpened(int error, const std::string& relative) {
    if (error == ELOOP || error == ENOTDIR) {
        return Format("'%s' in the target folder is a link or a file, not a folder",
                      Printable(relative).c_str());
    }
    return Format("cannot open folder '%s': %s", Printable(relative).c_str(), std::strerror(error));
}

} // namespace

bool ListFolder(int folder, const std::function<void(const dirent& item)>& take) {
    FileDescriptor forListing(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    std::unique_ptr<DIR, int (*)(DIR*)> listing(
        forListing.IsOpen() ? ::fdopendir(forListing.Get()) : nullptr, ::closedir);
    if (!listing) {
        return false;
    }
    forListing.Release();
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(listing.get());
        if (item == nullptr) {
            return errno == 0;
        }
        const std::string_view name = item->d_name;
        if (name != "." && name != "..") {
            take(*item);
        }
    }
}

std::string JoinRelative(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty()) {
        joined += '/';
    }
    joined += name;
    return joined;
}

std::string FolderCursor::PathTo(std::size_t depth) const {
    std::string path;
    for (std::size_t i = 0; i <= depth && i < m_levels.size(); ++i) {
        path = JoinRelative(path, m_levels[i].name);
    }
    return path;
}

FileDescriptor FolderCursor::OpenChild(int parent, std::size_t depth, bool make,
                                       std::string& reason) {
    const char* name = m_levels[depth].name.c_str();
    int fd = ::openat(parent, name, kFolderFlags);
    if (fd < 0 && errno == ENOENT && make) {
        if (m_gate && !m_gate(Change::MakeFolder, PathTo(depth))) {
            errno = EIO;
        } else if (::mkdirat(parent, name, 0755) == 0 || errno == EEXIST) {
            fd = ::openat(parent, name, kFolderFlags);
        }
        if (fd < 0 && errno != ELOOP && errno != ENOTDIR) {
            const int error = errno;
            reason = Format("cannot create folder '%s': %s", Printable(PathTo(depth)).c_str(),
                            std::strerror(error));
            errno = error;
            return {};
        }
    }
    if (fd < 0) {
        const int error = errno; // kept for the caller, who may tell a missing folder apart
        reason = WhyNotOpened(error, PathTo(depth));
        errno = error;
    }
    return FileDescriptor(fd);
}

// The open folder at `depth` (0 is the first level below the root), reopened from the
// nearest open level above it when it was not kept.
int FolderCursor::LevelFd(std::size_t depth, std::string& reason) {
    if (m_levels[depth].fd.IsOpen()) {
        return m_levels[depth].fd.Get();
    }
    std::size_t from = depth;
    while (from > 0 && !m_levels[from - 1].fd.IsOpen()) {
        --from;
    }
    FileDescriptor current;
    for (std::size_t level = from; level <= depth; ++level) {
        current = OpenChild(level == from ? (from == 0 ? m_root : m_levels[from - 1].fd.Get())
                                          : current.Get(),
                            level, false, reason);
        if (!current.IsOpen()) {
            return -1;
        }
    }
    m_levels[depth].fd = std::move(current);
    return m_levels[depth].fd.Get();
}

// Called after each level is added: the level that just left the recent window is closed
// unless it is one of the strides. Levels only leave the window this way, one at a time, so
// every level below it is already thinned.
void FolderCursor::CloseOldLevels() {
    if (m_levels.size() <= kRecentLevels) {
        return;
    }
    const std::size_t leaving = m_levels.size() - kRecentLevels - 1;
    if ((leaving + 1) % kStrideLevels != 0) {
        m_levels[leaving].fd.Close();
    }
}

int FolderCursor::Open(std::string_view relative, bool make, std::string& reason) {
    // The components are compared where they lie: a call costs the path's length and the
    // folders it does not share with the last one, nothing more.
    std::size_t shared = 0;
    std::size_t at = 0;
    const auto componentEnd = [&] {
        const std::size_t end = relative.find('/', at);
        return end == std::string_view::npos ? relative.size() : end;
    };
    while (at < relative.size() && shared < m_levels.size()) {
        const std::size_t end = componentEnd();
        if (relative.substr(at, end - at) != m_levels[shared].name) {
            break;
        }
        ++shared;
        at = end + 1;
    }
    m_levels.resize(shared);
    int parent = shared == 0 ? m_root : LevelFd(shared - 1, reason);
    while (parent >= 0 && at < relative.size()) {
        const std::size_t end = componentEnd();
        m_levels.push_back(Level{std::string(relative.substr(at, end - at)), {}});
        at = end + 1;
        m_levels.back().fd = OpenChild(parent, m_levels.size() - 1, make, reason);
        if (!m_levels.back().fd.IsOpen()) {
            m_levels.pop_back();
            return -1;
        }
        parent = m_levels.back().fd.Get();
        CloseOldLevels();
    }
    return parent;
}

} // namespace ballotine::pkzip25
