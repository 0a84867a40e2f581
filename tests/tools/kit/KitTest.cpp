#include "bsp/MapReader.h"
#include "common/Text.h"
#include "kit/EntityList.h"
#include "kit/KitFiles.h"
#include "kit/VoteHall.h"
#include "support/TestFiles.h"
#include "votemap/VoteMapKeywords.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace ballotine::kit {
namespace {

using bsp::Hull;
using bsp::kContentsEmpty;
using bsp::kContentsSolid;
using bsp::Vec3;

// The template filled as the compile fills it, line by line.
std::string Filled(const std::vector<std::string>& maps, int players, int thugs, int walls) {
    const std::vector<KeywordValue> keywords = BuildVoteMapKeywords(maps, players, thugs, walls);
    std::istringstream lines(VoteTemplate());
    std::string text;
    for (std::string line; std::getline(lines, line);) {
        ApplyKeywords(line, keywords);
        text += line + "\n";
    }
    return text;
}

struct Hall {
    explicit Hall(const std::string& entityText) {
        std::string error;
        std::optional<std::string> bytes = WriteVoteHall(entityText, error);
        EXPECT_TRUE(bytes) << error;
        map = bsp::BspMap::Parse(bytes.value_or(""), error);
        EXPECT_TRUE(map) << error;
        entities = ParseEntities(map->EntityText());
    }
    std::vector<const Entity*> OfClass(std::string_view classname) const {
        std::vector<const Entity*> found;
        for (const Entity& entity : entities) {
            if (entity.Get("classname") == classname) {
                found.push_back(&entity);
            }
        }
        return found;
    }
    int Model(const Entity& entity) const {
        return std::stoi(std::string(entity.Get("model").substr(1)));
    }
    std::optional<bsp::BspMap> map;
    std::vector<Entity> entities;
};

Vec3 PointOf(std::string_view text) {
    Vec3 point;
    std::istringstream(std::string(text)) >> point.x >> point.y >> point.z;
    return point;
}

Vec3 Centre(const bsp::Bounds& box) {
    return {(box.mins.x + box.maxs.x) / 2, (box.mins.y + box.maxs.y) / 2,
            (box.mins.z + box.maxs.z) / 2};
}

// The template gives each booth what the program and the game read: its picture named
// "sprites/vote/MRFnn.spr" on a line of its own, in booth order (the window reads the
// compiled maps back in that order), its door RDRnn, its level change and goal naming MRFnn;
// the thug settings in info_tfdetect. Nothing fires RDRnn: only "godoor" is fired.
TEST(VoteKit, TheTemplateCarriesEveryKeywordWhereTheGameReadsIt) {
    const Hall hall(VoteTemplate());
    const auto detect = hall.OfClass("info_tfdetect");
    ASSERT_EQ(detect.size(), 1u);
    EXPECT_EQ(detect[0]->Get("number_of_teams"), "THUGON");
    EXPECT_EQ(detect[0]->Get("team2_name"), "THUGMSG");
    EXPECT_EQ(detect[0]->Get("ammo_detpack"), "THUGNUM") << "team 2's player limit";
    std::istringstream lines(VoteTemplate());
    int lastSlot = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("sprites/vote") != std::string::npos &&
            line.find("vote.spr") == std::string::npos) {
            EXPECT_EQ(line, Format("\"model\" \"sprites/vote/MRF%02d.spr\"", lastSlot + 1));
            ++lastSlot;
        }
    }
    EXPECT_EQ(lastSlot, kBooths);
    const auto doors = hall.OfClass("func_door");
    const auto walls = hall.OfClass("func_breakable");
    const auto changes = hall.OfClass("trigger_changelevel");
    const auto goals = hall.OfClass("i_t_g");
    ASSERT_EQ(doors.size(), 16u);
    ASSERT_TRUE(walls.size() == 16 && changes.size() == 16 && goals.size() == 16);
    for (int slot = 1; slot <= kBooths; ++slot) {
        const std::size_t i = static_cast<std::size_t>(slot - 1);
        EXPECT_EQ(doors[i]->Get("targetname"), Format("RDR%02d", slot));
        EXPECT_EQ(walls[i]->Get("health"), "DRHLTH");
        EXPECT_EQ(changes[i]->Get("map"), Format("MRF%02d", slot));
        EXPECT_EQ(goals[i]->Get("netname"), Format("MRF%02d", slot));
    }
    std::set<int> models;
    for (const Entity& entity : hall.entities) {
        EXPECT_FALSE(entity.Get("target").starts_with("RDR")) << "an unused booth's door opens";
        if (entity.Get("classname") == "env_sprite") {
            EXPECT_FALSE(entity.Find("targetname")) << "a named sprite starts switched off";
        }
        if (entity.Get("model").starts_with('*')) {
            EXPECT_TRUE(models.insert(hall.Model(entity)).second) << "one entity per model";
        }
    }
    EXPECT_EQ(models.size() + 1, static_cast<std::size_t>(hall.map->ModelCount()));
    EXPECT_EQ(hall.OfClass("trigger_auto").at(0)->Get("target"), "godoor");
}

