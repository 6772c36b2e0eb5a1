// The brick sheets and the shared sheet bigplanche.bmp (fruit, digits, casings, bullet, track,
// demo caption, capsules and captions).
#include "game/layout/BrickSheet.h"
#include "game/layout/DigitGlyphs.h"
#include "game/layout/PlaySheet.h"
#include "tools/mkdata/art/Canvas.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace art {

namespace {

// ---------------------------------------------------------------- bricks

enum class Look { Crate, Plank, Bamboo, Stone, Tiki, Coconut };

struct BrickStyle {
  Look look;
  Colour colour;
  bool iron;
};

BrickStyle StyleOf(const BrickPicture& b) {
  const std::string n = b.name;
  if (n.find("stone") != std::string::npos) return {Look::Stone, pal::kStone, false};
  if (n == "plank_bamboo") return {Look::Bamboo, {0.80, 0.75, 0.35}, false};
  if (n == "big_tiki") return {Look::Tiki, {0.62, 0.40, 0.22}, false};
  if (n == "cube_coconut") return {Look::Coconut, {0.45, 0.28, 0.12}, false};
  Colour c = pal::kWood;
  if (n.find("pale") != std::string::npos) c = pal::kWoodLight;
  if (n.find("dark") != std::string::npos) c = pal::kWoodDark;
  if (n.find("red") != std::string::npos) c = {0.86, 0.30, 0.24};
  if (n.find("blue") != std::string::npos) c = {0.25, 0.50, 0.86};
  if (n.find("green") != std::string::npos) c = {0.32, 0.70, 0.30};
  if (n.find("yellow") != std::string::npos) c = {0.98, 0.78, 0.22};
  const bool iron = n.find("iron") != std::string::npos;
  if (iron) c = {0.60, 0.46, 0.30};
  const bool plank = n.rfind("plank", 0) == 0;
  return {plank ? Look::Plank : Look::Crate, c, iron};
}

void Grain(cairo_t* cr, double x, double y, double w, double h, Colour c, Scatter& rnd) {
  for (int i = 0; i < static_cast<int>(h / 3); ++i) {
    const double gy = y + rnd.Real(1, h - 1);
    cairo_new_path(cr);
    cairo_move_to(cr, x + rnd.Real(0, w * 0.3), gy);
    cairo_curve_to(cr, x + w * 0.4, gy + rnd.Real(-1, 1), x + w * 0.6, gy + rnd.Real(-1, 1),
                   x + w - rnd.Real(0, w * 0.3), gy + rnd.Real(-0.5, 0.5));
    SetColour(cr, Shade(c, 0.7), 0.45);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
  }
}

void Nail(cairo_t* cr, double x, double y) {
  Ellipse(cr, x, y, 1.3, 1.3);
  SetColour(cr, {0.30, 0.30, 0.32});
  cairo_fill(cr);
  Ellipse(cr, x - 0.4, y - 0.4, 0.5, 0.5);
  SetColour(cr, {0.85, 0.85, 0.85});
  cairo_fill(cr);
}

void IronBand(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  FillGradient(cr, y, {0.75, 0.78, 0.82}, y + h, {0.35, 0.37, 0.40}, true);
  StrokeOnly(cr, 0.8);
  for (double ry = y + h / 2; ry < y + h; ry += 100) {
    Ellipse(cr, x + 2.5, ry, 1.1, 1.1);
    Ellipse(cr, x + w - 2.5, ry, 1.1, 1.1);
    SetColour(cr, {0.2, 0.2, 0.22});
    cairo_fill(cr);
  }
}

void DrawBrickBase(cairo_t* cr, const BrickPicture& b, int index) {
  const double x = b.left, y = b.top, w = b.right - b.left, h = b.bottom - b.top;
  const BrickStyle st = StyleOf(b);
  Scatter rnd(100 + static_cast<std::uint32_t>(index));
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  switch (st.look) {
    case Look::Crate: {
      cairo_rectangle(cr, x, y, w, h);
      FillGradient(cr, y, Shade(st.colour, 1.15), y + h, Shade(st.colour, 0.8), false);
      // boards
      const int boards = h > 30 ? 4 : 2;
      for (int i = 0; i < boards; ++i) {
        const double by = y + 3 + i * (h - 6) / boards;
        cairo_rectangle(cr, x + 3, by, w - 6, (h - 6) / boards);
        SetColour(cr, Shade(st.colour, 0.62), 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
      }
      Grain(cr, x + 3, y + 3, w - 6, h - 6, st.colour, rnd);
      // frame and brace
      cairo_rectangle(cr, x + 1.5, y + 1.5, w - 3, h - 3);
      SetColour(cr, Shade(st.colour, 1.2));
      cairo_set_line_width(cr, 3);
      cairo_stroke_preserve(cr);
      StrokeOnly(cr, 0.8, Shade(st.colour, 0.45));
      cairo_new_path(cr);
      cairo_move_to(cr, x + 3, y + h - 3);
      cairo_line_to(cr, x + w - 3, y + 3);
      SetColour(cr, Shade(st.colour, 0.5));
      cairo_set_line_width(cr, 4.2);
      cairo_stroke_preserve(cr);
      SetColour(cr, Shade(st.colour, 1.12));
      cairo_set_line_width(cr, 2.6);
      cairo_stroke(cr);
      if (st.iron) {
        IronBand(cr, x + w * 0.22, y, 5, h);
        IronBand(cr, x + w * 0.78 - 5, y, 5, h);
      } else {
        Nail(cr, x + 3, y + 3);
        Nail(cr, x + w - 3, y + 3);
        Nail(cr, x + 3, y + h - 3);
        Nail(cr, x + w - 3, y + h - 3);
      }
      break;
    }
    case Look::Plank: {
      cairo_rectangle(cr, x, y, w, h);
      FillGradient(cr, y, Shade(st.colour, 1.2), y + h, Shade(st.colour, 0.75), false);
      cairo_new_path(cr);
      cairo_move_to(cr, x, y + h / 2);
      cairo_line_to(cr, x + w, y + h / 2);
      StrokeOnly(cr, 0.8, Shade(st.colour, 0.5));
      Grain(cr, x, y, w, h, st.colour, rnd);
      for (int k = 0; k < 2; ++k) {  // knots
        Ellipse(cr, x + rnd.Real(10, w - 10), y + rnd.Real(4, h - 4), 2.5, 1.3);
        SetColour(cr, Shade(st.colour, 0.55));
        cairo_fill(cr);
      }
      cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
      StrokeOnly(cr, 1.0, Shade(st.colour, 0.45));
      if (st.iron) {
        IronBand(cr, x + 10, y, 6, h);
        IronBand(cr, x + w - 16, y, 6, h);
      } else {
        Nail(cr, x + 4, y + 5);
        Nail(cr, x + 4, y + h - 5);
        Nail(cr, x + w - 4, y + 5);
        Nail(cr, x + w - 4, y + h - 5);
      }
      break;
    }
    case Look::Bamboo: {
      cairo_rectangle(cr, x, y, w, h);
      SetColour(cr, {0.35, 0.30, 0.10});
      cairo_fill(cr);
      for (int i = 0; i < 3; ++i) {
        const double ty = y + 0.5 + i * (h - 1) / 3.0, th = (h - 1) / 3.0;
        RoundRect(cr, x + 0.5, ty, w - 1, th, th / 2);
        FillGradient(cr, ty, {0.90, 0.88, 0.50}, ty + th, {0.55, 0.58, 0.18});
        StrokeOnly(cr, 0.7, {0.30, 0.30, 0.08});
        for (double nx = x + 14 + i * 7; nx < x + w - 4; nx += 26) {
          cairo_new_path(cr);
          cairo_move_to(cr, nx, ty + 1);
          cairo_line_to(cr, nx, ty + th - 1);
          StrokeOnly(cr, 1.2, {0.40, 0.40, 0.10});
        }
      }
      IronBand(cr, x + 20, y, 3, h);
      IronBand(cr, x + w - 23, y, 3, h);
      break;
    }
    case Look::Stone: {
      cairo_rectangle(cr, x, y, w, h);
      FillGradient(cr, y, {0.78, 0.78, 0.75}, y + h, {0.48, 0.48, 0.47}, false);
      for (int i = 0; i < static_cast<int>(w * h / 40); ++i) {
        Ellipse(cr, x + rnd.Real(0, w), y + rnd.Real(0, h), rnd.Real(0.5, 1.5), rnd.Real(0.5, 1.2));
        SetColour(cr, rnd.Int(0, 1) ? Colour{0.4, 0.4, 0.4} : Colour{0.9, 0.9, 0.88}, 0.5);
        cairo_fill(cr);
      }
      RoundRect(cr, x + 1, y + 1, w - 2, h - 2, 3);
      SetColour(cr, {0.95, 0.95, 0.92}, 0.7);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      RoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 3);
      StrokeOnly(cr, 1.0, pal::kStoneDark);
      // carved spiral
      cairo_new_path(cr);
      const double cx = x + w / 2, cy = y + h / 2, r = std::min(w, h) * 0.32;
      for (int i = 0; i <= 40; ++i) {
        const double a = i * 0.4, rr = r * i / 40.0;
        cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
      }
      StrokeOnly(cr, 1.2, {0.38, 0.38, 0.37});
      break;
    }
    case Look::Tiki: {
      cairo_rectangle(cr, x, y, w, h);
      FillGradient(cr, y, {0.78, 0.52, 0.28}, y + h, {0.45, 0.26, 0.12}, false);
      Grain(cr, x, y, w, h, st.colour, rnd);
      const double cx = x + w / 2;
      // brow, eyes, nose, mouth
      cairo_rectangle(cr, x + 3, y + 8, w - 6, 4);
      SetColour(cr, {0.35, 0.18, 0.08});
      cairo_fill(cr);
      for (int s = -1; s <= 1; s += 2) {
        Ellipse(cr, cx + s * 9, y + 17, 5, 4);
        FillStroke(cr, pal::kCream, 1);
        Ellipse(cr, cx + s * 9, y + 17.5, 2, 2);
        SetColour(cr, pal::kInk);
        cairo_fill(cr);
      }
      cairo_new_path(cr);
      cairo_move_to(cr, cx, y + 16);
      cairo_line_to(cr, cx - 3, y + 27);
      cairo_line_to(cr, cx + 3, y + 27);
      cairo_close_path(cr);
      FillStroke(cr, {0.70, 0.45, 0.22}, 1);
      RoundRect(cr, x + 9, y + 31, w - 18, 8, 3);
      FillStroke(cr, {0.30, 0.10, 0.06}, 1);
      for (int t = 0; t < 5; ++t) {
        cairo_rectangle(cr, x + 11 + t * 4.6, y + 31.5, 3, 3);
        SetColour(cr, pal::kCream);
        cairo_fill(cr);
      }
      cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
      StrokeOnly(cr, 1.0, {0.30, 0.16, 0.06});
      break;
    }
    case Look::Coconut: {
      cairo_rectangle(cr, x, y, w, h);
      FillGradient(cr, y, {0.40, 0.72, 0.30}, y + h, {0.15, 0.45, 0.15}, false);  // leaf mat
      for (int i = 0; i < 4; ++i) {
        cairo_new_path(cr);
        cairo_move_to(cr, x, y + 3 + i * 5.5);
        cairo_line_to(cr, x + w, y + 1 + i * 5.5);
        StrokeOnly(cr, 0.6, {0.08, 0.35, 0.10});
      }
      Ellipse(cr, x + w / 2, y + h / 2 + 0.5, 9.5, 9.0);
      FillStroke(cr, {0.52, 0.33, 0.15}, 1.0);
      for (int i = 0; i < 8; ++i) {
        cairo_new_path(cr);
        const double a = rnd.Real(0, 6.28);
        cairo_move_to(cr, x + w / 2 + std::cos(a) * 3, y + h / 2 + std::sin(a) * 3);
        cairo_line_to(cr, x + w / 2 + std::cos(a) * 8, y + h / 2 + std::sin(a) * 7);
        SetColour(cr, {0.30, 0.18, 0.06}, 0.6);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
      }
      for (int e = 0; e < 3; ++e) {
        Ellipse(cr, x + w / 2 - 3 + e * 3, y + 7 + (e == 1 ? -1 : 0), 1, 1);
        SetColour(cr, pal::kInk);
        cairo_fill(cr);
      }
      Gloss(cr, x + w / 2 - 3, y + h / 2 - 3, 3, 2, 0.35);
      break;
    }
  }
  cairo_restore(cr);
}

// Damage stage d (0..4): cracks and chips accumulate (each stage keeps the ones before), a board
// splits, splinters stick out, the wood darkens.
void DrawDamage(cairo_t* cr, const BrickPicture& b, int index, int d) {
  if (d == 0) return;
  const double x = b.left, y = b.top, w = b.right - b.left, h = b.bottom - b.top;
  const BrickStyle st = StyleOf(b);
  const double scale = std::sqrt(w * h / (44.0 * 22.0));
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_rectangle(cr, x, y, w, h);
  SetColour(cr, {0.15, 0.08, 0.02}, 0.05 * d);
  cairo_fill(cr);
  static const int kCracks[5] = {0, 2, 3, 5, 7};
  Scatter cracks(9000 + static_cast<std::uint32_t>(index) * 17);
  const int n = static_cast<int>(kCracks[d] * scale + 0.5);
  for (int c = 0; c < n; ++c) {
    double cx = x + cracks.Real(3, w - 3), cy = y + cracks.Real(3, h - 3);
    const double len = cracks.Real(7, 13);
    double a = cracks.Real(0, 6.28);
    std::vector<std::pair<double, double>> pts{{cx, cy}};
    for (int s = 0; s < 4; ++s) {
      a += cracks.Real(-0.7, 0.7);
      cx += std::cos(a) * len / 4;
      cy += std::sin(a) * len / 4;
      pts.emplace_back(cx, cy);
    }
    for (int pass = 0; pass < 2; ++pass) {  // a light lip below a dark split
      cairo_new_path(cr);
      for (const auto& p : pts) cairo_line_to(cr, p.first + pass * -0.9, p.second + pass * -0.9);
      if (pass == 0)
        SetColour(cr, Shade(st.colour, 1.3), 0.8);
      else
        SetColour(cr, {0.12, 0.06, 0.02}, 0.95);
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
    }
  }
  static const int kChips[5] = {0, 0, 1, 2, 3};
  Scatter chips(7000 + static_cast<std::uint32_t>(index) * 31);
  for (int c = 0; c < static_cast<int>(kChips[d] * scale + 0.5); ++c) {
    const double cx = x + chips.Real(4, w - 4), cy = y + chips.Real(4, h - 4);
    cairo_new_path(cr);
    for (int k = 0; k < 6; ++k) {
      const double a = k * 1.05 + chips.Real(0, 0.4);
      const double r = (k % 2) ? chips.Real(1.5, 2.5) : chips.Real(3, 4.5);
      cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r * 0.7);
    }
    cairo_close_path(cr);
    const Colour pale = st.look == Look::Stone ? Colour{0.86, 0.86, 0.83} : Colour{0.98, 0.86, 0.62};
    SetColour(cr, pale);
    cairo_fill_preserve(cr);
    StrokeOnly(cr, 0.7, {0.30, 0.15, 0.05});
  }
  if (d >= 3 && st.look != Look::Stone) {  // a board splits along its length
    const double gy = y + h * 0.45;
    for (int pass = 0; pass < 2; ++pass) {
      cairo_new_path(cr);
      for (double gx = x + w * 0.1; gx <= x + w * (d == 3 ? 0.55 : 0.9); gx += 1)
        cairo_line_to(cr, gx, gy + std::sin(gx * 0.45) * 0.8 + pass * 1.2);
      if (pass == 0)
        SetColour(cr, {0.10, 0.05, 0.02}, 0.9);
      else
        SetColour(cr, Shade(st.colour, 1.35), 0.8);
      cairo_set_line_width(cr, pass == 0 ? 1.5 : 0.8);
      cairo_stroke(cr);
    }
  }
  if (d >= 4 && st.look != Look::Stone) {  // splinters stick out
    Scatter spl(5000 + static_cast<std::uint32_t>(index));
    for (int c = 0; c < 3; ++c) {
      const double sx = x + spl.Real(5, w - 5), sy = y + spl.Real(5, h - 5);
      const double a = spl.Real(0, 6.28);
      cairo_new_path(cr);
      cairo_move_to(cr, sx, sy);
      cairo_line_to(cr, sx + std::cos(a) * 6, sy + std::sin(a) * 3.5);
      cairo_line_to(cr, sx + std::cos(a + 0.35) * 2.5, sy + std::sin(a + 0.35) * 2);
      cairo_close_path(cr);
      SetColour(cr, {1.0, 0.88, 0.6});
      cairo_fill_preserve(cr);
      StrokeOnly(cr, 0.6, {0.3, 0.15, 0.05});
    }
  }
  cairo_restore(cr);
}

