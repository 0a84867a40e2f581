#pragma once

#include "bsp/MapLayout.h"

#include <optional>
#include <string>
#include <string_view>

namespace ballotine::kit {

// Our vote map: a hall with 16 booths, 8 along each long wall. Each booth shows its map's
// picture above a door; the doors of used booths ("godoor") open a few seconds after the map
// starts, those of unused booths ("RDRnn") never. Behind the door a wooden wall with the
// compile's door health (DRHLTH) must be shot through; behind that, stepping in changes the
// level (a trigger_changelevel and a logged TF goal, both naming the booth's map). Voters
// (team 1) start at the east end, thugs (team 2) at the west end.
//
// Nothing in the program depends on this geometry: an operator may replace vote.bsp and
// vote.ref by any pair that fits each other.

inline constexpr int kBooths = 16;

// Where booth `slot` (1..16) lies: the centre of its doorway on the hall's wall, and whether
// it opens to the north (+y) or the south.
struct BoothPlace {
    int x;
    int wallY; // the hall side of the wall
    int side;  // +1 north, -1 south
};
BoothPlace BoothOf(int slot);

// The hall's boxes; "*N" models in the order VoteTemplate names them: for each booth its door,
// its wooden wall, its level change and its goal.
bsp::MapLayout VoteHallLayout();

// The entity template (vote.ref): the keywords the compile fills (DRHLTH, THUGON, THUGNUM,
// THUGMSG, MRF01..MRF16, RDR01..RDR16) where the game reads them, one entity per block.
std::string VoteTemplate();

// The hall with `entityText` (a filled template) as its entities.
std::optional<std::string> WriteVoteHall(std::string_view entityText, std::string& error);

// The template filled as a fresh installation's window would compile it with no map chosen
// (12 players, 2 thugs, normal walls): what the kit's own vote.bsp holds.
std::string DefaultVoteEntities();

} // namespace ballotine::kit
