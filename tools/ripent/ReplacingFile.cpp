#include "ripent/ReplacingFile.h"

#include "platform/Paths.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ballotine::ripent {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOwnMark = ".ripent-";
constexpr std::string_view kOwnEnd = ".tmp";
constexpr std::string_view kEarlierMark = ".tmp"; // earlier versions: ".NAME.tmpPID-N"

// The file itself, not a link to it: a link is written through, not replaced by a file.
fs::path RealTarget(const fs::path& target) {
    fs::path resolved = ResolveCase(target);
    std::error_code error;
    if (fs::is_symlink(resolved, error)) {
        const fs::path followed = fs::weakly_canonical(resolved, error);
        if (!error) {
            return followed;
        }
    }
    return resolved;
}

fs::path Beside(const fs::path& target, const std::string& name) {
    return target.has_parent_path() ? target.parent_path() / name : fs::path(name);
}

std::string SystemReason(int code) {
    return std::strerror(code);
}

// The process id a temporary name of `target` carries, or nothing when the name is none of
// ours: ".NAME.ripent-PID-N.tmp", or ".NAME.tmpPID-N" as earlier versions wrote.
std::optional<long> WriterOf(std::string_view entry, std::string_view target) {
    if (entry.size() < target.size() + 2 || entry[0] != '.' ||
        entry.substr(1, target.size()) != target) {
        return std::nullopt;
    }
    std::string_view rest = entry.substr(1 + target.size());
    if (rest.starts_with(kOwnMark) && rest.ends_with(kOwnEnd)) {
        rest = rest.substr(kOwnMark.size(), rest.size() - kOwnMark.size() - kOwnEnd.size());
    } else if (rest.starts_with(kEarlierMark)) {
        rest.remove_prefix(kEarlierMark.size());
    } else {
        return std::nullopt;
    }
    long pid = 0;
    const auto [end, code] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    const std::string_view tail(end, static_cast<std::size_t>(rest.data() + rest.size() - end));
    unsigned long number = 0;
    if (code != std::errc() || pid <= 0 || tail.size() < 2 || tail[0] != '-' ||
        std::from_chars(tail.data() + 1, tail.data() + tail.size(), number).ptr !=
            tail.data() + tail.size()) {
        return std::nullopt;
    }
    return pid;
}

bool IsRunning(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Removes one leftover if nobody holds its lock (taking the lock first, so a writer that
// starts now cannot lose its file in between).
void RemoveIfAbandoned(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

// Why the file may not be replaced by this process, or nothing.
std::optional<std::string> WhyNotReplaceable(const fs::path& target, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) {
        return std::string("is not a file");
    }
    if (::access(target.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0) {
        return std::string("is read-only; ripent changes only files it may write");
    }
    if (::geteuid() != 0 && info.st_uid != ::geteuid()) {
        return std::string("belongs to another user; replacing it would make it yours (run ripent "
                           "as its owner)");
    }
    return std::nullopt;
}

int CreateTemporary(const fs::path& target, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "." + target.filename().string() + std::string(kOwnMark) +
                                 std::to_string(::getpid()) + "-" + std::to_string(random()) +
                                 std::string(kOwnEnd);
        temporary = Beside(target, name);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

void RemoveLeftovers(const fs::path& target) {
    const fs::path real = RealTarget(target);
    const std::string name = real.filename().string();
    std::error_code error;
    const fs::path folder = real.has_parent_path() ? real.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        const std::optional<long> writer = WriterOf(entry, name);
        if (writer && !IsRunning(*writer)) {
            RemoveIfAbandoned(it->path());
        }
    }
}

std::optional<ReplacingFile> ReplacingFile::Open(const fs::path& target, std::string& error) {
    const fs::path real = RealTarget(target);
    struct stat info {};
    const bool exists = ::stat(real.c_str(), &info) == 0;
    if (exists) {
        if (auto reason = WhyNotReplaceable(real, info)) {
            error = std::move(*reason);
            return std::nullopt;
        }
    }
    RemoveLeftovers(real);
    fs::path temporary;
    const int fd = CreateTemporary(real, temporary);
    if (fd < 0) {
        error = "cannot be written (" + SystemReason(errno) + ")";
        return std::nullopt;
    }
    ReplacingFile file(real, temporary, fd);
    bool kept = ::flock(fd, LOCK_EX) == 0;
    if (exists) {
        kept = kept && ::fchmod(fd, info.st_mode & 07777) == 0;
        struct stat written {};
        if (kept && ::fstat(fd, &written) == 0 && written.st_gid != info.st_gid &&
            ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
            error = "belongs to a group ripent cannot give a new file to";
            return std::nullopt;
        }
        if (kept && ::geteuid() == 0) {
            kept = ::fchown(fd, info.st_uid, info.st_gid) == 0;
        }
    }
    if (!kept) {
        error = "cannot be written (" + SystemReason(errno) + ")";
        return std::nullopt;
    }
    return file;
}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)),
      m_fd(other.m_fd), m_writer(std::move(other.m_writer)) {
    other.m_fd = -1;
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0) {
        ::unlink(m_temporary.c_str());
        ::close(m_fd);
    }
}

bool ReplacingFile::Write(std::string_view bytes) {
    return m_fd >= 0 && m_writer.Write(bytes);
}

bool ReplacingFile::Commit() {
    if (m_fd < 0) {
        return false;
    }
    bool ok = m_writer.Flush();
    ok = ok && ::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    // Closing after the rename keeps the lock until the file has its name: a run cleaning up
    // at that moment sees a locked file.
    ::close(m_fd);
    m_fd = -1;
    if (!ok) {
        ::unlink(m_temporary.c_str());
    }
    return ok;
}

} // namespace ballotine::ripent
