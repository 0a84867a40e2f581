// The map writer: a layout of boxes becomes a BSP version 30 map the engine loads.
//
// - Geometry: the world's and each brush model's solid space is cut into cells along every
//   box coordinate (CellGrid) and split by axis planes into blocks that are wholly solid or
//   wholly open (BoxTree). That tree is the drawing tree (nodes and leaves, all solid leaves
//   being the shared leaf 0); faces are the sides of open leaves that touch solid cells,
//   filed under the node whose plane made that side and in the leaf's mark surfaces.
// - Collision: for each player hull the solid boxes are grown by the hull's half size (a box
//   centre is blocked exactly where the grown boxes are) and cut into a clip node tree the
//   same way.
// - Light: no light compiler runs here, so every face gets a uniform light map by the way it
//   looks (floors brightest, ceilings darkest). Real light data keeps players and models lit
//   from the floor as on any compiled map, where a map without any would be drawn flat and
//   fully bright. Faces of one brightness share one block of samples; the first face has a
//   block of its own so the engine's guess of three bytes per sample comes out right.
// - Visibility: none (an empty lump, every leaf's offset -1): the engine then treats every
//   leaf as seeing every other, which costs nothing in maps of a few rooms.
// - Limits: every count the engine bounds, coordinates within its world and face extents
//   within its light map size (faces are cut on a 256-unit grid) are checked before any byte
//   is returned.
#include "bsp/BoxTree.h"
#include "bsp/ByteIo.h"
#include "bsp/MapLayout.h"
#include "bsp/Records.h"
#include "bsp/Textures.h"

#include <algorithm>
#include <limits>
#include <map>

