#include "sprites/Picture.h"

#include <algorithm>

namespace ballotine {

namespace {

std::uint8_t Blend(std::uint8_t from, std::uint8_t to, int step, int steps) {
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

} // namespace

void Picture::SetRamp(std::uint8_t first, int count, Rgb from, Rgb to) {
    const int last = std::min(count, 256 - first) - 1;
    for (int i = 0; i <= last; ++i) {
        const int steps = std::max(last, 1);
        m_palette[static_cast<std::size_t>(first + i)] = {Blend(from.r, to.r, i, steps),
                                                          Blend(from.g, to.g, i, steps),
                                                          Blend(from.b, to.b, i, steps)};
    }
}

void Picture::FillRect(int left, int top, int width, int height, std::uint8_t index) {
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + width, kWidth);
    for (int y = std::max(top, 0); y < std::min(top + height, kHeight); ++y) {
        for (int x = x0; x < x1; ++x) {
            m_pixels[Offset(x, y)] = index;
        }
    }
}

void Picture::OutlineRect(int left, int top, int width, int height, std::uint8_t index) {
    if (width <= 0 || height <= 0) {
        return;
    }
    for (int x = left; x < left + width; ++x) {
        Set(x, top, index);
        Set(x, top + height - 1, index);
    }
    for (int y = top; y < top + height; ++y) {
        Set(left, y, index);
        Set(left + width - 1, y, index);
    }
}

} // namespace ballotine
