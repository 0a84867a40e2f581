#include "pkzip25/FileDescriptor.h"

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

} // namespace ballotine::pkzip25
