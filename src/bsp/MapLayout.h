#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::bsp {

// An axis-aligned box in map units, `min` < `max` on every axis.
struct Box {
    std::array<int, 3> min{};
    std::array<int, 3> max{};

    friend bool operator==(const Box&, const Box&) = default;
};

// The textures the writer draws and embeds in every map it writes. The world's faces take
// Floor, Wall or Ceiling by the way they look; a brush model's faces all take its own.
enum class Texture : int { Floor, Wall, Ceiling, Door, Crate, Trigger };
inline constexpr int kTextureCount = 6;

// A brush entity's shape: "*N" in the entity text is models[N - 1] of the layout. Its boxes
// are in world coordinates (the entity itself has no origin).
struct BrushModel {
    std::vector<Box> boxes;
    Texture texture = Texture::Door;
};

// A map made of boxes. The world is solid everywhere except the rooms (open boxes: rooms,
// corridors, doorways), and solid again in the blocks (pillars, steps, walls inside rooms).
struct MapLayout {
    std::vector<Box> rooms;
    std::vector<Box> blocks;
    std::vector<BrushModel> models;
};

// The BSP version 30 map of the layout with `entityText` as its entity lump, or nothing, with
// `error` naming the rule or engine limit the layout breaks. See MapWriter.cpp for what the
// map holds.
std::optional<std::string> WriteMap(const MapLayout& layout, std::string_view entityText,
                                    std::string& error);

} // namespace ballotine::bsp