namespace ballotine::bsp {

namespace {

constexpr int kShell = 16;      // the world's solid border around its rooms
constexpr int kModelMargin = 8; // open space kept around a brush model inside its trees
constexpr int kMaxSamples = EngineLimits::kFaceExtent / EngineLimits::kLightSampleSpacing + 1;
constexpr int kLightBlock = kMaxSamples * kMaxSamples * 3;

// A rectangle of a face on the plane `axis` = `coordinate`, spanning [lo, hi) on the two
// other axes (u = axis + 1, v = axis + 2, cyclically).
struct FacePiece {
    int axis = 0;
    int coordinate = 0;
    bool facesHigh = true; // its normal points towards +axis
    std::array<int, 2> lo{};
    std::array<int, 2> hi{};
    int node = 0; // index in its tree
    int leaf = 0;
    Texture texture = Texture::Wall;
};

// Brightness of a face by the way it looks: up, down, along x, along y.
constexpr std::array<std::uint8_t, 4> kLightLevels = {180, 110, 150, 135};

int LightLevel(const FacePiece& face) {
    if (face.axis == 2) {
        return face.facesHigh ? 0 : 1;
    }
    return face.axis == 0 ? 2 : 3;
}

Texture WorldTexture(int axis, bool facesHigh) {
    if (axis != 2) {
        return Texture::Wall;
    }
    return facesHigh ? Texture::Floor : Texture::Ceiling;
}

Box Grown(const Box& box, int by) {
    Box grown = box;
    for (int axis = 0; axis < 3; ++axis) {
        grown.min[axis] -= by;
        grown.max[axis] += by;
    }
    return grown;
}

Box BoundsOf(const std::vector<Box>& boxes) {
    Box bounds = boxes.front();
    for (const Box& box : boxes) {
        for (int axis = 0; axis < 3; ++axis) {
            bounds.min[axis] = std::min(bounds.min[axis], box.min[axis]);
            bounds.max[axis] = std::max(bounds.max[axis], box.max[axis]);
        }
    }
    return bounds;
}

// The space a box blocks for the centre of a body of the hull's size.
Box ExpandedForHull(const Box& box, int hull) {
    const HullSize& size = kHullSizes[static_cast<std::size_t>(hull)];
    Box grown;
    for (int axis = 0; axis < 3; ++axis) {
        grown.min[axis] = box.min[axis] - size.maxs[static_cast<std::size_t>(axis)];
        grown.max[axis] = box.max[axis] - size.mins[static_cast<std::size_t>(axis)];
    }
    return grown;
}

std::int16_t ToShort(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

void Corners(const Box& box, std::array<std::int16_t, 3>& mins, std::array<std::int16_t, 3>& maxs) {
    for (int axis = 0; axis < 3; ++axis) {
        mins[static_cast<std::size_t>(axis)] = ToShort(box.min[axis]);
        maxs[static_cast<std::size_t>(axis)] = ToShort(box.max[axis]);
    }
}

// Greedy rectangles covering the set cells of a mask of `width` x `height`.
std::vector<std::array<int, 4>> Rectangles(std::vector<std::uint8_t>& mask, int width, int height) {
    std::vector<std::array<int, 4>> rectangles;
    const auto at = [&](int u, int v) -> std::uint8_t& {
        return mask[static_cast<std::size_t>(v * width + u)];
    };
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) {
            if (at(u, v) == 0) {
                continue;
            }
            int u1 = u + 1;
            while (u1 < width && at(u1, v) != 0) {
                ++u1;
            }
            int v1 = v + 1;
            const auto rowSet = [&](int row) {
                for (int x = u; x < u1; ++x) {
                    if (at(x, row) == 0) {
                        return false;
                    }
                }
                return true;
            };
            while (v1 < height && rowSet(v1)) {
                ++v1;
            }
            for (int y = v; y < v1; ++y) {
                for (int x = u; x < u1; ++x) {
                    at(x, y) = 0;
                }
            }
            rectangles.push_back({u, v, u1, v1});
        }
    }
    return rectangles;
}

int FloorDiv(int value, int step) {
    return value >= 0 ? value / step : -((-value + step - 1) / step);
}

// Cuts a piece along a world grid of the face extent, so no piece outgrows a light map.
void CutToExtent(const FacePiece& piece, std::vector<FacePiece>& out) {
    constexpr int step = EngineLimits::kFaceExtent;
    for (int u = piece.lo[0]; u < piece.hi[0];) {
        const int uEnd = std::min(piece.hi[0], (FloorDiv(u, step) + 1) * step);
        for (int v = piece.lo[1]; v < piece.hi[1];) {
            const int vEnd = std::min(piece.hi[1], (FloorDiv(v, step) + 1) * step);
            FacePiece part = piece;
            part.lo = {u, v};
            part.hi = {uEnd, vEnd};
            out.push_back(part);
            v = vEnd;
        }
        u = uEnd;
    }
}

// The faces of a drawing tree: the sides of its open leaves where solid cells lie beyond.
std::vector<FacePiece> TreeFaces(const BoxTree& tree, const CellGrid& grid,
                                 std::optional<Texture> modelTexture) {
    std::vector<FacePiece> faces;
    for (std::size_t leafIndex = 0; leafIndex < tree.leaves.size(); ++leafIndex) {
        const TreeLeaf& leaf = tree.leaves[leafIndex];
        if (leaf.solid) {
            continue;
        }
        for (int side = 0; side < 6; ++side) {
            const int node = leaf.sideNodes[static_cast<std::size_t>(side)];
            if (node < 0) {
                continue; // the grid's edge: open beyond for models, never reached in worlds
            }
            const int axis = side / 2;
            const bool high = side % 2 == 1;
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            const int beyond = high ? leaf.range.hi[axis] : leaf.range.lo[axis] - 1;
            const int width = leaf.range.hi[u] - leaf.range.lo[u];
            const int height = leaf.range.hi[v] - leaf.range.lo[v];
            std::vector<std::uint8_t> mask(static_cast<std::size_t>(width * height));
            for (int j = 0; j < height; ++j) {
                for (int i = 0; i < width; ++i) {
                    std::array<int, 3> cell{};
                    cell[axis] = beyond;
                    cell[u] = leaf.range.lo[u] + i;
                    cell[v] = leaf.range.lo[v] + j;
                    mask[static_cast<std::size_t>(j * width + i)] =
                        grid.IsSolid(cell[0], cell[1], cell[2]) ? 1 : 0;
                }
            }
            for (const auto& [i0, j0, i1, j1] : Rectangles(mask, width, height)) {
                FacePiece piece;
                piece.axis = axis;
                piece.coordinate =
                    grid.Coordinate(axis, high ? leaf.range.hi[axis] : leaf.range.lo[axis]);
                piece.facesHigh = !high; // it looks into this leaf
                piece.lo = {grid.Coordinate(u, leaf.range.lo[u] + i0),
                            grid.Coordinate(v, leaf.range.lo[v] + j0)};
                piece.hi = {grid.Coordinate(u, leaf.range.lo[u] + i1),
                            grid.Coordinate(v, leaf.range.lo[v] + j1)};
                piece.node = node;
                piece.leaf = static_cast<int>(leafIndex);
                piece.texture = modelTexture.value_or(WorldTexture(axis, piece.facesHigh));
                CutToExtent(piece, faces);
            }
        }
    }
    return faces;
}

struct ModelShape {
    Box region;        // where its trees are exact; outside, `outsideSolid` holds
    bool outsideSolid; // the world: solid beyond its shell; models: open around them
    std::vector<Paint> paints;
    std::optional<Texture> texture; // a model's own texture; the world's depends on the face
};

class Assembler {
public:
    bool AddModel(const ModelShape& shape, std::string& error) {
        const CellGrid grid(shape.region, shape.outsideSolid, shape.paints);
        const BoxTree tree = BuildBoxTree(grid);
        ModelRecord model;
        const Box bounds = shape.outsideSolid ? shape.region : BoundsOf(grid.SolidBoxes());
        for (int axis = 0; axis < 3; ++axis) {
            model.mins[static_cast<std::size_t>(axis)] = static_cast<float>(bounds.min[axis]);
            model.maxs[static_cast<std::size_t>(axis)] = static_cast<float>(bounds.max[axis]);
        }
        const int leavesBefore = static_cast<int>(m_leaves.size());
        model.firstFace = static_cast<std::int32_t>(m_faces.size());
        model.headNodes[0] = EmitDrawTree(tree, grid, TreeFaces(tree, grid, shape.texture), error);
        if (model.headNodes[0] < 0 || !CheckLimits(error)) {
            return false; // before the clip trees, which would only grow further
        }
        model.faceCount = static_cast<std::int32_t>(m_faces.size()) - model.firstFace;
        model.visLeaves = shape.outsideSolid ? static_cast<int>(m_leaves.size()) - leavesBefore : 0;
        const std::vector<Box> solids = grid.SolidBoxes();
        for (int hull = 1; hull < kHullCount; ++hull) {
            std::vector<Paint> grown;
            for (const Box& box : solids) {
                grown.push_back({ExpandedForHull(box, hull), true});
            }
            Box region = shape.region;
            if (!shape.outsideSolid) {
                region = ExpandedForHull(shape.region, hull);
            }
            const CellGrid hullGrid(region, false, grown);
            model.headNodes[static_cast<std::size_t>(hull)] = EmitClipTree(BuildBoxTree(hullGrid));
        }
        m_models.push_back(model);
        return true;
    }

