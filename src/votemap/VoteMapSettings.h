#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ballotine {

inline constexpr std::int32_t kMinPlayers = 4;
inline constexpr std::int32_t kMaxPlayers = 32;
inline constexpr std::int32_t kMinWallStrength = 0;
inline constexpr std::int32_t kMaxWallStrength = 3;

// The vote map's settings as the main window's sliders and check box keep them. The window
// calls the On... handlers when a control's value changes (and the players handler once when
// the window first appears); list files and the compile read and set the fields.
struct VoteMapSettings {
    std::int32_t playerCount = 12;
    std::int32_t thugCount = 1; // derived from playerCount by the first players handler
    bool thugsEnabled = true;
    std::int32_t wallStrength = 1;
    // Set by every change of the vote map since the last successful compile.
    bool uncompiledChanges = false;

    // The players slider moved (or first appeared): a change of the vote map.
    void OnPlayersChanged(std::int32_t position);
    // The "Thugs?" box was clicked; the thug count follows, the vote map is not marked changed.
    void OnThugsToggled(bool enabled);
    // The walls slider moved.
    void OnWallsChanged(std::int32_t position);
    // thugCount from playerCount and thugsEnabled.
    void DeriveThugCount();

    // "%01i/%02i (Thugs/Players)", e.g. "2/12 (Thugs/Players)".
    std::string PlayersLabel() const;
    // "Weak Walls", "Normal Walls", "Strong Walls" or "Super Walls".
    std::string_view WallsLabel() const;
};

// 4 to 10 players have 1 thug, 11 to 21 have 2, 22 to 32 have 3.
std::int32_t ThugsForPlayers(std::int32_t players);
std::string_view WallStrengthName(std::int32_t strength);

} // namespace ballotine
