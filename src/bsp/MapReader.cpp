#include "bsp/MapReader.h"

#include "bsp/ByteIo.h"
#include "bsp/Records.h"

#include <fstream>
#include <limits>
#include <system_error>

namespace ballotine::bsp {

namespace {

const char* const kLumpNames[kLumpCount] = {
    "entities", "planes",        "textures", "vertices",      "visibility",
    "nodes",    "texinfo",       "faces",    "lighting",      "clip nodes",
    "leaves",   "mark surfaces", "edges",    "surface edges", "models"};

std::string LumpError(int lump, std::string_view what) {
    return std::string(kLumpNames[lump]) + " lump: " + std::string(what);
}

// The names of the textures lump's entries ("" for an entry without data).
std::optional<std::vector<std::string>> TextureNames(std::string_view lump, std::string& error) {
    std::vector<std::string> names;
    if (lump.empty()) {
        return names;
    }
    if (lump.size() < 4) {
        error = LumpError(kLumpTextures, "too short for its count");
        return std::nullopt;
    }
    const std::int32_t count = ReadI32(lump, 0);
    if (count < 0 || (lump.size() - 4) / 4 < static_cast<std::size_t>(count)) {
        error = LumpError(kLumpTextures, "more entries than it holds");
        return std::nullopt;
    }
    names.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t offset = ReadI32(lump, 4 + 4 * static_cast<std::size_t>(i));
        if (offset < 0 || static_cast<std::size_t>(offset) + kMipTexSize > lump.size()) {
            names.emplace_back();
            continue;
        }
        MipTexRecord head;
        Decode(lump, static_cast<std::size_t>(offset), head);
        const std::string_view name(head.name.data(), head.name.size());
        names.emplace_back(name.substr(0, name.find('\0')));
    }
    return names;
}

bool Within(std::int64_t first, std::int64_t count, std::size_t size) {
    return first >= 0 && count >= 0 && first + count <= static_cast<std::int64_t>(size);
}

} // namespace

std::optional<BspMap> BspMap::Load(const std::filesystem::path& path, std::string& error) {
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        error = "cannot be read";
        return std::nullopt;
    }
    if (size > kLargestFile) {
        error = "is larger than any map this program reads";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)) ||
        in.gcount() != static_cast<std::streamsize>(size)) {
        error = "cannot be read";
        return std::nullopt;
    }
    return Parse(std::move(bytes), error);
}

std::optional<BspMap> BspMap::Parse(std::string bytes, std::string& error) {
    const std::optional<BspHeader> found =
        ReadHeader(bytes, static_cast<std::int64_t>(bytes.size()), error);
    if (!found) {
        return std::nullopt;
    }
    const BspHeader& header = *found;
    BspMap map;
    map.m_bytes = std::move(bytes);
    const std::string_view all = map.m_bytes;
    const auto lump = [&](int index) {
        const Lump& entry = header.lumps[static_cast<std::size_t>(index)];
        return all.substr(static_cast<std::size_t>(entry.offset),
                          static_cast<std::size_t>(entry.length));
    };
    for (int index = 0; index < kLumpCount; ++index) {
        if (lump(index).size() % static_cast<std::size_t>(kRecordSize[index]) != 0) {
            error = LumpError(index, "not a whole number of records");
            return std::nullopt;
        }
    }
    map.m_entities = header.lumps[kLumpEntities];
    auto names = TextureNames(lump(kLumpTextures), error);
    if (!names) {
        return std::nullopt;
    }
    map.m_textureNames = std::move(*names);
    map.m_planes = DecodeAll<PlaneRecord>(lump(kLumpPlanes), kRecordSize[kLumpPlanes]);
    map.m_vertices = DecodeAll<Vertex>(lump(kLumpVertices), kRecordSize[kLumpVertices]);
    map.m_nodes = DecodeAll<NodeRecord>(lump(kLumpNodes), kRecordSize[kLumpNodes]);
    map.m_texInfo = DecodeAll<TexInfoRecord>(lump(kLumpTexInfo), kRecordSize[kLumpTexInfo]);
    map.m_faces = DecodeAll<FaceRecord>(lump(kLumpFaces), kRecordSize[kLumpFaces]);
    map.m_clipNodes = DecodeAll<ClipNodeRecord>(lump(kLumpClipNodes), kRecordSize[kLumpClipNodes]);
    map.m_leaves = DecodeAll<LeafRecord>(lump(kLumpLeaves), kRecordSize[kLumpLeaves]);
    map.m_edges = DecodeAll<EdgeRecord>(lump(kLumpEdges), kRecordSize[kLumpEdges]);
    map.m_models = DecodeAll<ModelRecord>(lump(kLumpModels), kRecordSize[kLumpModels]);
    const std::string_view marks = lump(kLumpMarkSurfaces);
    for (std::size_t at = 0; at < marks.size(); at += 2) {
        map.m_markSurfaces.push_back(ReadU16(marks, at));
    }
    const std::string_view surfEdges = lump(kLumpSurfEdges);
    for (std::size_t at = 0; at < surfEdges.size(); at += 4) {
        map.m_surfEdges.push_back(ReadI32(surfEdges, at));
    }
    if (!map.Check(error)) {
        return std::nullopt;
    }
    return map;
}

