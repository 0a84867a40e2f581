#include "bsp/Textures.h"

#include "bsp/ByteIo.h"
#include "bsp/Records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace ballotine::bsp {

namespace {

constexpr int kRampLength = 128; // two ramps of 128 colours make the palette

struct Rgb {
    int r, g, b;
};

// A texture is drawn as a ramp (0 or 1) and a shade (0 dark .. 127 light) per texel; the
// palette holds both ramps, so averaging shades gives the mip levels without colour search.
struct Texel {
    std::uint8_t ramp = 0;
    std::uint8_t shade = 0;
};

struct Design {
    std::string_view name;
    std::array<Rgb, 4> ramps; // ramp 0 dark, light; ramp 1 dark, light
};

constexpr std::array<Design, kTextureCount> kDesigns = {{
    {"bt_floor", {{{40, 38, 34}, {178, 170, 150}, {20, 20, 20}, {90, 86, 80}}}},
    {"bt_wall", {{{50, 24, 18}, {176, 98, 70}, {40, 40, 40}, {170, 166, 156}}}},
    {"bt_ceiling", {{{22, 26, 34}, {120, 128, 142}, {10, 10, 12}, {60, 62, 70}}}},
    {"bt_door", {{{30, 38, 48}, {150, 168, 186}, {24, 20, 0}, {236, 196, 40}}}},
    {"bt_crate", {{{48, 28, 10}, {196, 142, 78}, {20, 12, 4}, {96, 66, 30}}}},
    {"aaatrigger", {{{60, 30, 0}, {250, 140, 20}, {0, 0, 0}, {60, 60, 60}}}},
}};

// A repeatable grain of noise for texel (x, y), 0 .. 15.
int Grain(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093U ^
                      static_cast<std::uint32_t>(y) * 19349663U ^
                      static_cast<std::uint32_t>(seed) * 83492791U;
    h ^= h >> 13;
    h *= 0x5bd1e995U;
    h ^= h >> 15;
    return static_cast<int>(h & 15U);
}

Texel Shade(int ramp, int shade) {
    return {static_cast<std::uint8_t>(ramp),
            static_cast<std::uint8_t>(std::clamp(shade, 0, kRampLength - 1))};
}

Texel FloorTexel(int x, int y) {
    const bool grout = x % 32 < 2 || y % 32 < 2;
    const bool checker = (x / 32 + y / 32) % 2 == 0;
    return grout ? Shade(1, 40 + Grain(x, y, 1)) : Shade(0, (checker ? 84 : 70) + Grain(x, y, 2));
}

Texel WallTexel(int x, int y) {
    const int row = y / 16;
    const int shifted = x + (row % 2) * 16;
    const bool mortar = y % 16 < 2 || shifted % 32 < 2;
    return mortar ? Shade(1, 70 + Grain(x, y, 3))
                  : Shade(0, 64 + (row * 7 + shifted / 32 * 5) % 16 + Grain(x, y, 4));
}

Texel CeilingTexel(int x, int y) {
    const bool seam = x % 64 < 2 || y % 64 < 2;
    const bool bevel = x % 64 < 4 || y % 64 < 4;
    return seam ? Shade(1, 30) : Shade(0, (bevel ? 96 : 60) + Grain(x, y, 5) / 2);
}

Texel DoorTexel(int x, int y) {
    if (y >= 26 && y < 38) {
        return Shade(((x + y) / 6) % 2, ((x + y) / 6) % 2 == 0 ? 100 : 110);
    }
    const bool rivet = (x % 16 - 8) * (x % 16 - 8) + (y % 16 - 8) * (y % 16 - 8) <= 2;
    return Shade(0, (rivet ? 120 : 72) + Grain(x, y, 6) / 2);
}

Texel CrateTexel(int x, int y) {
    const bool gap = x % 16 == 0;
    const bool brace = std::abs(x - y) < 3 || std::abs(x + y - 63) < 3;
    const int grain = (x * 7 + (y / 3) * 3) % 11;
    return gap ? Shade(1, 20)
               : Shade(brace ? 1 : 0, (brace ? 110 : 60) + grain + Grain(x, y, 7) / 2);
}

Texel TriggerTexel(int x, int y) {
    return Shade(0, ((x + y) / 8) % 2 == 0 ? 120 : 30);
}

Texel DrawTexel(Texture texture, int x, int y) {
    switch (texture) {
    case Texture::Floor:
        return FloorTexel(x, y);
    case Texture::Wall:
        return WallTexel(x, y);
    case Texture::Ceiling:
        return CeilingTexel(x, y);
    case Texture::Door:
        return DoorTexel(x, y);
    case Texture::Crate:
        return CrateTexel(x, y);
    case Texture::Trigger:
        return TriggerTexel(x, y);
    }
    return {};
}

using Level = std::vector<Texel>;

// The next mip level: each texel the mean shade of four, in the ramp most of them use.
Level HalfSize(const Level& level, int size) {
    const int half = size / 2;
    Level out(static_cast<std::size_t>(half * half));
    for (int y = 0; y < half; ++y) {
        for (int x = 0; x < half; ++x) {
            int shades = 0;
            int ramps = 0;
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                const Texel& texel =
                    level[static_cast<std::size_t>((2 * y + dy) * size + 2 * x + dx)];
                shades += texel.shade;
                ramps += texel.ramp;
            }
            out[static_cast<std::size_t>(y * half + x)] = Shade(ramps >= 2 ? 1 : 0, shades / 4);
        }
    }
    return out;
}

