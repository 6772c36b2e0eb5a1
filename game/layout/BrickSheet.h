// The brick sheets data/levels/bricks/planche1..5.bmp: the same pictures at the same
// rectangles in all five, planche1 intact and each next one more damaged (a brick is drawn
// from the sheet of its hits so far, 0..4). Level maps name bricks by these rectangles; the
// art generator draws them there. Left and top inclusive, right and bottom exclusive.
#pragma once

#include <cstring>

struct BrickPicture {
  const char* name;
  short left, top, right, bottom;
  const char* look;  // what the art draws
};

constexpr int kBrickSheetWidth = 360;
constexpr int kBrickSheetHeight = 112;

constexpr BrickPicture kBrickPictures[] = {
    // Crates, 44 x 22: fourteen fill the play field's width.
    {"crate_pale", 0, 0, 44, 22, "light wooden crate"},
    {"crate_dark", 44, 0, 88, 22, "dark wooden crate"},
    {"crate_red", 88, 0, 132, 22, "crate painted red"},
    {"crate_blue", 132, 0, 176, 22, "crate painted blue"},
    {"crate_green", 176, 0, 220, 22, "crate painted green"},
    {"crate_yellow", 220, 0, 264, 22, "crate painted yellow"},
    {"crate_iron", 264, 0, 308, 22, "crate with iron bands (bullets only clank)"},
    {"stone", 308, 0, 352, 22, "carved stone block (unbreakable)"},
    // Planks, 88 x 22.
    {"plank_pale", 0, 22, 88, 44, "light plank"},
    {"plank_dark", 88, 22, 176, 44, "dark plank"},
    {"plank_bamboo", 176, 22, 264, 44, "bamboo bundle"},
    {"plank_iron", 264, 22, 352, 44, "plank with iron bands"},
    // Big crates, 44 x 44.
    {"big_pale", 0, 44, 44, 88, "big light crate"},
    {"big_dark", 44, 44, 88, 88, "big dark crate"},
    {"big_tiki", 88, 44, 132, 88, "tiki idol block"},
    {"big_stone", 132, 44, 176, 88, "big stone block (unbreakable)"},
    // Cubes, 22 x 22.
    {"cube_pale", 0, 88, 22, 110, "small light box"},
    {"cube_dark", 22, 88, 44, 110, "small dark box"},
    {"cube_red", 44, 88, 66, 110, "small red box"},
    {"cube_blue", 66, 88, 88, 110, "small blue box"},
    {"cube_coconut", 88, 88, 110, 110, "coconut"},
    {"cube_stone", 110, 88, 132, 110, "small stone (unbreakable)"},
};

inline const BrickPicture* FindBrickPicture(const char* name) {
  for (const BrickPicture& p : kBrickPictures)
    if (std::strcmp(p.name, name) == 0) return &p;
  return nullptr;
}
