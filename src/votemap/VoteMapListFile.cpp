#include "votemap/VoteMapListFile.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "common/Text.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace ballotine {

VoteMapListReadResult ReadVoteMapListFile(const std::filesystem::path& path) {
    VoteMapListReadResult result;
    auto file = OpenForReading(path);
    if (!file) {
        result.status = VoteMapListStatus::CannotOpen;
        return result;
    }
    std::string line;
    if (!ReadLine(*file, line)) {
        result.status = VoteMapListStatus::NoFirstLine;
        return result;
    }
    if (line != kVoteMapListHeader) {
        result.status = VoteMapListStatus::BadHeader;
        return result;
    }
    result.status = VoteMapListStatus::Ok;
    if (ReadLine(*file, line)) {
        LineScanner scanner(line);
        result.content.playerCount = scanner.Int();
        result.content.thugCount = scanner.Int();
        result.content.wallStrength = scanner.Int();
    }
    while (ReadLine(*file, line)) {
        result.content.mapNames.push_back(line);
    }
    return result;
}

bool WriteVoteMapListFile(const std::filesystem::path& path, std::int32_t playerCount,
                          std::int32_t thugCount, std::int32_t wallStrength,
                          const std::vector<std::string>& mapNames) {
    std::string text = std::string(kVoteMapListHeader) + "\n";
    text += Format("%i %i %i\n", playerCount, thugCount, wallStrength);
    for (const std::string& name : mapNames) {
        text += name + "\n";
    }
    return WriteFileAtomically(path, text);
}

} // namespace ballotine
