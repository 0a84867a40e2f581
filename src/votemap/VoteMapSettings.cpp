#include "votemap/VoteMapSettings.h"

#include "common/Text.h"

#include <algorithm>
#include <array>

namespace ballotine {

void VoteMapSettings::OnPlayersChanged(std::int32_t position) {
    uncompiledChanges = true;
    playerCount = std::clamp(position, kMinPlayers, kMaxPlayers);
    DeriveThugCount();
}

void VoteMapSettings::OnThugsToggled(bool enabled) {
    thugsEnabled = enabled;
    DeriveThugCount();
}

void VoteMapSettings::OnWallsChanged(std::int32_t position) {
    wallStrength = std::clamp(position, kMinWallStrength, kMaxWallStrength);
}

void VoteMapSettings::DeriveThugCount() {
    thugCount = thugsEnabled ? ThugsForPlayers(playerCount) : 0;
}

std::string VoteMapSettings::PlayersLabel() const {
    return Format("%01i/%02i (Thugs/Players)", thugCount, playerCount);
}

std::string_view VoteMapSettings::WallsLabel() const {
    return WallStrengthName(wallStrength);
}

std::int32_t ThugsForPlayers(std::int32_t players) {
    return players / 11 + 1;
}

std::string_view WallStrengthName(std::int32_t strength) {
    static constexpr std::array<std::string_view, 4> kNames = {"Weak Walls", "Normal Walls",
                                                               "Strong Walls", "Super Walls"};
    return kNames[static_cast<std::size_t>(
        std::clamp(strength, kMinWallStrength, kMaxWallStrength))];
}

} // namespace ballotine