    std::optional<std::string> Finish(std::string_view entityText, std::string& error) {
        if (!CheckLimits(error)) {
            return std::nullopt;
        }
        std::array<std::string, kLumpCount> lumps;
        lumps[kLumpEntities] = std::string(entityText) + '\0';
        lumps[kLumpPlanes] = EncodeAll(m_planes);
        lumps[kLumpTextures] = EncodeTextureLump();
        lumps[kLumpVertices] = EncodeAll(m_vertices);
        lumps[kLumpNodes] = EncodeAll(m_nodes);
        lumps[kLumpTexInfo] = EncodeAll(m_texInfo);
        lumps[kLumpLighting] = Lighting();
        lumps[kLumpFaces] = EncodeAll(m_faces);
        lumps[kLumpClipNodes] = EncodeAll(m_clipNodes);
        lumps[kLumpLeaves] = EncodeAll(m_leaves);
        for (const std::uint16_t face : m_markSurfaces) {
            PutU16(lumps[kLumpMarkSurfaces], face);
        }
        lumps[kLumpEdges] = EncodeAll(m_edges);
        for (const std::int32_t edge : m_surfEdges) {
            PutI32(lumps[kLumpSurfEdges], edge);
        }
        lumps[kLumpModels] = EncodeAll(m_models);
        BspHeader header;
        std::string body;
        std::int64_t offset = kHeaderSize;
        for (int index = 0; index < kLumpCount; ++index) {
            const std::string& lump = lumps[static_cast<std::size_t>(index)];
            header.lumps[static_cast<std::size_t>(index)] = {
                offset, static_cast<std::int64_t>(lump.size())};
            body += lump;
            body.resize(
                static_cast<std::size_t>(
                    AlignedTo4(offset + static_cast<std::int64_t>(lump.size())) - kHeaderSize),
                '\0');
            offset = kHeaderSize + static_cast<std::int64_t>(body.size());
        }
        return EncodeHeader(header) + body;
    }

private:
    // The drawing tree's nodes and leaves, its faces filed under their nodes and leaves.
    // Returns the root's node index, or -1 with `error` set.
    int EmitDrawTree(const BoxTree& tree, const CellGrid& grid, std::vector<FacePiece> faces,
                     std::string& error) {
        if (tree.nodes.empty()) {
            error = "a model has no faces";
            return -1;
        }
        const int nodeBase = static_cast<int>(m_nodes.size());
        std::vector<int> leafNumbers(tree.leaves.size(), 0);
        for (std::size_t i = 0; i < tree.leaves.size(); ++i) {
            if (tree.leaves[i].solid) {
                continue;
            }
            leafNumbers[i] = static_cast<int>(m_leaves.size());
            LeafRecord leaf;
            leaf.contents = kContentsEmpty;
            Corners(grid.BoxOf(tree.leaves[i].range), leaf.mins, leaf.maxs);
            m_leaves.push_back(leaf);
        }
        const auto child = [&](int local) -> std::int16_t {
            return static_cast<std::int16_t>(
                local >= 0 ? nodeBase + local
                           : -1 - leafNumbers[static_cast<std::size_t>(-1 - local)]);
        };
        std::stable_sort(faces.begin(), faces.end(),
                         [](const FacePiece& a, const FacePiece& b) { return a.node < b.node; });
        std::vector<std::vector<std::uint16_t>> leafFaces(tree.leaves.size());
        std::size_t next = 0;
        for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
            const TreeNode& node = tree.nodes[i];
            NodeRecord record;
            record.plane = Plane(node.axis, node.coordinate);
            record.children = {child(node.front), child(node.back)};
            Corners(grid.BoxOf(node.range), record.mins, record.maxs);
            record.firstFace = static_cast<std::uint16_t>(m_faces.size());
            for (; next < faces.size() && faces[next].node == static_cast<int>(i); ++next) {
                leafFaces[static_cast<std::size_t>(faces[next].leaf)].push_back(
                    static_cast<std::uint16_t>(m_faces.size()));
                if (!EmitFace(faces[next], error)) {
                    return -1;
                }
            }
            record.faceCount = static_cast<std::uint16_t>(m_faces.size() - record.firstFace);
            m_nodes.push_back(record);
        }
        for (std::size_t i = 0; i < tree.leaves.size(); ++i) {
            if (tree.leaves[i].solid) {
                continue;
            }
            LeafRecord& leaf = m_leaves[static_cast<std::size_t>(leafNumbers[i])];
            leaf.firstMarkSurface = static_cast<std::uint16_t>(m_markSurfaces.size());
            leaf.markSurfaceCount = static_cast<std::uint16_t>(leafFaces[i].size());
            m_markSurfaces.insert(m_markSurfaces.end(), leafFaces[i].begin(), leafFaces[i].end());
        }
        return nodeBase + tree.root;
    }

