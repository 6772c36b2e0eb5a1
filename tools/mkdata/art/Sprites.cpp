// Animated sprites: balls, explosions, the drummer and its drums, the gun, the rolling monkey,
// the side-panel mascot and the pointer.
#include "tools/mkdata/art/Canvas.h"

#include <cmath>

namespace art {

namespace {

constexpr double kTau = 2 * M_PI;

void BeachBall(cairo_t* cr, double cx, double cy, double r, double turn) {
  static const Colour stripes[6] = {pal::kRed, pal::kWhite, pal::kYellow, pal::kWhite, pal::kBlue, pal::kWhite};
  for (int i = 0; i < 6; ++i) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy);
    cairo_arc(cr, cx, cy, r, turn + i * kTau / 6, turn + (i + 1) * kTau / 6);
    cairo_close_path(cr);
    SetColour(cr, stripes[i]);
    cairo_fill(cr);
  }
  // shading
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, kTau);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 0.7, 0, 0, 0.1, 0.05);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0.1, 0.35);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  StrokeOnly(cr, 1.2);
  Ellipse(cr, cx, cy, r * 0.22, r * 0.22);
  SetColour(cr, pal::kWhite);
  cairo_fill(cr);
  Gloss(cr, cx - r * 0.4, cy - r * 0.45, r * 0.28, r * 0.18, 0.75);
}

void EvilBall(cairo_t* cr, double cx, double cy, double t) {
  const double pulse = 0.5 + 0.5 * std::sin(t * kTau);
  cairo_new_path(cr);
  for (int i = 0; i < 20; ++i) {
    const double a = t * kTau / 4 + i * kTau / 20;
    const double r = (i % 2) ? 8.6 : 11.4;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
  // a hot rim so the ball reads on night skies too
  SetColour(cr, Mix({1.0, 0.55, 0.15}, {1.0, 0.85, 0.30}, pulse));
  cairo_set_line_width(cr, 2.6);
  cairo_stroke_preserve(cr);
  FillStroke(cr, Mix({0.45, 0.12, 0.55}, {0.80, 0.10, 0.25}, pulse), 0.9);
  Ellipse(cr, cx, cy, 8.3, 8.3);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - 2, cy - 2, 1, cx, cy, 8.3);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.25, 0.65);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.20, 0.04, 0.28);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int s = -1; s <= 1; s += 2) {  // angry eyes
    cairo_new_path(cr);
    cairo_move_to(cr, cx + s * 1.2, cy - 1.0);
    cairo_line_to(cr, cx + s * 5.2, cy - 3.2);
    cairo_line_to(cr, cx + s * 4.6, cy + 0.6);
    cairo_close_path(cr);
    SetColour(cr, Mix(pal::kYellow, {1, 0.3, 0.1}, pulse));
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 3.5, cy + 4);
  cairo_line_to(cr, cx - 1.5, cy + 2.6);
  cairo_line_to(cr, cx, cy + 4);
  cairo_line_to(cr, cx + 1.5, cy + 2.6);
  cairo_line_to(cr, cx + 3.5, cy + 4);
  SetColour(cr, pal::kWhite);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  Gloss(cr, cx - 3.5, cy - 4.5, 2, 1.2, 0.6);
}

void Splinter(cairo_t* cr, double x, double y, double len, double a, Colour c) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, a);
  cairo_new_path(cr);
  cairo_move_to(cr, -len / 2, -2.2);
  cairo_line_to(cr, len / 2 - 1, -1.4);
  cairo_line_to(cr, len / 2 + 1, 0.2);
  cairo_line_to(cr, len / 2 - 2.5, 2.2);
  cairo_line_to(cr, -len / 2, 2.0);
  cairo_close_path(cr);
  FillStroke(cr, c, 0.8);
  cairo_restore(cr);
}