// Every index the questions follow must name a record that exists.
bool BspMap::Check(std::string& error) const {
    const auto fail = [&](int lump, std::string_view what) {
        error = LumpError(lump, what);
        return false;
    };
    if (m_models.empty()) {
        return fail(kLumpModels, "has no world model");
    }
    if (m_nodes.empty() || m_leaves.empty()) {
        return fail(m_nodes.empty() ? kLumpNodes : kLumpLeaves, "is empty");
    }
    for (const NodeRecord& node : m_nodes) {
        if (!Within(node.plane, 1, m_planes.size())) {
            return fail(kLumpNodes, "a node names a plane that does not exist");
        }
        for (const std::int16_t child : node.children) {
            const bool exists = child >= 0 ? Within(child, 1, m_nodes.size())
                                           : Within(-1 - child, 1, m_leaves.size());
            if (!exists) {
                return fail(kLumpNodes, "a node names a child that does not exist");
            }
        }
    }
    for (const ClipNodeRecord& node : m_clipNodes) {
        if (!Within(node.plane, 1, m_planes.size())) {
            return fail(kLumpClipNodes, "a clip node names a plane that does not exist");
        }
    }
    for (const LeafRecord& leaf : m_leaves) {
        if (!Within(leaf.firstMarkSurface, leaf.markSurfaceCount, m_markSurfaces.size())) {
            return fail(kLumpLeaves, "a leaf names mark surfaces that do not exist");
        }
    }
    for (const std::uint16_t face : m_markSurfaces) {
        if (face >= m_faces.size()) {
            return fail(kLumpMarkSurfaces, "names a face that does not exist");
        }
    }
    for (const FaceRecord& face : m_faces) {
        if (!Within(face.plane, 1, m_planes.size()) || !Within(face.texInfo, 1, m_texInfo.size()) ||
            !Within(face.firstEdge, face.edgeCount, m_surfEdges.size())) {
            return fail(kLumpFaces, "a face names records that do not exist");
        }
    }
    for (const std::int32_t edge : m_surfEdges) {
        if (edge == std::numeric_limits<std::int32_t>::min() ||
            !Within(edge < 0 ? -edge : edge, 1, m_edges.size())) {
            return fail(kLumpSurfEdges, "names an edge that does not exist");
        }
    }
    for (const EdgeRecord& edge : m_edges) {
        if (edge.vertices[0] >= m_vertices.size() || edge.vertices[1] >= m_vertices.size()) {
            return fail(kLumpEdges, "names a vertex that does not exist");
        }
    }
    for (const ModelRecord& model : m_models) {
        if (!Within(model.headNodes[0], 1, m_nodes.size()) ||
            !Within(model.firstFace, model.faceCount, m_faces.size())) {
            return fail(kLumpModels, "a model names records that do not exist");
        }
    }
    return true;
}

std::string_view BspMap::EntityText() const {
    const std::string_view lump = std::string_view(m_bytes).substr(
        static_cast<std::size_t>(m_entities.offset), static_cast<std::size_t>(m_entities.length));
    return lump.substr(0, lump.find('\0'));
}

Bounds BspMap::ModelBounds(int model) const {
    const ModelRecord& record = m_models.at(static_cast<std::size_t>(model));
    return {{record.mins[0], record.mins[1], record.mins[2]},
            {record.maxs[0], record.maxs[1], record.maxs[2]}};
}

