#include "platform/GameLock.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// The kernel's start time of this process (field 22 of /proc/self/stat): with the process id
// it names this process and no earlier one that had the same id.
std::string OwnStartTime() {
    std::ifstream stat("/proc/self/stat");
    std::string text;
    std::getline(stat, text);
    // The program name (field 2) may hold blanks; the fields after it do not.
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return {};
    }
    std::size_t at = nameEnd + 2; // field 3
    for (int field = 3; field < 22 && at < text.size(); ++field) {
        at = text.find(' ', at);
        at = at == std::string::npos ? text.size() : at + 1;
    }
    if (at >= text.size()) {
        return {};
    }
    const std::size_t end = text.find(' ', at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

LockHolder Myself(std::string_view operation) {
    return LockHolder{static_cast<long>(::getpid()), program_invocation_short_name,
                      std::string(operation), OwnStartTime()};
}

// Whether this process holds a flock on the file `fd` is open on, through another open of it,
// as the kernel's list of locks says ("1: FLOCK  ADVISORY  WRITE 4242 fe:00:10953 0 EOF"; a
// waiter's line has "->" after the number).
bool ThisProcessHoldsFlock(int fd) {
    struct stat info {};
    std::ifstream locks("/proc/locks");
    if (::fstat(fd, &info) != 0 || !locks) {
        return false;
    }
    const std::string self = std::to_string(::getpid());
    const std::string file = Format("%02x:%02x:%llu", major(info.st_dev), minor(info.st_dev),
                                    static_cast<unsigned long long>(info.st_ino));
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, place;
        fields >> number >> kind >> mode >> access >> pid >> place;
        if (kind == "FLOCK" && pid == self && place == file) {
            return true;
        }
    }
    return false;
}

// "pid\nprogram\noperation\nstarted\n": what the next writer is told.
std::optional<LockHolder> ReadHolder(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string pid;
    LockHolder holder;
    if (!ReadLine(in, pid) || !ReadLine(in, holder.program) || !ReadLine(in, holder.operation) ||
        !ReadLine(in, holder.started)) {
        return std::nullopt;
    }
    holder.pid = std::strtol(pid.c_str(), nullptr, 10);
    return holder;
}

void WriteHolder(int fd, const LockHolder& holder) {
    const std::string record = Format("%ld\n%s\n%s\n%s\n", holder.pid, holder.program.c_str(),
                                      holder.operation.c_str(), holder.started.c_str());
    if (::ftruncate(fd, 0) == 0) {
        std::size_t done = 0;
        while (done < record.size()) {
            const ssize_t written =
                ::pwrite(fd, record.data() + done, record.size() - done, static_cast<off_t>(done));
            if (written <= 0 && errno != EINTR) {
                return; // the record is for messages only; the lock holds without it
            }
            done += written > 0 ? static_cast<std::size_t>(written) : 0;
        }
    }
}

} // namespace

std::string LockHolder::Describe() const {
    if (pid <= 0) {
        return "another Ballotine program";
    }
    return Format("%s (process %ld, %s)", program.empty() ? "a Ballotine program" : program.c_str(),
                  pid, operation.c_str());
}

std::optional<GameLock> GameLock::TryTake(const fs::path& workDir, std::string_view operation,
                                          LockHolder* holder) {
    if (workDir.empty()) {
        return GameLock(-1); // no game located: nothing of it can be written
    }
    const fs::path file = ResolveCase(workDir / kGameLockFileName);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        return GameLock(-1);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        WriteHolder(fd, Myself(operation));
        return GameLock(fd);
    }
    const bool ours = ThisProcessHoldsFlock(fd);
    ::close(fd);
    const std::optional<LockHolder> current = ReadHolder(file);
    const LockHolder me = Myself(operation);
    if (ours || (current && current->pid == me.pid && current->started == me.started)) {
        return GameLock(-1); // an operation inside one of this process's own
    }
    if (holder != nullptr) {
        *holder = current.value_or(LockHolder{});
    }
    return std::nullopt;
}

GameLock::GameLock(GameLock&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

GameLock& GameLock::operator=(GameLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

GameLock::~GameLock() {
    Release();
}

void GameLock::Release() {
    if (m_fd >= 0) {
        // The record goes first: a reader never sees this process named after it let go.
        ::ftruncate(m_fd, 0);
        ::close(m_fd);
        m_fd = -1;
    }
}

std::optional<GameLock> LockGameForWriting(const fs::path& workDir, std::string_view operation,
                                           Prompter& prompter) {
    std::optional<std::chrono::steady_clock::time_point> firstRefusal;
    for (;;) {
        LockHolder holder;
        if (auto lock = GameLock::TryTake(workDir, operation, &holder)) {
            return lock;
        }
        // Counted from the first refusal: the first question always says it waited nothing.
        const auto now = std::chrono::steady_clock::now();
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - firstRefusal.value_or(now));
        firstRefusal = firstRefusal.value_or(now);
        if (!prompter.RetryWhileGameBusy(holder.Describe(), waited)) {
            return std::nullopt;
        }
    }
}

} // namespace ballotine
