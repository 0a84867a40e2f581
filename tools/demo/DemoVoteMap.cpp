#include "demo/DemoBsp.h"
#include "demo/DemoBytes.h"
#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"
#include "platform/FileSystem.h"
#include "votemap/VoteMapCompile.h"
#include "votemap/VoteMapKeywords.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::demo {

namespace {

constexpr std::string_view kTemplate = "Half-Life/Ballotine/tfc/Entities/vote.ref";
constexpr std::string_view kVoteMap = "Half-Life/tfc/maps/vote.bsp";
constexpr std::string_view kVoteEntities = "Half-Life/tfc/maps/vote.ent";

// The maps the demo's vote map was compiled with, at the window's start values.
const std::vector<std::string> kCompiledMaps = {"lakeside", "well"};
constexpr std::int32_t kCompiledPlayers = 12;
constexpr std::int32_t kCompiledThugs = 2;
constexpr std::int32_t kCompiledWalls = 1;

std::string SlotNumber(int slot) {
    return (slot < 10 ? "0" : "") + std::to_string(slot);
}

// One voting booth: the slot's sign shows its map's vote sprite, stepping into the booth
// opens the doors ("godoor") only for a slot that holds a map, and the exit changes to it.
std::string BoothEntities(int slot) {
    const std::string nn = SlotNumber(slot);
    const int x = -448 + ((slot - 1) % 8) * 128;
    const int y = slot <= 8 ? 320 : -320;
    const std::string origin = std::to_string(x) + " " + std::to_string(y);
    return "// Booth " + nn +
           "\n"
           "{\n"
           "\"classname\" \"env_sprite\"\n"
           "\"targetname\" \"sign" +
           nn +
           "\"\n"
           "\"model\" \"sprites/vote/MRF" +
           nn +
           ".spr\"\n"
           "\"origin\" \"" +
           origin +
           " 96\"\n"
           "\"rendermode\" \"2\"\n"
           "\"renderamt\" \"255\"\n"
           "}\n"
           "{\n"
           "\"classname\" \"trigger_multiple\"\n"
           "\"targetname\" \"booth" +
           nn +
           "\"\n"
           "\"target\" \"RDR" +
           nn +
           "\"\n"
           "\"wait\" \"5\"\n"
           "}\n"
           "{\n"
           "\"classname\" \"trigger_changelevel\"\n"
           "\"targetname\" \"exit" +
           nn +
           "\"\n"
           "\"map\" \"MRF" +
           nn +
           "\"\n"
           "}\n";
}

// The vote map's entity template: every keyword the compile fills, each slot's sprite named
// "sprites/vote/MRFnn.spr" so the window can read the compiled maps back.
std::string VoteTemplate() {
    std::string text = "{\n"
                       "\"classname\" \"worldspawn\"\n"
                       "\"message\" \"Vote for the next map\"\n"
                       "\"mapversion\" \"220\"\n"
                       "}\n"
                       "{\n"
                       "\"classname\" \"info_tfdetect\"\n"
                       "\"number_of_teams\" \"THUGON\"\n"
                       "\"team1_name\" \"(1) Voters\"\n"
                       "\"team2_name\" \"THUGMSG\"\n"
                       "\"maxplayers_team2\" \"THUGNUM\"\n"
                       "}\n";
    for (const char* wall : {"north", "south"}) {
        text += "{\n"
                "\"classname\" \"func_breakable\"\n"
                "\"targetname\" \"wall_" +
                std::string(wall) +
                "\"\n"
                "\"health\" \"DRHLTH\"\n"
                "\"material\" \"2\"\n"
                "}\n";
    }
    text += "{\n"
            "\"classname\" \"func_door\"\n"
            "\"targetname\" \"godoor\"\n"
            "\"speed\" \"100\"\n"
            "}\n";
    for (int slot = 1; slot <= kVoteMapSlots; ++slot) {
        text += BoothEntities(slot);
    }
    return text;
}

// The box map with every lump filled: one texture (kept in a texture file), node, texinfo,
// face, clip node, marked surface and four surface edges, some visibility and lighting.
BspLumps VoteMapLumps(const std::string& entityText) {
    BspLumps lumps = BoxLumps("vote", "Vote for the next map");
    lumps[0] = entityText + '\0';

    lumps[2].clear();
    PutInt32(lumps[2], 1); // count, then the offset of the one texture
    PutInt32(lumps[2], 8);
    std::string name = "vote_floor";
    name.resize(16, '\0');
    lumps[2] += name;
    PutInt32(lumps[2], 64);
    PutInt32(lumps[2], 64);
    lumps[2].append(16, '\0'); // no mip levels inside the map

    lumps[4] = std::string("\xFF\x00\x01", 3); // odd length: padding follows

    PutInt32(lumps[5], 0); // node: plane, both children leaf 0, bounds, first face, count
    PutInt16(lumps[5], -1);
    PutInt16(lumps[5], -1);
    for (const std::int32_t bound : {-256, -256, 0, 256, 256, 128, 0, 1}) {
        PutInt16(lumps[5], bound);
    }

    for (const float value : {1.0F, 0.0F, 0.0F, 0.0F, 0.0F, 1.0F, 0.0F, 0.0F}) {
        PutFloat(lumps[6], value); // texinfo: s and t axes with offsets
    }
    PutInt32(lumps[6], 0); // texture 0
    PutInt32(lumps[6], 0); // flags

    PutInt16(lumps[7], 5); // face on the floor plane, front side
    PutInt16(lumps[7], 0);
    PutInt32(lumps[7], 0); // surface edges 0..3
    PutInt16(lumps[7], 4);
    PutInt16(lumps[7], 0);                          // texinfo 0
    lumps[7] += std::string("\x00\xFF\xFF\xFF", 4); // one light style
    PutInt32(lumps[7], 0);                          // its light map at the start

    lumps[8].assign(16 * 3, '\x60'); // a grey 4x4 light map

    PutInt32(lumps[9], 0);  // clip node: plane 0,
    PutInt16(lumps[9], -1); // empty in front,
    PutInt16(lumps[9], -2); // solid behind

    PutInt16(lumps[11], 0); // odd length: padding follows

    for (const std::int32_t edge : {0, 1, 2, 3}) {
        PutInt32(lumps[13], edge);
    }
    return lumps;
}

} // namespace

void WriteDemoVoteMap(DemoWriter& writer, const DemoLayout& /*layout*/) {
    writer.Text(kTemplate, VoteTemplate());
    const std::string templatePath = (writer.Root() / kTemplate).string();
    const std::string entityTextPath = (writer.Root() / kVoteEntities).string();
    const auto keywords =
        BuildVoteMapKeywords(kCompiledMaps, kCompiledPlayers, kCompiledThugs, kCompiledWalls);
    if (!WriteVoteEntityText(templatePath, entityTextPath, keywords)) {
        writer.Fail("cannot write " + entityTextPath);
        return;
    }
    const auto entityText = ReadWholeFile(entityTextPath);
    if (!entityText) {
        writer.Fail("cannot read " + entityTextPath);
        return;
    }
    writer.Bytes(kVoteMap, ComposeBsp(VoteMapLumps(*entityText)));
}

} // namespace ballotine::demo
