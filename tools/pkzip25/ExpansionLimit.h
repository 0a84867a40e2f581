#pragma once

#include <cstdint>
#include <string>

namespace ballotine::pkzip25 {

// How much an archive may expand to, so that a small download cannot fill the disk (a
// "zip bomb": a megabyte of zeros deflates a thousand times).
//
// Two rules, both on the bytes the entries expand to, each entry counted kEntryCost more
// for its inode and partly used block (so a flood of empty entries counts too):
// - at most `maxTotal` in all (kDefaultMaxTotal unless the operator raises it): the whole of
//   TFC with every map is a few hundred MB, so 2 GiB leaves room and still bounds the harm;
// - at most kMaxRatio times the archive's own size, once past kRatioFloor: real game files
//   (maps, sounds, textures) deflate 2 to 10 times, while deflate itself can reach about a
//   thousand. Below the floor a small package of text may deflate better than any game file
//   and still does no harm.
// The archive's headers are checked first, so an honest bomb is refused before anything is
// written; the bytes are counted again as they are written, so a lying one is stopped by the
// time it has written the most it could.
inline constexpr std::uint64_t kDefaultMaxTotal = std::uint64_t{2} << 30;
inline constexpr std::uint64_t kMaxRatio = 100;
inline constexpr std::uint64_t kRatioFloor = std::uint64_t{64} << 20;
inline constexpr std::uint64_t kEntryCost = 4096;

class ExpansionBudget {
public:
    ExpansionBudget(std::uint64_t maxTotal, std::uint64_t archiveSize);

    // Counts `bytes` more; false, with the reason, once past either rule.
    bool Charge(std::uint64_t bytes, std::string& reason);
    bool ChargeEntry(std::string& reason) { return Charge(kEntryCost, reason); }

private:
    std::uint64_t m_maxTotal;
    std::uint64_t m_archiveSize;
    std::uint64_t m_ratioLimit;
    std::uint64_t m_used = 0;
};

// "2 GiB", "640 KiB", "12 bytes": a size as the messages show it.
std::string ShownSize(std::uint64_t bytes);

// Reads a size as an operator gives it: bytes, or a number followed by K, M or G (KiB, MiB,
// GiB). Nothing for anything else, zero included.
bool ParseSize(std::string_view text, std::uint64_t& bytes);

} // namespace ballotine::pkzip25
