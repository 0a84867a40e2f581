#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// Scans the fields of one line the way the classic "%s" and "%i" conversions do.
//
// Each call skips leading whitespace and takes one field. Once a field fails to scan, every
// later field fails too (a scan stops at its first mismatch), so callers can write
//   LineScanner s(line); auto dir = s.Word(); auto version = s.Int();
// and treat a missing value as "not provided".
class LineScanner {
public:
    explicit LineScanner(std::string_view line) : m_text(line) {}

    // "%s": the next whitespace-delimited word.
    std::optional<std::string> Word();
    // "%i": optional sign, then "0x" hexadecimal, a leading "0" octal, or decimal; stops at
    // the first character that is not a digit of that base. Values beyond the 32-bit range
    // saturate.
    std::optional<std::int32_t> Int();

    // Whether every field so far scanned.
    bool Ok() const { return !m_failed; }
    // The text not yet scanned.
    std::string_view Rest() const { return m_text.substr(m_pos); }

private:
    void SkipSpace();

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

// The "%i" conversion on its own, from the start of `text` (after leading whitespace).
std::optional<std::int32_t> ScanInt(std::string_view text);

// The "%s" conversion on its own: the first whitespace-delimited word, empty when none.
std::string FirstWord(std::string_view text);

// The "%i" conversion that treats a field that does not scan as 0, as the readers of the
// game's and the update server's files do for records cut short.
inline std::int32_t IntOrZero(std::optional<std::int32_t> value) {
    return value.value_or(0);
}

} // namespace ballotine
