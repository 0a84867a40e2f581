#include "kit/KitFiles.h"

#include "bsp/MapReader.h"
#include "kit/PlanSvg.h"
#include "kit/VoteHall.h"
#include "platform/AtomicFile.h"

#include <system_error>

namespace ballotine::kit {

namespace fs = std::filesystem;

namespace {

bool Put(const fs::path& path, std::string_view content, std::string& error) {
    if (!WriteFileAtomically(path, content)) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

bool WriteKit(const fs::path& folder, const KitSprites& sprites, std::string& error) {
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) {
        error = "cannot create " + folder.string() + ": " + code.message();
        return false;
    }
    const std::optional<std::string> map = WriteVoteHall(DefaultVoteEntities(), error);
    if (!map) {
        error = "the vote map cannot be written: " + error;
        return false;
    }
    return Put(folder / kVoteMapFile, *map, error) &&
           Put(folder / kTemplateFile, VoteTemplate(), error) &&
           Put(folder / kVoteSpriteFile, sprites.vote, error) &&
           Put(folder / kBlankSpriteFile, sprites.blank, error) &&
           WritePlan(folder / kVoteMapFile, folder / kPlanFile, error);
}

bool WritePlan(const fs::path& map, const fs::path& svg, std::string& error) {
    std::string reason;
    const std::optional<bsp::BspMap> read = bsp::BspMap::Load(map, reason);
    if (!read) {
        error = map.string() + ": " + reason;
        return false;
    }
    return Put(svg,
               DrawPlan(*read, map.stem().string() + " (" + map.filename().string() +
                                   "), seen from above"),
               error);
}

} // namespace ballotine::kit
