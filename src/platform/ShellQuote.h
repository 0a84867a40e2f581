#pragma once

#include <string>
#include <string_view>

namespace ballotine {

// Command lines keep their plain Windows-like form, but what goes into them may come from
// files we do not control: a name holding ";", "$(...)" or a quote must reach the program as
// one argument and never be run by the interpreter.

// The text as one word for /bin/sh: unchanged when it holds only characters the interpreter
// treats as plain (letters, digits and "/._-+,:@%="), else in single quotes.
std::string ShellWord(std::string_view text);

// The text for use between double quotes: "\", "\"", "$" and "`" are escaped.
std::string EscapeForDoubleQuotes(std::string_view text);

} // namespace ballotine
