#pragma once

#include "bsp/BspFormat.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::bsp {

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

struct Bounds {
    Vec3 mins;
    Vec3 maxs;
};

// One face of a model as the game draws it: its corners in order, the direction it looks
// (out of the solid, into the room it bounds) and its texture's name.
struct Polygon {
    std::vector<Vec3> points;
    Vec3 normal;
    std::string texture;
};

// A BSP version 30 map read whole and checked: every index between its records points at a
// record that exists, so the questions below never read outside the file. Real compiled maps
// are read as they are (lumps in any order, padding, empty lumps sharing offsets).
//
// What a top-down plan of a map needs, in three calls:
//   std::string error;
//   auto map = BspMap::Load("maps/2fort.bsp", error);   // nothing, with error set, if unusable
//   Bounds area = map->ModelBounds(0);                   // the world's extent
//   for (const Polygon& face : map->Faces(0)) { ... }    // the world's faces; IsFloor(face)
//                                                        // picks those players stand on
class BspMap {
public:
    // Files larger than this are refused rather than read into memory.
    static constexpr std::uintmax_t kLargestFile = 256u << 20;

    static std::optional<BspMap> Load(const std::filesystem::path& path, std::string& error);
    static std::optional<BspMap> Parse(std::string bytes, std::string& error);

    // The entity text, up to the zero byte that ends it.
    std::string_view EntityText() const;

    // Model 0 is the world, model N is "*N" in the entity text. The questions below take a
    // model number below ModelCount().
    int ModelCount() const { return static_cast<int>(m_models.size()); }
    Bounds ModelBounds(int model) const;

    // What the world holds at `point` for a body of the hull's size centred there:
    // kContentsEmpty, kContentsSolid or another (negative) contents. A hull the map leaves out
    // answers kContentsEmpty, as the engine treats it.
    int PointContents(Vec3 point, Hull hull = Hull::Point) const;
    // The same for one model moved by `offset` (a door that has opened, ...).
    int ModelContents(int model, Vec3 point, Hull hull, Vec3 offset = {}) const;

    // Every face of the model.
    std::vector<Polygon> Faces(int model = 0) const;

private:
    BspMap() = default;
    bool Check(std::string& error) const;
    int NodeContents(int head, Vec3 point) const;
    int ClipContents(int head, Vec3 point) const;
    int ClipChild(std::int16_t stored) const;
    double Distance(int plane, Vec3 point) const;

    std::string m_bytes;
    Lump m_entities;
    std::vector<PlaneRecord> m_planes;
    std::vector<std::string> m_textureNames;
    std::vector<Vertex> m_vertices;
    std::vector<NodeRecord> m_nodes;
    std::vector<TexInfoRecord> m_texInfo;
    std::vector<FaceRecord> m_faces;
    std::vector<ClipNodeRecord> m_clipNodes;
    std::vector<LeafRecord> m_leaves;
    std::vector<std::uint16_t> m_markSurfaces;
    std::vector<EdgeRecord> m_edges;
    std::vector<std::int32_t> m_surfEdges;
    std::vector<ModelRecord> m_models;
};

// A face players can stand on: it looks upwards (at most about 45 degrees off).
bool IsFloor(const Polygon& face);

} // namespace ballotine::bsp