    // Returns the root's clip node index. A tree that is one leaf gets a node whose two
    // children are that leaf: a model's head must be a node.
    int EmitClipTree(const BoxTree& tree) {
        const int base = static_cast<int>(m_clipNodes.size());
        const auto child = [&](int local) -> std::int16_t {
            if (local >= 0) {
                return static_cast<std::int16_t>(base + local);
            }
            return static_cast<std::int16_t>(tree.leaves[static_cast<std::size_t>(-1 - local)].solid
                                                 ? kContentsSolid
                                                 : kContentsEmpty);
        };
        if (tree.nodes.empty()) {
            m_clipNodes.push_back({Plane(0, 0), {child(tree.root), child(tree.root)}});
            return base;
        }
        for (const TreeNode& node : tree.nodes) {
            m_clipNodes.push_back(
                {Plane(node.axis, node.coordinate), {child(node.front), child(node.back)}});
        }
        return base + tree.root;
    }

    int Plane(int axis, int coordinate) {
        const auto [entry, added] =
            m_planeIndex.try_emplace({axis, coordinate}, static_cast<int>(m_planes.size()));
        if (added) {
            PlaneRecord plane;
            plane.normal[static_cast<std::size_t>(axis)] = 1;
            plane.dist = static_cast<float>(coordinate);
            plane.type = axis;
            m_planes.push_back(plane);
        }
        return entry->second;
    }

