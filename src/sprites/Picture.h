#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ballotine {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A vote picture before it becomes a file: 128x64 palette indices, rows top to bottom, and
// the 256 colours they name. Fixed size, so a picture costs no allocation.
class Picture {
public:
    static constexpr int kWidth = 128;
    static constexpr int kHeight = 64;
    static constexpr std::size_t kPixels = std::size_t{kWidth} * kHeight;
    using Palette = std::array<Rgb, 256>;

    const Palette& Colours() const { return m_palette; }
    void SetColour(std::uint8_t index, Rgb colour) { m_palette[index] = colour; }
    // `count` colours from index `first`, blending evenly from `from` to `to`.
    void SetRamp(std::uint8_t first, int count, Rgb from, Rgb to);

    const std::array<std::uint8_t, kPixels>& Pixels() const { return m_pixels; }
    std::uint8_t At(int x, int y) const { return m_pixels[Offset(x, y)]; }
    // Points outside the picture are ignored, so drawing code needs no clipping of its own.
    void Set(int x, int y, std::uint8_t index) {
        if (Inside(x, y)) {
            m_pixels[Offset(x, y)] = index;
        }
    }
    void Fill(std::uint8_t index) { m_pixels.fill(index); }
    // The rectangle of `width` x `height` pixels from (left, top), cut to the picture.
    void FillRect(int left, int top, int width, int height, std::uint8_t index);
    // A one-pixel outline of that rectangle.
    void OutlineRect(int left, int top, int width, int height, std::uint8_t index);

    static bool Inside(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }

private:
    static std::size_t Offset(int x, int y) { return static_cast<std::size_t>(y * kWidth + x); }

    Palette m_palette{};
    std::array<std::uint8_t, kPixels> m_pixels{};
};

} // namespace ballotine
