#include "votemap/VoteMapKeywords.h"

#include "common/Text.h"
#include "entities/ReplaceKeyword.h"

#include <algorithm>

namespace ballotine {

std::int32_t DoorHealth(std::int32_t wallStrength, std::int32_t playerCount) {
    struct Formula {
        std::int32_t perPlayer;
        std::int32_t base;
    };
    static constexpr Formula formulas[] = {{50, 100}, {75, 200}, {125, 300}, {200, 1000}};
    const Formula& formula = formulas[std::clamp(wallStrength, 0, 3)];
    return formula.perPlayer * playerCount + formula.base;
}

std::vector<KeywordValue> BuildVoteMapKeywords(const std::vector<std::string>& maps,
                                               std::int32_t playerCount, std::int32_t thugCount,
                                               std::int32_t wallStrength) {
    std::vector<KeywordValue> keywords = {
        {"DRHLTH", Format("%i", DoorHealth(wallStrength, playerCount))},
        {"THUGON", thugCount != 0 ? "2" : "1"},
        {"THUGNUM", Format("%i", thugCount)},
        {"THUGMSG", thugCount != 0 ? Format("(2) Political Thug (Limit %i)", thugCount)
                                   : std::string("(X) Thugs Disabled")},
    };
    for (int slot = 1; slot <= kVoteMapSlots; ++slot) {
        const std::size_t index = static_cast<std::size_t>(slot - 1);
        const bool filled = index < maps.size();
        const std::string doorKeyword = Format("RDR%02i", slot);
        keywords.push_back({Format("MRF%02i", slot), filled ? maps[index] : "vote"});
        keywords.push_back({doorKeyword, filled ? "godoor" : doorKeyword});
    }
    return keywords;
}

void ApplyKeywords(std::string& line, const std::vector<KeywordValue>& keywords) {
    for (const KeywordValue& keyword : keywords) {
        ReplaceKeyword(line, keyword.keyword, keyword.value);
    }
}

} // namespace ballotine
