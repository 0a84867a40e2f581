#include "publish/DestFolder.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

std::string SystemError() {
    return std::strerror(errno);
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Creates the folder and its missing parents, noting each one made (outermost first).
bool MakeFolders(const fs::path& folder, std::vector<fs::path>& made) {
    std::vector<fs::path> missing;
    for (fs::path at = folder; !at.empty() && !Exists(at); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) {
            break;
        }
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        made.push_back(*it);
    }
    return true;
}

void RemoveEmptyFolders(const std::vector<fs::path>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        ::rmdir(it->c_str()); // only when empty; anything else stays
    }
}

} // namespace

DestFolder::DestFolder(fs::path path, int lockFd, bool created)
    : m_path(std::move(path)), m_lockFd(lockFd), m_created(created) {}

DestFolder::DestFolder(DestFolder&& other) noexcept
    : m_path(std::move(other.m_path)), m_lockFd(other.m_lockFd), m_created(other.m_created),
      m_committed(other.m_committed), m_staged(std::move(other.m_staged)),
      m_replaced(std::move(other.m_replaced)), m_createdFolders(std::move(other.m_createdFolders)),
      m_madeFolders(std::move(other.m_madeFolders)) {
    other.m_lockFd = -1;
    other.m_path.clear();
}

std::optional<DestFolder> DestFolder::Open(const fs::path& folder, std::string& error) {
    std::vector<fs::path> made;
    if (!MakeFolders(folder, made)) {
        error = "cannot create " + folder.string() + ": " + SystemError();
        RemoveEmptyFolders(made);
        return std::nullopt;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? "another publish is writing " + folder.string()
                                     : "cannot open " + folder.string() + ": " + SystemError();
        if (fd >= 0) {
            ::close(fd);
        }
        RemoveEmptyFolders(made);
        return std::nullopt;
    }
    DestFolder dest(folder, fd, !made.empty());
    dest.m_createdFolders = std::move(made);
    dest.RemoveStaging(); // left by a publish that was killed; the lock says it is over
    return dest;
}

DestFolder::~DestFolder() {
    if (m_path.empty()) {
        return;
    }
    RemoveStaging();
    if (!m_committed && m_created) {
        RemoveEmptyFolders(m_createdFolders);
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
    }
}

fs::path DestFolder::Staging() const {
    return m_path / kStagingFolderName;
}

void DestFolder::RemoveStaging() {
    std::error_code error;
    fs::remove_all(Staging(), error);
}

bool DestFolder::Stage(const std::string& relative, std::string_view bytes, std::string& error) {
    const fs::path target = Staging() / "new" / relative;
    std::error_code code;
    fs::create_directories(target.parent_path(), code);
    if (code || !WriteFileAtomically(target, bytes)) {
        error = "cannot write " + target.string() + (code ? ": " + code.message() : "");
        return false;
    }
    m_staged.push_back(relative);
    return true;
}

fs::path DestFolder::ScratchPath(const std::string& relative) {
    const fs::path path = Staging() / "scratch" / relative;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return path;
}

bool DestFolder::Commit(std::string& error) {
    // Every file to be replaced is linked aside first: until the last one is in, any of them
    // can be put back.
    m_replaced.assign(m_staged.size(), false);
    for (std::size_t i = 0; i < m_staged.size(); ++i) {
        const fs::path target = m_path / m_staged[i];
        if (!Exists(target)) {
            continue;
        }
        const fs::path backup = Staging() / "old" / m_staged[i];
        std::error_code code;
        fs::create_directories(backup.parent_path(), code);
        if (::link(target.c_str(), backup.c_str()) != 0) {
            error = "cannot keep " + target.string() + " aside: " + SystemError();
            return false;
        }
        m_replaced[i] = true;
    }
    for (std::size_t i = 0; i < m_staged.size(); ++i) {
        const fs::path target = m_path / m_staged[i];
        const fs::path staged = Staging() / "new" / m_staged[i];
        if (!MakeFolders(target.parent_path(), m_madeFolders) ||
            ::rename(staged.c_str(), target.c_str()) != 0) {
            error = "cannot put " + target.string() + " in place: " + SystemError();
            Rollback(i);
            return false;
        }
    }
    m_committed = true;
    return true;
}

void DestFolder::Rollback(std::size_t placed) {
    for (std::size_t i = placed; i-- > 0;) {
        const fs::path target = m_path / m_staged[i];
        if (m_replaced[i]) {
            ::rename((Staging() / "old" / m_staged[i]).c_str(), target.c_str());
        } else {
            ::unlink(target.c_str());
        }
    }
    RemoveEmptyFolders(m_madeFolders);
    m_madeFolders.clear();
}

void DestFolder::Remove(const std::vector<std::string>& relatives,
                        std::vector<std::string>& warnings) {
    for (const std::string& relative : relatives) {
        const fs::path target = m_path / relative;
        if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
            warnings.push_back("cannot remove " + target.string() + ": " + SystemError());
            continue;
        }
        for (fs::path folder = target.parent_path(); folder != m_path && folder.has_parent_path();
             folder = folder.parent_path()) {
            if (::rmdir(folder.c_str()) != 0) {
                break; // not empty: it holds more than what was removed
            }
        }
    }
}

} // namespace ballotine
