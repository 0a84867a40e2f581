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
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    // the handler gives way to the default after one use: a second Ctrl-C ends the process
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &m_previous);
}

InterruptCancel::~InterruptCancel() {
    sigaction(SIGINT, &m_previous, nullptr);
}

bool InterruptCancel::Requested() const {
    return g_interrupted != 0;
}

} // namespace ballotine
