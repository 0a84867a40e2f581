#pragma once

#include <istream>
#include <string>

namespace ballotine {

// Reads one line of a text file, the way the program reads every text file.
//
// Returns false, leaving `line` untouched, once a previous call reached the end of the
// stream. Otherwise stores the bytes up to a line feed, a zero byte or the end of the
// stream (the terminator is not stored) and returns true. A carriage return right before
// the line feed is dropped, so files written on Windows read the same. Consequences callers
// rely on: the last line is returned without a final line feed; a file ending in a line feed
// yields one more, empty, line; an empty file yields one empty line.
bool ReadLine(std::istream& in, std::string& line);

} // namespace ballotine
