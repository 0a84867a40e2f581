#include "mapsettings/PreviewSet.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <vector>

namespace ballotine {

namespace {

// Byte offsets of the sprite file's fields.
constexpr std::size_t kWidthOffset = 20;
constexpr std::size_t kHeightOffset = 24;
constexpr std::size_t kPaletteSizeOffset = 40;
constexpr std::size_t kPaletteOffset = 42;
constexpr std::size_t kPaletteEntries = 256;
constexpr std::size_t kFrameHeaderOffset = kPaletteOffset + kPaletteEntries * 3; // 810
constexpr std::size_t kFrameHeaderRead = 16;                   // type, origin x, origin y, width
constexpr std::size_t kPixelsOffset = kFrameHeaderOffset + 20; // 830

std::int32_t Int32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[offset]) |
                                static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
                                static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
                                static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

std::uint16_t UInt16At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// The start of the file, up to the end of the first frame's pixels.
std::vector<unsigned char> ReadSpriteStart(const std::filesystem::path& path) {
    std::vector<unsigned char> bytes;
    auto in = path.empty() ? std::nullopt : OpenForReading(path);
    if (!in) {
        return bytes;
    }
    bytes.resize(kPixelsOffset + kPreviewPixels);
    in->read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in->gcount()));
    return bytes;
}

bool HeaderFits(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= kFrameHeaderOffset + kFrameHeaderRead &&
           Int32At(bytes, kWidthOffset) == kPreviewWidth &&
           Int32At(bytes, kHeightOffset) == kPreviewHeight &&
           UInt16At(bytes, kPaletteSizeOffset) == kPaletteEntries;
}

} // namespace

std::uint16_t ToPixel16(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 3) << 6 | (blue >> 3));
}

std::uint32_t ToPixel32(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 | blue;
}

void PreparePreview(PreviewSet& preview, std::int32_t screenDepth) {
    preview.screenDepth = screenDepth;
}

bool LoadPreview(PreviewSet& preview, const std::filesystem::path& spritePath) {
    preview.pixels16.fill(0);
    preview.pixels32.fill(0);
    const std::vector<unsigned char> bytes = ReadSpriteStart(spritePath);
    if (!HeaderFits(bytes)) {
        return false;
    }
    // Two colour tables per file, so each pixel costs one look-up per form.
    std::array<std::uint16_t, kPaletteEntries> colours16{};
    std::array<std::uint32_t, kPaletteEntries> colours32{};
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        const unsigned char* rgb = &bytes[kPaletteOffset + i * 3];
        colours16[i] = ToPixel16(rgb[0], rgb[1], rgb[2]);
        colours32[i] = ToPixel32(rgb[0], rgb[1], rgb[2]);
    }
    const std::size_t pixelsRead =
        bytes.size() > kPixelsOffset ? std::min(bytes.size() - kPixelsOffset, kPreviewPixels) : 0;
    for (std::size_t i = 0; i < pixelsRead; ++i) {
        const unsigned char index = bytes[kPixelsOffset + i];
        preview.pixels16[i] = colours16[index];
        preview.pixels32[i] = colours32[index];
    }
    return pixelsRead == kPreviewPixels;
}

} // namespace ballotine