    int VertexIndex(const std::array<int, 3>& point) {
        const auto [entry, added] =
            m_vertexIndex.try_emplace(point, static_cast<int>(m_vertices.size()));
        if (added) {
            m_vertices.push_back({static_cast<float>(point[0]), static_cast<float>(point[1]),
                                  static_cast<float>(point[2])});
        }
        return entry->second;
    }

    // The surface edge from a to b: a shared edge is stored once and walked backwards by the
    // face on its other side. Edge 0 stays unused (its sign could not be told).
    std::int32_t SurfaceEdge(int a, int b) {
        if (m_edges.empty()) {
            m_edges.push_back({});
        }
        const std::pair key{std::min(a, b), std::max(a, b)};
        const auto [entry, added] = m_edgeIndex.try_emplace(key, static_cast<int>(m_edges.size()));
        if (added) {
            m_edges.push_back({{static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b)}});
            return entry->second;
        }
        return m_edges[static_cast<std::size_t>(entry->second)].vertices[0] == a ? entry->second
                                                                                 : -entry->second;
    }

    int TexInfo(Texture texture, int axis) {
        const auto [entry, added] = m_texInfoIndex.try_emplace({static_cast<int>(texture), axis},
                                                               static_cast<int>(m_texInfo.size()));
        if (added) {
            // Texture axes: floors and ceilings map x and -y, walls their horizontal axis and -z.
            TexInfoRecord info;
            info.vecs[0][axis == 0 ? 1 : 0] = 1;
            info.vecs[1][axis == 2 ? 1 : 2] = -1;
            info.texture = static_cast<std::int32_t>(texture);
            m_texInfo.push_back(info);
        }
        return entry->second;
    }

    bool EmitFace(const FacePiece& piece, std::string& error) {
        const int u = (piece.axis + 1) % 3;
        const int v = (piece.axis + 2) % 3;
        std::array<std::array<int, 3>, 4> corners{};
        const std::array<std::pair<int, int>, 4> around = {{{piece.lo[0], piece.lo[1]},
                                                            {piece.hi[0], piece.lo[1]},
                                                            {piece.hi[0], piece.hi[1]},
                                                            {piece.lo[0], piece.hi[1]}}};
        for (std::size_t i = 0; i < 4; ++i) {
            // Clockwise as seen from the side the face looks to: the order the engine draws.
            const auto& [cu, cv] = around[piece.facesHigh ? (4 - i) % 4 : i];
            corners[i][static_cast<std::size_t>(piece.axis)] = piece.coordinate;
            corners[i][static_cast<std::size_t>(u)] = cu;
            corners[i][static_cast<std::size_t>(v)] = cv;
        }
        FaceRecord face;
        face.plane = static_cast<std::int16_t>(Plane(piece.axis, piece.coordinate));
        face.side = piece.facesHigh ? 0 : 1;
        face.firstEdge = static_cast<std::int32_t>(m_surfEdges.size());
        face.edgeCount = 4;
        face.texInfo = static_cast<std::int16_t>(TexInfo(piece.texture, piece.axis));
        for (std::size_t i = 0; i < 4; ++i) {
            m_surfEdges.push_back(
                SurfaceEdge(VertexIndex(corners[i]), VertexIndex(corners[(i + 1) % 4])));
        }
        const TexInfoRecord& info = m_texInfo[static_cast<std::size_t>(face.texInfo)];
        std::array<int, 2> samples{};
        for (std::size_t axis = 0; axis < 2; ++axis) {
            int lo = std::numeric_limits<int>::max();
            int hi = std::numeric_limits<int>::min();
            for (const std::array<int, 3>& corner : corners) {
                const int value = static_cast<int>(info.vecs[axis][0]) * corner[0] +
                                  static_cast<int>(info.vecs[axis][1]) * corner[1] +
                                  static_cast<int>(info.vecs[axis][2]) * corner[2];
                lo = std::min(lo, value);
                hi = std::max(hi, value);
            }
            constexpr int step = EngineLimits::kLightSampleSpacing;
            samples[axis] = -FloorDiv(-hi, step) - FloorDiv(lo, step) + 1;
        }
        if (samples[0] > kMaxSamples || samples[1] > kMaxSamples) {
            error = "a face of " + std::to_string(piece.hi[0] - piece.lo[0]) + " x " +
                    std::to_string(piece.hi[1] - piece.lo[1]) +
                    " units exceeds the engine's light map size";
            return false;
        }
        m_faceSamples.push_back(samples[0] * samples[1]);
        m_faceLevels.push_back(LightLevel(piece));
        m_faces.push_back(face);
        return true;
    }

    // The light lump: face 0's own block, then one block per brightness level shared by the
    // other faces of that level.
    std::string Lighting() {
        if (m_faces.empty()) {
            return {};
        }
        const int firstSize = 3 * m_faceSamples.front();
        std::string light(
            static_cast<std::size_t>(firstSize),
            static_cast<char>(kLightLevels[static_cast<std::size_t>(m_faceLevels.front())]));
        for (const std::uint8_t level : kLightLevels) {
            light.append(kLightBlock, static_cast<char>(level));
        }
        m_faces.front().lightOffset = 0;
        for (std::size_t i = 1; i < m_faces.size(); ++i) {
            m_faces[i].lightOffset = firstSize + m_faceLevels[i] * kLightBlock;
        }
        return light;
    }

    bool CheckLimits(std::string& error) const {
        const std::pair<const char*, std::pair<std::size_t, int>> counts[] = {
            {"models", {m_models.size(), EngineLimits::kModels}},
            {"planes", {m_planes.size(), EngineLimits::kPlanes}},
            {"nodes", {m_nodes.size(), EngineLimits::kNodes}},
            {"clip nodes", {m_clipNodes.size(), EngineLimits::kClipNodes}},
            {"leaves", {m_leaves.size(), EngineLimits::kLeaves}},
            {"vertices", {m_vertices.size(), EngineLimits::kVertices}},
            {"faces", {m_faces.size(), EngineLimits::kFaces}},
            {"mark surfaces", {m_markSurfaces.size(), EngineLimits::kMarkSurfaces}},
            {"texture infos", {m_texInfo.size(), EngineLimits::kTexInfo}},
            {"edges", {m_edges.size(), EngineLimits::kEdges}},
            {"surface edges", {m_surfEdges.size(), EngineLimits::kSurfEdges}},
        };
        for (const auto& [what, count] : counts) {
            if (count.first > static_cast<std::size_t>(count.second)) {
                error = "the map would have " + std::to_string(count.first) + " " + what +
                        "; the engine takes at most " + std::to_string(count.second);
                return false;
            }
        }
        return true;
    }

    std::vector<PlaneRecord> m_planes;
    std::map<std::pair<int, int>, int> m_planeIndex;
    std::vector<Vertex> m_vertices;
    std::map<std::array<int, 3>, int> m_vertexIndex;
    std::vector<EdgeRecord> m_edges;
    std::map<std::pair<int, int>, int> m_edgeIndex;
    std::vector<std::int32_t> m_surfEdges;
    std::vector<TexInfoRecord> m_texInfo;
    std::map<std::pair<int, int>, int> m_texInfoIndex;
    std::vector<FaceRecord> m_faces;
    std::vector<int> m_faceSamples;
    std::vector<int> m_faceLevels;
    std::vector<NodeRecord> m_nodes;
    std::vector<LeafRecord> m_leaves{LeafRecord{}}; // leaf 0: the shared solid leaf
    std::vector<std::uint16_t> m_markSurfaces;
    std::vector<ClipNodeRecord> m_clipNodes;
    std::vector<ModelRecord> m_models;
};

