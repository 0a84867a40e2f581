#include "demo/DemoSprite.h"

#include "demo/DemoBytes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace ballotine::demo {

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 64;

struct Rgb {
    std::uint8_t r, g, b;
};

// Palette layout shared by every picture.
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kSkyFirst = 1;     // 1..63: sky, dark at the top
constexpr std::uint8_t kGroundFirst = 64; // 64..127: ground, light at the horizon
constexpr std::uint8_t kAccent = 128;     // the sun
constexpr std::uint8_t kFrame = 129;
constexpr std::uint8_t kShade = 130; // a darker ground for the far hills
constexpr std::uint8_t kWhite = 255;
constexpr int kRamp = 63;

class Picture {
public:
    Picture() : m_palette{}, m_pixels(static_cast<std::size_t>(kWidth * kHeight), kBlack) {
        m_palette[kWhite] = {255, 255, 255};
    }

    void SetColour(std::uint8_t index, Rgb colour) { m_palette[index] = colour; }
    void Ramp(std::uint8_t first, Rgb from, Rgb to) {
        for (int i = 0; i < kRamp; ++i) {
            m_palette[static_cast<std::size_t>(first + i)] = Mix(from, to, i, kRamp - 1);
        }
    }
    void Set(int x, int y, std::uint8_t index) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) {
            m_pixels[static_cast<std::size_t>(y * kWidth + x)] = index;
        }
    }
    void Frame(std::uint8_t index) {
        for (int x = 0; x < kWidth; ++x) {
            Set(x, 0, index);
            Set(x, kHeight - 1, index);
        }
        for (int y = 0; y < kHeight; ++y) {
            Set(0, y, index);
            Set(kWidth - 1, y, index);
        }
    }
    void Fill(std::uint8_t index) { std::fill(m_pixels.begin(), m_pixels.end(), index); }
    void Disc(int cx, int cy, int radius, std::uint8_t index) {
        for (int y = cy - radius; y <= cy + radius; ++y) {
            for (int x = cx - radius; x <= cx + radius; ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) {
                    Set(x, y, index);
                }
            }
        }
    }
    void Text(std::string_view text, int top, std::uint8_t ink, std::uint8_t shadow);

    // The sprite file: header, palette, one frame.
    std::string Encode() const;

private:
    static Rgb Mix(Rgb a, Rgb b, int step, int steps) {
        const auto blend = [&](std::uint8_t x, std::uint8_t y) {
            return static_cast<std::uint8_t>(x + (y - x) * step / steps);
        };
        return {blend(a.r, b.r), blend(a.g, b.g), blend(a.b, b.b)};
    }
    void Glyph(char c, int left, int top, int scale, std::uint8_t index);

    std::array<Rgb, 256> m_palette;
    std::vector<std::uint8_t> m_pixels;
};

// A 5x7 font for names: rows top to bottom, bit 4 the leftmost column.
using GlyphRows = std::array<std::uint8_t, 7>;