// Walked through with the player's hulls: every spawn point is free; each booth's doorway is
// blocked by its door until the door has moved up by its height; behind it the wooden wall
// blocks until it breaks; then the way is open to the level change.
TEST(VoteKit, PlayersStartFreeAndReachEachBoothOnlyThroughItsDoorAndWall) {
    const Hall hall(Filled({"2fort", "well"}, 12, 2, 1));
    const bsp::BspMap& map = *hall.map;
    std::vector<int> solidModels;
    for (const char* classname : {"func_door", "func_breakable"}) {
        for (const Entity* entity : hall.OfClass(classname)) {
            solidModels.push_back(hall.Model(*entity));
        }
    }
    int spawns = 0;
    for (const Entity& entity : hall.entities) {
        if (!entity.Get("classname").starts_with("info_player_")) {
            continue;
        }
        ++spawns;
        const Vec3 at = PointOf(entity.Get("origin"));
        EXPECT_EQ(map.PointContents({at.x, at.y, at.z + 1}, Hull::Standing), kContentsEmpty)
            << entity.Get("origin");
        for (const int model : solidModels) {
            EXPECT_EQ(map.ModelContents(model, at, Hull::Standing), kContentsEmpty);
        }
    }
    EXPECT_EQ(spawns, 40);

    const auto doors = hall.OfClass("func_door");
    const auto walls = hall.OfClass("func_breakable");
    const auto changes = hall.OfClass("trigger_changelevel");
    for (int slot = 1; slot <= kBooths; ++slot) {
        SCOPED_TRACE(slot);
        const std::size_t i = static_cast<std::size_t>(slot - 1);
        const BoothPlace booth = BoothOf(slot);
        const int door = hall.Model(*doors[i]);
        const int wall = hall.Model(*walls[i]);
        const bsp::Bounds doorBox = map.ModelBounds(door);
        // The door moves along its angle ("-1": up) by its own height less its lip (none).
        ASSERT_EQ(doors[i]->Get("angle"), "-1");
        const Vec3 open{0, 0, doorBox.maxs.z - doorBox.mins.z};
        const Vec3 wallCentre = Centre(map.ModelBounds(wall));
        const Vec3 end = Centre(map.ModelBounds(hall.Model(*changes[i])));
        // Steps of 8 from 36 before the wall never land on a hull's plane (grown by 16).
        for (float y = static_cast<float>(booth.wallY) - 36 * static_cast<float>(booth.side);
             std::abs(y) < std::abs(end.y); y += 8 * static_cast<float>(booth.side)) {
            const Vec3 point{static_cast<float>(booth.x), y, 37};
            EXPECT_EQ(map.PointContents(point, Hull::Standing), kContentsEmpty) << y;
            const bool inDoor = map.ModelContents(door, point, Hull::Standing) == kContentsSolid;
            const bool inWall = map.ModelContents(wall, point, Hull::Standing) == kContentsSolid;
            EXPECT_EQ(map.ModelContents(door, point, Hull::Standing, open), kContentsEmpty);
            EXPECT_EQ(inDoor, y > doorBox.mins.y - 16 && y < doorBox.maxs.y + 16) << y;
            EXPECT_EQ(inWall, std::abs(y - wallCentre.y) < 8 + 16) << y;
        }
        EXPECT_EQ(map.PointContents({end.x, end.y, 37}, Hull::Standing), kContentsEmpty);
    }
}

// Each picture hangs flat on a wall, two units in front of it, facing the hall, clear of the
// floor, the ceiling and the door below it.
TEST(VoteKit, PicturesHangOnTheWallsFacingTheHall) {
    const Hall hall(VoteTemplate());
    const bsp::BspMap& map = *hall.map;
    const auto pictures = hall.OfClass("env_sprite");
    ASSERT_EQ(pictures.size(), 18u) << "16 booths and the title sign at both ends";
    for (const Entity* picture : pictures) {
        SCOPED_TRACE(picture->Get("model"));
        const Vec3 at = PointOf(picture->Get("origin"));
        const Vec3 angles = PointOf(picture->Get("angles"));
        EXPECT_EQ(angles.z, 360) << "roll 0 would let the game move the yaw";
        const double yaw = angles.y * std::acos(-1.0) / 180;
        const Vec3 into{static_cast<float>(std::cos(yaw)), static_cast<float>(std::sin(yaw)), 0};
        const auto moved = [&](float along, float across, float up) {
            return Vec3{at.x + along * into.x - across * into.y,
                        at.y + along * into.y + across * into.x, at.z + up};
        };
        EXPECT_EQ(map.PointContents(moved(3, 0, 0)), kContentsSolid) << "the wall behind it";
        for (const float across : {-64.0F, 64.0F}) {
            for (const float up : {-32.0F, 32.0F}) {
                EXPECT_EQ(map.PointContents(moved(-1, across, up)), kContentsEmpty)
                    << across << " " << up;
                EXPECT_EQ(map.PointContents(moved(1, across, up)), kContentsEmpty);
            }
        }
    }
}

// The kit's files: the map holds the template as a fresh window compiles it, the template is
// the one the map fits, and the plan is drawn from the written map.
TEST(VoteKit, WritesTheMapTheTemplateTheSpritesAndThePlan) {
    test::TempDir folder;
    std::string error;
    ASSERT_TRUE(WriteKit(folder.Path() / "kit", {"vote picture", "blank picture"}, error)) << error;
    const auto file = [&](const char* name) {
        return test::ReadFile(folder.Path() / "kit" / name);
    };
    EXPECT_EQ(file(kTemplateFile), VoteTemplate());
    EXPECT_EQ(file(kVoteSpriteFile), "vote picture");
    EXPECT_EQ(file(kBlankSpriteFile), "blank picture");
    const std::optional<bsp::BspMap> map =
        bsp::BspMap::Load(folder.Path() / "kit" / kVoteMapFile, error);
    ASSERT_TRUE(map) << error;
    EXPECT_EQ(map->EntityText(), Filled({}, 12, 2, 1));
    EXPECT_EQ(map->EntityText(), DefaultVoteEntities());
    const std::string plan = file(kPlanFile);
    EXPECT_TRUE(plan.starts_with("<svg") && plan.find("RDR16") != std::string::npos)
        << plan.substr(0, 200);
}

} // namespace
} // namespace ballotine::kit
