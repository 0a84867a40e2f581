#include "pkzip25/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

namespace ballotine::pkzip25 {

FileDescriptor::~FileDescriptor() {
    Close();
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

bool FileDescriptor::Close() {
    if (m_fd < 0) {
        return true;
    }
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

bool WriteAllAt(int fd, const char* data, std::size_t size, std::int64_t offset) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            errno = written == 0 ? EIO : errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

} // namespace ballotine::pkzip25
