#include "sprites/VotePictures.h"

#include "sprites/Font.h"
#include "sprites/TextBlock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace ballotine {

namespace {

using namespace vote_picture;

// The inside of the frame, where a title card sets the name.
constexpr PlanBox kTitleText{3, 3, 122, 58};

// Large letters on one line; else small ones on two lines (the card's height).
constexpr std::array<TextStyle, 2> kCardStyles = {{{2, 1}, {1, 2}}};
// A title card has room for up to three lines of large letters, or five small ones.
constexpr std::array<TextStyle, 2> kTitleStyles = {{{2, 3}, {1, 5}}};

// A colour from hue (degrees), saturation and value (0-1).
Rgb FromHsv(double hue, double saturation, double value) {
    const auto channel = [&](double offset) {
        const double k = std::fmod(offset + hue / 60.0, 6.0);
        const double level = value - value * saturation * std::max(0.0, std::min({k, 4 - k, 1.0}));
        return static_cast<std::uint8_t>(std::lround(level * 255));
    };
    return {channel(5), channel(3), channel(1)};
}

// A hue of the name's own; map names differ only in case name the same map, so they share it.
double NameHue(std::string_view name) {
    std::uint32_t hash = 2166136261U; // FNV-1a: the same on every run and machine
    for (const char c : name) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        hash = (hash ^ static_cast<unsigned char>(lower)) * 16777619U;
    }
    return static_cast<double>(hash % 360);
}

// Every colour of a map picture. The ink is near white and every background it lies on is
// dark, so names stay readable whatever the hue.
Picture PaintedFor(double hue) {
    Picture picture;
    picture.SetColour(kFrame, FromHsv(hue, 0.5, 0.15));
    picture.SetColour(kPlanBackground, FromHsv(hue, 0.5, 0.12));
    picture.SetColour(kCardColour, FromHsv(hue, 0.7, 0.32));
    picture.SetColour(kCardEdge, FromHsv(hue, 0.4, 0.75));
    picture.SetColour(kInk, {250, 250, 240});
    picture.SetColour(kShadow, {0, 0, 0});
    picture.SetColour(kWall, FromHsv(hue, 0.15, 1.0));
    const double floorHue = std::fmod(hue + 150, 360);
    picture.SetRamp(kFirstFloor, kFloorShades, FromHsv(floorHue, 0.55, 0.35),
                    FromHsv(floorHue, 0.35, 0.85));
    picture.SetRamp(kFirstBackdrop, kBackdropShades, FromHsv(hue, 0.75, 0.18),
                    FromHsv(hue, 0.65, 0.42));
    return picture;
}

void DrawName(Picture& picture, std::string_view name, const PlanBox& box,
              std::span<const TextStyle> styles) {
    const TextBlock block = FitText(ToGlyphText(name), box.width, box.height, styles);
    DrawTextBlock(picture, block, box.left, box.top, box.width, box.height, kInk, kShadow);
}

// A diagonal sweep of the backdrop's shades over the whole picture.
void FillBackdrop(Picture& picture) {
    constexpr int kSpan = Picture::kWidth + Picture::kHeight - 2;
    for (int y = 0; y < Picture::kHeight; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            const int shade = (x + (Picture::kHeight - 1 - y)) * (kBackdropShades - 1) / kSpan;
            picture.Set(x, y, static_cast<std::uint8_t>(kFirstBackdrop + shade));
        }
    }
}

} // namespace

std::optional<Picture> ComposePlanPicture(std::string_view mapName, const MapPlan& plan) {
    Picture picture = PaintedFor(NameHue(mapName));
    picture.FillRect(1, 1, Picture::kWidth - 2, kCard.top - 2, kPlanBackground);
    if (!DrawPlan(picture, plan, kPlan, {kFirstFloor, kFloorShades, kWall})) {
        return std::nullopt;
    }
    picture.FillRect(1, kCard.top - 1, Picture::kWidth - 2, 1, kCardEdge);
    picture.FillRect(kCard.left, kCard.top, kCard.width, kCard.height, kCardColour);
    const PlanBox text{kCard.left + 1, kCard.top + 1, kCard.width - 2, kCard.height - 2};
    DrawName(picture, mapName, text, kCardStyles);
    picture.OutlineRect(0, 0, Picture::kWidth, Picture::kHeight, kFrame);
    return picture;
}

Picture ComposeTitleCard(std::string_view mapName) {
    Picture picture = PaintedFor(NameHue(mapName));
    FillBackdrop(picture);
    picture.OutlineRect(0, 0, Picture::kWidth, Picture::kHeight, kFrame);
    picture.OutlineRect(1, 1, Picture::kWidth - 2, Picture::kHeight - 2, kCardEdge);
    DrawName(picture, mapName, kTitleText, kTitleStyles);
    return picture;
}

Picture ComposeVoteSign() {
    constexpr double kSignalRed = 5;
    Picture picture = PaintedFor(kSignalRed);
    FillBackdrop(picture);
    picture.OutlineRect(0, 0, Picture::kWidth, Picture::kHeight, kFrame);
    picture.OutlineRect(1, 1, Picture::kWidth - 2, Picture::kHeight - 2, kCardEdge);
    const TextBlock vote{{ToGlyphText("vote")}, 2, false};
    const TextBlock next{{ToGlyphText("next map")}, 1, false};
    DrawTextBlock(picture, vote, 3, 6, 122, 30, kInk, kShadow);
    DrawTextBlock(picture, next, 3, 38, 122, 18, kInk, kShadow);
    return picture;
}

Picture ComposeBlankSlot() {
    Picture picture;
    picture.SetColour(kFrame, {60, 60, 60});
    picture.SetColour(kPlanBackground, {25, 25, 25});
    picture.Fill(kPlanBackground);
    picture.OutlineRect(0, 0, Picture::kWidth, Picture::kHeight, kFrame);
    return picture;
}

} // namespace ballotine
