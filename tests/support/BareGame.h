#pragma once

#include "support/TestFiles.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::test {

// A game folder as a fresh Steam or SteamCMD installation leaves it: valve/ and tfc/ with their
// liblist.gam and real maps (made by the map writer) in tfc/maps, no Ballotine folder; beside it
// the path of a registry file that does not exist yet.
class BareGame {
public:
    explicit BareGame(const std::vector<std::string>& maps = {"alpine", "badlands", "canyon"});

    const std::filesystem::path& Dir() const { return m_game; }
    std::string Game(std::string_view relative) const { return (m_game / relative).string(); }
    const std::filesystem::path& Registry() const { return m_registry; }
    // Writes the registry file naming this game folder.
    void Register() const;

    // Every folder ("NAME/" -> "") and file (-> its bytes) below the game folder, to compare the
    // folder before and after a run.
    std::map<std::string, std::string> Snapshot() const;

private:
    TempDir m_dir;
    std::filesystem::path m_game;
    std::filesystem::path m_registry;
};

} // namespace ballotine::test
