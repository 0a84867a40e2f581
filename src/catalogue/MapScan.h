#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

class MapList;
struct WorkingPaths;

inline constexpr const char* kVoteEntityFileName = "vote.ent";

// Whether a map name can stand in a vote map: the entity text holds it between double quotes
// and the command line prints it as one field of one line, so it may hold neither a double
// quote nor a control character (line feeds and tabs among them).
bool IsVotableMapName(std::string_view name);

// Fills `available` (emptied first) with one entry per vote sprite of the selected mod and
// its state. The vote map's own sprites "vote" and "blank" are left out, and so are names
// that are not votable (added to `unvotable` when given); of names that differ only in letter
// case the first is taken. Each of the three folders involved is read once. Returns whether
// the sprite folder holds any sprite file at all.
bool ScanVoteSprites(const WorkingPaths& paths, MapList& available,
                     std::vector<std::string>* unvotable = nullptr);

// Fills `chosen` (emptied first) with the maps of `available` that the compiled vote map's
// entity text names by their sprite path, each with the state it has in `available`. A
// missing entity text leaves `chosen` empty.
void ReadVoteMapEntries(const WorkingPaths& paths, const MapList& available, MapList& chosen);

} // namespace ballotine
