#pragma once

#include "sprites/Picture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ballotine {

// A 5x7 bitmap font of our own for map names on vote pictures: digits, upper-case letters,
// space and `_ - . + ( )`, a mark for characters it lacks and an ellipsis mark for text
// shortened to fit. Drawn at scale 1 (5x7) or 2 (10x14).

// Characters of "glyph text" that stand for the two marks.
inline constexpr char kFallbackGlyph = '\x1F';
inline constexpr char kEllipsisGlyph = '\x1E';

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Rows top to bottom; bit 4 is the leftmost column.
using GlyphRows = std::array<std::uint8_t, kGlyphHeight>;

// The text as the font draws it, one character per glyph: letters in upper case, every other
// character the font lacks as the fallback mark; a UTF-8 sequence is one character.
std::string ToGlyphText(std::string_view text);

// The bitmap of one character of glyph text (the fallback mark for any other).
GlyphRows GlyphFor(char glyph);

// Pixels a line of `glyphs` characters takes, and its height, at a scale; glyphs are one
// scaled column apart.
inline int LineWidth(int glyphs, int scale) {
    return glyphs > 0 ? glyphs * (kGlyphWidth + 1) * scale - scale : 0;
}
inline int LineHeight(int scale) {
    return kGlyphHeight * scale;
}
// Characters that fit in `width` pixels at a scale.
inline int GlyphsThatFit(int width, int scale) {
    return (width + scale) / ((kGlyphWidth + 1) * scale);
}

// Draws one line of glyph text with its top left corner at (left, top).
void DrawGlyphLine(Picture& picture, std::string_view glyphText, int left, int top, int scale,
                   std::uint8_t ink);

} // namespace ballotine
