#pragma once

#include <cstdint>

namespace ballotine {

struct ResourceListRequest;
struct UpdateRoad;

// Makes sure every map that the map update list marks as having vote map data has its vote
// sprite: the data package of each map whose sprite is missing is downloaded (one progress run,
// no skipping), unpacked and placed at once, without asking, writing no log and recording no
// version. Returns the number of packages installed.
std::int32_t FetchVoteMapData(const ResourceListRequest& request, UpdateRoad& road);

} // namespace ballotine