// ---------------------------------------------------------------- bigplanche

void Pineapple(cairo_t* cr, double cx, double cy, double spin) {
  const double w = 9.0 + 1.5 * std::fabs(std::cos(spin));
  // crown
  for (int i = -2; i <= 2; ++i) {
    const double a = -M_PI / 2 + i * 0.35 + 0.25 * std::sin(spin + i);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 2, cy - 8);
    cairo_line_to(cr, cx + std::cos(a) * 12, cy - 8 + std::sin(a) * 13);
    cairo_line_to(cr, cx + 2, cy - 8);
    cairo_close_path(cr);
    FillStroke(cr, i % 2 ? pal::kLeaf : pal::kLeafLight, 0.8, pal::kLeafDark);
  }
  Ellipse(cr, cx, cy + 5, w, 13);
  FillStroke(cr, {0.98, 0.72, 0.15}, 1.0, {0.45, 0.25, 0.05});
  cairo_save(cr);
  Ellipse(cr, cx, cy + 5, w, 13);
  cairo_clip(cr);
  for (int k = -6; k <= 6; ++k) {
    const double off = k * 5 + std::fmod(spin * 8, 5.0);
    cairo_new_path(cr);
    cairo_move_to(cr, cx + off - 15, cy - 10);
    cairo_line_to(cr, cx + off + 15, cy + 20);
    cairo_move_to(cr, cx + off + 15, cy - 10);
    cairo_line_to(cr, cx + off - 15, cy + 20);
    SetColour(cr, {0.65, 0.40, 0.05}, 0.7);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  Gloss(cr, cx - w * 0.4 * std::cos(spin), cy, 2, 5, 0.4);
}

