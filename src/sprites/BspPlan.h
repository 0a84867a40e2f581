#pragma once

#include "sprites/MapPlan.h"

#include <filesystem>
#include <string>

namespace ballotine {

// The plan of a map file as the map reader sees it: the faces of its world seen from above.
// A file that cannot be read as a map gives no plan and the reader's reason as the note.
PlanResult ReadBspPlan(const std::filesystem::path& mapFile);
// The same for a map already in memory.
PlanResult ParseBspPlan(std::string mapBytes);

} // namespace ballotine
