#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

namespace ballotine {

inline constexpr int kPreviewWidth = 128;
inline constexpr int kPreviewHeight = 64;
inline constexpr std::size_t kPreviewPixels = 128 * 64;

// The preview of one window that shows vote sprites: the sprite's picture converted into the
// two pixel forms a screen may take, and the depth of the screen that decides which is shown.
// Each window has its own, so loading into one never changes another.
struct PreviewSet {
    std::int32_t screenDepth = 32;
    std::array<std::uint16_t, kPreviewPixels> pixels16{}; // rows top to bottom, 5-5-5 in 565 slots
    std::array<std::uint32_t, kPreviewPixels> pixels32{}; // rows top to bottom, 0x00RRGGBB

    // Whether the screen takes the 16-bit form (depth exactly 16); every other depth the 32-bit.
    bool UsesPixels16() const { return screenDepth == 16; }
};

// Records the depth of the screen the preview is shown on.
void PreparePreview(PreviewSet& preview, std::int32_t screenDepth);

// Reads the first frame of a 128x64 vote sprite with a 256-entry palette into both pixel
// forms. A file that cannot be opened, a short header or palette, another size, another
// palette size or a short frame header gives an all-black picture. A file that ends inside
// the pixels keeps the pixels read and black for the rest. True only when the whole picture
// was read.
bool LoadPreview(PreviewSet& preview, const std::filesystem::path& spritePath);

// A palette colour in the two forms: red's, green's and blue's top five bits in bits 15-11,
// 10-6 and 4-0 (bit 5 stays 0); and 0x00RRGGBB.
std::uint16_t ToPixel16(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
std::uint32_t ToPixel32(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

} // namespace ballotine
