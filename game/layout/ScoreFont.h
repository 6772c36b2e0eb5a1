// The layout of the two high-score fonts (data/sprites/policeoff.bmp and policeon.bmp): 40
// glyphs, A..Z, blank, 0..9, comma, full stop, at sign, each a rectangle of the picture (right
// and bottom exclusive). The game cuts them out; the data generator draws them there.
#pragma once

struct FontGlyph {
  char c;
  short left, top, right, bottom;
};

constexpr int kScoreFontGlyphCount = 40;
constexpr int kScoreFontBlank = 26;  // what a character the fonts lack is drawn as

constexpr FontGlyph kScoreFontGlyphs[kScoreFontGlyphCount] = {
    {'A', 9, 8, 21, 28},     {'B', 28, 8, 40, 28},    {'C', 48, 8, 58, 28},    {'D', 65, 8, 77, 28},
    {'E', 85, 8, 95, 28},    {'F', 102, 8, 113, 28},  {'G', 120, 8, 131, 28},  {'H', 139, 8, 150, 28},
    {'I', 157, 8, 168, 28},  {'J', 174, 8, 180, 28},  {'K', 188, 8, 200, 28},  {'L', 207, 8, 216, 28},
    {'M', 223, 8, 238, 28},  {'N', 245, 8, 256, 28},  {'O', 264, 8, 278, 28},  {'P', 9, 38, 22, 56},
    {'Q', 27, 38, 43, 56},   {'R', 51, 38, 62, 56},   {'S', 71, 38, 84, 56},   {'T', 91, 38, 102, 56},
    {'U', 109, 38, 120, 56}, {'V', 128, 38, 140, 56}, {'W', 147, 38, 161, 56}, {'X', 168, 38, 180, 56},
    {'Y', 187, 38, 198, 56}, {'Z', 204, 38, 216, 56}, {' ', 223, 38, 233, 56}, {'0', 182, 69, 197, 88},
    {'1', 8, 69, 16, 88},    {'2', 23, 69, 34, 88},   {'3', 41, 69, 53, 88},   {'4', 60, 69, 73, 88},
    {'5', 80, 69, 91, 88},   {'6', 98, 69, 112, 88},  {'7', 119, 69, 131, 88}, {'8', 138, 69, 153, 88},
    {'9', 161, 69, 174, 88}, {',', 204, 69, 209, 88}, {'.', 217, 69, 223, 88}, {'@', 228, 69, 237, 88},
};
static_assert(kScoreFontGlyphs[kScoreFontGlyphCount - 1].c == '@', "all 40 glyphs are listed");
