#pragma once

#include "sprites/Picture.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// One way to set a name: the font's scale and how many lines it may take.
struct TextStyle {
    int scale = 1;
    int maxLines = 1;
};

// A name laid out for a box: its lines of glyph text and their scale.
struct TextBlock {
    std::vector<std::string> lines;
    int scale = 1;
    bool shortened = false; // the middle of the name gave way to the ellipsis mark

    int Width() const;  // the widest line, with its shadow
    int Height() const; // every line with the gaps between them, with the shadow
};

// Sets glyph text (see ToGlyphText) in a box of `width` x `height` pixels: in the first style
// whose lines all fit, each line broken preferably after `_ - . + )` or before `(`. When none
// fits, the last style takes the text with its middle replaced by the ellipsis mark, so the
// start and the end of the name (often its version) stay readable.
TextBlock FitText(std::string_view glyphText, int width, int height,
                  std::span<const TextStyle> styles);

// Draws the block centred in the box, each line centred, with a shadow one pixel down and
// right.
void DrawTextBlock(Picture& picture, const TextBlock& block, int left, int top, int width,
                   int height, std::uint8_t ink, std::uint8_t shadow);

} // namespace ballotine
