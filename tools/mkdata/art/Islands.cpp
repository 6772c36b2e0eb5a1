// The island backdrops (play field, side panel, walls, ground), the grass overlay, the panel
// doors and the title logo.
#include "tools/mkdata/art/Canvas.h"

#include <cmath>

namespace art {

namespace {

struct Mood {
  Colour skyTop, skyLow, sea, seaDeep, sand, sun;
  bool night;
};

Mood MoodOf(int kind) {
  switch (kind) {
    case 1: return {{0.98, 0.48, 0.35}, {1.0, 0.82, 0.48}, {0.55, 0.35, 0.62}, {0.30, 0.20, 0.45}, {0.95, 0.72, 0.55}, {1.0, 0.9, 0.4}, false};
    case 2: return {{0.45, 0.70, 0.95}, {0.85, 0.93, 1.0}, {0.12, 0.65, 0.78}, {0.05, 0.40, 0.62}, {0.90, 0.80, 0.55}, {1.0, 1.0, 0.8}, false};
    case 3: return {{0.25, 0.62, 0.75}, {0.70, 0.92, 0.85}, {0.10, 0.62, 0.62}, {0.04, 0.40, 0.45}, {0.90, 0.82, 0.58}, {1.0, 1.0, 0.8}, false};
    case 4: return {{0.05, 0.08, 0.25}, {0.18, 0.25, 0.52}, {0.10, 0.22, 0.45}, {0.04, 0.10, 0.28}, {0.55, 0.55, 0.62}, {0.95, 0.95, 0.85}, true};
    default: return {pal::kSkyTop, pal::kSkyLow, pal::kSea, pal::kSeaDeep, pal::kSand, {1.0, 0.95, 0.55}, false};
  }
}

void Cloud(cairo_t* cr, double x, double y, double s, double alpha) {
  cairo_new_path(cr);
  Ellipse(cr, x, y, 26 * s, 11 * s);
  Ellipse(cr, x - 18 * s, y + 3 * s, 16 * s, 8 * s);
  Ellipse(cr, x + 20 * s, y + 2 * s, 18 * s, 9 * s);
  Ellipse(cr, x - 4 * s, y - 8 * s, 15 * s, 10 * s);
  SetColour(cr, pal::kWhite, alpha);
  cairo_fill(cr);
}

void Bird(cairo_t* cr, double x, double y, double s, Colour c) {
  cairo_new_path(cr);
  cairo_move_to(cr, x - 6 * s, y - 2 * s);
  cairo_curve_to(cr, x - 3 * s, y - 4 * s, x - 1 * s, y - 2 * s, x, y);
  cairo_curve_to(cr, x + 1 * s, y - 2 * s, x + 3 * s, y - 4 * s, x + 6 * s, y - 2 * s);
  SetColour(cr, c);
  cairo_set_line_width(cr, 1.3 * s);
  cairo_stroke(cr);
}

// An island hump with sand rim and jungle.
void IslandHump(cairo_t* cr, double cx, double base, double w, double h, const Mood& m, Colour green) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx - w / 2 - 10, base);
  cairo_curve_to(cr, cx - w / 2 + 10, base - 10, cx - w / 2 + 20, base - 12, cx - w / 2 + 30, base - 12);
  cairo_line_to(cr, cx + w / 2 - 30, base - 12);
  cairo_curve_to(cr, cx + w / 2 - 20, base - 12, cx + w / 2 - 10, base - 10, cx + w / 2 + 10, base);
  cairo_close_path(cr);
  FillGradient(cr, base - 12, m.sand, base, Shade(m.sand, 0.8), false);
  cairo_new_path(cr);
  cairo_move_to(cr, cx - w / 2 + 20, base - 10);
  cairo_curve_to(cr, cx - w / 3, base - h, cx + w / 3, base - h * 1.1, cx + w / 2 - 20, base - 10);
  cairo_close_path(cr);
  FillGradient(cr, base - h, Shade(green, 1.2), base, Shade(green, 0.65), false);
}

}  // namespace

