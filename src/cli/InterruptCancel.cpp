#include "cli/InterruptCancel.h"

namespace ballotine {

namespace {

// A signal handler can only reach a flag of this kind; one command runs at a time, so one flag
// serves.
volatile std::sig_atomic_t g_interrupted = 0;

void NoteInterrupt(int /*signal*/) {
    g_interrupted = 1;
}

} // namespace

InterruptCancel::InterruptCancel() {
    g_interrupted = 0;
    sigaction(SIGINT, nullptr, &m_previous);
    if (m_previous.sa_handler == SIG_IGN) {
        return; // started in the background, where Ctrl-C is not meant for this process
    }
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    // the handler gives way to the default after one use: a second Ctrl-C ends the process
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

InterruptCancel::~InterruptCancel() {
    sigaction(SIGINT, &m_previous, nullptr);
}

bool InterruptCancel::Requested() const {
    return g_interrupted != 0;
}

} // namespace ballotine