GlyphRows GlyphFor(char c) {
    static constexpr std::array<GlyphRows, 26> kLetters = {{
        {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
        {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},
        {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
        {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
        {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
        {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
        {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
        {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
        {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
        {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
        {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
        {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
        {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
    }};
    static constexpr std::array<GlyphRows, 10> kDigits = {{
        {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
        {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
        {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
        {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
        {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
        {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
        {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
        {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
        {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
        {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    }};
    if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'Z') {
        return kLetters[static_cast<std::size_t>(c - 'A')];
    }
    if (c >= '0' && c <= '9') {
        return kDigits[static_cast<std::size_t>(c - '0')];
    }
    if (c == '_') {
        return {0, 0, 0, 0, 0, 0, 0x1F};
    }
    if (c == '-') {
        return {0, 0, 0, 0x1F, 0, 0, 0};
    }
    return {};
}

void Picture::Glyph(char c, int left, int top, int scale, std::uint8_t index) {
    const GlyphRows rows = GlyphFor(c);
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            if ((rows[static_cast<std::size_t>(row)] >> (4 - column) & 1) == 0) {
                continue;
            }
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    Set(left + column * scale + dx, top + row * scale + dy, index);
                }
            }
        }
    }
}

void Picture::Text(std::string_view text, int top, std::uint8_t ink, std::uint8_t shadow) {
    const int length = static_cast<int>(text.size());
    const int scale = length * 12 <= kWidth - 8 ? 2 : 1;
    const int advance = 6 * scale;
    const int left = (kWidth - (length * advance - scale)) / 2;
    for (int i = 0; i < length; ++i) {
        Glyph(text[static_cast<std::size_t>(i)], left + i * advance + 1, top + 1, scale, shadow);
    }
    for (int i = 0; i < length; ++i) {
        Glyph(text[static_cast<std::size_t>(i)], left + i * advance, top, scale, ink);
    }
}

std::string Picture::Encode() const {
    std::string out = "IDSP";
    PutInt32(out, 2);          // version
    PutInt32(out, 2);          // type: oriented in the world, as a sign on a door
    PutInt32(out, 0);          // texture format: normal
    PutInt32(out, 0x428F0000); // bounding radius 71.5 as a float
    PutInt32(out, kWidth);
    PutInt32(out, kHeight);
    PutInt32(out, 1); // frames
    PutInt32(out, 0); // beam length
    PutInt32(out, 0); // synchronisation
    out.push_back(0); // palette size 256, little-endian
    out.push_back(1);
    for (const Rgb& colour : m_palette) {
        out.push_back(static_cast<char>(colour.r));
        out.push_back(static_cast<char>(colour.g));
        out.push_back(static_cast<char>(colour.b));
    }
    PutInt32(out, 0); // a single frame
    PutInt32(out, -kWidth / 2);
    PutInt32(out, kHeight / 2);
    PutInt32(out, kWidth);
    PutInt32(out, kHeight);
    out.append(m_pixels.begin(), m_pixels.end());
    return out;
}

std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261U; // FNV-1a: stable across runs and machines
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return hash;
}

struct Scenery {
    Rgb skyTop, skyHorizon, groundNear, groundFar, sun;
};

constexpr std::array<Scenery, 6> kSceneries = {{
    {{20, 40, 110}, {150, 190, 240}, {40, 110, 40}, {120, 170, 80}, {255, 230, 120}}, // meadow
    {{60, 20, 70}, {240, 140, 90}, {90, 60, 40}, {170, 120, 70}, {255, 200, 80}},     // dusk
    {{10, 20, 40}, {60, 90, 140}, {200, 210, 230}, {240, 245, 255}, {230, 230, 210}}, // snow
    {{30, 90, 150}, {170, 220, 240}, {20, 80, 120}, {60, 150, 180}, {255, 255, 200}}, // coast
    {{70, 30, 10}, {230, 170, 90}, {150, 90, 40}, {210, 160, 90}, {255, 240, 180}},   // desert
    {{15, 15, 30}, {70, 60, 110}, {40, 40, 50}, {90, 90, 100}, {200, 220, 255}},      // night
}};

} // namespace

std::string MakeMapSprite(std::string_view mapName) {
    const std::uint32_t hash = NameHash(mapName);
    const Scenery& scenery = kSceneries[hash % kSceneries.size()];
    Picture picture;
    picture.Ramp(kSkyFirst, scenery.skyTop, scenery.skyHorizon);
    picture.Ramp(kGroundFirst, scenery.groundFar, scenery.groundNear);
    picture.SetColour(kAccent, scenery.sun);
    picture.SetColour(kFrame, {30, 30, 30});
    picture.SetColour(kShade, {static_cast<std::uint8_t>(scenery.groundFar.r * 3 / 4),
                               static_cast<std::uint8_t>(scenery.groundFar.g * 3 / 4),
                               static_cast<std::uint8_t>(scenery.groundFar.b * 3 / 4)});

    const double phase = (hash >> 8 & 0xFF) / 40.0;
    const double waves = 1.5 + (hash >> 16 & 0x7) / 2.0;
    const int sunX = 16 + static_cast<int>(hash >> 20 & 0x5F);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            picture.Set(x, y,
                        static_cast<std::uint8_t>(kSkyFirst + y * (kRamp - 1) / (kHeight - 1)));
        }
    }
    picture.Disc(sunX, 30, 6, kAccent);
    for (int x = 0; x < kWidth; ++x) {
        const double t = x * 2 * std::numbers::pi / kWidth;
        const int far = 40 + static_cast<int>(5 * std::sin(waves * t + phase));
        const int near = 48 + static_cast<int>(4 * std::sin(waves * 1.7 * t + 2 * phase));
        for (int y = far; y < kHeight; ++y) {
            picture.Set(x, y, kShade);
        }
        for (int y = near; y < kHeight; ++y) {
            const int shade = std::min(kRamp - 1, (y - near) * (kRamp - 1) / 16);
            picture.Set(x, y, static_cast<std::uint8_t>(kGroundFirst + shade));
        }
    }
    picture.Text(mapName, 6, kWhite, kFrame);
    picture.Frame(kFrame);
    return picture.Encode();
}

std::string MakeVoteSprite() {
    Picture picture;
    picture.Ramp(kSkyFirst, {90, 20, 20}, {200, 60, 40});
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            picture.Set(x, y,
                        static_cast<std::uint8_t>(kSkyFirst + y * (kRamp - 1) / (kHeight - 1)));
        }
    }
    picture.SetColour(kFrame, {20, 20, 20});
    picture.Text("VOTE", 10, kWhite, kFrame);
    picture.Text("NEXT MAP", 40, kWhite, kFrame);
    picture.Frame(kFrame);
    return picture.Encode();
}

std::string MakeBlankSprite() {
    Picture picture;
    picture.SetColour(kFrame, {60, 60, 60});
    picture.SetColour(kShade, {25, 25, 25});
    picture.Fill(kShade);
    picture.Frame(kFrame);
    return picture.Encode();
}

} // namespace ballotine::demo
