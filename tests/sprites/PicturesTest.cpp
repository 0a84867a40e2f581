#include "mapsettings/PreviewSet.h"
#include "sprites/Font.h"
#include "sprites/SpriteFile.h"
#include "sprites/TextBlock.h"
#include "sprites/VotePictures.h"
#include "support/TestFiles.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace ballotine {
namespace {

using namespace vote_picture;

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

PreviewSet ReadBack(const test::TempDir& dir, const Picture& picture) {
    test::WriteFile(dir.Path() / "map.spr", EncodeSprite(picture));
    PreviewSet preview;
    EXPECT_TRUE(LoadPreview(preview, dir.Path() / "map.spr")) << "the program's reader takes it";
    return preview;
}

// Columns of the card where the ink of two pictures read back differs (their colours differ
// with their names; the ink is the same).
std::set<int> InkDiffersIn(const PreviewSet& a, const PreviewSet& b, std::uint32_t ink) {
    std::set<int> columns;
    for (int y = kCard.top; y < kCard.top + kCard.height; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * Picture::kWidth + x);
            if ((a.pixels32[i] == ink) != (b.pixels32[i] == ink)) {
                columns.insert(x);
            }
        }
    }
    return columns;
}

const MapPlan kRooms = {
    {{{{0, 0}, {512, 0}, {512, 512}, {0, 512}}, 0}, {{{512, 192}, {1536, 192}, {1536, 320}}, 64}},
    {{{0, 0}, {512, 0}}}};

TEST(SpriteFile, AVotePictureReadsBackWithTheFieldsTheGameNeedsAndTheNameOnItsCard) {
    const test::TempDir dir;
    const std::string bytes = EncodeSprite(*ComposePlanPicture("2fort", kRooms));
    ASSERT_EQ(bytes.size(), 830u + Picture::kPixels);
    EXPECT_EQ(bytes.substr(0, 4), "IDSP");
    const std::array<std::pair<std::size_t, std::int32_t>, 10> fields = {{
        {4, 2},    // version
        {8, 3},    // oriented: lies flat on the wall instead of turning to the viewer
        {12, 0},   // texture format: solid colours
        {20, 128}, // width
        {24, 64},  // height
        {28, 1},   // frames
        {810, 0},  // a single frame
        {814, -64},
        {818, 32}, // origin: centred
        {822, 128},
    }};
    for (const auto& [offset, value] : fields) {
        EXPECT_EQ(Int32At(bytes, offset), value) << "field at " << offset;
    }
    EXPECT_NEAR(std::bit_cast<float>(Int32At(bytes, 16)), std::hypot(64.0, 32.0), 0.01)
        << "bounding radius: the half diagonal";

    const Picture picture = *ComposePlanPicture("2fort", kRooms);
    const Rgb ink = picture.Colours()[kInk];
    const PreviewSet fort = ReadBack(dir, picture);
    const PreviewSet fork = ReadBack(dir, *ComposePlanPicture("2FORK", kRooms));
    const std::set<int> columns = InkDiffersIn(fort, fork, ToPixel32(ink.r, ink.g, ink.b));
    ASSERT_FALSE(columns.empty()) << "the name is drawn";
    // Five large glyphs centred on the card: only the last one's columns differ.
    EXPECT_GT(*columns.begin(), Picture::kWidth / 2) << "2FOR is drawn the same in both";
    EXPECT_LT(*columns.rbegin() - *columns.begin(), 12) << "within one large glyph";
}

TEST(Font, EveryCharacterHasAGlyphOfItsOwnAndOthersShowTheFallbackMark) {
    const std::string known = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.+()";
    std::set<GlyphRows> seen;
    for (const char c : known + kFallbackGlyph + kEllipsisGlyph) {
        EXPECT_TRUE(seen.insert(GlyphFor(c)).second) << "a glyph drawn twice, at '" << c << "'";
        EXPECT_NE(GlyphFor(c), GlyphRows{}) << c;
    }
    EXPECT_EQ(ToGlyphText("2Fort_b(1)"), "2FORT_B(1)");
    const std::string fallback(1, kFallbackGlyph);
    const std::array<std::pair<std::string, std::string>, 4> others = {{
        {"caf\xC3\xA9", "CAF" + fallback}, // one mark per character, not per byte
        {"a!b", "A" + fallback + "B"},
        {std::string("x\x1Ey\x1F", 4), "X" + fallback + "Y" + fallback}, // never a mark itself
        {"\xFF\x80", fallback + fallback},
    }};
    for (const auto& [text, expected] : others) {
        EXPECT_EQ(ToGlyphText(text), expected) << text;
    }
}

