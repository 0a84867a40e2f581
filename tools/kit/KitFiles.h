#pragma once

#include <filesystem>
#include <string>

namespace ballotine::kit {

// The vote map's own pictures: its title sign (vote.spr, also shown by unused booths) and the
// empty card (blank.spr).
struct KitSprites {
    std::string vote;
    std::string blank;
};

// The names of the kit's files in its folder.
inline constexpr const char* kVoteMapFile = "vote.bsp";
inline constexpr const char* kTemplateFile = "vote.ref";
inline constexpr const char* kVoteSpriteFile = "vote.spr";
inline constexpr const char* kBlankSpriteFile = "blank.spr";
inline constexpr const char* kPlanFile = "vote-plan.svg";

// Writes the kit into `folder` (made if missing): vote.bsp with the default entities,
// vote.ref, the two sprites and the plan drawn from the written vote.bsp. False, with
// `error` set, when any of it cannot be made or written.
bool WriteKit(const std::filesystem::path& folder, const KitSprites& sprites, std::string& error);

// Draws the plan of any map file into an SVG file.
bool WritePlan(const std::filesystem::path& map, const std::filesystem::path& svg,
               std::string& error);

} // namespace ballotine::kit