void ExplosionFrame(cairo_t* cr, double x0, double y0, int i) {
  const double cx = x0 + 48, cy = y0 + 32;
  const double t = (i + 1) / 6.0;
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 96, 64);
  cairo_clip(cr);
  Scatter rnd(77);
  // dust puffs
  const int puffs = 9;
  for (int k = 0; k < puffs; ++k) {
    const double a = k * kTau / puffs + rnd.Real(-0.3, 0.3);
    const double dist = (6 + 20 * t) * rnd.Real(0.7, 1.1);
    const double r = (i < 4 ? 5 + 9 * t : 13 - (i - 3) * 4.0) * rnd.Real(0.7, 1.0);
    if (r <= 1) continue;
    Ellipse(cr, cx + std::cos(a) * dist * 1.3, cy + std::sin(a) * dist * 0.8 + t * 4, r, r * 0.85);
    FillStroke(cr, Mix(pal::kCream, pal::kSandDark, t), 1.0, Shade(pal::kSandDark, 0.7));
  }
  // flash
  if (i < 3) {
    StarPath(cr, cx, cy, 20 - i * 4, 8 - i * 2, i * 0.3);
    FillStroke(cr, i == 0 ? pal::kWhite : pal::kYellow, 1.2, pal::kOrange);
  }
  // boards and splinters flying out and falling
  for (int k = 0; k < 14; ++k) {
    const double a = rnd.Real(0, kTau);
    const double sp = rnd.Real(16, 42);
    const double px = cx + std::cos(a) * sp * t * 1.15;
    const double py = cy + std::sin(a) * sp * t * 0.75 + 24 * t * t;
    const double len = rnd.Real(8, 15) * (k < 4 ? 1.3 : 1.0);
    const double spin = a + t * rnd.Real(3, 8);
    if (i >= 4 && k % 2) continue;
    Splinter(cr, px, py, len * (i >= 4 ? 0.8 : 1.0), spin, k % 3 ? pal::kWoodLight : pal::kWood);
  }
  // sparks at the start
  if (i < 2) {
    for (int k = 0; k < 8; ++k) {
      const double a = k * kTau / 8 + 0.2;
      cairo_new_path(cr);
      cairo_move_to(cr, cx + std::cos(a) * (10 + 8 * i), cy + std::sin(a) * (7 + 5 * i));
      cairo_line_to(cr, cx + std::cos(a) * (20 + 12 * i), cy + std::sin(a) * (13 + 8 * i));
      SetColour(cr, pal::kInk);
      cairo_set_line_width(cr, 3.5);
      cairo_stroke_preserve(cr);
      SetColour(cr, pal::kYellow);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
  }
  cairo_restore(cr);
}

// ---------------------------------------------------------------- drummer and drums

// Where the sticks are in frame f of the drummer sequences (0 rest .. 1 hit), per side,
// and which part of the drum is struck.
struct StrikeState {
  double left = 0.2, right = 0.2;  // 0 raised high, 1 on the skin
  double flashL = 0, flashR = 0, flashM = 0;
  int mood = 0;  // 0 idle, 1 striking
};

StrikeState StateOf(int f) {
  StrikeState s;
  auto curve = [](int k, int n) {  // raise then slam: 0..n-1
    static const double up[] = {0.4, 0.1, 0.0, 1.0, 1.0, 0.8, 0.6, 0.45, 0.35, 0.3};
    (void)n;
    return up[k < 10 ? k : 9];
  };
  if (f <= 35) {
    const int ph = f % 12;
    s.left = ph == 0 ? 0.9 : (ph == 1 ? 0.6 : 0.3);
    s.right = ph == 6 ? 0.9 : (ph == 7 ? 0.6 : 0.3);
    s.flashL = ph == 0 ? 0.3 : 0;
    s.flashR = ph == 6 ? 0.3 : 0;
    return s;
  }
  s.mood = 1;
  if (f <= 44) {  // right third
    const int k = f - 36;
    s.right = curve(k, 9);
    s.left = 0.35;
    if (k == 3 || k == 4) s.flashR = k == 3 ? 1.0 : 0.6;
  } else if (f <= 54) {  // left third
    const int k = f - 45;
    s.left = curve(k, 10);
    s.right = 0.35;
    if (k == 3 || k == 4) s.flashL = k == 3 ? 1.0 : 0.6;
  } else {  // middle, both sticks
    const int k = f - 55;
    s.left = curve(k, 10);
    s.right = curve(k, 10);
    if (k == 3 || k == 4) s.flashM = k == 3 ? 1.0 : 0.6;
  }
  return s;
}

