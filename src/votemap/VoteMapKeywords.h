#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ballotine {

inline constexpr int kVoteMapSlots = 16;

struct KeywordValue {
    std::string keyword;
    std::string value;
};

// The doors' health for a wall strength (0 weak .. 3 super; out-of-range values are held to
// that range) and the expected number of players.
std::int32_t DoorHealth(std::int32_t wallStrength, std::int32_t playerCount);

// The keywords of the vote map template with their values, in the order they are applied:
// DRHLTH, THUGON, THUGNUM, THUGMSG, then MRFnn and RDRnn for each slot 1..16. `maps` are the
// vote list's names in list order; slot n holds maps[n-1]. Slots beyond the maps show "vote"
// and keep their RDRnn keyword, so their doors stay closed.
std::vector<KeywordValue> BuildVoteMapKeywords(const std::vector<std::string>& maps,
                                               std::int32_t playerCount, std::int32_t thugCount,
                                               std::int32_t wallStrength);

// Applies every keyword to one template line, in table order.
void ApplyKeywords(std::string& line, const std::vector<KeywordValue>& keywords);

} // namespace ballotine