std::string EncodeTexture(Texture texture) {
    const Design& design = kDesigns[static_cast<std::size_t>(texture)];
    MipTexRecord head;
    std::copy(design.name.begin(), design.name.end(), head.name.begin());
    head.width = kTextureSize;
    head.height = kTextureSize;
    std::uint32_t offset = kMipTexSize;
    for (int level = 0, size = kTextureSize; level < kMipLevels; ++level, size /= 2) {
        head.offsets[static_cast<std::size_t>(level)] = offset;
        offset += static_cast<std::uint32_t>(size * size);
    }
    std::string out;
    Encode(out, head);
    Level level(static_cast<std::size_t>(kTextureSize * kTextureSize));
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            level[static_cast<std::size_t>(y * kTextureSize + x)] = DrawTexel(texture, x, y);
        }
    }
    for (int index = 0, size = kTextureSize; index < kMipLevels; ++index, size /= 2) {
        for (const Texel& texel : level) {
            out.push_back(static_cast<char>(texel.ramp * kRampLength + texel.shade));
        }
        if (index + 1 < kMipLevels) {
            level = HalfSize(level, size);
        }
    }
    PutU16(out, 2 * kRampLength);
    for (int ramp = 0; ramp < 2; ++ramp) {
        const Rgb dark = design.ramps[static_cast<std::size_t>(2 * ramp)];
        const Rgb light = design.ramps[static_cast<std::size_t>(2 * ramp + 1)];
        for (int shade = 0; shade < kRampLength; ++shade) {
            for (const auto& [from, to] :
                 {std::pair{dark.r, light.r}, {dark.g, light.g}, {dark.b, light.b}}) {
                out.push_back(static_cast<char>(from + (to - from) * shade / (kRampLength - 1)));
            }
        }
    }
    out.resize((out.size() + 3) & ~std::size_t{3}, '\0');
    return out;
}

} // namespace

std::string_view TextureName(Texture texture) {
    return kDesigns[static_cast<std::size_t>(texture)].name;
}

std::string EncodeTextureLump() {
    std::string table;
    std::string data;
    PutU32(table, kTextureCount);
    const std::uint32_t start = 4 + 4 * kTextureCount;
    for (int texture = 0; texture < kTextureCount; ++texture) {
        PutU32(table, start + static_cast<std::uint32_t>(data.size()));
        data += EncodeTexture(static_cast<Texture>(texture));
    }
    return table + data;
}

} // namespace ballotine::bsp