void HitBurst(cairo_t* cr, double x, double y, double amount) {
  if (amount <= 0) return;
  for (int k = 0; k < 6; ++k) {
    const double a = -M_PI + k * M_PI / 5;
    cairo_new_path(cr);
    cairo_move_to(cr, x + std::cos(a) * 3, y + std::sin(a) * 2);
    cairo_line_to(cr, x + std::cos(a) * (4 + 5 * amount), y + std::sin(a) * (3 + 4 * amount));
    SetColour(cr, pal::kYellow);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
}

// One drum frame of width w, height 24 (skin top at y 9), with the paws and stick tips.
void DrumFrame(cairo_t* cr, double x0, double y0, double w, int f, int kind) {
  const StrikeState s = StateOf(f);
  const double cx = x0 + w / 2, top = y0 + 11.5;
  const double dw = w - 10;
  static const Colour bodies[4] = {{0.60, 0.30, 0.70}, {0.90, 0.30, 0.22}, {0.15, 0.62, 0.55}, {0.45, 0.45, 0.50}};
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, w, 24);
  cairo_clip(cr);
  const double flashAll = std::max(s.flashM, std::max(s.flashL, s.flashR) * 0.5);
  const double bounce = (s.flashL + s.flashR + s.flashM) > 0.9 ? 1.0 : 0.0;
  DrawDrum(cr, cx, top + bounce, dw, 9 - bounce, bodies[kind], flashAll, 3.6);
  if (kind == 3) {  // the gun bat: a bamboo barrel on the drum
    RoundRect(cr, cx - 3, y0 + 1, 6, 10, 1.5);
    FillStroke(cr, pal::kIron, 1.0);
    cairo_rectangle(cr, cx - 3.5, y0 + 1, 7, 2.5);
    FillStroke(cr, {0.3, 0.3, 0.32}, 0.8);
  }
  // sticks: from the paws at the drum's sides to the tips over the skin
  const double hitX[2] = {cx - dw * 0.28, cx + dw * 0.28};
  const double amount[2] = {s.left, s.right};
  for (int side = 0; side < 2; ++side) {
    const int sg = side == 0 ? -1 : 1;
    double tx = hitX[side], ty = top - 1 - (1 - amount[side]) * 10;
    if (s.flashM > 0 || (f >= 55 && amount[side] > 0.9)) tx = cx + sg * 4;
    if (f >= 55) tx = cx + sg * (4 + (1 - amount[side]) * dw * 0.2);
    const double px = cx + sg * (dw / 2 + 1.5), py = y0 + 17;
    cairo_new_path(cr);
    cairo_move_to(cr, px, py);
    cairo_line_to(cr, tx, ty);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke_preserve(cr);
    SetColour(cr, pal::kWoodLight);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    Ellipse(cr, tx, ty, 2.3, 2.3);
    FillStroke(cr, pal::kRed, 0.7);
    Ellipse(cr, px, py, 3.0, 3.2);
    FillStroke(cr, pal::kSkin, 0.9);
  }
  HitBurst(cr, hitX[0], top - 1, s.flashL);
  HitBurst(cr, hitX[1], top - 1, s.flashR);
  HitBurst(cr, cx, top - 1, s.flashM);
  cairo_restore(cr);
}

