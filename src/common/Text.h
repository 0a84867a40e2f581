#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace ballotine {

// ASCII letters compare without regard to case; every other byte compares as itself.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
// <0, 0, >0 like strcmp, without regard to case.
int CompareNoCase(std::string_view a, std::string_view b);

// Orders names the way the program's lists sort: without regard to case, and for names
// equal but for case, by their bytes so the order is total and stable.
struct LessNoCase {
    bool operator()(std::string_view a, std::string_view b) const;
};

// printf-style formatting into a string of whatever length it needs.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, std::va_list args) __attribute__((format(printf, 1, 0)));

} // namespace ballotine
