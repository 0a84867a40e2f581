#pragma once

#include "bsp/LumpTable.h"

#include <array>
#include <cstdint>

namespace ballotine::bsp {

// The lumps of a BSP version 30 map, by index in the header.
enum LumpIndex : int {
    kLumpEntities = 0,
    kLumpPlanes = 1,
    kLumpTextures = 2,
    kLumpVertices = 3,
    kLumpVisibility = 4,
    kLumpNodes = 5,
    kLumpTexInfo = 6,
    kLumpFaces = 7,
    kLumpLighting = 8,
    kLumpClipNodes = 9,
    kLumpLeaves = 10,
    kLumpMarkSurfaces = 11,
    kLumpEdges = 12,
    kLumpSurfEdges = 13,
    kLumpModels = 14,
};

// Bytes per record of the lumps that are arrays; 1 for the byte lumps (entities, textures,
// visibility, lighting).
inline constexpr std::array<int, kLumpCount> kRecordSize = {1, 20, 1,  12, 1, 24, 40, 20,
                                                            1, 8,  28, 2,  4, 4,  64};

// What a point of space holds. Leaves and clip nodes store these negative numbers.
inline constexpr int kContentsEmpty = -1;
inline constexpr int kContentsSolid = -2;

// The collision hulls: hull 0 is a point (the drawing tree of nodes and leaves); hulls 1 to 3
// are clip node trees for a player's box, its centre at the point asked about.
enum class Hull : int { Point = 0, Standing = 1, Large = 2, Crouching = 3 };
inline constexpr int kHullCount = 4;

struct HullSize {
    std::array<int, 3> mins;
    std::array<int, 3> maxs;
};
inline constexpr std::array<HullSize, kHullCount> kHullSizes = {{
    {{0, 0, 0}, {0, 0, 0}},
    {{-16, -16, -36}, {16, 16, 36}},
    {{-32, -32, -32}, {32, 32, 32}},
    {{-16, -16, -18}, {16, 16, 18}},
}};

// The engine's limits (the stricter of the classic engine and the open one used to check our
// maps), checked before a map is written.
struct EngineLimits {
    static constexpr int kModels = 400;
    static constexpr int kPlanes = 32767;
    static constexpr int kNodes = 32767;
    static constexpr int kClipNodes = 32767;
    static constexpr int kLeaves = 8192;
    static constexpr int kVertices = 65535;
    static constexpr int kFaces = 65535;
    static constexpr int kMarkSurfaces = 65535;
    static constexpr int kTexInfo = 8192;
    static constexpr int kEdges = 256000;
    static constexpr int kSurfEdges = 512000;
    static constexpr int kTextures = 512;
    static constexpr int kLightingBytes = 0x200000;
    static constexpr int kEntityBytes = 128 * 1024;
    static constexpr int kMinEntityBytes = 32; // the open engine refuses a shorter entity lump
    // Coordinates the engine's bounds (16-bit) and physics handle.
    static constexpr int kWorldExtent = 4096;
    // A face's texture extent in units: light maps hold at most 17 samples, 16 units apart.
    static constexpr int kFaceExtent = 256;
    static constexpr int kLightSampleSpacing = 16;
};

// Records of the array lumps, as the file holds them.
struct PlaneRecord {
    std::array<float, 3> normal{};
    float dist = 0;
    std::int32_t type = 0; // 0..2: along the x, y or z axis
};

struct NodeRecord {
    std::int32_t plane = 0;
    std::array<std::int16_t, 2> children{}; // >= 0 a node, < 0 leaf number -1-child
    std::array<std::int16_t, 3> mins{};
    std::array<std::int16_t, 3> maxs{};
    std::uint16_t firstFace = 0;
    std::uint16_t faceCount = 0;
};

struct TexInfoRecord {
    std::array<std::array<float, 4>, 2> vecs{}; // s and t: axis and offset
    std::int32_t texture = 0;
    std::int32_t flags = 0;
};

struct FaceRecord {
    std::int16_t plane = 0;
    std::int16_t side = 0; // 1: the face looks against the plane's normal
    std::int32_t firstEdge = 0;
    std::int16_t edgeCount = 0;
    std::int16_t texInfo = 0;
    std::array<std::uint8_t, 4> styles{0, 255, 255, 255};
    std::int32_t lightOffset = -1;
};

struct ClipNodeRecord {
    std::int32_t plane = 0;
    std::array<std::int16_t, 2> children{}; // >= 0 a clip node, < 0 contents
};

struct LeafRecord {
    std::int32_t contents = kContentsSolid;
    std::int32_t visOffset = -1;
    std::array<std::int16_t, 3> mins{};
    std::array<std::int16_t, 3> maxs{};
    std::uint16_t firstMarkSurface = 0;
    std::uint16_t markSurfaceCount = 0;
    std::array<std::uint8_t, 4> ambient{};
};

struct EdgeRecord {
    std::array<std::uint16_t, 2> vertices{};
};

struct ModelRecord {
    std::array<float, 3> mins{};
    std::array<float, 3> maxs{};
    std::array<float, 3> origin{};
    std::array<std::int32_t, kHullCount> headNodes{};
    std::int32_t visLeaves = 0;
    std::int32_t firstFace = 0;
    std::int32_t faceCount = 0;
};

using Vertex = std::array<float, 3>;

// The head of one texture of the textures lump (after its count and offsets). Its four mip
// levels follow at `offsets`, counted from the head's start; offsets of 0 mean the pixels are
// in a texture file (wad), not in the map.
inline constexpr int kMipTexSize = 40;
inline constexpr int kMipLevels = 4;
struct MipTexRecord {
    std::array<char, 16> name{}; // ends with a zero byte unless all 16 are used
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::array<std::uint32_t, kMipLevels> offsets{};
};

} // namespace ballotine::bsp