void DrummerFrame(cairo_t* cr, double x0, double y0, int f) {
  const StrikeState s = StateOf(f);
  MonkeyPose p;
  p.armLen = 33;
  const double bob = s.mood ? (s.flashL + s.flashR + s.flashM > 0.5 ? 3 : (s.left + s.right < 0.5 ? -1 : 0)) : std::sin(f * kTau / 12) * 1.0;
  // arms reach up to the drum's sides
  p.armL = 2.5 - (s.left - 0.3) * 0.3;
  p.armR = 2.5 - (s.right - 0.3) * 0.3;
  p.hands = false;
  p.mouth = s.mood ? 1 : 0;
  p.eyes = (s.flashL + s.flashR + s.flashM) > 0.5 ? 1 : 0;
  p.headTilt = s.mood ? 0.0 : std::sin(f * kTau / 12) * 0.08;
  p.legL = 0.3 + (s.mood ? 0.1 : 0.05 * std::sin(f * kTau / 12));
  p.legR = 0.3;
  p.tail = std::sin(f * kTau / 18);
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 71, 80);
  cairo_clip(cr);
  DrawMonkey(cr, x0 + 35.5, y0 + 35 + bob, 1.0, p);
  cairo_restore(cr);
}

void GunFrame(cairo_t* cr, double x0, double y0, int f) {
  // frame 56 x 130 drawn at (batX + 8, 416): muzzle at (19, 33), casing out at (4, 49),
  // drum skin at about y 57, the monkey below.
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 56, 130);
  cairo_clip(cr);
  double raise;  // barrel out 0..1
  if (f < 7)
    raise = f / 6.0;
  else if (f <= 18)
    raise = 1.0;
  else
    raise = 1.0 - (f - 18) / 9.0;
  const bool shot = f == 8 || f == 9;
  const double recoil = f == 8 ? 2.5 : (f == 9 ? 1.5 : (f == 10 ? 0.5 : 0));
  MonkeyPose p;
  p.armLen = 22;
  p.armL = 2.5;
  p.armR = 2.5;
  p.hands = true;
  p.eyes = shot ? 1 : 4;
  p.mouth = shot ? 1 : 0;
  DrawMonkey(cr, x0 + 26, y0 + 84 + recoil * 0.5, 1.0, p);
  const double top = y0 + 57 + recoil;
  // barrel
  const double bx = x0 + 19, len = 24 * raise;
  if (len > 0.5) {
    RoundRect(cr, bx - 3.5, top - len, 7, len + 4, 2);
    FillStroke(cr, pal::kIron, 1.0);
    cairo_rectangle(cr, bx - 4, top - len, 8, 3);
    FillStroke(cr, {0.3, 0.3, 0.32}, 0.8);
  }
  DrawDrum(cr, x0 + 26, top, 46, 10, {0.45, 0.45, 0.50}, shot ? 0.5 : 0, 3.6);
  if (shot) {
    const double sz = f == 8 ? 1.0 : 0.6;
    StarPath(cr, bx, y0 + 28, 12 * sz, 5 * sz, f * 0.4);
    FillStroke(cr, pal::kYellow, 1.0, pal::kOrange);
    StarPath(cr, bx, y0 + 28, 6 * sz, 3 * sz, f * 0.4 + 0.3);
    SetColour(cr, pal::kWhite);
    cairo_fill(cr);
  }
  if (f >= 10 && f <= 15) {  // smoke puffs rising
    for (int k = 0; k < 3; ++k) {
      const double r = 2.5 + (f - 10) * 0.5 + k;
      Ellipse(cr, bx + (k - 1) * 3, y0 + 26 - (f - 10) * 3 - k * 4, r, r);
      FillStroke(cr, {0.92, 0.92, 0.92}, 0.8, {0.5, 0.5, 0.5});
    }
  }
  if (f == 8 || f == 9) {  // the casing pops out on the left
    cairo_save(cr);
    cairo_translate(cr, x0 + 5, y0 + 49 - (f - 8) * 4);
    cairo_rotate(cr, f * 0.8);
    RoundRect(cr, -2, -4, 4, 8, 1.2);
    FillStroke(cr, {0.95, 0.72, 0.25}, 0.8);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void RollingMonkeyFrame(cairo_t* cr, double x0, double y0, int f) {
  const double a = f * kTau / 25;
  const double wx = x0 + 44, wy = y0 + 40, r = 33;
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 100, 75);
  cairo_clip(cr);
  // belt pulleys on the right, where the track strips leave
  for (int k = 0; k < 2; ++k) {
    const double py = y0 + 16 + k * 26;
    Ellipse(cr, x0 + 88, py, 8, 8);
    FillStroke(cr, pal::kWoodDark, 1.2);
    for (int s = 0; s < 4; ++s) {
      const double sa = (k ? -a : a) * 2 + s * M_PI / 2;
      cairo_new_path(cr);
      cairo_move_to(cr, x0 + 88, py);
      cairo_line_to(cr, x0 + 88 + std::cos(sa) * 7, py + std::sin(sa) * 7);
      StrokeOnly(cr, 1.5, pal::kWoodLight);
    }
  }
  // back of the wheel
  Ellipse(cr, wx, wy, r, r);
  cairo_pattern_t* g = cairo_pattern_create_radial(wx, wy - 8, 4, wx, wy, r);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.38, 0.20);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.30, 0.18, 0.08);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int s = 0; s < 8; ++s) {
    const double sa = a + s * kTau / 8;
    cairo_new_path(cr);
    cairo_move_to(cr, wx + std::cos(sa) * 6, wy + std::sin(sa) * 6);
    cairo_line_to(cr, wx + std::cos(sa) * (r - 2), wy + std::sin(sa) * (r - 2));
    SetColour(cr, pal::kWoodDark, 0.9);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
  }
  Ellipse(cr, wx, wy, 6, 6);
  FillStroke(cr, pal::kWood, 1.2);
  // the monkey runs inside
  MonkeyPose p;
  const double stride = std::sin(f * kTau * 3 / 25);
  p.legL = 0.2 + 0.7 * stride;
  p.legR = 0.2 - 0.7 * stride;
  p.armL = 1.2 - 0.8 * stride;
  p.armR = 1.2 + 0.8 * stride;
  p.armLen = 12;
  p.bodyLean = 0.15;
  p.mouth = 1;
  p.tail = stride;
  DrawMonkey(cr, wx - 3, wy + 1 - std::fabs(stride) * 1.5, 0.74, p);
  // front rim with rungs
  Ellipse(cr, wx, wy, r, r);
  SetColour(cr, pal::kInk);
  cairo_set_line_width(cr, 7);
  cairo_stroke_preserve(cr);
  SetColour(cr, pal::kWood);
  cairo_set_line_width(cr, 4.5);
  cairo_stroke(cr);
  for (int s = 0; s < 12; ++s) {
    const double sa = a + s * kTau / 12;
    Ellipse(cr, wx + std::cos(sa) * r, wy + std::sin(sa) * r, 1.5, 1.5);
    SetColour(cr, pal::kWoodLight);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void Sparkle(cairo_t* cr, double x, double y, double r, double turn) {
  StarPath(cr, x, y, r, r * 0.4, turn);
  FillStroke(cr, pal::kYellow, 0.8, pal::kOrange);
}

void WinFrame(cairo_t* cr, double x0, double y0, int i) {
  // 54 frames: three little dances of 18 frames
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 77, 75);
  cairo_clip(cr);
  const int dance = i / 18;
  const double t = (i % 18) / 18.0;
  MonkeyPose p;
  p.mouth = 1;
  p.eyes = (i % 6 == 3) ? 1 : 0;
  double jump = 0, lean = 0;
  if (dance == 0) {  // jumping with both arms up
    jump = std::fabs(std::sin(t * kTau)) * 7;
    p.armL = p.armR = 2.3 + 0.5 * std::sin(t * kTau * 2);
    p.legL = p.legR = 0.2 + 0.3 * std::fabs(std::sin(t * kTau));
  } else if (dance == 1) {  // side-to-side sway, waving
    lean = std::sin(t * kTau) * 0.25;
    p.armL = 2.6 + 0.5 * std::sin(t * kTau * 2);
    p.armR = 0.6 + 0.4 * std::sin(t * kTau * 2 + 1);
    p.legL = 0.2 + 0.2 * std::sin(t * kTau);
    p.legR = 0.2 - 0.2 * std::sin(t * kTau);
  } else {  // clapping over the head
    jump = std::fabs(std::sin(t * kTau * 2)) * 3;
    const double clap = 0.5 + 0.5 * std::sin(t * kTau * 3);
    p.armL = p.armR = 2.55 + 0.45 * clap;
    p.eyes = 1;
    p.legL = p.legR = 0.25;
  }
  p.bodyLean = lean;
  p.tail = std::sin(t * kTau * 2);
  p.headTilt = lean * 0.6;
  p.armLen = 12;
  DrawMonkey(cr, x0 + 38.5, y0 + 25 - jump, 1.0, p);
  for (int k = 0; k < 3; ++k) {
    const double a = t * kTau + k * kTau / 3;
    Sparkle(cr, x0 + 38.5 + std::cos(a) * 30, y0 + 30 + std::sin(a) * 22, 3.5 + (k == i % 3 ? 1.5 : 0), a);
  }
  cairo_restore(cr);
}

