#include "demo/DemoBsp.h"
#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoSprite.h"
#include "demo/DemoWriter.h"

#include <array>
#include <string>
#include <string_view>

namespace ballotine::demo {

namespace {

constexpr std::string_view kMaps = "Half-Life/tfc/maps/";
constexpr std::string_view kSprites = "Half-Life/tfc/sprites/vote/";

// The demo's maps of the tfc mod. Built-in maps need no file; the others show each state:
// present, missing (no .bsp), and with entity settings in the working folder.
struct DemoMap {
    std::string_view name;
    std::string_view title;       // empty: no description file
    std::string_view description; // paragraphs of the description file
    bool hasMapFile;
};

constexpr std::array<DemoMap, 10> kDemoMaps = {{
    {"2fort", "", "", false},
    {"well", "", "", false},
    {"rock2", "", "", false},
    {"ballot_bay", "Ballot Bay - Capture The Flag",
     "Two lighthouses guard a sheltered bay.\nThe flags wait at the top of each tower.\n\n"
     "Scoring: 10 points for each capture.\n",
     true},
    {"lakeside", "Lakeside - Territorial Control",
     "Three jetties on a frozen lake.\nHold all three to score.\n", true},
    {"canalworks", "", "", true},
    {"harbourside", "Harbourside - Attack / Defend",
     "Blue attacks the container terminal from the sea;\nred holds the cranes.\n", true},
    {"skyline", "Skyline - Capture The Flag", "Rooftop bases joined by a single glass bridge.\n",
     true},
    {"frostfall", "", "", false},
    {"quarry", "Quarry - Capture The Flag",
     "An abandoned stone quarry with tunnels under the cliffs.\n", false},
}};

} // namespace

void WriteDemoMaps(DemoWriter& writer, const DemoLayout& /*layout*/) {
    for (const DemoMap& map : kDemoMaps) {
        const std::string name(map.name);
        // Maps the demo leaves undownloaded still show their plan, as they would once the
        // update server's vote data is installed.
        const std::string bsp = MakeBsp(map.name, map.title, writer);
        writer.Bytes(std::string(kSprites) + name + ".spr", MakeMapSprite(map.name, bsp));
        if (map.hasMapFile) {
            writer.Bytes(std::string(kMaps) + name + ".bsp", bsp);
        }
        if (!map.title.empty()) {
            writer.Text(std::string(kMaps) + name + ".txt",
                        std::string(map.title) + "\n\n" + std::string(map.description));
        }
    }
    writer.Bytes(std::string(kSprites) + "vote.spr", MakeVoteSprite());
    writer.Bytes(std::string(kSprites) + "blank.spr", MakeBlankSprite());
}

} // namespace ballotine::demo