struct FitCase {
    std::string name;
    std::vector<std::string> lines;
    int scale;
};

TEST(TextBlock, NamesTakeTheLargestStyleThatFitsAndLongOnesAreShortenedVisibly) {
    const std::array<TextStyle, 2> card = {{{2, 1}, {1, 2}}};
    const std::array<FitCase, 5> cases = {{
        {"2fort", {"2FORT"}, 2},
        {"avanti_b10", {"AVANTI_B10"}, 2},
        {"openfire_lowgrens", {"OPENFIRE_LOWGRENS"}, 1},
        {"a_really_long_custom_map_name_b5", {"A_REALLY_LONG_", "CUSTOM_MAP_NAME_B5"}, 1},
        {"abcdefghijklmnopqrstuvwxyz", {"ABCDEFGHIJKLM", "NOPQRSTUVWXYZ"}, 1}, // no good break
    }};
    for (const FitCase& c : cases) {
        const TextBlock block = FitText(ToGlyphText(c.name), 123, 17, card);
        EXPECT_EQ(block.lines, c.lines) << c.name;
        EXPECT_EQ(block.scale, c.scale) << c.name;
        EXPECT_FALSE(block.shortened) << c.name;
    }
    const std::string longName = "the_longest_map_name_anyone_ever_gave_a_map_version_b17";
    const TextBlock block = FitText(ToGlyphText(longName), 123, 17, card);
    EXPECT_TRUE(block.shortened);
    ASSERT_EQ(block.lines.size(), 2u);
    EXPECT_LE(block.Width(), 123);
    EXPECT_LE(block.Height(), 17);
    const std::string shown = block.lines[0] + block.lines[1];
    EXPECT_EQ(shown.size(), 40u) << "the card's room, filled";
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kEllipsisGlyph), 1);
    EXPECT_EQ(shown.substr(0, 8), "THE_LONG");
    EXPECT_EQ(shown.substr(shown.size() - 8), "SION_B17") << "the version stays readable";
}

// The palette entries only a plan uses.
bool IsPlanPixel(std::uint8_t index) {
    return index == kWall || (index >= kFirstFloor && index < kFirstFloor + kFloorShades);
}

struct PlanExtent {
    int left = Picture::kWidth, top = Picture::kHeight, right = -1, bottom = -1;
};

PlanExtent PlanPixels(const Picture& picture) {
    PlanExtent extent;
    for (int y = 0; y < Picture::kHeight; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            if (IsPlanPixel(picture.At(x, y))) {
                extent = {std::min(extent.left, x), std::min(extent.top, y),
                          std::max(extent.right, x), std::max(extent.bottom, y)};
            }
        }
    }
    return extent;
}

MapPlan Box(double width, double depth) {
    return {{{{{0, 0}, {width, 0}, {width, depth}, {0, depth}}, 0}}, {}};
}

