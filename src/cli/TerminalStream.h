#pragma once

#include <ostream>

namespace ballotine {

// Whether `stream` writes to a terminal: the program's standard output or error while its file
// is one. Any other stream (a string stream in a test) is not.
bool IsTerminal(const std::ostream& stream);

} // namespace ballotine
