// The digit glyphs of the sheet data/sprites/bigplanche.bmp: each glyph is the rectangle x
// from kDigitGlyphLeft + start to kDigitGlyphLeft + end, y kDigitGlyphTop to
// kDigitGlyphBottom (exclusive). The game draws numbers with them; the data generator draws
// the glyphs there.
#pragma once

struct DigitGlyph {
  char c;
  short start, end;
};

constexpr int kDigitGlyphLeft = 155;
constexpr int kDigitGlyphTop = 189;
constexpr int kDigitGlyphBottom = 202;
constexpr int kDigitGlyphCount = 11;

constexpr DigitGlyph kDigitGlyphs[kDigitGlyphCount] = {
    {'0', 92, 105}, {'1', 1, 8},   {'2', 8, 16},  {'3', 16, 27}, {'4', 27, 37}, {'5', 38, 47},
    {'6', 47, 57},  {'7', 58, 68}, {'8', 68, 81}, {'9', 81, 92}, {':', 106, 112},
};
static_assert(kDigitGlyphs[kDigitGlyphCount - 1].c == ':', "ten digits and the colon");