void Mango(cairo_t* cr, double cx, double cy, double a) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, a);
  Ellipse(cr, 0, 1, 9.5, 10.5);
  cairo_pattern_t* g = cairo_pattern_create_radial(-3, -3, 1, 0, 0, 11);
  cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.85, 0.30);
  cairo_pattern_add_color_stop_rgb(g, 0.6, 1.0, 0.50, 0.10);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.85, 0.20, 0.15);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  StrokeOnly(cr, 1.0);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, -9);
  cairo_curve_to(cr, 3, -14, 8, -13, 9, -11);
  cairo_curve_to(cr, 6, -9, 3, -9, 0, -9);
  FillStroke(cr, pal::kLeafLight, 0.8, pal::kLeafDark);
  Gloss(cr, -3.5, -3, 2.5, 3.5, 0.5);
  cairo_restore(cr);
}

void Melon(cairo_t* cr, double cx, double cy, double a) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, a);
  cairo_new_path(cr);
  cairo_arc(cr, 0, -4, 13, M_PI * 0.05, M_PI * 0.95);
  cairo_close_path(cr);
  SetColour(cr, {0.20, 0.62, 0.22});
  cairo_fill_preserve(cr);
  StrokeOnly(cr, 1.0);
  cairo_new_path(cr);
  cairo_arc(cr, 0, -4, 10.5, M_PI * 0.07, M_PI * 0.93);
  cairo_close_path(cr);
  FillStroke(cr, {0.98, 0.30, 0.35}, 0.6, {0.85, 0.95, 0.70});
  for (int i = 0; i < 5; ++i) {
    Ellipse(cr, -6 + i * 3, 0 + (i % 2) * 2.5, 0.8, 1.2);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void Banana(cairo_t* cr, double cx, double cy, double a) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, a);
  cairo_new_path(cr);
  cairo_move_to(cr, -10, -6);
  cairo_curve_to(cr, -6, 6, 6, 8, 11, -3);
  cairo_curve_to(cr, 6, 3, -4, 1, -7, -8);
  cairo_close_path(cr);
  FillStroke(cr, {1.0, 0.88, 0.25}, 1.0, {0.45, 0.32, 0.05});
  Ellipse(cr, -9, -7.5, 1.6, 1.6);
  SetColour(cr, {0.35, 0.22, 0.05});
  cairo_fill(cr);
  Ellipse(cr, 11, -3, 1.2, 1.2);
  cairo_fill(cr);
  cairo_restore(cr);
}