bool IsProperBox(const Box& box) {
    for (int axis = 0; axis < 3; ++axis) {
        if (box.min[axis] >= box.max[axis]) {
            return false;
        }
    }
    return true;
}

bool WithinWorld(const Box& box) {
    for (int axis = 0; axis < 3; ++axis) {
        if (box.min[axis] < -EngineLimits::kWorldExtent ||
            box.max[axis] > EngineLimits::kWorldExtent) {
            return false;
        }
    }
    return true;
}

std::string DescribeBox(const Box& box) {
    return "(" + std::to_string(box.min[0]) + " " + std::to_string(box.min[1]) + " " +
           std::to_string(box.min[2]) + ") - (" + std::to_string(box.max[0]) + " " +
           std::to_string(box.max[1]) + " " + std::to_string(box.max[2]) + ")";
}

// Why the layout cannot become a map, before any tree is built.
std::optional<std::string> FindLayoutError(const MapLayout& layout, std::string_view entityText) {
    if (layout.rooms.empty()) {
        return "the map has no room";
    }
    if (layout.models.size() + 1 > static_cast<std::size_t>(EngineLimits::kModels)) {
        return "the map has " + std::to_string(layout.models.size() + 1) +
               " models; the engine takes at most " + std::to_string(EngineLimits::kModels);
    }
    std::vector<const Box*> boxes;
    for (const std::vector<Box>* list : {&layout.rooms, &layout.blocks}) {
        for (const Box& box : *list) {
            boxes.push_back(&box);
        }
    }
    for (std::size_t i = 0; i < layout.models.size(); ++i) {
        if (layout.models[i].boxes.empty()) {
            return "model *" + std::to_string(i + 1) + " has no box";
        }
        for (const Box& box : layout.models[i].boxes) {
            boxes.push_back(&box);
        }
    }
    for (const Box* box : boxes) {
        if (!IsProperBox(*box)) {
            return "the box " + DescribeBox(*box) + " is empty";
        }
        if (!WithinWorld(Grown(*box, kShell + kHullSizes[2].maxs[0]))) {
            return "the box " + DescribeBox(*box) +
                   " lies too near the edge of the engine's world (" +
                   std::to_string(EngineLimits::kWorldExtent) + " units from the centre)";
        }
    }
    if (entityText.find('\0') != std::string_view::npos) {
        return "the entity text holds a zero byte";
    }
    if (entityText.size() + 1 > static_cast<std::size_t>(EngineLimits::kEntityBytes)) {
        return "the entity text has " + std::to_string(entityText.size()) +
               " bytes; the engine takes at most " + std::to_string(EngineLimits::kEntityBytes - 1);
    }
    if (entityText.size() + 1 < static_cast<std::size_t>(EngineLimits::kMinEntityBytes)) {
        return "the entity text is too short for the engine (at least " +
               std::to_string(EngineLimits::kMinEntityBytes - 1) + " bytes)";
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> WriteMap(const MapLayout& layout, std::string_view entityText,
                                    std::string& error) {
    if (auto layoutError = FindLayoutError(layout, entityText)) {
        error = std::move(*layoutError);
        return std::nullopt;
    }
    Assembler assembler;
    ModelShape world{Grown(BoundsOf(layout.rooms), kShell), true, {}, std::nullopt};
    for (const Box& room : layout.rooms) {
        world.paints.push_back({room, false});
    }
    for (const Box& block : layout.blocks) {
        world.paints.push_back({block, true});
    }
    if (!assembler.AddModel(world, error)) {
        return std::nullopt;
    }
    for (const BrushModel& model : layout.models) {
        ModelShape shape{Grown(BoundsOf(model.boxes), kModelMargin), false, {}, model.texture};
        for (const Box& box : model.boxes) {
            shape.paints.push_back({box, true});
        }
        if (!assembler.AddModel(shape, error)) {
            return std::nullopt;
        }
    }
    return assembler.Finish(entityText, error);
}

} // namespace ballotine::bsp
