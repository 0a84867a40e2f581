#include "mapsettings/PreviewSet.h"

#include "support/TestFiles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

using test::TempDir;
using test::WriteFile;

struct SpriteSpec {
    std::int32_t width = 128;
    std::int32_t height = 64;
    std::uint16_t paletteSize = 256;
    std::array<std::uint8_t, 3> colour0{0, 0, 0};
    std::array<std::uint8_t, 3> colour255{0, 0, 0};
    std::uint8_t pixel = 0;
};

void PutInt32(std::string& out, std::int32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> shift & 0xFF));
    }
}

// A sprite file: 40-byte header, palette, a frame header and pixels all of one index.
std::string SpriteBytes(const SpriteSpec& spec) {
    std::string bytes = "IDSP";
    for (const std::int32_t field : {2, 2, 0, 0, spec.width, spec.height, 1, 0, 0}) {
        PutInt32(bytes, field);
    }
    bytes.push_back(static_cast<char>(spec.paletteSize & 0xFF));
    bytes.push_back(static_cast<char>(spec.paletteSize >> 8));
    for (int i = 0; i < 256; ++i) {
        const auto& colour = i == 0     ? spec.colour0
                             : i == 255 ? spec.colour255
                                        : std::array<std::uint8_t, 3>{7, 7, 7};
        bytes.append(colour.begin(), colour.end());
    }
    for (const std::int32_t field : {0, -64, 32, 128, 64}) {
        PutInt32(bytes, field);
    }
    bytes.append(kPreviewPixels, static_cast<char>(spec.pixel));
    return bytes;
}

bool AllBlack(const PreviewSet& preview) {
    return std::all_of(preview.pixels16.begin(), preview.pixels16.end(),
                       [](auto p) { return p == 0; }) &&
           std::all_of(preview.pixels32.begin(), preview.pixels32.end(),
                       [](auto p) { return p == 0; });
}

class PreviewSetTest : public ::testing::Test {
protected:
    bool Load(const std::string& bytes) {
        WriteFile(path, bytes);
        return LoadPreview(preview, path);
    }
    TempDir dir;
    std::string path = dir / "map.spr";
    PreviewSet preview;
};

TEST_F(PreviewSetTest, ConvertsPaletteColoursIntoBothForms) {
    SpriteSpec red;
    red.colour0 = {255, 0, 0};
    ASSERT_TRUE(Load(SpriteBytes(red)));
    EXPECT_EQ(preview.pixels16.front(), 0xF800);
    EXPECT_EQ(preview.pixels32.back(), 0x00FF0000U);

    SpriteSpec white; // index 255 is drawn like any other
    white.colour255 = {255, 255, 255};
    white.pixel = 255;
    ASSERT_TRUE(Load(SpriteBytes(white)));
    EXPECT_EQ(preview.pixels16[1000], 0xFFDF) << "bit 5 stays 0";
    EXPECT_EQ(preview.pixels32[1000], 0x00FFFFFFU);
}

TEST_F(PreviewSetTest, UnsuitableFilesGiveBlack) {
    SpriteSpec swapped;
    swapped.width = 64;
    swapped.height = 128;
    SpriteSpec shortPalette;
    shortPalette.paletteSize = 255;
    SpriteSpec good;
    good.colour0 = {10, 200, 30};
    const std::string goodBytes = SpriteBytes(good);
    const std::pair<const char*, std::string> cases[] = {
        {"swapped size", SpriteBytes(swapped)},
        {"palette of 255", SpriteBytes(shortPalette)},
        {"empty file", ""},
        {"short header", goodBytes.substr(0, 30)},
        {"short palette", goodBytes.substr(0, 500)},
        {"short frame header", goodBytes.substr(0, 820)},
    };
    for (const auto& [what, bytes] : cases) {
        ASSERT_TRUE(Load(goodBytes));
        EXPECT_FALSE(Load(bytes)) << what;
        EXPECT_TRUE(AllBlack(preview)) << what;
    }
    for (const std::string& unreadable : {dir / "missing.spr", std::string()}) {
        ASSERT_TRUE(Load(goodBytes));
        EXPECT_FALSE(LoadPreview(preview, unreadable));
        EXPECT_TRUE(AllBlack(preview)) << unreadable;
    }
}

TEST_F(PreviewSetTest, TruncatedPixelsKeepWhatWasReadAndBlackTheRest) {
    SpriteSpec blue;
    blue.colour0 = {0, 0, 255};
    const std::string bytes = SpriteBytes(blue);
    const std::size_t pixelsStart = bytes.size() - kPreviewPixels;
    EXPECT_FALSE(Load(bytes.substr(0, pixelsStart + 300)));
    EXPECT_EQ(preview.pixels32[299], 0x000000FFU);
    EXPECT_EQ(preview.pixels16[299], 0x001F);
    EXPECT_EQ(preview.pixels32[300], 0U);
    EXPECT_EQ(preview.pixels16[kPreviewPixels - 1], 0);
}

} // namespace
} // namespace ballotine
