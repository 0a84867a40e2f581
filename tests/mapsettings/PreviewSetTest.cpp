#include "mapsettings/PreviewSet.h"

#include "demo/DemoSprite.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using namespace std::string_literals;

// Where a 128x64 sprite keeps its fields: width and height, palette size, palette, pixels.
constexpr std::size_t kWidthAt = 20;
constexpr std::size_t kPaletteSizeAt = 40;
constexpr std::size_t kPaletteAt = 42;
constexpr std::size_t kPixelsAt = 830;

// A sprite whose pixels all use palette entry `index`, which holds red, green and blue.
std::string Sprite(std::uint8_t index, const std::string& rgb) {
    std::string bytes = demo::MakeMapSprite("any");
    bytes.replace(kPaletteAt + index * 3U, 3, rgb);
    std::fill(bytes.begin() + kPixelsAt, bytes.end(), static_cast<char>(index));
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
        test::WriteFile(path, bytes);
        return LoadPreview(preview, path);
    }
    test::TempDir dir;
    std::string path = dir / "map.spr";
    PreviewSet preview;
};

TEST_F(PreviewSetTest, ConvertsPaletteColoursIntoBothForms) {
    ASSERT_TRUE(Load(Sprite(0, "\xFF\x00\x00"s)));
    EXPECT_EQ(preview.pixels16.front(), 0xF800);
    EXPECT_EQ(preview.pixels32.back(), 0x00FF0000U);

    ASSERT_TRUE(Load(Sprite(255, "\xFF\xFF\xFF"))); // index 255 is drawn like any other
    EXPECT_EQ(preview.pixels16[1000], 0xFFDF) << "bit 5 stays 0";
    EXPECT_EQ(preview.pixels32[1000], 0x00FFFFFFU);

    // Truncated pixels keep what was read and black the rest.
    EXPECT_FALSE(Load(Sprite(0, "\x00\x00\xFF"s).substr(0, kPixelsAt + 300)));
    EXPECT_EQ(preview.pixels32[299], 0x000000FFU);
    EXPECT_EQ(preview.pixels16[299], 0x001F);
    EXPECT_EQ(preview.pixels32[300], 0U);
    EXPECT_EQ(preview.pixels16[kPreviewPixels - 1], 0);
}

TEST_F(PreviewSetTest, UnsuitableFilesGiveBlack) {
    const std::string good = Sprite(0, "\x0A\xC8\x1E");
    std::string swapped = good; // 64 wide, 128 high
    std::swap_ranges(swapped.begin() + kWidthAt, swapped.begin() + kWidthAt + 4,
                     swapped.begin() + kWidthAt + 4);
    std::string narrow = good; // 127 wide, 64 high: each size is checked on its own
    narrow[kWidthAt] = static_cast<char>(127);
    std::string shortPalette = good;
    shortPalette[kPaletteSizeAt] = static_cast<char>(255);
    const std::pair<const char*, std::string> cases[] = {
        {"swapped size", swapped},
        {"width 127", narrow},
        {"palette of 255", shortPalette},
        {"empty file", ""},
        {"short header", good.substr(0, 30)},
        {"short palette", good.substr(0, 500)},
        {"short frame header", good.substr(0, 820)},
    };
    for (const auto& [what, bytes] : cases) {
        ASSERT_TRUE(Load(good));
        EXPECT_FALSE(Load(bytes)) << what;
        EXPECT_TRUE(AllBlack(preview)) << what;
    }
    for (const std::string& unreadable : {dir / "missing.spr", std::string()}) {
        ASSERT_TRUE(Load(good));
        EXPECT_FALSE(LoadPreview(preview, unreadable));
        EXPECT_TRUE(AllBlack(preview)) << unreadable;
    }
}

} // namespace
} // namespace ballotine
