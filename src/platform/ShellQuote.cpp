#include "platform/ShellQuote.h"

#include <algorithm>

namespace ballotine {

namespace {

bool IsPlainForShell(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+,:@%=").find(c) != std::string_view::npos;
}

} // namespace

std::string ShellWord(std::string_view text) {
    if (!text.empty() && std::all_of(text.begin(), text.end(), IsPlainForShell)) {
        return std::string(text);
    }
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

} // namespace ballotine
