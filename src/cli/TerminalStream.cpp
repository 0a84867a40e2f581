#include "cli/TerminalStream.h"

#include <iostream>
#include <unistd.h>

namespace ballotine {

bool IsTerminal(const std::ostream& stream) {
    if (stream.rdbuf() == std::cout.rdbuf()) {
        return ::isatty(STDOUT_FILENO) != 0;
    }
    if (stream.rdbuf() == std::cerr.rdbuf() || stream.rdbuf() == std::clog.rdbuf()) {
        return ::isatty(STDERR_FILENO) != 0;
    }
    return false;
}

} // namespace ballotine
