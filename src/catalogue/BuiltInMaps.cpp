#include "catalogue/BuiltInMaps.h"

#include "common/Text.h"

#include <array>

namespace ballotine {

namespace {

// Each paragraph has the three sections the players know from the game's own map notes;
// cz2 and push keep their notes right under the scoring, as the game shows them.
constexpr std::array<BuiltInMap, 6> kBuiltInMaps = {{
    {"2fort", "2613248", "2 Fortresses - Capture The Flag",
     "Objective: Two castles face each other across a river. Slip into the enemy fort, find "
     "their flag in the basement and carry it home through the courtyard and over the "
     "bridge.\n\n"
     "Scoring: A capture counts when the enemy flag touches your own flag room. Each capture "
     "gives the team 10 points and every player of the team 1 frag.\n\n"
     "Other Notes: The bridge roof hides a sniper nest on each side. A dropped flag returns "
     "to its base after a minute unless a raider picks it up again."},
    {"cz2", "2756608", "Canalzone 2 - Territorial Control",
     "Objective: Five command points lie along the canals between the two bases. Take a "
     "point by touching its control panel while carrying your team's token, and hold as "
     "many as you can.\n\n"
     "Scoring: Every few minutes each team scores for the points it holds; holding all five "
     "at once wins the round and resets the map.\n"
     "Other Notes: Tokens are handed out in each base. The water tunnels are slow but "
     "rarely watched."},
    {"hunted", "2015232", "Hunted - Assassination / Escort",
     "Objective: The Bodyguards escort the Hunted, armed with nothing but an umbrella, from "
     "the warehouse to the escape point at the far end of town. The Assassins must stop him "
     "on the way.\n\n"
     "Scoring: The Hunted's team scores when he reaches the escape point; the Assassins score "
     "when he falls. Either ends the round.\n\n"
     "Other Notes: Assassins may only carry sniper rifles and their side arm. Bodyguards "
     "cannot enter the sniper towers."},
    {"push", "1110016", "Push - Football",
     "Objective: A single ball waits in the middle of the field. Push it down the tunnels "
     "into the other team's goal.\n\n"
     "Scoring: Each goal gives the scoring team 10 points, and the ball returns to the "
     "centre spot.\n"
     "Other Notes: The ball moves only by being walked into or shot at. The goal mouths are "
     "narrow, so defenders do best right in front of them."},
    {"rock2", "3821568", "The Rock - Capture The Flag Variant",
     "Objective: Break into the enemy prison on the rock, open the gas chamber with the key "
     "from their vault, and flood their yard before they flood yours.\n\n"
     "Scoring: Bringing the key to the gas controls gives 15 points; every enemy caught in "
     "the gas counts as a frag for the player who released it.\n\n"
     "Other Notes: The sewers connect both prisons and are the only way in that the turrets "
     "do not cover."},
    {"well", "2252800", "The Well - Capture The Flag",
     "Objective: Both teams keep their flag deep inside a fortified bunker on either side of "
     "a long courtyard. Bring the enemy flag back to your own flag room.\n\n"
     "Scoring: Each capture gives the team 10 points and every player of the team 1 "
     "frag.\n\n"
     "Other Notes: The water below the courtyard links the two bases. Grenades thrown down "
     "the well reach the defenders of the lower entrance."},
}};

} // namespace

std::span<const BuiltInMap> BuiltInMaps() {
    return kBuiltInMaps;
}

const BuiltInMap* FindBuiltInMap(std::string_view name) {
    for (const BuiltInMap& map : kBuiltInMaps) {
        if (EqualsNoCase(map.name, name)) {
            return &map;
        }
    }
    return nullptr;
}

} // namespace ballotine
