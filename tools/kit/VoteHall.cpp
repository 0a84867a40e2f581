#include "kit/VoteHall.h"

#include "common/Text.h"
#include "votemap/VoteMapKeywords.h"

#include <array>
#include <utility>
#include <vector>

namespace ballotine::kit {

namespace {

using bsp::Box;

// The hall, in map units: x along its length, y across, z up; the floor at 0.
constexpr int kHallHalfLength = 704;
constexpr int kHallHalfWidth = 320;
constexpr int kHallHeight = 288;
constexpr int kBoothsPerWall = kBooths / 2;
constexpr int kFirstBoothX = -560;
constexpr int kBoothSpacing = 160; // a 128-unit picture per booth, with room between

// Distances from the hall's wall into a booth.
constexpr int kWallThickness = 16;
constexpr int kBoothEnd = 400;
constexpr int kBreakableFrom = 112;
constexpr int kBreakableThickness = 16;
constexpr int kTriggerFrom = 240;

constexpr int kDoorHalfWidth = 40;
constexpr int kDoorHeight = 112;
constexpr int kBoothHalfWidth = 56;
constexpr int kBoothHeight = 144;

// The picture: 128 x 64 units at scale 1, above the door, 2 units off the wall.
constexpr int kPictureHeight = 168;
constexpr int kPictureOffWall = 2;
constexpr int kSpawnHeight = 36; // a standing player's centre above the floor

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string Entity(const Pairs& pairs) {
    std::string text = "{\n";
    for (const auto& [key, value] : pairs) {
        text += "\"" + key + "\" \"" + value + "\"\n";
    }
    return text + "}\n";
}

std::string Point(int x, int y, int z) {
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z);
}

// A box across a booth (or its doorway) from `from` to `to` units beyond the hall's wall.
Box Across(const BoothPlace& booth, int halfWidth, int from, int to, int height) {
    const int a = booth.wallY + booth.side * from;
    const int b = booth.wallY + booth.side * to;
    return {{booth.x - halfWidth, std::min(a, b), 0},
            {booth.x + halfWidth, std::max(a, b), height}};
}

Box Doorway(const BoothPlace& booth) {
    return Across(booth, kDoorHalfWidth, 0, kWallThickness, kDoorHeight);
}
Box BoothRoom(const BoothPlace& booth) {
    return Across(booth, kBoothHalfWidth, kWallThickness, kBoothEnd, kBoothHeight);
}
Box WoodenWall(const BoothPlace& booth) {
    return Across(booth, kBoothHalfWidth, kBreakableFrom, kBreakableFrom + kBreakableThickness,
                  kBoothHeight);
}
Box LevelChange(const BoothPlace& booth) {
    return Across(booth, kBoothHalfWidth, kTriggerFrom, kBoothEnd, kBoothHeight);
}

std::string SlotNumber(int slot) {
    return Format("%02d", slot);
}

std::string BoothEntities(int slot) {
    const BoothPlace booth = BoothOf(slot);
    const std::string nn = SlotNumber(slot);
    const int firstModel = 4 * (slot - 1) + 1;
    const auto model = [&](int which) { return "*" + std::to_string(firstModel + which); };
    std::string text = "// Booth " + nn + "\n";
    text += Entity(
        {{"classname", "env_sprite"},
         {"model", "sprites/vote/MRF" + nn + ".spr"},
         {"origin", Point(booth.x, booth.wallY - booth.side * kPictureOffWall, kPictureHeight)},
         {"angles", booth.side > 0 ? "0 90 360" : "0 270 360"},
         {"rendermode", "0"},
         {"renderamt", "255"},
         {"scale", "1"},
         {"framerate", "0"}});
    text += Entity({{"classname", "func_door"},
                    {"model", model(0)},
                    {"targetname", "RDR" + nn},
                    {"angle", "-1"},
                    {"speed", "100"},
                    {"wait", "-1"},
                    {"spawnflags", "256"}});
    text += Entity({{"classname", "func_breakable"},
                    {"model", model(1)},
                    {"health", "DRHLTH"},
                    {"material", "1"}});
    text +=
        Entity({{"classname", "trigger_changelevel"}, {"model", model(2)}, {"map", "MRF" + nn}});
    text += Entity({{"classname", "i_t_g"},
                    {"model", model(3)},
                    {"goal_no", std::to_string(slot)},
                    {"netname", "MRF" + nn},
                    {"goal_activation", "1"},
                    {"team_no", "1"}});
    return text;
}

std::string SpawnPoints() {
    std::string text;
    constexpr std::array<int, 4> rows = {-144, -48, 48, 144};
    for (const int y : rows) {
        for (const int x : {256, 352, 448, 544}) {
            text += Entity({{"classname", "info_player_teamspawn"},
                            {"origin", Point(x, y, kSpawnHeight)},
                            {"angles", "0 180 0"},
                            {"team_no", "1"}});
            text += Entity({{"classname", "info_player_teamspawn"},
                            {"origin", Point(-x, y, kSpawnHeight)},
                            {"angles", "0 0 0"},
                            {"team_no", "2"}});
        }
        for (const int x : {-64, 64}) {
            text += Entity({{"classname", "info_player_deathmatch"},
                            {"origin", Point(x, y, kSpawnHeight)},
                            {"angles", x < 0 ? "0 0 0" : "0 180 0"}});
        }
    }
    return text;
}

} // namespace