double BspMap::Distance(int plane, Vec3 point) const {
    const PlaneRecord& record = m_planes[static_cast<std::size_t>(plane)];
    return double{record.normal[0]} * point.x + double{record.normal[1]} * point.y +
           double{record.normal[2]} * point.z - record.dist;
}

// Points on a plane belong to its front, as the engine decides. A path longer than the tree
// has nodes goes round in a circle: a broken map, answered as solid.
int BspMap::NodeContents(int head, Vec3 point) const {
    int number = head;
    for (std::size_t steps = 0; steps <= m_nodes.size(); ++steps) {
        if (number < 0) {
            return m_leaves[static_cast<std::size_t>(-1 - number)].contents;
        }
        const NodeRecord& node = m_nodes[static_cast<std::size_t>(number)];
        number = node.children[Distance(node.plane, point) < 0 ? 1 : 0];
    }
    return kContentsSolid;
}

// Clip node children are read as the engine reads them: maps with more than 32767 clip nodes
// store indices above that as unsigned numbers.
int BspMap::ClipChild(std::int16_t stored) const {
    const int index = static_cast<std::uint16_t>(stored);
    return index < static_cast<int>(m_clipNodes.size()) ? index : index - 65536;
}

int BspMap::ClipContents(int head, Vec3 point) const {
    int number = head;
    for (std::size_t steps = 0; steps <= m_clipNodes.size(); ++steps) {
        if (number < 0) {
            return number;
        }
        const ClipNodeRecord& node = m_clipNodes[static_cast<std::size_t>(number)];
        number = ClipChild(node.children[Distance(node.plane, point) < 0 ? 1 : 0]);
    }
    return kContentsSolid;
}

int BspMap::PointContents(Vec3 point, Hull hull) const {
    return ModelContents(0, point, hull);
}

int BspMap::ModelContents(int model, Vec3 point, Hull hull, Vec3 offset) const {
    const ModelRecord& record = m_models.at(static_cast<std::size_t>(model));
    const Vec3 local{point.x - offset.x, point.y - offset.y, point.z - offset.z};
    if (hull == Hull::Point) {
        return NodeContents(record.headNodes[0], local);
    }
    const std::int32_t head = record.headNodes[static_cast<std::size_t>(hull)];
    if (head < 0 || static_cast<std::size_t>(head) >= m_clipNodes.size()) {
        return kContentsEmpty;
    }
    return ClipContents(head, local);
}

std::vector<Polygon> BspMap::Faces(int model) const {
    const ModelRecord& record = m_models.at(static_cast<std::size_t>(model));
    std::vector<Polygon> polygons;
    polygons.reserve(static_cast<std::size_t>(record.faceCount));
    for (std::int32_t i = 0; i < record.faceCount; ++i) {
        const FaceRecord& face = m_faces[static_cast<std::size_t>(record.firstFace + i)];
        Polygon polygon;
        for (std::int16_t e = 0; e < face.edgeCount; ++e) {
            const std::int32_t edge = m_surfEdges[static_cast<std::size_t>(face.firstEdge + e)];
            const EdgeRecord& ends = m_edges[static_cast<std::size_t>(edge < 0 ? -edge : edge)];
            const Vertex& vertex = m_vertices[ends.vertices[edge < 0 ? 1 : 0]];
            polygon.points.push_back({vertex[0], vertex[1], vertex[2]});
        }
        const PlaneRecord& plane = m_planes[static_cast<std::size_t>(face.plane)];
        const float sign = face.side != 0 ? -1.0F : 1.0F;
        polygon.normal = {sign * plane.normal[0], sign * plane.normal[1], sign * plane.normal[2]};
        const std::int32_t texture = m_texInfo[static_cast<std::size_t>(face.texInfo)].texture;
        if (texture >= 0 && static_cast<std::size_t>(texture) < m_textureNames.size()) {
            polygon.texture = m_textureNames[static_cast<std::size_t>(texture)];
        }
        polygons.push_back(std::move(polygon));
    }
    return polygons;
}

bool IsFloor(const Polygon& face) {
    return face.normal.z > 0.7F;
}

} // namespace ballotine::bsp