void FruitBlock(cairo_t* cr, int x0, int y0, int fw, int fh, int cols, int rows, int kind) {
  const int n = cols * rows;
  for (int i = 0; i < n; ++i) {
    const double cx = x0 + (i % cols) * fw + fw / 2.0, cy = y0 + (i / cols) * fh + fh / 2.0;
    const double t = static_cast<double>(i) / n;
    cairo_save(cr);
    cairo_rectangle(cr, x0 + (i % cols) * fw, y0 + (i / cols) * fh, fw, fh);
    cairo_clip(cr);
    switch (kind) {
      case 0: Pineapple(cr, cx, cy + 2, t * 2 * M_PI * 2); break;
      case 1: Mango(cr, cx, cy + 1, t * 2 * M_PI); break;
      case 2: Melon(cr, cx, cy + 2, t * 2 * M_PI); break;
      default: Banana(cr, cx, cy, t * 2 * M_PI); break;
    }
    cairo_restore(cr);
  }
}

void Digits(cairo_t* cr) {
  for (const DigitGlyph& g : kDigitGlyphs) {
    const double x = kDigitGlyphLeft + g.start, w = g.end - g.start;
    const std::string s(1, g.c);
    cairo_save(cr);
    SelectFace(cr, Face::Body, 100);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    const double sy = 11.0 / e.height, sx = std::min(sy * 1.1, (w - 2.0) / e.width);
    cairo_translate(cr, x + w / 2, kDigitGlyphTop + 6.5);
    cairo_scale(cr, sx, sy);
    cairo_new_path(cr);
    cairo_move_to(cr, -(e.x_bearing + e.width / 2), -(e.y_bearing + e.height / 2));
    cairo_text_path(cr, s.c_str());
    cairo_restore(cr);
    cairo_path_t* glyph = cairo_copy_path(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x, kDigitGlyphTop, w, kDigitGlyphBottom - kDigitGlyphTop);
    cairo_clip(cr);
    cairo_append_path(cr, glyph);
    cairo_path_destroy(glyph);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    FillGradient(cr, kDigitGlyphTop, {1.0, 0.96, 0.60}, kDigitGlyphBottom, pal::kOrange, false);
    cairo_restore(cr);
  }
}

