#include "sprites/SpriteFile.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace ballotine {

namespace {

constexpr std::int32_t kSpriteVersion = 2;
constexpr std::int32_t kOriented = 3;
constexpr std::int32_t kTextureNormal = 0; // every index a solid colour
constexpr std::int32_t kSyncTogether = 0;  // one frame: nothing to animate
constexpr std::int32_t kSingleFrame = 0;
constexpr std::size_t kHeaderBytes = 40 + 2 + 256 * 3 + 20;

void PutInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(bits >> shift & 0xFF));
    }
}

void PutFloat(std::string& out, float value) {
    PutInt32(out, std::bit_cast<std::int32_t>(value));
}

} // namespace

std::string EncodeSprite(const Picture& picture) {
    constexpr int kWidth = Picture::kWidth;
    constexpr int kHeight = Picture::kHeight;
    std::string out;
    out.reserve(kHeaderBytes + Picture::kPixels);
    out += "IDSP";
    PutInt32(out, kSpriteVersion);
    PutInt32(out, kOriented);
    PutInt32(out, kTextureNormal);
    // The engine culls a sprite by this radius: the half diagonal of a frame centred on its
    // origin.
    PutFloat(out, static_cast<float>(std::hypot(kWidth / 2.0, kHeight / 2.0)));
    PutInt32(out, kWidth);
    PutInt32(out, kHeight);
    PutInt32(out, 1);    // frames
    PutFloat(out, 0.0F); // beam length: not a beam
    PutInt32(out, kSyncTogether);
    out.push_back(static_cast<char>(0)); // 256 palette entries, little-endian
    out.push_back(static_cast<char>(1));
    for (const Rgb& colour : picture.Colours()) {
        out.push_back(static_cast<char>(colour.r));
        out.push_back(static_cast<char>(colour.g));
        out.push_back(static_cast<char>(colour.b));
    }
    PutInt32(out, kSingleFrame);
    PutInt32(out, -kWidth / 2); // origin: the frame's top left corner from its centre
    PutInt32(out, kHeight / 2);
    PutInt32(out, kWidth);
    PutInt32(out, kHeight);
    out.append(picture.Pixels().begin(), picture.Pixels().end());
    return out;
}

std::string EncodePpm(const Picture& picture) {
    std::string out = "P6\n" + std::to_string(Picture::kWidth) + " " +
                      std::to_string(Picture::kHeight) + "\n255\n";
    out.reserve(out.size() + Picture::kPixels * 3);
    for (const std::uint8_t index : picture.Pixels()) {
        const Rgb& colour = picture.Colours()[index];
        out.push_back(static_cast<char>(colour.r));
        out.push_back(static_cast<char>(colour.g));
        out.push_back(static_cast<char>(colour.b));
    }
    return out;
}

} // namespace ballotine
