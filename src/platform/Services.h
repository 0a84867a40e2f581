#pragma once

#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ToolRunner.h"

namespace ballotine {

// The outside world as the core sees it: the user, the tools it runs and the clock.
// The program (window or command line) owns the real ones; tests hand in doubles.
struct Services {
    Prompter& prompter;
    ToolRunner& runner;
    Clock& clock;
};

} // namespace ballotine
