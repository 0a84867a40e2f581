#pragma once

#include "platform/ToolRunner.h"
#include "votemap/VoteMapKeywords.h"

#include <optional>
#include <string>
#include <vector>

namespace ballotine {

struct VoteMapSettings;
struct WorkingPaths;

inline constexpr int kMinVoteMapMaps = 2;
inline constexpr int kMaxVoteMapMaps = kVoteMapSlots;

// The maps of `maps`, in their order, that are neither built into the game nor have a .bsp in
// the maps folder; without a mod every other map is missing.
std::vector<std::string> FindMissingMaps(const WorkingPaths& paths,
                                         const std::vector<std::string>& maps);

// Fills the template into the entity text, line by line, every keyword applied in table order
// and each line ended by a line feed. The text is replaced whole or not at all: false, with an
// earlier text left as it was, when the template cannot be read or the text not written.
bool WriteVoteEntityText(const std::string& templatePath, const std::string& entityTextPath,
                         const std::vector<KeywordValue>& keywords);

// What a failed import leaves of the new entity text: vote.ent.failed beside vote.ent.
inline constexpr const char* kFailedTextSuffix = ".failed";

// Fills vote.ref with the maps (slot order) and the settings into vote.ent and imports it into
// vote.bsp with the entity tool of the working folder. Returns the tool's run; nothing when a
// step before it failed (no mod, the template unreadable, the text not written), so the tool
// never imports a stale text. When the tool fails, vote.bsp is as it was and so is vote.ent
// (or it is gone, as it was): the new text is kept as vote.ent.failed.
std::optional<ToolRun> BuildVoteMap(const WorkingPaths& paths, const std::vector<std::string>& maps,
                                    const VoteMapSettings& settings, ToolRunner& runner);

// "<mapsDir>vote.ent" and "<modWorkDir>Entities/vote.ref"; empty without a mod.
std::string VoteEntityTextPath(const WorkingPaths& paths);
std::string VoteTemplatePath(const WorkingPaths& paths);

} // namespace ballotine