void Casing(cairo_t* cr, double cx, double cy, double a) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, a);
  RoundRect(cr, -2.6, -5, 5.2, 10, 1.5);
  FillStroke(cr, {0.95, 0.72, 0.25}, 0.8, {0.40, 0.25, 0.05});
  cairo_rectangle(cr, -2.6, 3, 5.2, 1.4);
  SetColour(cr, {0.6, 0.4, 0.1});
  cairo_fill(cr);
  Gloss(cr, -1, -1, 0.8, 3, 0.6);
  cairo_restore(cr);
}

void TrackPiece(cairo_t* cr, double x, double y) {
  // a bamboo rail of three 29-pixel pieces, so it tiles every 87 pixels
  cairo_rectangle(cr, x, y, kTrackPieceRect.right - kTrackPieceRect.left, kTrackPieceRect.bottom - kTrackPieceRect.top);
  FillGradient(cr, y, {0.35, 0.22, 0.10}, y + 8, {0.18, 0.10, 0.04}, false);
  for (int i = 0; i < 3; ++i) {
    const double bx = x + i * 29;
    RoundRect(cr, bx + 1, y + 1, 27, 6, 2.5);
    FillGradient(cr, y + 1, {0.98, 0.88, 0.45}, y + 7, {0.70, 0.55, 0.15});
    StrokeOnly(cr, 0.6, {0.35, 0.22, 0.05});
    cairo_new_path(cr);
    cairo_move_to(cr, bx + 14.5, y + 1.5);
    cairo_line_to(cr, bx + 14.5, y + 6.5);
    StrokeOnly(cr, 0.9, {0.55, 0.40, 0.10});
  }
}

