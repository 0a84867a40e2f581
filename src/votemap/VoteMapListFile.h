#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

inline constexpr const char* kVoteMapListHeader = "VML Header V1.2";

// What a vote map list file (.VML) holds: the three settings and the map names in file order.
struct VoteMapListContent {
    // Each setting the second line does not provide is left unset (the scan stops at the
    // first value that is not a number).
    std::optional<std::int32_t> playerCount;
    std::optional<std::int32_t> thugCount;
    std::optional<std::int32_t> wallStrength;
    std::vector<std::string> mapNames;
};

enum class VoteMapListStatus { Ok, CannotOpen, NoFirstLine, BadHeader };

struct VoteMapListReadResult {
    VoteMapListStatus status = VoteMapListStatus::CannotOpen;
    VoteMapListContent content;
};

// Reads a .VML file. The header must be exactly "VML Header V1.2".
VoteMapListReadResult ReadVoteMapListFile(const std::filesystem::path& path);

// Writes a .VML file whole or not at all; false when it cannot be written (an older file of
// that name then stays as it was).
bool WriteVoteMapListFile(const std::filesystem::path& path, std::int32_t playerCount,
                          std::int32_t thugCount, std::int32_t wallStrength,
                          const std::vector<std::string>& mapNames);

} // namespace ballotine