void LoseFrame(cairo_t* cr, double x0, double y0, int i) {
  cairo_save(cr);
  cairo_rectangle(cr, x0, y0, 78, 69);
  cairo_clip(cr);
  const int part = i / 18;
  const double t = (i % 18) / 18.0;
  MonkeyPose p;
  p.eyes = 3;
  p.mouth = (i % 9 < 4) ? 4 : 2;
  p.tearPhase = std::fmod(t * 3, 1.0);
  p.armLen = 11;
  double sob = std::fabs(std::sin(t * kTau * 3)) * 1.5;
  if (part == 0) {  // shaking the head
    p.headTilt = std::sin(t * kTau * 2) * 0.22;
    p.armL = p.armR = 0.35;
  } else if (part == 1) {  // hands to the face
    p.armL = p.armR = 2.9;
    p.headTilt = 0.1 * std::sin(t * kTau);
  } else {  // slumped, kicking the ground
    p.bodyLean = 0.12 * std::sin(t * kTau);
    p.armL = 0.2;
    p.armR = 0.5 + 0.3 * std::sin(t * kTau * 2);
    p.legR = 0.25 + 0.5 * std::max(0.0, std::sin(t * kTau * 2));
    sob *= 0.5;
  }
  p.legL = p.legL < 0.3 ? 0.5 : p.legL;
  DrawMonkey(cr, x0 + 39, y0 + 27 + sob, 0.9, p);
  // a little rain cloud
  const double cxp = x0 + 39 + std::sin(t * kTau) * 4;
  for (int k = -1; k <= 1; ++k) {
    Ellipse(cr, cxp + k * 6, y0 + 5 + (k == 0 ? -1 : 0.5), 6, 4);
    FillStroke(cr, {0.70, 0.74, 0.82}, 1.0, {0.30, 0.33, 0.40});
  }
  for (int k = 0; k < 3; ++k) {
    const double dy = std::fmod(t * 3 + k * 0.33, 1.0);
    cairo_new_path(cr);
    cairo_move_to(cr, cxp - 14 + k * 14, y0 + 10 + dy * 8);
    cairo_line_to(cr, cxp - 15 + k * 14, y0 + 13 + dy * 8);
    StrokeOnly(cr, 1.4, {0.25, 0.55, 0.95});
  }
  cairo_restore(cr);
}