void DrawScenery(cairo_t* cr, double x, double y, double w, double h, int kind) {
  const Mood m = MoodOf(kind == 5 ? 0 : kind);
  Scatter rnd(500 + static_cast<std::uint32_t>(kind));
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  const double horizon = y + h * 0.52;
  // sky
  cairo_rectangle(cr, x, y, w, horizon - y);
  FillGradient(cr, y, m.skyTop, horizon, m.skyLow, false);
  if (m.night) {
    for (int i = 0; i < 90; ++i) {
      Ellipse(cr, x + rnd.Real(0, w), y + rnd.Real(0, horizon - y - 20), rnd.Real(0.5, 1.4), rnd.Real(0.5, 1.4));
      SetColour(cr, pal::kWhite, rnd.Real(0.4, 1.0));
      cairo_fill(cr);
    }
    Ellipse(cr, x + w * 0.75, y + h * 0.16, 30, 30);
    cairo_pattern_t* g = cairo_pattern_create_radial(x + w * 0.75, y + h * 0.16, 20, x + w * 0.75, y + h * 0.16, 70);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.9, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 0.9, 0.0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    Ellipse(cr, x + w * 0.75, y + h * 0.16, 28, 28);
    SetColour(cr, m.sun);
    cairo_fill(cr);
    Ellipse(cr, x + w * 0.75 + 12, y + h * 0.16 - 6, 24, 24);
    SetColour(cr, m.skyTop);
    cairo_fill(cr);
  } else {
    const double sx = kind == 1 ? x + w * 0.5 : x + w * 0.8, sy = kind == 1 ? horizon - 10 : y + h * 0.14;
    cairo_pattern_t* g = cairo_pattern_create_radial(sx, sy, 10, sx, sy, kind == 1 ? 220 : 120);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.85, 0.7);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 0.85, 0.0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, x, y, w, horizon - y);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Ellipse(cr, sx, sy, kind == 1 ? 46 : 30, kind == 1 ? 46 : 30);
    SetColour(cr, m.sun);
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i)
      Cloud(cr, x + rnd.Real(40, w - 40), y + rnd.Real(30, (horizon - y) * 0.6), rnd.Real(0.6, 1.3),
            kind == 1 ? 0.55 : 0.85);
    for (int i = 0; i < 4; ++i)
      Bird(cr, x + rnd.Real(60, w - 60), y + rnd.Real(40, (horizon - y) * 0.7), rnd.Real(0.8, 1.4),
           {0.2, 0.2, 0.3});
  }
  // far features
  if (kind == 2) {  // volcano with smoke
    const double vx = x + w * 0.38;
    cairo_new_path(cr);
    cairo_move_to(cr, vx - 190, horizon);
    cairo_line_to(cr, vx - 35, horizon - 150);
    cairo_line_to(cr, vx + 35, horizon - 150);
    cairo_line_to(cr, vx + 200, horizon);
    cairo_close_path(cr);
    FillGradient(cr, horizon - 150, {0.55, 0.42, 0.38}, horizon, {0.30, 0.45, 0.25}, false);
    cairo_new_path(cr);
    cairo_move_to(cr, vx - 35, horizon - 150);
    cairo_line_to(cr, vx - 20, horizon - 120);
    cairo_line_to(cr, vx - 5, horizon - 135);
    cairo_line_to(cr, vx + 12, horizon - 115);
    cairo_line_to(cr, vx + 35, horizon - 150);
    cairo_close_path(cr);
    SetColour(cr, {0.95, 0.45, 0.15});
    cairo_fill(cr);
    for (int i = 0; i < 7; ++i) {
      const double r = 14 + i * 5;
      Ellipse(cr, vx + i * 12 + std::sin(i) * 8, horizon - 165 - i * 24, r, r * 0.8);
      SetColour(cr, {0.85, 0.85, 0.88}, 0.75 - i * 0.06);
      cairo_fill(cr);
    }
  }
  if (kind == 3) {  // cliffs with a waterfall
    for (int s = 0; s < 2; ++s) {
      const double cx0 = s == 0 ? x : x + w * 0.62;
      const double cw = s == 0 ? w * 0.34 : w * 0.38;
      cairo_new_path(cr);
      cairo_move_to(cr, cx0, horizon + 10);
      cairo_line_to(cr, cx0, y + h * 0.18);
      cairo_curve_to(cr, cx0 + cw * 0.3, y + h * 0.12, cx0 + cw * 0.7, y + h * 0.2, cx0 + cw, y + h * 0.25);
      cairo_line_to(cr, cx0 + cw, horizon + 10);
      cairo_close_path(cr);
      FillGradient(cr, y + h * 0.12, {0.40, 0.55, 0.35}, horizon, {0.22, 0.35, 0.22}, false);
      for (int k = 0; k < 8; ++k) {
        Ellipse(cr, cx0 + rnd.Real(10, cw - 10), y + h * 0.17 + rnd.Real(0, 20), rnd.Real(14, 26), rnd.Real(9, 14));
        SetColour(cr, Mix(pal::kLeaf, pal::kLeafDark, rnd.Real(0, 1)));
        cairo_fill(cr);
      }
    }
    const double fx = x + w * 0.62 + 8;
    cairo_rectangle(cr, fx, y + h * 0.22, 34, horizon - y - h * 0.22 + 10);
    cairo_pattern_t* g = cairo_pattern_create_linear(fx, 0, fx + 34, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.70, 0.90, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 0.5, 1.0, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.65, 0.85, 0.98);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int k = 0; k < 10; ++k) {
      cairo_new_path(cr);
      const double lx = fx + 3 + k * 3.2;
      cairo_move_to(cr, lx, y + h * 0.22 + rnd.Real(0, 40));
      cairo_line_to(cr, lx, horizon - rnd.Real(0, 40));
      SetColour(cr, {0.55, 0.80, 0.95}, 0.6);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  }
  // sea
  cairo_rectangle(cr, x, horizon, w, y + h - horizon);
  FillGradient(cr, horizon, m.seaDeep, y + h, m.sea, false);
  for (int i = 0; i < 70; ++i) {
    const double ly = horizon + 4 + std::pow(rnd.Real(0, 1), 1.5) * (h * 0.4);
    const double lx = x + rnd.Real(0, w);
    const double lw = rnd.Real(8, 30) * (0.5 + (ly - horizon) / h);
    cairo_new_path(cr);
    cairo_move_to(cr, lx, ly);
    cairo_line_to(cr, lx + lw, ly);
    SetColour(cr, pal::kWhite, m.night ? 0.25 : 0.35);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  // islands in the distance
  if (kind == 0) {
    IslandHump(cr, x + w * 0.28, horizon + 8, 200, 46, m, pal::kLeaf);
    DrawPalm(cr, x + w * 0.24, horizon - 4, 80, 0.3);
    DrawPalm(cr, x + w * 0.31, horizon - 2, 64, -0.3);
  } else if (kind == 1) {
    IslandHump(cr, x + w * 0.75, horizon + 8, 220, 40, m, {0.35, 0.25, 0.40});
    DrawPalm(cr, x + w * 0.78, horizon - 4, 90, -0.4);
  } else if (kind == 2) {
    IslandHump(cr, x + w * 0.82, horizon + 8, 160, 34, m, pal::kLeaf);
  } else if (kind == 4) {
    IslandHump(cr, x + w * 0.3, horizon + 8, 240, 50, m, {0.10, 0.25, 0.25});
    DrawPalm(cr, x + w * 0.27, horizon - 4, 86, 0.35);
  }
  // foreground beach with palms at the sides
  const double beach = y + h * 0.80;
  cairo_new_path(cr);
  cairo_move_to(cr, x, beach + 16);
  cairo_curve_to(cr, x + w * 0.3, beach - 10, x + w * 0.6, beach + 14, x + w, beach - 4);
  cairo_line_to(cr, x + w, y + h);
  cairo_line_to(cr, x, y + h);
  cairo_close_path(cr);
  FillGradient(cr, beach - 10, m.sand, y + h, Shade(m.sand, 0.78), false);
  // foam line
  cairo_new_path(cr);
  cairo_move_to(cr, x, beach + 16);
  cairo_curve_to(cr, x + w * 0.3, beach - 10, x + w * 0.6, beach + 14, x + w, beach - 4);
  SetColour(cr, pal::kWhite, 0.8);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int i = 0; i < 60; ++i) {
    Ellipse(cr, x + rnd.Real(0, w), beach + rnd.Real(16, h * 0.2), rnd.Real(0.8, 2), rnd.Real(0.5, 1.2));
    SetColour(cr, Shade(m.sand, 0.7), 0.6);
    cairo_fill(cr);
  }
  // shells and a starfish
  StarPath(cr, x + w * 0.7, beach + 40, 9, 4, 0.3);
  FillStroke(cr, m.night ? Colour{0.6, 0.4, 0.5} : Colour{1.0, 0.5, 0.4}, 1.0);
  // the palms at the sides change from island to island
  const double leftH[6] = {0.62, 0.55, 0.66, 0.58, 0.60, 0.62}, rightH[6] = {0.55, 0.64, 0.50, 0.60, 0.57, 0.52};
  const double leftLean[6] = {0.45, 0.35, 0.55, 0.40, 0.50, 0.45}, rightLean[6] = {-0.5, -0.4, -0.35, -0.55, -0.45, -0.5};
  DrawPalm(cr, x + 10, y + h, h * leftH[kind], leftLean[kind], 0.5);
  DrawPalm(cr, x + w - 8, y + h, h * rightH[kind], rightLean[kind], -0.5);
  if (kind == 3 || kind == 5) DrawPalm(cr, x + w * 0.82, y + h, h * 0.38, -0.2, 0.3);
  if (m.night) {
    cairo_rectangle(cr, x, y, w, h);
    SetColour(cr, {0.05, 0.05, 0.20}, 0.25);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void DrawLogo(cairo_t* cr, double cx, double y, double size) {
  SelectFace(cr, Face::Display, size);
  const std::string a = "Zindo", b = "Rumba";
  const double wa = TextWidth(cr, a), wb = TextWidth(cr, b);
  const double x0 = cx - (wa + wb) / 2;
  // shadow
  cairo_save(cr);
  cairo_translate(cr, size * 0.05, size * 0.06);
  OutlinedText(cr, a + b, x0, y, 0, {0.1, 0.05, 0.02}, {0.1, 0.05, 0.02}, size * 0.09);
  cairo_restore(cr);
  OutlinedText(cr, a, x0, y, 0, pal::kYellow, pal::kInk, size * 0.07, pal::kOrange);
  OutlinedText(cr, b, x0 + wa, y, 0, {0.55, 0.95, 0.45}, pal::kInk, size * 0.07, {0.10, 0.60, 0.30});
  Gloss(cr, cx - (wa + wb) * 0.18, y - size * 0.52, (wa + wb) * 0.22, size * 0.06, 0.35);
}

namespace {

void WoodPlanks(cairo_t* cr, double x, double y, double w, double h, bool vertical, std::uint32_t seed) {
  Scatter rnd(seed);
  const double pw = 26;
  const int n = static_cast<int>(std::ceil((vertical ? w : h) / pw));
  for (int i = 0; i < n; ++i) {
    const Colour c = Mix(pal::kWood, pal::kWoodDark, rnd.Real(0.0, 0.45));
    double px = x, py = y, ww = w, hh = h;
    if (vertical) {
      px = x + i * pw;
      ww = pw;
    } else {
      py = y + i * pw;
      hh = pw;
    }
    cairo_rectangle(cr, px, py, ww, hh);
    if (vertical) {
      cairo_pattern_t* g = cairo_pattern_create_linear(px, 0, px + ww, 0);
      const Colour a = Shade(c, 1.15), b = Shade(c, 0.8);
      cairo_pattern_add_color_stop_rgb(g, 0, a.r, a.g, a.b);
      cairo_pattern_add_color_stop_rgb(g, 1, b.r, b.g, b.b);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
    } else {
      FillGradient(cr, py, Shade(c, 1.15), py + hh, Shade(c, 0.8));
    }
    StrokeOnly(cr, 1.2, Shade(pal::kWoodDark, 0.6));
    for (int k = 0; k < 6; ++k) {
      cairo_new_path(cr);
      if (vertical) {
        const double gx = px + rnd.Real(3, ww - 3), gy = y + rnd.Real(0, h - 60);
        cairo_move_to(cr, gx, gy);
        cairo_curve_to(cr, gx + 2, gy + 20, gx - 2, gy + 40, gx + 1, gy + 60);
      } else {
        const double gy = py + rnd.Real(3, hh - 3), gx = x + rnd.Real(0, w - 60);
        cairo_move_to(cr, gx, gy);
        cairo_curve_to(cr, gx + 20, gy + 2, gx + 40, gy - 2, gx + 60, gy + 1);
      }
      SetColour(cr, Shade(c, 0.6), 0.5);
      cairo_set_line_width(cr, 0.8);
      cairo_stroke(cr);
    }
  }
}

void BambooPole(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.50, 0.15);
  cairo_pattern_add_color_stop_rgb(g, 0.35, 0.98, 0.92, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.50, 0.45, 0.12);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  StrokeOnly(cr, 1.5);
  for (double ny = y + 40; ny < y + h; ny += 64) {
    cairo_rectangle(cr, x, ny, w, 3);
    SetColour(cr, {0.45, 0.40, 0.10});
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x, ny + 4);
    cairo_line_to(cr, x + w, ny + 4);
    SetColour(cr, {1.0, 0.95, 0.7}, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

void ScoreBox(cairo_t* cr, const char* label, double labelBaseline, double boxTop) {
  SelectFace(cr, Face::Display, 21);
  OutlinedText(cr, label, 81, labelBaseline, 0.5, pal::kYellow, pal::kInk, 2.2, pal::kOrange);
  RoundRect(cr, 26, boxTop, 110, 25, 8);
  FillGradient(cr, boxTop, pal::kPanelDark, boxTop + 25, pal::kPanel);
  StrokeOnly(cr, 2.0);
  RoundRect(cr, 28.5, boxTop + 2.5, 105, 20, 6);
  SetColour(cr, pal::kWhite, 0.25);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void SidePanel(cairo_t* cr, int island) {
  WoodPlanks(cr, 0, 0, 156, 600, true, 31);
  // title
  RoundRect(cr, 6, 8, 144, 62, 12);
  FillStroke(cr, {0.10, 0.45, 0.50}, 2.0);
  DrawLogo(cr, 78, 48, 24);
  if (island > 0) {  // the fallback beach carries no number
    SelectFace(cr, Face::Body, 11);
    OutlinedText(cr, "island " + std::to_string(island), 78, 66, 0.5, pal::kCream, pal::kInk, 0, pal::kCream);
  }
  // mascot window
  RoundRect(cr, 40, 86, 100, 98, 16);
  FillStroke(cr, pal::kWoodLight, 5.0);
  RoundRect(cr, 46, 92, 88, 86, 12);
  FillGradient(cr, 92, {0.60, 0.88, 1.0}, 178, {0.95, 0.95, 0.75});
  cairo_save(cr);
  cairo_clip(cr);
  Ellipse(cr, 90, 190, 60, 22);
  SetColour(cr, pal::kLeafLight);
  cairo_fill(cr);
  Cloud(cr, 70, 110, 0.4, 0.9);
  cairo_restore(cr);
  RoundRect(cr, 46, 92, 88, 86, 12);
  StrokeOnly(cr, 2.0);
  // the four number boxes; digits are drawn right-aligned at x 126, 13 pixels high
  ScoreBox(cr, "Score", 202, 207);
  ScoreBox(cr, "Lives", 289, 294);
  ScoreBox(cr, "Bonus", 378, 383);
  ScoreBox(cr, "Level", 469, 474);
  // the machine room behind the rolling monkey
  RoundRect(cr, -10, 512, 120, 110, 14);
  FillGradient(cr, 512, {0.18, 0.10, 0.05}, 600, {0.30, 0.18, 0.08});
  StrokeOnly(cr, 2.0);
}

void Ground(cairo_t* cr) {
  // the deck the drummer rolls on, with the two rails of the track
  cairo_rectangle(cr, 80, 530, 720, 70);
  FillGradient(cr, 530, {0.45, 0.28, 0.12}, 600, {0.25, 0.14, 0.05}, false);
  cairo_new_path(cr);
  cairo_move_to(cr, 80, 530.5);
  cairo_line_to(cr, 800, 530.5);
  StrokeOnly(cr, 2, {0.70, 0.48, 0.25});
  for (int k = 0; k < 2; ++k) {
    const double ry = k == 0 ? 535 : 561;
    cairo_rectangle(cr, 80, ry, 720, 12);
    FillGradient(cr, ry, {0.08, 0.04, 0.02}, ry + 12, {0.20, 0.12, 0.05}, false);
  }
  for (double x = 100; x < 800; x += 58) {
    Ellipse(cr, x, 553, 1.5, 1.5);
    SetColour(cr, {0.75, 0.75, 0.78});
    cairo_fill(cr);
  }
}

void Walls(cairo_t* cr) {
  BambooPole(cr, 155, 0, 15, 532);
  BambooPole(cr, 786, 0, 14, 532);
  // tiki caps
  for (int s = 0; s < 2; ++s) {
    const double x = s == 0 ? 153 : 784, w = s == 0 ? 19 : 18;
    RoundRect(cr, x, 520, w, 14, 4);
    FillStroke(cr, pal::kWoodDark, 1.5);
  }
}

}  // namespace

void WriteIslands(Output& out) {
  for (int k = 0; k <= 5; ++k) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    DrawScenery(cr, 170, 0, 616, 532, k);
    Ground(cr);
    Walls(cr);
    SidePanel(cr, k == 5 ? 0 : k + 1);
    out.Opaque(k == 5 ? std::string("data/levels/islands/beach.bmp")
                      : "data/levels/islands/island" + std::to_string(k + 1) + ".bmp",
               c);
  }
  {  // grass overlay, keyed, drawn along the bottom
    Canvas c(800, 34);
    cairo_t* cr = c.cr();
    Scatter rnd(4242);
    for (int layer = 0; layer < 2; ++layer) {
      for (double x = -4; x < 804; x += layer ? 5 : 7) {
        const double h = rnd.Real(12, layer ? 22 : 30);
        const double lean = rnd.Real(-5, 5);
        cairo_new_path(cr);
        cairo_move_to(cr, x - 4, 34);
        cairo_curve_to(cr, x - 2, 34 - h * 0.5, x + lean * 0.5, 34 - h * 0.8, x + lean, 34 - h);
        cairo_curve_to(cr, x + lean * 0.5 + 1, 34 - h * 0.7, x + 2, 34 - h * 0.4, x + 4, 34);
        cairo_close_path(cr);
        const Colour g = layer ? pal::kLeafLight : pal::kLeaf;
        FillGradient(cr, 34 - h, Shade(g, 1.2), 34, Shade(g, 0.6));
        StrokeOnly(cr, 0.8, pal::kLeafDark);
      }
    }
    for (int i = 0; i < 9; ++i) {  // hibiscus flowers
      const double fx = rnd.Real(90, 780), fy = rnd.Real(16, 24);
      for (int p = 0; p < 5; ++p) {
        const double a = p * 2 * M_PI / 5;
        Ellipse(cr, fx + std::cos(a) * 3.5, fy + std::sin(a) * 3.5, 3.2, 3.2);
        FillStroke(cr, i % 2 ? pal::kRed : pal::kPink, 0.7);
      }
      Ellipse(cr, fx, fy, 1.6, 1.6);
      SetColour(cr, pal::kYellow);
      cairo_fill(cr);
    }
    out.Sprite("data/levels/islands/herbe.bmp", c);
  }
  {  // the two panel doors: the upper door is rows 0..299, the lower one 300..599
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    for (int d = 0; d < 2; ++d) {
      const double y = d * 300;
      WoodPlanks(cr, 0, y, 800, 300, true, 77 + static_cast<std::uint32_t>(d));
      for (int b = 0; b < 2; ++b) {  // cross bars
        const double by = y + (d == 0 ? 60 + b * 150 : 40 + b * 150);
        cairo_rectangle(cr, 0, by, 800, 30);
        FillStroke(cr, pal::kWoodDark, 2);
        for (double nx = 20; nx < 800; nx += 52) {
          Ellipse(cr, nx, by + 15, 3.5, 3.5);
          FillStroke(cr, pal::kIron, 1);
        }
      }
      // the metal edge where the doors meet
      const double ey = d == 0 ? 288 : 300;
      cairo_rectangle(cr, 0, ey, 800, 12);
      FillGradient(cr, ey, {0.80, 0.82, 0.86}, ey + 12, {0.40, 0.42, 0.46});
      StrokeOnly(cr, 1.5);
    }
    // an emblem across the seam: half on each door
    Ellipse(cr, 400, 300, 120, 120);
    FillStroke(cr, {0.10, 0.45, 0.50}, 6);
    Ellipse(cr, 400, 300, 106, 106);
    SetColour(cr, pal::kYellow);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    MonkeyPose p;
    p.mouth = 1;
    p.showBody = false;
    DrawMonkeyHead(cr, 400, 290, 5.0, p);
    cairo_rectangle(cr, 0, 298, 800, 4);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
    DrawLogo(cr, 400, 140, 86);
    for (int s = -1; s <= 1; s += 2) {  // drums and crossed sticks on the lower door
      const double dx = 400 + s * 250;
      DrawDrum(cr, dx, 470, 90, 50, s < 0 ? Colour{0.90, 0.30, 0.22} : Colour{0.15, 0.62, 0.55}, 0.0, 14);
      for (int k = -1; k <= 1; k += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, dx - k * 40, 420);
        cairo_line_to(cr, dx + k * 10, 462);
        SetColour(cr, pal::kInk);
        cairo_set_line_width(cr, 8);
        cairo_stroke_preserve(cr);
        SetColour(cr, pal::kWoodLight);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
      }
    }
    out.Sprite("data/levels/islands/bpanel.bmp", c);
  }
}

}  // namespace art
