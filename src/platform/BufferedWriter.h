#pragma once

#include <string>
#include <string_view>

namespace ballotine {

// Checked, buffered writes to a file descriptor the caller owns: small pieces are gathered
// into blocks, large ones go straight through, every write is checked and an interrupted one
// is carried on. The first failure sticks: later writes do nothing.
class BufferedWriter {
public:
    // A writer with nowhere to write: every write fails.
    BufferedWriter() = default;
    explicit BufferedWriter(int fd);

    // False once any write failed.
    bool Write(std::string_view bytes);
    // Writes out what is gathered; false once any write failed.
    bool Flush();
    // Forgets what is gathered and any failure, to write from a new start.
    void Restart();
    // Counts as failed from now on (a step of the caller's own failed).
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

private:
    bool WriteAll(const char* data, std::size_t size);

    int m_fd = -1;
    bool m_failed = true;
    std::string m_buffer;
};

} // namespace ballotine
