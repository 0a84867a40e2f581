#include "demo/DemoBytes.h"
#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoSprite.h"
#include "demo/DemoWriter.h"

#include <array>
#include <cstdint>
#include <cstring>
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

// The compiled vote map names these two by their sprites.
constexpr std::array<std::string_view, 2> kVoteMapMaps = {"lakeside", "well"};

void PutFloat(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutInt32(out, static_cast<std::int32_t>(bits));
}

// Lumps of a small box-shaped map, in index order.
std::array<std::string, 15> BoxLumps(std::string_view mapName, std::string_view title) {
    std::array<std::string, 15> lumps;
    lumps[0] = "{\n\"classname\" \"worldspawn\"\n\"message\" \"" + std::string(title) +
               "\"\n\"mapversion\" \"220\"\n}\n{\n\"classname\" \"info_player_teamspawn\"\n"
               "\"origin\" \"0 0 36\"\n\"targetname\" \"" +
               std::string(mapName) + "_spawn\"\n}\n";
    lumps[0].push_back('\0'); // the game parses the entity text up to this byte
    constexpr std::array<std::array<float, 4>, 6> kPlanes = {{
        {1, 0, 0, 256},
        {-1, 0, 0, 256},
        {0, 1, 0, 256},
        {0, -1, 0, 256},
        {0, 0, 1, 128},
        {0, 0, -1, 0},
    }};
    for (std::size_t i = 0; i < kPlanes.size(); ++i) {
        for (const float value : kPlanes[i]) {
            PutFloat(lumps[1], value);
        }
        PutInt32(lumps[1], static_cast<std::int32_t>(i / 2)); // axial plane type
    }
    PutInt32(lumps[2], 0); // no textures
    for (int corner = 0; corner < 8; ++corner) {
        PutFloat(lumps[3], (corner & 1) != 0 ? 256.0F : -256.0F);
        PutFloat(lumps[3], (corner & 2) != 0 ? 256.0F : -256.0F);
        PutFloat(lumps[3], (corner & 4) != 0 ? 128.0F : 0.0F);
    }
    lumps[10].assign(28, '\0'); // one leaf
    constexpr std::array<std::array<std::uint16_t, 2>, 12> kEdges = {{
        {0, 1},
        {1, 3},
        {3, 2},
        {2, 0},
        {4, 5},
        {5, 7},
        {7, 6},
        {6, 4},
        {0, 4},
        {1, 5},
        {2, 6},
        {3, 7},
    }};
    for (const auto& edge : kEdges) {
        for (const std::uint16_t vertex : edge) {
            lumps[12].push_back(static_cast<char>(vertex & 0xFF));
            lumps[12].push_back(static_cast<char>(vertex >> 8));
        }
    }
    for (const float bound : {-256.0F, -256.0F, 0.0F, 256.0F, 256.0F, 128.0F, 0.0F, 0.0F, 0.0F}) {
        PutFloat(lumps[14], bound); // mins, maxs, origin of the world model
    }
    lumps[14].append(64 - lumps[14].size(), '\0');
    return lumps;
}

// A BSP version 30 file: the header and the lumps one after another on 4-byte boundaries.
std::string MakeBsp(std::string_view mapName, std::string_view title) {
    const std::array<std::string, 15> lumps = BoxLumps(mapName, title);
    std::string header;
    std::string body;
    PutInt32(header, 30);
    std::size_t offset = 4 + lumps.size() * 8;
    for (const std::string& lump : lumps) {
        PutInt32(header, static_cast<std::int32_t>(offset));
        PutInt32(header, static_cast<std::int32_t>(lump.size()));
        body += lump;
        const std::size_t padding = (4 - lump.size() % 4) % 4;
        body.append(padding, '\0');
        offset += lump.size() + padding;
    }
    return header + body;
}

std::string VoteEntityText() {
    std::string text =
        "{\n\"classname\" \"worldspawn\"\n\"message\" \"Vote for the next map\"\n}\n";
    int slot = 1;
    for (const std::string_view map : kVoteMapMaps) {
        const std::string number = std::to_string(slot++);
        text += "{\n\"classname\" \"env_sprite\"\n\"targetname\" \"slot" + number +
                "\"\n\"model\" \"sprites/vote/" + std::string(map) + ".spr\"\n}\n";
        text +=
            "{\n\"classname\" \"trigger_changelevel\"\n\"map\" \"" + std::string(map) + "\"\n}\n";
    }
    return text;
}

} // namespace

void WriteDemoMaps(DemoWriter& writer, const DemoLayout& /*layout*/) {
    for (const DemoMap& map : kDemoMaps) {
        const std::string name(map.name);
        writer.Bytes(std::string(kSprites) + name + ".spr", MakeMapSprite(map.name));
        if (map.hasMapFile) {
            writer.Bytes(std::string(kMaps) + name + ".bsp", MakeBsp(map.name, map.title));
        }
        if (!map.title.empty()) {
            writer.Text(std::string(kMaps) + name + ".txt",
                        std::string(map.title) + "\n\n" + std::string(map.description));
        }
    }
    writer.Bytes(std::string(kSprites) + "vote.spr", MakeVoteSprite());
    writer.Bytes(std::string(kSprites) + "blank.spr", MakeBlankSprite());
    writer.Text(std::string(kMaps) + "vote.ent", VoteEntityText());
}

} // namespace ballotine::demo