struct CaptionDef {
  int kind;  // the strip's top is the bonus kind's caption top
  const char* text;
  Colour colour;
};
constexpr CaptionDef kCaptions[] = {
    {13, "Fast balls!", {0.95, 0.35, 0.15}}, {2, "Slow balls", {0.25, 0.70, 0.35}},
    {15, "Gravity!", {0.20, 0.30, 0.70}},    {1, "Lift off!", {0.20, 0.60, 0.95}},
    {7, "Big drum!", {0.15, 0.65, 0.60}},    {6, "Drum reset", {0.15, 0.55, 0.65}},
    {5, "Tiny drum", {0.55, 0.30, 0.70}},    {8, "Drum gun!", {0.75, 0.20, 0.25}},
    {21, "Drum grows", {0.30, 0.70, 0.25}},  {20, "Drum shrinks", {0.60, 0.30, 0.65}},
    {16, "Frozen!", {0.40, 0.75, 0.95}},     {3, "Extra life!", {0.90, 0.20, 0.35}},
};

void Caption(cairo_t* cr, const CaptionDef& c) {
  const double x = kCaptionLeft, y = FindBonusArt(c.kind)->captionY;
  RoundRect(cr, x + 1.5, y + 2.5, 119, 24, 11);
  FillStroke(cr, c.colour, 2.0);
  Gloss(cr, x + 61, y + 8, 50, 4, 0.35);
  SelectFace(cr, Face::Display, 17);
  double size = 17;
  while (TextWidth(cr, c.text) > 104 && size > 10) SelectFace(cr, Face::Display, size -= 0.5);
  OutlinedText(cr, c.text, x + 61, y + 20, 0.5, pal::kWhite, pal::kInk, 1.6, pal::kYellow);
}

}  // namespace

