#pragma once

namespace ballotine {

class MapList;
struct WorkingPaths;

inline constexpr const char* kVoteEntityFileName = "vote.ent";

// Fills `available` (emptied first) with one entry per vote sprite of the selected mod and
// its state. The vote map's own sprites "vote" and "blank" are left out, and of names that
// differ only in letter case the first is taken. Each of the three folders involved is read
// once. Returns whether the sprite folder holds any sprite file at all.
bool ScanVoteSprites(const WorkingPaths& paths, MapList& available);

// Fills `chosen` (emptied first) with the maps of `available` that the compiled vote map's
// entity text names by their sprite path, each with the state it has in `available`. A
// missing entity text leaves `chosen` empty.
void ReadVoteMapEntries(const WorkingPaths& paths, const MapList& available, MapList& chosen);

} // namespace ballotine
