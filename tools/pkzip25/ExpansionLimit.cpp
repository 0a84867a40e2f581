#include "pkzip25/ExpansionLimit.h"

#include "common/Text.h"

#include <charconv>
#include <limits>

namespace ballotine::pkzip25 {

namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

std::uint64_t Times(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > kNoLimit / b ? kNoLimit : a * b;
}

} // namespace

ExpansionBudget::ExpansionBudget(std::uint64_t maxTotal, std::uint64_t archiveSize)
    : m_maxTotal(maxTotal), m_archiveSize(archiveSize),
      m_ratioLimit(std::max(kRatioFloor, Times(archiveSize, kMaxRatio))) {}

bool ExpansionBudget::Charge(std::uint64_t bytes, std::string& reason) {
    m_used = bytes > kNoLimit - m_used ? kNoLimit : m_used + bytes;
    if (m_used > m_maxTotal) {
        reason = Format("expands to more than %s, the most an archive may (see -maxsize)",
                        ShownSize(m_maxTotal).c_str());
        return false;
    }
    if (m_used > m_ratioLimit) {
        reason =
            Format("expands to more than %llu times its own %s, as only a decompression "
                   "bomb does",
                   static_cast<unsigned long long>(kMaxRatio), ShownSize(m_archiveSize).c_str());
        return false;
    }
    return true;
}

std::string ShownSize(std::uint64_t bytes) {
    constexpr const char* kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    std::size_t unit = 0;
    while (unit + 1 < std::size(kUnits) && bytes >= 1024 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return Format("%llu %s", static_cast<unsigned long long>(bytes), kUnits[unit]);
}

bool ParseSize(std::string_view text, std::uint64_t& bytes) {
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const std::string_view suffix = text.substr(static_cast<std::size_t>(end - text.data()));
    if (error != std::errc{} || end == text.data() || number == 0) {
        return false;
    }
    int shift = 0;
    if (EqualsNoCase(suffix, "k")) {
        shift = 10;
    } else if (EqualsNoCase(suffix, "m")) {
        shift = 20;
    } else if (EqualsNoCase(suffix, "g")) {
        shift = 30;
    } else if (!suffix.empty()) {
        return false;
    }
    if (number > (kNoLimit >> shift)) {
        return false;
    }
    bytes = number << shift;
    return true;
}

} // namespace ballotine::pkzip25
