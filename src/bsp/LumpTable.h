#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine::bsp {

inline constexpr std::int32_t kBspVersion = 30;
inline constexpr int kLumpCount = 15;
inline constexpr int kEntityLump = 0;
inline constexpr std::int64_t kHeaderSize = 4 + kLumpCount * 8;
// Offsets and lengths are stored as int32.
inline constexpr std::int64_t kLargestMap = 0x7fffffff;

struct Lump {
    std::int64_t offset = 0;
    std::int64_t length = 0;

    std::int64_t End() const { return offset + length; }
    friend bool operator==(const Lump&, const Lump&) = default;
};

using LumpTable = std::array<Lump, kLumpCount>;

struct BspHeader {
    std::int32_t version = kBspVersion;
    LumpTable lumps{};
};

// `bytes` must hold at least kHeaderSize bytes.
BspHeader DecodeHeader(std::string_view bytes);
std::string EncodeHeader(const BspHeader& header);

// The header of a map of `fileSize` bytes whose first bytes are `start` (at least the header's
// size when the file is), or nothing, with `error` set, when the file is too short, of another
// BSP version or its lump table does not fit the file: what every reader of a map checks first.
std::optional<BspHeader> ReadHeader(std::string_view start, std::int64_t fileSize,
                                    std::string& error);

// Why the table cannot describe a map of `fileSize` bytes, or nothing when it can. Empty
// lumps never overlap anything: compilers let them share an offset with the next lump.
std::optional<std::string> FindLumpTableError(const LumpTable& lumps, std::int64_t fileSize);

// Where each lump goes when the entity lump becomes `entityLength` bytes long. Lumps keep the
// order they had in the file, so the entities stay where the game's tools put them; each one
// starts on a 4-byte boundary right after the one before.
LumpTable PlanLayout(const LumpTable& lumps, std::int64_t entityLength);

// The lump indices in the order their bytes lie in the file (empty lumps included).
std::array<int, kLumpCount> FileOrder(const LumpTable& lumps);

// The size of a file laid out as `lumps`, padding included.
std::int64_t LaidOutSize(const LumpTable& lumps);

inline constexpr std::int64_t AlignedTo4(std::int64_t value) {
    return (value + 3) & ~std::int64_t{3};
}

} // namespace ballotine::bsp
