#include "demo/DemoBsp.h"

#include "bsp/MapLayout.h"
#include "demo/DemoWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ballotine::demo {

namespace {

using bsp::Box;

constexpr int kCorridorHalfWidth = 48;
constexpr int kCorridorHeight = 128;
constexpr int kSpawnHeight = 36;

// Numbers drawn from the name: the same name gives the same map.
class NameDice {
public:
    explicit NameDice(std::string_view name) {
        for (const char c : name) {
            m_state = (m_state ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
    int Roll(int sides) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((m_state >> 33) % static_cast<std::uint64_t>(sides));
    }

private:
    std::uint64_t m_state = 14695981039346656037ULL;
};

struct Room {
    Box box;
    int centreX() const { return (box.min[0] + box.max[0]) / 2; }
    int centreY() const { return (box.min[1] + box.max[1]) / 2; }
    int width() const { return box.max[0] - box.min[0]; }
    int depth() const { return box.max[1] - box.min[1]; }
};

struct DemoMapPlan {
    bsp::MapLayout layout;
    std::vector<Room> rooms;
    std::vector<Box> corridors;
};

DemoMapPlan PlanRooms(std::string_view name) {
    NameDice dice(name);
    DemoMapPlan plan;
    const int count = 2 + dice.Roll(3);
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const int width = 256 + 64 * dice.Roll(6);
        const int depth = 256 + 64 * dice.Roll(5);
        const int height = 160 + 32 * dice.Roll(4);
        const int centreY = 64 * (dice.Roll(3) - 1);
        if (i > 0) {
            // A corridor from the last room, across the depth both rooms share.
            const Room& last = plan.rooms.back();
            const int length = 128 + 64 * dice.Roll(3);
            const int shared = (std::max(last.box.min[1], centreY - depth / 2) +
                                std::min(last.box.max[1], centreY + depth / 2)) /
                               2;
            plan.corridors.push_back({{x, shared - kCorridorHalfWidth, 0},
                                      {x + length, shared + kCorridorHalfWidth, kCorridorHeight}});
            x += length;
        }
        plan.rooms.push_back(
            {{{x, centreY - depth / 2, 0}, {x + width, centreY + depth / 2, height}}});
        x += width;
    }
    for (const Room& room : plan.rooms) {
        plan.layout.rooms.push_back(room.box);
        if (room.width() >= 384 && room.depth() >= 384) {
            const int cx = room.centreX();
            const int cy = room.centreY();
            plan.layout.blocks.push_back(
                {{cx - 32, cy - 32, 0}, {cx + 32, cy + 32, room.box.max[2]}});
        }
    }
    for (const Box& corridor : plan.corridors) {
        plan.layout.rooms.push_back(corridor);
    }
    return plan;
}

std::string Pair(std::string_view key, const std::string& value) {
    return "\"" + std::string(key) + "\" \"" + value + "\"\n";
}

std::string Spawn(std::string_view classname, int x, int y, std::string_view team) {
    std::string text = "{\n" + Pair("classname", std::string(classname)) +
                       Pair("origin", std::to_string(x) + " " + std::to_string(y) + " " +
                                          std::to_string(kSpawnHeight));
    if (!team.empty()) {
        text += Pair("team_no", std::string(team));
    }
    return text + "}\n";
}

// Four spawn points a quarter of the way in from each corner of a room: clear of its walls
// and of a pillar in its middle.
std::string QuarterSpawns(const Room& room, std::string_view team) {
    std::string text;
    for (const int fx : {1, 3}) {
        for (const int fy : {1, 3}) {
            text += Spawn("info_player_teamspawn", room.box.min[0] + room.width() * fx / 4,
                          room.box.min[1] + room.depth() * fy / 4, team);
        }
    }
    return text;
}

std::string Entities(std::string_view title, const DemoMapPlan& plan) {
    std::string text = "{\n" + Pair("classname", "worldspawn") +
                       Pair("message", std::string(title)) + Pair("mapversion", "220") + "}\n";
    text += "{\n" + Pair("classname", "info_tfdetect") + Pair("number_of_teams", "2") +
            Pair("team1_name", "Blue") + Pair("team2_name", "Red") + "}\n";
    text += QuarterSpawns(plan.rooms.front(), "1");
    text += QuarterSpawns(plan.rooms.back(), "2");
    for (const Box& corridor : plan.corridors) {
        const int cx = (corridor.min[0] + corridor.max[0]) / 2;
        const int cy = (corridor.min[1] + corridor.max[1]) / 2;
        for (const int dx : {-32, 32}) {
            text += Spawn("info_player_deathmatch", cx + dx, cy, "");
        }
    }
    return text;
}

} // namespace

std::string MakeBsp(std::string_view mapName, std::string_view title, DemoWriter& writer) {
    const DemoMapPlan plan = PlanRooms(mapName);
    std::string error;
    std::optional<std::string> map = bsp::WriteMap(plan.layout, Entities(title, plan), error);
    if (!map) {
        writer.Fail("cannot make the map " + std::string(mapName) + ": " + error);
        return {};
    }
    return std::move(*map);
}

} // namespace ballotine::demo
