#pragma once

namespace ballotine {

// How a transfer tells its owner's event loop what to wait for. The transfer knows no event
// loop: the window wires this to socket notifiers and a single-shot timer; a loop that polls
// can instead read DownloadTransfer::Sockets() and TimeoutMs() before each wait.
class SocketWatcher {
public:
    virtual ~SocketWatcher() = default;
    // Start or change watching `fd`; report readiness with DownloadTransfer::SocketReady.
    virtual void WatchSocket(int fd, bool read, bool write) = 0;
    // Stop watching `fd` (it is about to be closed).
    virtual void ForgetSocket(int fd) = 0;
    // Call DownloadTransfer::TimeoutExpired after `ms` milliseconds (0: as soon as the loop
    // is back); -1 cancels the timeout.
    virtual void SetTimeout(long ms) = 0;
};

} // namespace ballotine
