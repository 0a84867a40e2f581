#include "demo/DemoBsp.h"

#include "demo/DemoBytes.h"

#include <cstdint>

namespace ballotine::demo {

BspLumps BoxLumps(std::string_view mapName, std::string_view title) {
    BspLumps lumps;
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
std::string ComposeBsp(const BspLumps& lumps) {
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

std::string MakeBsp(std::string_view mapName, std::string_view title) {
    return ComposeBsp(BoxLumps(mapName, title));
}

} // namespace ballotine::demo
