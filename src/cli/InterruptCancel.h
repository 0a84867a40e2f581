#pragma once

#include <csignal>

namespace ballotine {

// While alive, the first Ctrl-C (SIGINT) asks the running downloads to cancel, as "Cancel All"
// does in the window, instead of killing the process with a half-written file and the finished
// packages never installed. A second Ctrl-C ends the process as usual.
class InterruptCancel {
public:
    InterruptCancel();
    ~InterruptCancel();
    InterruptCancel(const InterruptCancel&) = delete;
    InterruptCancel& operator=(const InterruptCancel&) = delete;

    bool Requested() const;

private:
    struct sigaction m_previous {};
};

} // namespace ballotine
