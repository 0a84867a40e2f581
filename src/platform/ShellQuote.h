#pragma once

#include <string>
#include <string_view>

namespace ballotine {

// The text as one word for /bin/sh: unchanged when it holds only characters the interpreter
// treats as plain (letters, digits and "/._-+,:@%="), else in single quotes. So command lines
// keep their plain form for plain names, while a name from a file we do not control (";",
// "$(...)", quotes, blanks) still reaches the program as one argument and never runs.
std::string ShellWord(std::string_view text);

} // namespace ballotine