TEST(PlanDrawing, APlanOfAnySizeFillsItsBoxAndNeverLeavesIt) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    MapPlan damaged = Box(4096, 4096);
    damaged.floors.push_back({{{kNaN, 0}, {1e300, 1e300}, {5, 5}}, 0});
    damaged.floors.push_back({{{0, 0}, {1, 1}, {0, 1}}, std::numeric_limits<double>::infinity()});
    damaged.walls.push_back({{0, 0}, {-1e9, 1e9}});
    const std::array<std::pair<const char*, MapPlan>, 6> plans = {{
        {"tiny", Box(1, 1)},
        {"wide", Box(60000, 100)},
        {"tall", Box(64, 30000)},
        {"far from the origin", {{{{{-30000, 20000}, {-29000, 20000}, {-29000, 21000}}, 5}}, {}}},
        {"one wall", {{}, {{{10, 10}, {10, 500}}}}},
        {"damaged points left out", damaged},
    }};
    for (const auto& [what, plan] : plans) {
        const std::optional<Picture> picture = ComposePlanPicture("map", plan);
        ASSERT_TRUE(picture) << what;
        const PlanExtent extent = PlanPixels(*picture);
        EXPECT_GE(extent.left, kPlan.left) << what;
        EXPECT_GE(extent.top, kPlan.top) << what;
        EXPECT_LT(extent.right, kPlan.left + kPlan.width) << what;
        EXPECT_LT(extent.bottom, kPlan.top + kPlan.height) << what;
        const bool fillsWidth =
            extent.left == kPlan.left && extent.right == kPlan.left + kPlan.width - 1;
        const bool fillsHeight =
            extent.top == kPlan.top && extent.bottom == kPlan.top + kPlan.height - 1;
        EXPECT_TRUE(fillsWidth || fillsHeight) << what << ": scaled to fit";
    }
    EXPECT_FALSE(ComposePlanPicture("map", {{{{{kNaN, kNaN}}, 0}}, {}})) << "nothing to draw";
    EXPECT_FALSE(ComposePlanPicture("map", MapPlan{}));
}

TEST(PlanDrawing, NorthIsUpAndHigherGroundIsLighterAndCoversLowerGround) {
    // A low yard in the south, a high terrace in the north, and a gallery above the yard.
    const MapPlan plan = {{{{{0, 0}, {100, 0}, {100, 50}, {0, 50}}, 0},
                           {{{0, 50}, {100, 50}, {100, 100}, {0, 100}}, 200},
                           {{{40, 0}, {60, 0}, {60, 50}, {40, 50}}, 100}},
                          {}};
    const Picture picture = *ComposePlanPicture("map", plan);
    const int middle = kPlan.left + kPlan.width / 2;
    const std::uint8_t north = picture.At(middle - 10, kPlan.top + 2);
    const std::uint8_t south = picture.At(middle - 10, kPlan.top + kPlan.height - 3);
    const std::uint8_t gallery = picture.At(middle, kPlan.top + kPlan.height - 3);
    EXPECT_EQ(north, kFirstFloor + kFloorShades - 1);
    EXPECT_EQ(south, kFirstFloor);
    EXPECT_GT(gallery, south);
    EXPECT_LT(gallery, north);
}

TEST(PlanFromFaces, FloorsAndWallsAreTakenCeilingsAndBrokenFacesLeftOut) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<PlanVertex> square = {{0, 0, 16}, {64, 0, 16}, {64, 64, 16}, {0, 64, 16}};
    const std::vector<PlanVertex> upright = {
        {0, 0, 0}, {10, 0, 0}, {30, 0, 0}, {30, 0, 99}, {0, 0, 99}};
    const std::vector<PlanFace> faces = {
        {square, {0, 0, 1}},      // floor
        {square, {0, 0, -1}},     // ceiling
        {square, {0, 0.6, 0.8}},  // walkable slope: a floor
        {square, {0, 0.9, 0.44}}, // too steep to walk, too flat for a wall
        {upright, {0, -1, 0}},    // wall
        {square, {0, 0, 0}},      // no normal
        {{{0, 0, 0}, {1, 0, 0}}, {0, 0, 1}},
        {{{0, 0, 0}, {kNaN, 0, 0}, {1, 1, 0}}, {0, 0, 1}},
    };
    const MapPlan plan = PlanFromFaces(faces);
    ASSERT_EQ(plan.floors.size(), 2u);
    EXPECT_DOUBLE_EQ(plan.floors[0].height, 16);
    EXPECT_EQ(plan.floors[0].outline.size(), 4u);
    ASSERT_EQ(plan.walls.size(), 1u);
    EXPECT_DOUBLE_EQ(std::abs(plan.walls[0].to.x - plan.walls[0].from.x), 30) << "its full width";
}

} // namespace
} // namespace ballotine