BoothPlace BoothOf(int slot) {
    const int along = (slot - 1) % kBoothsPerWall;
    const int side = slot <= kBoothsPerWall ? 1 : -1;
    return {kFirstBoothX + along * kBoothSpacing, side * kHallHalfWidth, side};
}

bsp::MapLayout VoteHallLayout() {
    bsp::MapLayout layout;
    layout.rooms.push_back(
        {{-kHallHalfLength, -kHallHalfWidth, 0}, {kHallHalfLength, kHallHalfWidth, kHallHeight}});
    for (int slot = 1; slot <= kBooths; ++slot) {
        const BoothPlace booth = BoothOf(slot);
        layout.rooms.push_back(Doorway(booth));
        layout.rooms.push_back(BoothRoom(booth));
        layout.models.push_back({{Doorway(booth)}, bsp::Texture::Door});
        layout.models.push_back({{WoodenWall(booth)}, bsp::Texture::Crate});
        layout.models.push_back({{LevelChange(booth)}, bsp::Texture::Trigger});
        layout.models.push_back({{LevelChange(booth)}, bsp::Texture::Trigger});
    }
    return layout;
}

std::string VoteTemplate() {
    std::string text = Entity(
        {{"classname", "worldspawn"}, {"message", "Vote for the next map"}, {"mapversion", "220"}});
    text += Entity({{"classname", "info_tfdetect"},
                    {"broadcast", "Ballotine vote map"},
                    {"number_of_teams", "THUGON"},
                    {"team1_name", "(1) Voters"},
                    {"team2_name", "THUGMSG"},
                    {"ammo_detpack", "THUGNUM"}});
    // The used booths' doors open together a few seconds after the map starts.
    text += Entity({{"classname", "trigger_auto"},
                    {"origin", Point(0, 0, 64)},
                    {"target", "godoor"},
                    {"delay", "5"},
                    {"spawnflags", "1"}});
    for (const int side : {1, -1}) {
        text += Entity({{"classname", "env_sprite"},
                        {"model", "sprites/vote/vote.spr"},
                        {"origin", Point(side * (kHallHalfLength - kPictureOffWall), 0, 192)},
                        {"angles", side > 0 ? "0 0 360" : "0 180 360"},
                        {"rendermode", "0"},
                        {"renderamt", "255"},
                        {"scale", "1"},
                        {"framerate", "0"}});
    }
    text += SpawnPoints();
    for (int slot = 1; slot <= kBooths; ++slot) {
        text += BoothEntities(slot);
    }
    return text;
}

std::optional<std::string> WriteVoteHall(std::string_view entityText, std::string& error) {
    return bsp::WriteMap(VoteHallLayout(), entityText, error);
}

std::string DefaultVoteEntities() {
    const std::vector<KeywordValue> keywords = BuildVoteMapKeywords({}, 12, 2, 1);
    const std::string templateText = VoteTemplate();
    std::string filled;
    for (std::size_t start = 0; start < templateText.size();) {
        const std::size_t end = templateText.find('\n', start);
        std::string line = templateText.substr(start, end - start);
        ApplyKeywords(line, keywords);
        filled += line + "\n";
        start = end + 1;
    }
    return filled;
}

} // namespace ballotine::kit