// The pointer: a light arrow with a heavy dark rim, so that it stands out on the lit (orange) and
// resting (green) buttons, the wooden boards and the sky alike. Its tip is the hot spot, (0, 0).
void PointerPath(cairo_t* cr, double x0) {
  cairo_new_path(cr);
  cairo_move_to(cr, x0 + 2, 2);
  cairo_line_to(cr, x0 + 2, 25);
  cairo_line_to(cr, x0 + 7, 20.3);
  cairo_line_to(cr, x0 + 11, 29.5);
  cairo_line_to(cr, x0 + 14.6, 28);
  cairo_line_to(cr, x0 + 10.7, 19.1);
  cairo_line_to(cr, x0 + 17.8, 18.4);
  cairo_close_path(cr);
}

void PointerFrame(cairo_t* cr, double x0, int i) {
  cairo_save(cr);
  cairo_rectangle(cr, x0, 0, 21, 34);
  cairo_clip(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  PointerPath(cr, x0);
  SetColour(cr, {0.10, 0.05, 0.02});
  cairo_set_line_width(cr, 4.4);
  cairo_stroke(cr);
  PointerPath(cr, x0);
  FillGradient(cr, 2, {1.0, 1.0, 0.90}, 30, {1.0, 0.80, 0.25}, false);
  if (i > 0) {  // a sparkle runs down the pointer
    const double sy = 4 + (i - 1) * 6.5;
    Sparkle(cr, x0 + 4.5 + (i - 1) * 1.6, sy, 4.2, i * 0.5);
  }
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_restore(cr);
}

}  // namespace

