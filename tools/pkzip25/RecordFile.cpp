#include "pkzip25/RecordFile.h"

#include "common/Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {

namespace {

bool Allowed(const ChangeGate& gate, Change change, std::string_view what) {
    if (gate && !gate(change, what)) {
        errno = EIO;
        return false;
    }
    return true;
}

// Whether the file open on `fd` still has a name: a run that cleaned up the leftovers
// removes a record it has locked, and whoever locks it after that holds a dead file.
bool StillNamed(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

} // namespace

bool RecordFile::Create(int root, std::string name, std::string_view text, const ChangeGate& gate,
                        std::string& reason) {
    m_root = root;
    m_name = std::move(name);
    if (Allowed(gate, Change::WriteRecord, m_name)) {
        m_fd = FileDescriptor(::openat(root, m_name.c_str(),
                                       O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    }
    // Nobody can hold the lock of a file this new but a run cleaning up, which then removes
    // it; so the lock is awaited and the name checked again. A file system without locks
    // only loses the guard against two runs in one target at once.
    const bool locked = m_fd.IsOpen() && (::flock(m_fd.Get(), LOCK_EX) == 0 || errno == ENOLCK ||
                                          errno == EOPNOTSUPP || errno == EINVAL);
    const bool named = locked && StillNamed(m_fd.Get());
    if (!named) {
        errno = locked ? ENOENT : errno;
        reason =
            Format("cannot write the work record in the target folder: %s", std::strerror(errno));
        m_fd.Close();
        return false;
    }
    if (!WriteAllAt(m_fd.Get(), text.data(), text.size(), 0)) {
        reason =
            Format("cannot write the work record in the target folder: %s", std::strerror(errno));
        std::string ignored;
        Remove({}, ignored);
        m_fd.Close(); // as if never made
        return false;
    }
    m_size = static_cast<std::int64_t>(text.size());
    return true;
}

std::optional<RecordFile> RecordFile::Claim(int root, std::string name, std::string& text) {
    RecordFile record;
    record.m_root = root;
    record.m_name = std::move(name);
    record.m_fd = FileDescriptor(
        ::openat(root, record.m_name.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!record.m_fd.IsOpen() || ::flock(record.m_fd.Get(), LOCK_EX | LOCK_NB) != 0 ||
        !StillNamed(record.m_fd.Get()) || ::fstat(record.m_fd.Get(), &info) != 0 ||
        !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    text.assign(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t read = ::pread(record.m_fd.Get(), text.data() + got, text.size() - got,
                                     static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            break;
        }
        got += static_cast<std::size_t>(read);
    }
    text.resize(got);
    record.m_size = static_cast<std::int64_t>(got);
    return record;
}

bool RecordFile::Append(std::string_view text, const ChangeGate& gate, std::string& reason) {
    if (!Allowed(gate, Change::WriteRecord, m_name) ||
        !WriteAllAt(m_fd.Get(), text.data(), text.size(), m_size)) {
        reason =
            Format("cannot write the work record in the target folder: %s", std::strerror(errno));
        return false;
    }
    m_size += static_cast<std::int64_t>(text.size());
    return true;
}

bool RecordFile::Remove(const ChangeGate& gate, std::string& reason) {
    if (!Allowed(gate, Change::Remove, m_name) || ::unlinkat(m_root, m_name.c_str(), 0) != 0) {
        reason =
            Format("cannot remove the work record '%s': %s", m_name.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace ballotine::pkzip25
