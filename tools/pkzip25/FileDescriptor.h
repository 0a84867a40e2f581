#pragma once

#include <cstddef>
#include <cstdint>

namespace ballotine::pkzip25 {

// Owns one open file descriptor and closes it when it goes away.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    // Hands the descriptor to a new owner.
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes now and tells whether the close succeeded: a late write error can surface here.
    bool Close();

private:
    int m_fd = -1;
};

// Writes all of `data` at `offset`; false with errno set when it cannot (a full disk too).
bool WriteAllAt(int fd, const char* data, std::size_t size, std::int64_t offset);

} // namespace ballotine::pkzip25