void WriteBallsAndBlasts(Output& out) {
  {
    Canvas c(160, 20);
    for (int i = 0; i < 8; ++i) BeachBall(c.cr(), i * 20 + 10, 10, 9.0, i * kTau / 48);
    out.Sprite("data/sprites/balle.bmp", c);
  }
  {
    Canvas c(216, 26);
    for (int i = 0; i < 8; ++i) EvilBall(c.cr(), i * 27 + 13.5, 13, i / 8.0);
    out.Sprite("data/sprites/evilball.bmp", c);
  }
  {
    Canvas c(192, 192);
    for (int i = 0; i < 6; ++i) ExplosionFrame(c.cr(), (i % 2) * 96, (i / 2) * 64, i);
    out.Sprite("data/sprites/explosion.bmp", c);
  }
  {
    Canvas c(105, 34);
    for (int i = 0; i < 5; ++i) PointerFrame(c.cr(), i * 21, i);
    out.Sprite("data/general/curseur.bmp", c);
  }
}

void WriteDrummer(Output& out) {
  {
    Canvas c(13 * 71, 5 * 80);
    for (int f = 0; f < 65; ++f) DrummerFrame(c.cr(), (f % 13) * 71, (f / 13) * 80, f);
    out.Sprite("data/sprites/batteur.bmp", c);
  }
  static const char* names[4] = {"batteS", "batteM", "batteL", "gunbat"};
  static const int widths[4] = {54, 64, 74, 64};
  for (int k = 0; k < 4; ++k) {
    Canvas c(5 * widths[k], 13 * 24);
    for (int f = 0; f < 65; ++f) DrumFrame(c.cr(), (f % 5) * widths[k], (f / 5) * 24, widths[k], f, k);
    out.Sprite(std::string("data/sprites/") + names[k] + ".bmp", c);
  }
  {
    Canvas c(7 * 56, 4 * 130);
    for (int f = 0; f < 28; ++f) GunFrame(c.cr(), (f % 7) * 56, (f / 7) * 130, f);
    out.Sprite("data/sprites/gunshoot.bmp", c);
  }
  {
    Canvas c(500, 400);
    for (int f = 0; f < 25; ++f) RollingMonkeyFrame(c.cr(), (f % 5) * 100, (f / 5) * 80, f);
    out.Sprite("data/sprites/singeA.bmp", c);
  }
}

void WriteMascots(Output& out) {
  {
    Canvas c(6 * 77, 9 * 75);
    for (int i = 0; i < 54; ++i) WinFrame(c.cr(), (i % 6) * 77, (i / 6) * 75, i);
    out.Sprite("data/sprites/win.bmp", c);
  }
  {
    Canvas c(6 * 78, 9 * 69);
    for (int i = 0; i < 54; ++i) LoseFrame(c.cr(), (i % 6) * 78, (i / 6) * 69, i);
    out.Sprite("data/sprites/lose.bmp", c);
  }
}

}  // namespace art
