#include "platform/BufferedWriter.h"

#include <cerrno>
#include <unistd.h>

namespace ballotine {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// Blocks as large as a network read go straight to the file: copying them into the buffer
// first cost a download a quarter of its time.
constexpr std::size_t kDirectWrite = 1 << 13;

} // namespace

BufferedWriter::BufferedWriter(int fd) : m_fd(fd), m_failed(fd < 0) {
    if (fd >= 0) {
        m_buffer.reserve(kBufferSize);
    }
}

bool BufferedWriter::WriteAll(const char* data, std::size_t size) {
    for (std::size_t done = 0; !m_failed && done < size;) {
        const ssize_t written = ::write(m_fd, data + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        m_failed = written <= 0;
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    return !m_failed;
}

bool BufferedWriter::Flush() {
    WriteAll(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return !m_failed;
}

bool BufferedWriter::Write(std::string_view bytes) {
    if (m_failed) {
        return false;
    }
    if (m_buffer.size() + bytes.size() > kBufferSize || bytes.size() >= kDirectWrite) {
        if (!Flush()) {
            return false;
        }
        if (bytes.size() >= kDirectWrite) {
            return WriteAll(bytes.data(), bytes.size());
        }
    }
    m_buffer.append(bytes);
    return true;
}

void BufferedWriter::Restart() {
    m_buffer.clear();
    m_failed = m_fd < 0;
}

} // namespace ballotine
