#pragma once

#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/Prompter.h"

namespace ballotine {

// The outside world as the core sees it: the user, the command interpreter and the clock.
// The program (window or command line) owns the real ones; tests hand in doubles.
struct Services {
    Prompter& prompter;
    CommandRunner& runner;
    Clock& clock;
};

} // namespace ballotine
