#include "common/LineScanner.h"

#include <limits>

namespace ballotine {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

std::int32_t Saturate(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < low ? low : (value > high ? high : value));
}

// Scans an integer at `pos` (no leading whitespace); advances `pos` past it on success.
std::optional<std::int32_t> ScanIntAt(std::string_view text, std::size_t& pos) {
    std::size_t i = pos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        base = 8;
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            DigitValue(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        }
    }
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t cap = std::int64_t{1} << 40; // far beyond 32 bits, far from overflow
    while (i < text.size() && DigitValue(text[i]) < base) {
        magnitude = magnitude * base + DigitValue(text[i]);
        if (magnitude > cap) {
            magnitude = cap;
        }
        ++i;
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    pos = i;
    return Saturate(negative ? -magnitude : magnitude);
}

} // namespace

void LineScanner::SkipSpace() {
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
}

std::optional<std::string> LineScanner::Word() {
    if (m_failed) {
        return std::nullopt;
    }
    SkipSpace();
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
    if (m_pos == start) {
        m_failed = true;
        return std::nullopt;
    }
    return std::string(m_text.substr(start, m_pos - start));
}

std::optional<std::int32_t> LineScanner::Int() {
    if (m_failed) {
        return std::nullopt;
    }
    SkipSpace();
    auto value = ScanIntAt(m_text, m_pos);
    if (!value) {
        m_failed = true;
    }
    return value;
}

std::optional<std::int32_t> ScanInt(std::string_view text) {
    return LineScanner(text).Int();
}

std::string FirstWord(std::string_view text) {
    return LineScanner(text).Word().value_or("");
}

} // namespace ballotine