void DrawCapsule(cairo_t* cr, int x, int y, int kind) {
  struct Def {
    int kind;
    Colour colour;
  };
  static const Def defs[] = {{1, {0.25, 0.60, 0.95}}, {2, {0.30, 0.72, 0.30}}, {3, {0.92, 0.22, 0.30}},
                             {4, {1.00, 0.55, 0.10}}, {5, {0.60, 0.35, 0.75}}, {6, {0.15, 0.60, 0.62}},
                             {7, {0.15, 0.62, 0.55}}, {8, {0.70, 0.22, 0.22}}, {13, {0.95, 0.40, 0.12}},
                             {15, {0.22, 0.28, 0.65}}, {16, {0.50, 0.82, 0.98}}, {20, {0.62, 0.32, 0.70}},
                             {21, {0.30, 0.70, 0.25}}, {22, {0.55, 0.38, 0.20}}};
  Colour col{0.5, 0.5, 0.5};
  for (const Def& d : defs)
    if (d.kind == kind) col = d.colour;
  cairo_save(cr);
  RoundRect(cr, x + 1, y + 1, 34, 19, 9.5);
  FillStroke(cr, col, 1.4);
  Gloss(cr, x + 18, y + 6, 12, 2.5, 0.5);
  const double cx = x + 18, cy = y + 11;
  cairo_set_line_width(cr, 1.0);
  auto white = [&]() {
    SetColour(cr, pal::kWhite);
    cairo_fill_preserve(cr);
    StrokeOnly(cr, 1.0);
  };
  auto arrow = [&](double ax, double ay, double dir, double len) {  // dir: 0 right, pi/2 down
    cairo_save(cr);
    cairo_translate(cr, ax, ay);
    cairo_rotate(cr, dir);
    cairo_new_path(cr);
    cairo_move_to(cr, len / 2, 0);
    cairo_line_to(cr, len / 2 - 4.5, -4.2);
    cairo_line_to(cr, len / 2 - 4.5, -1.5);
    cairo_line_to(cr, -len / 2, -1.5);
    cairo_line_to(cr, -len / 2, 1.5);
    cairo_line_to(cr, len / 2 - 4.5, 1.5);
    cairo_line_to(cr, len / 2 - 4.5, 4.2);
    cairo_close_path(cr);
    cairo_restore(cr);
    white();
  };
  auto drum = [&](double w) {
    cairo_new_path(cr);
    DrawDrum(cr, cx, cy - 3, w, 6, pal::kRed);
  };
  switch (kind) {
    case 1: arrow(cx, cy, -M_PI / 2, 13); break;
    case 15: arrow(cx, cy, M_PI / 2, 13); break;
    case 3:
      cairo_new_path(cr);
      cairo_move_to(cr, cx, cy + 5.5);
      cairo_curve_to(cr, cx - 9, cy - 1, cx - 4, cy - 8, cx, cy - 3);
      cairo_curve_to(cr, cx + 4, cy - 8, cx + 9, cy - 1, cx, cy + 5.5);
      white();
      break;
    case 2:  // snail shell
      cairo_new_path(cr);
      for (int i = 0; i <= 30; ++i) {
        const double a = i * 0.45, r = 1 + i * 0.18;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
      }
      SetColour(cr, pal::kWhite);
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
      break;
    case 13:  // double chevron
      for (int k = 0; k < 2; ++k) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx - 7 + k * 7, cy - 5);
        cairo_line_to(cr, cx - 1 + k * 7, cy);
        cairo_line_to(cr, cx - 7 + k * 7, cy + 5);
        SetColour(cr, pal::kInk);
        cairo_set_line_width(cr, 4);
        cairo_stroke_preserve(cr);
        SetColour(cr, pal::kWhite);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
      }
      break;
    case 4:  // lightning
      cairo_new_path(cr);
      cairo_move_to(cr, cx + 2, cy - 7);
      cairo_line_to(cr, cx - 4, cy + 1);
      cairo_line_to(cr, cx, cy + 1);
      cairo_line_to(cr, cx - 2, cy + 7);
      cairo_line_to(cr, cx + 5, cy - 1.5);
      cairo_line_to(cr, cx + 1, cy - 1.5);
      cairo_close_path(cr);
      SetColour(cr, pal::kYellow);
      cairo_fill_preserve(cr);
      StrokeOnly(cr, 1.0);
      break;
    case 5: drum(9); break;
    case 6: drum(14); break;
    case 7: drum(22); break;
    case 8:  // crosshair
      Ellipse(cr, cx, cy, 5, 5);
      SetColour(cr, pal::kWhite);
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, cx - 8, cy);
      cairo_line_to(cr, cx + 8, cy);
      cairo_move_to(cr, cx, cy - 7);
      cairo_line_to(cr, cx, cy + 7);
      cairo_stroke(cr);
      break;
    case 16:  // snowflake
      for (int k = 0; k < 3; ++k) {
        const double a = k * M_PI / 3;
        cairo_new_path(cr);
        cairo_move_to(cr, cx - 7 * std::cos(a), cy - 7 * std::sin(a));
        cairo_line_to(cr, cx + 7 * std::cos(a), cy + 7 * std::sin(a));
        SetColour(cr, pal::kWhite);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
      }
      break;
    case 20:
      arrow(cx - 8, cy, 0, 8);
      arrow(cx + 8, cy, M_PI, 8);
      break;
    case 21:
      arrow(cx - 7, cy, M_PI, 9);
      arrow(cx + 7, cy, 0, 9);
      break;
    case 22:
      cairo_new_path(cr);
      cairo_move_to(cr, cx - 10, cy);
      cairo_line_to(cr, cx - 6, cy - 5);
      cairo_line_to(cr, cx - 2, cy + 4);
      cairo_line_to(cr, cx + 2, cy - 5);
      cairo_line_to(cr, cx + 6, cy + 4);
      cairo_line_to(cr, cx + 10, cy - 1);
      SetColour(cr, pal::kInk);
      cairo_set_line_width(cr, 3.6);
      cairo_stroke_preserve(cr);
      SetColour(cr, pal::kYellow);
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
      break;
    default: break;
  }
  cairo_restore(cr);
}

