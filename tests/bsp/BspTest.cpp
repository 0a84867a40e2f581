#include "bsp/ByteIo.h"
#include "bsp/MapLayout.h"
#include "bsp/MapReader.h"
#include "bsp/Records.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace ballotine::bsp {
namespace {

const std::string kEntities = "{\n\"classname\" \"worldspawn\"\n\"message\" \"test\"\n}\n";

BspMap Written(const MapLayout& layout, const std::string& entities = kEntities) {
    std::string error;
    std::optional<std::string> bytes = WriteMap(layout, entities, error);
    EXPECT_TRUE(bytes) << error;
    std::optional<BspMap> map = BspMap::Parse(bytes.value_or(""), error);
    EXPECT_TRUE(map) << error;
    return std::move(*map);
}

// The room of tests/data/room.map: a 512-unit cube inside 16-unit walls, with a door.
MapLayout TestRoom() {
    MapLayout layout;
    layout.rooms.push_back({{-256, -256, -256}, {256, 256, 256}});
    layout.models.push_back({{{{-32, -8, -256}, {32, 8, -128}}}, Texture::Door});
    return layout;
}

constexpr std::array<Hull, 4> kHulls = {Hull::Point, Hull::Standing, Hull::Large, Hull::Crouching};

// A real compiler's map of the room and ours answer every point alike, for every hull, for
// the world and the door where it stands and where it has moved to. The points lie off the
// planes (.5), where two correct trees may differ only in which side owns the plane itself.
TEST(MapWriter, AgreesWithARealCompilerOnTheTestRoom) {
    std::string error;
    const std::optional<BspMap> compiled = BspMap::Load(test::TestDataPath("room.bsp"), error);
    ASSERT_TRUE(compiled) << error;
    const BspMap ours = Written(TestRoom());
    ASSERT_EQ(ours.ModelCount(), compiled->ModelCount());
    int solids = 0;
    for (float x = -300.5F; x < 300; x += 23) {
        for (float y = -300.5F; y < 300; y += 37) {
            for (float z = -300.5F; z < 300; z += 11) {
                const Vec3 point{x, y, z};
                for (const Hull hull : kHulls) {
                    const int contents = compiled->PointContents(point, hull);
                    solids += contents == kContentsSolid ? 1 : 0;
                    ASSERT_EQ(ours.PointContents(point, hull), contents)
                        << x << " " << y << " " << z << " hull " << static_cast<int>(hull);
                    for (const float lift : {0.0F, 128.0F}) {
                        ASSERT_EQ(ours.ModelContents(1, point, hull, {0, 0, lift}),
                                  compiled->ModelContents(1, point, hull, {0, 0, lift}))
                            << x << " " << y << " " << z << " hull " << static_cast<int>(hull);
                    }
                }
            }
        }
    }
    EXPECT_GT(solids, 1000) << "the points reach into the walls";
    // Texture names come from the texture heads, also of textures kept in a wad.
    EXPECT_EQ(compiled->Faces(1).at(0).texture, "DOOR");
    EXPECT_EQ(ours.Faces(1).at(0).texture, "bt_door");
}

// A room with a pillar and a low corridor: a body fits exactly where its hull is open.
TEST(MapWriter, BodiesFitExactlyWhereTheirHullIsOpen) {
    MapLayout layout;
    layout.rooms.push_back({{0, 0, 0}, {512, 512, 128}});
    layout.rooms.push_back({{512, 224, 0}, {768, 288, 48}}); // 48 units high: crouch only
    layout.blocks.push_back({{224, 224, 0}, {288, 288, 128}});
    const BspMap map = Written(layout);
    const struct {
        Vec3 point;
        Hull hull;
        int contents;
    } cases[] = {
        {{100, 100, 36}, Hull::Standing, kContentsEmpty},  // on the floor
        {{100, 100, 35}, Hull::Standing, kContentsSolid},  // feet in the floor
        {{100, 100, 91}, Hull::Standing, kContentsEmpty},  // head just under the ceiling
        {{100, 100, 93}, Hull::Standing, kContentsSolid},  // head through it
        {{206, 256, 36}, Hull::Standing, kContentsEmpty},  // beside the pillar
        {{209, 256, 36}, Hull::Standing, kContentsSolid},  // 15 units from it
        {{209, 256, 36}, Hull::Point, kContentsEmpty},     // a point is not a body
        {{190, 256, 40}, Hull::Large, kContentsEmpty},     // 34 units from the pillar
        {{194, 256, 40}, Hull::Large, kContentsSolid},     // 30 units from it
        {{256, 256, 60}, Hull::Point, kContentsSolid},     // inside the pillar
        {{600, 256, 19}, Hull::Crouching, kContentsEmpty}, // crouching in the corridor
        {{600, 256, 36}, Hull::Standing, kContentsSolid},  // standing does not fit
        {{600, 256, 47}, Hull::Point, kContentsEmpty},     // under its ceiling
        {{600, 300, 19}, Hull::Crouching, kContentsSolid}, // through its side wall
        {{760, 256, 19}, Hull::Crouching, kContentsSolid}, // through its end
        {{-8, 100, 60}, Hull::Point, kContentsSolid},      // the world's wall
        {{-100, 100, 60}, Hull::Point, kContentsSolid},    // beyond the world
    };
    for (const auto& c : cases) {
        EXPECT_EQ(map.PointContents(c.point, c.hull), c.contents)
            << c.point.x << " " << c.point.y << " " << c.point.z << " hull "
            << static_cast<int>(c.hull);
    }
}

// The decoded lumps of a map, for the structure the reader does not answer about.
struct Lumps {
    explicit Lumps(const std::string& bytes) : header(DecodeHeader(bytes)) {
        const auto lump = [&](int index) {
            const Lump& entry = header.lumps[static_cast<std::size_t>(index)];
            return std::string_view(bytes).substr(static_cast<std::size_t>(entry.offset),
                                                  static_cast<std::size_t>(entry.length));
        };
        planes = DecodeAll<PlaneRecord>(lump(kLumpPlanes), 20);
        nodes = DecodeAll<NodeRecord>(lump(kLumpNodes), 24);
        faces = DecodeAll<FaceRecord>(lump(kLumpFaces), 20);
        leaves = DecodeAll<LeafRecord>(lump(kLumpLeaves), 28);
        models = DecodeAll<ModelRecord>(lump(kLumpModels), 64);
        for (std::size_t at = 0; at < lump(kLumpMarkSurfaces).size(); at += 2) {
            marks.push_back(ReadU16(lump(kLumpMarkSurfaces), at));
        }
        lighting = lump(kLumpLighting).size();
    }
    BspHeader header;
    std::vector<PlaneRecord> planes;
    std::vector<NodeRecord> nodes;
    std::vector<FaceRecord> faces;
    std::vector<LeafRecord> leaves;
    std::vector<ModelRecord> models;
    std::vector<std::uint16_t> marks;
    std::size_t lighting = 0;
};

MapLayout RoomsAndModels() {
    MapLayout layout;
    layout.rooms = {{{0, 0, 0}, {1000, 600, 300}}, {{1000, 200, 0}, {1400, 328, 128}}};
    layout.blocks = {{{400, 200, 0}, {520, 330, 300}}, {{700, 0, 0}, {1000, 100, 40}}};
    layout.models = {
        {{{{1100, 200, 0}, {1116, 328, 128}}}, Texture::Door},
        {{{{100, 100, 0}, {200, 150, 64}}, {{150, 100, 64}, {200, 150, 96}}}, Texture::Crate}};
    return layout;
}

// What the game draws: every face looks out of the solid into open space, is wound as the
// engine expects, fits a light map, and is filed under a node on its own plane and in the
// mark surfaces of the one leaf it bounds; the floors add up to the rooms' floor area.
TEST(MapWriter, FacesBoundTheRoomsAsTheGameDrawsThem) {
    std::string error;
    const MapLayout layout = RoomsAndModels();
    const std::string bytes = WriteMap(layout, kEntities, error).value();
    const BspMap map = BspMap::Parse(bytes, error).value();
    const Lumps lumps(bytes);
    ASSERT_EQ(lumps.leaves[0].contents, kContentsSolid) << "leaf 0 is the shared solid leaf";
    double floorArea = 0;
    for (int model = 0; model < map.ModelCount(); ++model) {
        for (const Polygon& face : map.Faces(model)) {
            ASSERT_EQ(face.points.size(), 4u);
            Vec3 centre{};
            for (const Vec3& p : face.points) {
                centre = {centre.x + p.x / 4, centre.y + p.y / 4, centre.z + p.z / 4};
            }
            const auto at = [&](float by) {
                return Vec3{centre.x + by * face.normal.x, centre.y + by * face.normal.y,
                            centre.z + by * face.normal.z};
            };
            EXPECT_EQ(map.ModelContents(model, at(1), Hull::Point), kContentsEmpty);
            EXPECT_EQ(map.ModelContents(model, at(-1), Hull::Point), kContentsSolid);
            // Clockwise seen from the front: (p2 - p0) x (p1 - p0) points along the normal.
            const Vec3 a{face.points[2].x - face.points[0].x, face.points[2].y - face.points[0].y,
                         face.points[2].z - face.points[0].z};
            const Vec3 b{face.points[1].x - face.points[0].x, face.points[1].y - face.points[0].y,
                         face.points[1].z - face.points[0].z};
            const Vec3 cross{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
            EXPECT_GT(cross.x * face.normal.x + cross.y * face.normal.y + cross.z * face.normal.z,
                      0);
            for (const auto axis : {&Vec3::x, &Vec3::y, &Vec3::z}) {
                const auto [lo, hi] = std::minmax_element(
                    face.points.begin(), face.points.end(),
                    [&](const Vec3& p, const Vec3& q) { return p.*axis < q.*axis; });
                EXPECT_LE(std::ceil((*hi).*axis / 16) - std::floor((*lo).*axis / 16), 16)
                    << "light map extent";
            }
            const std::string_view expected = model == 1          ? "bt_door"
                                              : model == 2        ? "bt_crate"
                                              : IsFloor(face)     ? "bt_floor"
                                              : face.normal.z < 0 ? "bt_ceiling"
                                                                  : "bt_wall";
            EXPECT_EQ(face.texture, expected);
            if (model == 0 && IsFloor(face)) {
                floorArea += std::abs((face.points[2].x - face.points[0].x) *
                                      (face.points[2].y - face.points[0].y));
            }
        }
    }
    // The rooms' floors less the pillar; the step hides floor but its top is floor again.
    EXPECT_DOUBLE_EQ(floorArea, 1000.0 * 600 + 400 * 128 - 120 * 130);

    std::vector<int> marked(lumps.faces.size(), 0);
    for (std::size_t leaf = 1; leaf < lumps.leaves.size(); ++leaf) {
        EXPECT_EQ(lumps.leaves[leaf].contents, kContentsEmpty);
        for (int i = 0; i < lumps.leaves[leaf].markSurfaceCount; ++i) {
            ++marked[lumps
                         .marks[static_cast<std::size_t>(lumps.leaves[leaf].firstMarkSurface + i)]];
        }
    }
    std::vector<int> listed(lumps.faces.size(), 0);
    for (const NodeRecord& node : lumps.nodes) {
        for (int i = 0; i < node.faceCount; ++i) {
            const std::size_t face = node.firstFace + static_cast<std::size_t>(i);
            ++listed[face];
            EXPECT_EQ(lumps.faces[face].plane, node.plane) << "face " << face;
        }
    }
    EXPECT_EQ(std::set<int>(marked.begin(), marked.end()), std::set<int>{1});
    EXPECT_EQ(std::set<int>(listed.begin(), listed.end()), std::set<int>{1});
    // The world's leaves are 1 .. its visible leaf count (the engine's visibility rows); the
    // models' come after them.
    std::set<int> worldLeaves;
    std::vector<int> pending = {lumps.models[0].headNodes[0]};
    while (!pending.empty()) {
        const int node = pending.back();
        pending.pop_back();
        for (const std::int16_t child : lumps.nodes[static_cast<std::size_t>(node)].children) {
            if (child >= 0) {
                pending.push_back(child);
            } else {
                worldLeaves.insert(-1 - child);
            }
        }
    }
    EXPECT_EQ(*worldLeaves.rbegin(), lumps.models[0].visLeaves);
    EXPECT_EQ(worldLeaves.size(), static_cast<std::size_t>(lumps.models[0].visLeaves) + 1);
}

// Layouts the engine could not load are refused with the reason, before any tree is built.
TEST(MapWriter, RefusesWhatTheEngineCannotLoad) {
    MapLayout manyRooms;
    for (int x = 0; x < 21; ++x) {
        for (int y = 0; y < 21; ++y) {
            for (int z = 0; z < 21; ++z) {
                manyRooms.rooms.push_back(
                    {{16 * x, 16 * y, 16 * z}, {16 * x + 8, 16 * y + 8, 16 * z + 8}});
            }
        }
    }
    const struct {
        std::function<void(MapLayout&)> change;
        std::string entities;
        std::string error;
    } cases[] = {
        {[](MapLayout& m) { m.rooms.clear(); }, kEntities, "the map has no room"},
        {[](MapLayout& m) {
             m.rooms.push_back({{0, 0, 0}, {0, 10, 10}});
         },
         kEntities, "the box (0 0 0) - (0 10 10) is empty"},
        {[](MapLayout& m) {
             m.rooms.push_back({{3900, 0, 0}, {4060, 64, 64}});
         },
         kEntities,
         "the box (3900 0 0) - (4060 64 64) lies too near the edge of the engine's world (4096 "
         "units from the centre)"},
        {[](MapLayout& m) { m.models.emplace_back(); }, kEntities, "model *2 has no box"},
        {[](MapLayout& m) { m.models.resize(400, m.models[0]); }, kEntities,
         "the map has 401 models; the engine takes at most 400"},
        {[&](MapLayout& m) { m = manyRooms; }, kEntities,
         "the map would have 9262 leaves; the engine takes at most 8192"},
        {[](MapLayout&) {}, kEntities + '\0', "the entity text holds a zero byte"},
        {[](MapLayout&) {}, std::string(128 * 1024, ' '),
         "the entity text has 131072 bytes; the engine takes at most 131071"},
        {[](MapLayout&) {}, "{}",
         "the entity text is too short for the engine (at least 31 bytes)"},
    };
    for (const auto& c : cases) {
        MapLayout layout = TestRoom();
        c.change(layout);
        std::string error;
        EXPECT_FALSE(WriteMap(layout, c.entities, error).has_value()) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

// Changes one field of a record in a map's bytes.
void Poke(std::string& map, int lump, std::size_t at, std::int64_t value, int width) {
    const Lump entry = DecodeHeader(map).lumps[static_cast<std::size_t>(lump)];
    std::string bytes;
    width == 2 ? PutI16(bytes, static_cast<std::int32_t>(value)) : PutI32(bytes, value);
    map.replace(static_cast<std::size_t>(entry.offset) + at, bytes.size(), bytes);
}

// A map whose records point at records that do not exist is refused with the lump and the
// reason, so no question about it reads outside the file; a tree that loops answers solid.
TEST(MapReader, RefusesBrokenMapsAndSurvivesLoopingTrees) {
    std::string error;
    const std::string good = WriteMap(TestRoom(), kEntities, error).value();
    const struct {
        std::function<void(std::string&)> change;
        std::string error;
    } cases[] = {
        {[](std::string& m) { m.resize(100); }, "too short to be a BSP map"},
        {[](std::string& m) { m[0] = 29; }, "BSP version 29, not 30"},
        {[](std::string& m) {
             const Lump nodes = DecodeHeader(m).lumps[kLumpNodes];
             std::string length;
             PutI32(length, nodes.length - 1);
             m.replace(4 + 8 * kLumpNodes + 4, 4, length);
         },
         "nodes lump: not a whole number of records"},
        {[](std::string& m) { Poke(m, kLumpNodes, 4, 30000, 2); },
         "nodes lump: a node names a child that does not exist"},
        {[](std::string& m) { Poke(m, kLumpNodes, 0, -1, 4); },
         "nodes lump: a node names a plane that does not exist"},
        {[](std::string& m) {
             Poke(m, kLumpSurfEdges, 0, std::numeric_limits<std::int32_t>::min(), 4);
         },
         "surface edges lump: names an edge that does not exist"},
        {[](std::string& m) { Poke(m, kLumpMarkSurfaces, 0, 60000, 2); },
         "mark surfaces lump: names a face that does not exist"},
        {[](std::string& m) { Poke(m, kLumpFaces, 4, 1 << 30, 4); },
         "faces lump: a face names records that do not exist"},
        {[](std::string& m) { Poke(m, kLumpModels, 36, 1 << 20, 4); },
         "models lump: a model names records that do not exist"},
    };
    for (const auto& c : cases) {
        std::string map = good;
        c.change(map);
        EXPECT_FALSE(BspMap::Parse(map, error).has_value()) << c.error;
        EXPECT_EQ(error, c.error);
    }
    // Both children of the root node lead back to it.
    std::string looping = good;
    const std::int32_t root = Lumps(good).models[0].headNodes[0];
    Poke(looping, kLumpNodes, static_cast<std::size_t>(24 * root + 4), root, 2);
    Poke(looping, kLumpNodes, static_cast<std::size_t>(24 * root + 6), root, 2);
    const std::optional<BspMap> map = BspMap::Parse(looping, error);
    ASSERT_TRUE(map) << error;
    EXPECT_EQ(map->PointContents({0, 0, 0}), kContentsSolid);
}

} // namespace
} // namespace ballotine::bsp
