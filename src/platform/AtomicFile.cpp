#include "platform/AtomicFile.h"

#include "common/Text.h"
#include "platform/Paths.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// The target's real place: a link is written through, not replaced by a file.
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

constexpr std::string_view kTemporaryMark = ".tmp";

// The temporary file's name: ".NAME.tmpPID-RANDOM" beside NAME.
std::string TemporaryName(const fs::path& target, unsigned random) {
    return "." + target.filename().string() + std::string(kTemporaryMark) +
           Format("%d-%u", static_cast<int>(::getpid()), random);
}

// The process that wrote a temporary file of that form; 0 for any other name.
pid_t WriterOfTemporary(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) {
        return 0;
    }
    int pid = 0;
    unsigned random = 0;
    char end = '\0';
    const std::string tail = name.substr(mark + kTemporaryMark.size());
    if (std::sscanf(tail.c_str(), "%d-%u%c", &pid, &random, &end) != 2 || pid <= 0 ||
        tail.find_first_not_of("0123456789-") != std::string::npos) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

// A number for a temporary name: O_EXCL keeps two writers apart, the number only makes a clash
// rare. One system call: a std::random_device made for every file cost a download of many
// small packages a twentieth of its time.
unsigned NameNumber(int attempt) {
    unsigned number = 0;
    if (::getrandom(&number, sizeof number, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof number)) {
        number =
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) +
            static_cast<unsigned>(attempt);
    }
    return number;
}

int CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName(target, NameNumber(attempt));
        temporary = folder.empty() ? fs::path(name) : folder / name;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

AtomicFile::AtomicFile(const fs::path& target) : m_target(RealTarget(target)) {
    if (m_target.empty() || m_target.filename().empty()) {
        return;
    }
    m_fd = CreateTemporaryBeside(m_target, m_temporary);
    if (m_fd >= 0) {
        struct stat info {};
        if (::stat(m_target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            m_mode = static_cast<unsigned>(info.st_mode & 07777);
        }
        m_writer = BufferedWriter(m_fd);
    }
}

AtomicFile::~AtomicFile() {
    Discard();
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)),
      m_fd(other.m_fd), m_mode(other.m_mode), m_writer(std::move(other.m_writer)) {
    other.m_fd = -1;
}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept {
    if (this != &other) {
        Discard();
        m_target = std::move(other.m_target);
        m_temporary = std::move(other.m_temporary);
        m_fd = other.m_fd;
        m_mode = other.m_mode;
        m_writer = std::move(other.m_writer);
        other.m_fd = -1;
    }
    return *this;
}

bool AtomicFile::Write(std::string_view bytes) {
    return m_fd >= 0 && m_writer.Write(bytes);
}

bool AtomicFile::Restart() {
    if (m_fd < 0) {
        return false;
    }
    m_writer.Restart();
    if (::ftruncate(m_fd, 0) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0) {
        m_writer.Fail();
    }
    return !m_writer.Failed();
}

bool AtomicFile::Commit() {
    if (m_fd < 0) {
        return false;
    }
    bool ok = m_writer.Flush();
    if (ok && m_mode) {
        ok = ::fchmod(m_fd, static_cast<mode_t>(*m_mode)) == 0;
    }
    const int fd = m_fd;
    m_fd = -1;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        ok = ::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    }
    if (!ok) {
        ::unlink(m_temporary.c_str());
    }
    return ok;
}

void AtomicFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temporary.c_str());
    }
    m_writer = BufferedWriter();
}

bool WriteFileAtomically(const fs::path& target, std::string_view content) {
    AtomicFile file(target);
    return file.Write(content) && file.Commit();
}

void RemoveAbandonedTemporaryFiles(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const pid_t writer = WriterOfTemporary(entry->path().filename().string());
        // a process that exists, even one we may not signal, may still be writing
        if (writer != 0 && ::kill(writer, 0) != 0 && errno == ESRCH &&
            entry->symlink_status(error).type() == fs::file_type::regular) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

} // namespace ballotine