void WriteBrickSheets(Output& out) {
  for (int d = 0; d < 5; ++d) {
    Canvas c(kBrickSheetWidth, kBrickSheetHeight);
    int i = 0;
    for (const BrickPicture& b : kBrickPictures) {
      DrawBrickBase(c.cr(), b, i);
      DrawDamage(c.cr(), b, i, d);
      ++i;
    }
    out.Sprite("data/levels/bricks/planche" + std::to_string(d + 1) + ".bmp", c);
  }
}

void WriteBigPlanche(Output& out) {
  Canvas c(512, 420);
  cairo_t* cr = c.cr();
  for (int k = 0; k < kFruitKindCount; ++k) {
    const FruitKind& f = kFruitKinds[k];
    FruitBlock(cr, f.firstX, f.firstY, f.frameW, f.frameH, (f.endX - f.firstX) / f.frameW,
               (f.endY - f.firstY) / f.frameH, k);
  }
  TrackPiece(cr, kTrackPieceRect.left, kTrackPieceRect.top);
  Digits(cr);
  // bullet: a glowing seed flying up
  Ellipse(cr, 167.5, 217, 3.6, 3.6);
  FillStroke(cr, pal::kYellow, 1.0, {0.6, 0.2, 0.0});
  Gloss(cr, 166.5, 215.5, 1.2, 1.2, 0.8);
  for (int i = 0; i < kCasingColumns * kCasingRows; ++i)
    Casing(cr, (i % kCasingColumns) * kCasingFrameSize + 7, kCasingTop + (i / kCasingColumns) * kCasingFrameSize + 7,
           i * M_PI / 6 + (i / kCasingColumns) * 0.2);
  // demo caption
  const int dx = kDemoCaptionRect.left, dy = kDemoCaptionRect.top;
  const int dw = kDemoCaptionRect.right - dx, dh = kDemoCaptionRect.bottom - dy;
  RoundRect(cr, dx + 3, dy + 3, dw - 6, dh - 6, 14);
  FillStroke(cr, pal::kWood, 3.0);
  RoundRect(cr, dx + 9, dy + 9, dw - 18, dh - 18, 10);
  StrokeOnly(cr, 1.5, pal::kWoodDark);
  SelectFace(cr, Face::Display, 34);
  OutlinedText(cr, "Demo", dx + dw / 2, dy + 42, 0.5, pal::kWhite, pal::kInk, 2.5, pal::kYellow);
  for (int s = -1; s <= 1; s += 2) {
    StarPath(cr, dx + dw / 2 + s * 62, dy + 30, 9, 4);
    FillStroke(cr, pal::kYellow, 1.2);
  }
  for (const BonusArt& k : kBonusArt) DrawCapsule(cr, k.iconX, k.iconY, k.kind);
  for (const CaptionDef& cd : kCaptions) Caption(cr, cd);
  out.Sprite("data/sprites/bigplanche.bmp", c);
}

}  // namespace art
