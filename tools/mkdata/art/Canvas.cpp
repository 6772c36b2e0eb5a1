#include "tools/mkdata/art/Canvas.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace art {

Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Shade(Colour c, double f) {
  if (f <= 1.0) return {c.r * f, c.g * f, c.b * f};
  const double t = std::min(1.0, f - 1.0);
  return Mix(c, pal::kWhite, t);
}

std::uint32_t Scatter::Next() {
  s_ ^= s_ << 13;
  s_ ^= s_ >> 17;
  s_ ^= s_ << 5;
  return s_;
}
double Scatter::Real(double lo, double hi) { return lo + (hi - lo) * (Next() % 1000000u) / 1000000.0; }
int Scatter::Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, fo);
  cairo_font_options_destroy(fo);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

bool HitsKey(Rgb c) { return c.r < 8 && c.g < 8 && c.b >= 248; }

Rgb OffKey(Rgb c) {
  if (HitsKey(c)) c.b = 247;
  return c;
}

namespace {

Rgb Unpremultiply(std::uint32_t p, bool overBlack) {
  const unsigned a = p >> 24;
  unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
  if (!overBlack && a > 0 && a < 255) {
    r = std::min(255u, (r * 255 + a / 2) / a);
    g = std::min(255u, (g * 255 + a / 2) / a);
    b = std::min(255u, (b * 255 + a / 2) / a);
  }
  return OffKey(Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
}

std::vector<Rgb> Pixels(cairo_surface_t* s, int w, int h, bool sprite) {
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  std::vector<Rgb> px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = row[x];
      Rgb& o = px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
      if (sprite && (p >> 24) < 128)
        o = Rgb{0, 0, 255};
      else
        o = Unpremultiply(p, !sprite);
    }
  }
  return px;
}

}  // namespace

std::vector<Rgb> Canvas::SpritePixels() const { return Pixels(surface_, width_, height_, true); }
std::vector<Rgb> Canvas::OpaquePixels() const { return Pixels(surface_, width_, height_, false); }

void Canvas::CopyFrom(const Canvas& other, int x, int y) {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr_, other.surface(), -x, -y);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

bool Output::Write(const std::string& relative, const std::string& bytes) {
  if (!WriteFileBytes(root + "/" + relative, bytes)) {
    std::fprintf(stderr, "zindo-mkdata: cannot write %s/%s\n", root.c_str(), relative.c_str());
    ok = false;
    return false;
  }
  return true;
}

bool Output::Sprite(const std::string& relative, const Canvas& c) {
  return Write(relative, EncodeBmp24(c.width(), c.height(), c.SpritePixels()));
}

bool Output::Opaque(const std::string& relative, const Canvas& c) {
  return Write(relative, EncodeBmp24(c.width(), c.height(), c.OpaquePixels()));
}

// ---- shapes ----

void SetColour(cairo_t* cr, Colour c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void FillGradient(cairo_t* cr, double y0, Colour top, double y1, Colour bottom, bool keepPath) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  if (keepPath)
    cairo_fill_preserve(cr);
  else
    cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void FillStroke(cairo_t* cr, Colour fill, double lineWidth, Colour line) {
  double x0, y0, x1, y1;
  cairo_path_extents(cr, &x0, &y0, &x1, &y1);
  FillGradient(cr, y0, Shade(fill, 1.25), y1, Shade(fill, 0.82));
  StrokeOnly(cr, lineWidth, line);
}

void StrokeOnly(cairo_t* cr, double lineWidth, Colour line) {
  SetColour(cr, line);
  cairo_set_line_width(cr, lineWidth);
  cairo_stroke(cr);
}

void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  Ellipse(cr, cx, cy, rx, ry);
  cairo_set_source_rgba(cr, 1, 1, 1, alpha);
  cairo_fill(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, double turn) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 10; ++i) {
    const double a = turn - M_PI / 2 + i * M_PI / 5;
    const double r = (i % 2) ? inner : outer;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

// ---- text ----

namespace {

bool FontInstalled(const char* family) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  if (!pattern) return false;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool found = false;
  FcChar8* name = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
    found = std::strcmp(reinterpret_cast<const char*>(name), family) == 0;
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

void WarnAboutMissingFonts() {
  const struct {
    const char* family;
    const char* package;
  } fonts[] = {{"Leckerli One", "fonts-leckerli-one"}, {"Comic Neue", "fonts-comic-neue"}};
  for (const auto& f : fonts)
    if (!FontInstalled(f.family))
      std::fprintf(stderr, "zindo-mkdata: warning: the font \"%s\" is not installed (Debian package %s); "
                           "the pictures fall back to another face\n", f.family, f.package);
}

void SelectFace(cairo_t* cr, Face face, double size) {
  if (face == Face::Display)
    cairo_select_font_face(cr, "Leckerli One", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  else
    cairo_select_font_face(cr, "Comic Neue", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  return e.x_advance;
}

void OutlinedText(cairo_t* cr, const std::string& text, double x, double y, double align, Colour fill,
                  Colour outline, double outlineWidth, Colour fillLow) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_new_path(cr);
  cairo_move_to(cr, x - e.x_advance * align, y);
  cairo_text_path(cr, text.c_str());
  if (outlineWidth > 0) {
    SetColour(cr, outline);
    cairo_set_line_width(cr, outlineWidth * 2);
    cairo_stroke_preserve(cr);
  }
  if (fillLow.r >= 0) {
    FillGradient(cr, y + e.y_bearing, fill, y + e.y_bearing + e.height, fillLow, false);
  } else {
    SetColour(cr, fill);
    cairo_fill(cr);
  }
}

// ---- characters and props ----

namespace {

void Limb(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Colour fur) {
  cairo_new_path(cr);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetColour(cr, pal::kInk);
  cairo_set_line_width(cr, width + 2.0);
  cairo_stroke_preserve(cr);
  SetColour(cr, fur);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void Blob(cairo_t* cr, double cx, double cy, double rx, double ry, Colour c, double line) {
  Ellipse(cr, cx, cy, rx, ry);
  FillStroke(cr, c, line);
}

}  // namespace

void DrawMonkeyHead(cairo_t* cr, double cx, double cy, double s, const MonkeyPose& p) {
  const double lw = std::max(1.0, 1.1 * s);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, p.headTilt);
  // ears
  for (int side = -1; side <= 1; side += 2) {
    Blob(cr, side * 11.5 * s, -1 * s, 5 * s, 5 * s, pal::kFur, lw);
    Ellipse(cr, side * 11.5 * s, -1 * s, 3 * s, 3 * s);
    SetColour(cr, pal::kSkin);
    cairo_fill(cr);
  }
  // head
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 12 * s, 0, 2 * M_PI);
  FillStroke(cr, pal::kFur, lw);
  // tuft
  cairo_new_path(cr);
  cairo_move_to(cr, -3 * s, -11.5 * s);
  cairo_curve_to(cr, -2 * s, -16 * s, 2 * s, -16 * s, 1 * s, -12 * s);
  cairo_curve_to(cr, 3 * s, -15 * s, 5 * s, -14 * s, 4 * s, -11 * s);
  FillStroke(cr, pal::kFur, lw * 0.8);
  // face
  cairo_new_path(cr);
  cairo_arc(cr, -4.2 * s, -2 * s, 5.2 * s, 0, 2 * M_PI);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 4.2 * s, -2 * s, 5.2 * s, 0, 2 * M_PI);
  Ellipse(cr, 0, 4.5 * s, 8.5 * s, 6.3 * s);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  SetColour(cr, pal::kSkin);
  cairo_fill(cr);
  // eyes
  for (int side = -1; side <= 1; side += 2) {
    const double ex = side * 4.1 * s, ey = -2.4 * s;
    if (p.eyes == 1) {
      cairo_new_path(cr);
      cairo_arc(cr, ex, ey + 1.2 * s, 2.3 * s, M_PI * 1.1, M_PI * 1.9);
      StrokeOnly(cr, lw * 1.1);
      continue;
    }
    Ellipse(cr, ex, ey, 2.6 * s, 3.2 * s);
    SetColour(cr, pal::kWhite);
    cairo_fill_preserve(cr);
    StrokeOnly(cr, lw * 0.7);
    const double py = (p.eyes == 2 || p.eyes == 3) ? 1.2 * s : 0.4 * s;
    Ellipse(cr, ex + side * -0.3 * s, ey + py, 1.5 * s, 1.8 * s);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
    Ellipse(cr, ex + side * -0.3 * s - 0.5 * s, ey + py - 0.7 * s, 0.55 * s, 0.55 * s);
    SetColour(cr, pal::kWhite);
    cairo_fill(cr);
    if (p.eyes >= 2) {  // brows
      cairo_new_path(cr);
      const double tilt = p.eyes == 4 ? 1.0 : -1.0;  // angry brows dip inwards, sad ones rise
      cairo_move_to(cr, ex - 2.6 * s, ey - 4.0 * s + side * tilt * 1.2 * s);
      cairo_line_to(cr, ex + 2.6 * s, ey - 4.0 * s - side * tilt * 1.2 * s);
      StrokeOnly(cr, lw);
    }
  }
  // nose
  for (int side = -1; side <= 1; side += 2) {
    Ellipse(cr, side * 1.3 * s, 2.2 * s, 0.8 * s, 0.6 * s);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
  }
  // mouth
  cairo_new_path(cr);
  switch (p.mouth) {
    case 0:
      cairo_arc(cr, 0, 3.5 * s, 4.5 * s, M_PI * 0.2, M_PI * 0.8);
      StrokeOnly(cr, lw);
      break;
    case 1:
      cairo_move_to(cr, -5 * s, 5 * s);
      cairo_curve_to(cr, -3 * s, 11 * s, 3 * s, 11 * s, 5 * s, 5 * s);
      cairo_close_path(cr);
      SetColour(cr, {0.55, 0.10, 0.12});
      cairo_fill_preserve(cr);
      StrokeOnly(cr, lw);
      Ellipse(cr, 0, 8.3 * s, 2.4 * s, 1.2 * s);
      SetColour(cr, {0.95, 0.45, 0.50});
      cairo_fill(cr);
      break;
    case 2:
      cairo_arc(cr, 0, 10 * s, 4 * s, M_PI * 1.25, M_PI * 1.75);
      StrokeOnly(cr, lw);
      break;
    case 3:
      Ellipse(cr, 0, 7 * s, 1.8 * s, 2.2 * s);
      SetColour(cr, {0.55, 0.10, 0.12});
      cairo_fill_preserve(cr);
      StrokeOnly(cr, lw * 0.8);
      break;
    default:
      Ellipse(cr, 0, 7.5 * s, 3.2 * s, 3.0 * s);
      SetColour(cr, {0.55, 0.10, 0.12});
      cairo_fill_preserve(cr);
      StrokeOnly(cr, lw * 0.8);
      break;
  }
  if (p.tearPhase >= 0) {
    for (int side = -1; side <= 1; side += 2) {
      const double t = std::fmod(p.tearPhase + (side > 0 ? 0.5 : 0.0), 1.0);
      const double tx = side * (6.5 + 4 * t) * s, ty = (0 + 9 * t) * s;
      cairo_new_path(cr);
      cairo_move_to(cr, tx, ty - 2.4 * s);
      cairo_curve_to(cr, tx + 1.6 * s, ty, tx + 1.4 * s, ty + 1.6 * s, tx, ty + 1.6 * s);
      cairo_curve_to(cr, tx - 1.4 * s, ty + 1.6 * s, tx - 1.6 * s, ty, tx, ty - 2.4 * s);
      SetColour(cr, {0.45, 0.80, 1.0});
      cairo_fill_preserve(cr);
      StrokeOnly(cr, lw * 0.5, {0.10, 0.35, 0.65});
    }
  }
  cairo_restore(cr);
}

void DrawMonkey(cairo_t* cr, double cx, double cy, double s, const MonkeyPose& p) {
  const double lw = std::max(1.0, 1.1 * s);
  cairo_save(cr);
  // the whole body leans about the hips
  cairo_translate(cr, cx, cy + 28 * s);
  cairo_rotate(cr, p.bodyLean);
  cairo_translate(cr, -cx, -(cy + 28 * s));
  if (p.showBody) {
    // tail
    cairo_new_path(cr);
    cairo_move_to(cr, cx + 6 * s, cy + 27 * s);
    cairo_curve_to(cr, cx + 18 * s, cy + 30 * s, cx + (20 + 4 * p.tail) * s, cy + 16 * s,
                   cx + (14 + 6 * p.tail) * s, cy + 12 * s);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 4.2 * s);
    cairo_stroke_preserve(cr);
    SetColour(cr, pal::kFurDark);
    cairo_set_line_width(cr, 2.4 * s);
    cairo_stroke(cr);
    // legs
    const double legs[2] = {p.legL, p.legR};
    for (int i = 0; i < 2; ++i) {
      const int side = i == 0 ? -1 : 1;
      const double hx = cx + side * 5 * s, hy = cy + 27 * s;
      const double fx = hx + side * std::sin(legs[i]) * 10 * s, fy = hy + std::cos(legs[i]) * 10 * s;
      Limb(cr, hx, hy, fx, fy, 4.6 * s, pal::kFur);
      Blob(cr, fx + side * 1.5 * s, fy + 0.5 * s, 3.6 * s, 2.2 * s, pal::kSkin, lw * 0.8);
    }
    // body
    Blob(cr, cx, cy + 19 * s, 9.5 * s, 11 * s, pal::kFur, lw);
    Ellipse(cr, cx, cy + 21 * s, 6 * s, 7.5 * s);
    SetColour(cr, pal::kSkin);
    cairo_fill(cr);
    // arms
    const double arms[2] = {p.armL, p.armR};
    for (int i = 0; i < 2; ++i) {
      const int side = i == 0 ? -1 : 1;
      const double sx = cx + side * 7.5 * s, sy = cy + 12.5 * s;
      const double dx = side * std::sin(arms[i]), dy = std::cos(arms[i]);
      const double hx = sx + dx * p.armLen * s, hy = sy + dy * p.armLen * s;
      Limb(cr, sx, sy, hx, hy, 4.2 * s, pal::kFur);
      if (p.sticks) {
        const double a = std::atan2(dy, dx) + side * p.stickTurn;
        cairo_new_path(cr);
        cairo_move_to(cr, hx - std::cos(a) * 2 * s, hy - std::sin(a) * 2 * s);
        cairo_line_to(cr, hx + std::cos(a) * 13 * s, hy + std::sin(a) * 13 * s);
        SetColour(cr, pal::kInk);
        cairo_set_line_width(cr, 2.6 * s);
        cairo_stroke_preserve(cr);
        SetColour(cr, pal::kWoodLight);
        cairo_set_line_width(cr, 1.3 * s);
        cairo_stroke(cr);
        Blob(cr, hx + std::cos(a) * 13 * s, hy + std::sin(a) * 13 * s, 1.9 * s, 1.9 * s, pal::kRed, lw * 0.6);
      }
      if (p.hands) Blob(cr, hx, hy, 3.0 * s, 3.0 * s, pal::kSkin, lw * 0.8);
    }
  }
  cairo_restore(cr);
  DrawMonkeyHead(cr, cx + std::sin(p.bodyLean) * 28 * s, cy + (1 - std::cos(p.bodyLean)) * 28 * s, s, p);
}

void DrawPalm(cairo_t* cr, double x, double y, double h, double lean, double sway) {
  const double tx = x + lean * h * 0.45, ty = y - h;
  const double w0 = h * 0.07, w1 = h * 0.035;
  // trunk
  cairo_new_path(cr);
  cairo_move_to(cr, x - w0, y);
  cairo_curve_to(cr, x - w0 + lean * h * 0.05, y - h * 0.5, tx - w1 - lean * h * 0.15, ty + h * 0.3, tx - w1, ty);
  cairo_line_to(cr, tx + w1, ty);
  cairo_curve_to(cr, tx + w1 - lean * h * 0.15, ty + h * 0.3, x + w0 + lean * h * 0.05, y - h * 0.5, x + w0, y);
  cairo_close_path(cr);
  FillStroke(cr, {0.62, 0.42, 0.22}, std::max(1.0, h * 0.012));
  // trunk rings
  for (int i = 1; i < 9; ++i) {
    const double t = i / 9.0;
    const double px = x + (tx - x) * t * t * 0.9 + lean * h * 0.03 * t;
    const double py = y - h * t;
    const double hw = w0 + (w1 - w0) * t;
    cairo_new_path(cr);
    cairo_move_to(cr, px - hw, py);
    cairo_curve_to(cr, px - hw * 0.3, py + hw * 0.5, px + hw * 0.3, py + hw * 0.5, px + hw, py);
    SetColour(cr, {0.40, 0.25, 0.12}, 0.8);
    cairo_set_line_width(cr, std::max(0.8, h * 0.008));
    cairo_stroke(cr);
  }
  // fronds
  const double angles[7] = {-2.9, -2.3, -1.75, -1.2, -0.65, -0.15, 0.35};
  for (int i = 0; i < 7; ++i) {
    const double a = angles[i] + sway * 0.1;
    const double len = h * (0.55 - 0.05 * std::fabs(i - 3) / 3.0);
    const double ex = tx + std::cos(a) * len, ey = ty + std::sin(a) * len * 0.7 + len * 0.35;
    const double mx = tx + std::cos(a) * len * 0.5, my = ty + std::sin(a) * len * 0.5 - len * 0.12;
    const double nx = -std::sin(a), ny = std::cos(a);
    const double wd = len * 0.16;
    cairo_new_path(cr);
    cairo_move_to(cr, tx, ty);
    cairo_curve_to(cr, mx + nx * wd, my + ny * wd, ex + nx * wd * 0.3, ey + ny * wd * 0.3, ex, ey);
    cairo_curve_to(cr, ex - nx * wd * 0.3, ey - ny * wd * 0.3, mx - nx * wd, my - ny * wd, tx, ty);
    cairo_close_path(cr);
    FillStroke(cr, i % 2 ? pal::kLeaf : pal::kLeafLight, std::max(1.0, h * 0.01), pal::kLeafDark);
    cairo_new_path(cr);
    cairo_move_to(cr, tx, ty);
    cairo_curve_to(cr, mx, my, ex, ey, ex, ey);
    SetColour(cr, pal::kLeafDark, 0.7);
    cairo_set_line_width(cr, std::max(0.6, h * 0.006));
    cairo_stroke(cr);
  }
  // coconuts
  for (int i = 0; i < 3; ++i) {
    Ellipse(cr, tx - h * 0.04 + i * h * 0.04, ty + h * 0.04 + (i % 2) * h * 0.02, h * 0.035, h * 0.035);
    FillStroke(cr, {0.45, 0.28, 0.12}, std::max(0.8, h * 0.008));
  }
}

void DrawDrum(cairo_t* cr, double cx, double top, double w, double h, Colour body, double flash, double skinRy) {
  const double rx = w / 2, ry = skinRy > 0 ? skinRy : std::max(2.0, w * 0.14);
  const double lw = std::max(1.0, w * 0.03);
  cairo_new_path(cr);
  cairo_move_to(cr, cx - rx, top);
  cairo_line_to(cr, cx - rx * 0.9, top + h);
  cairo_curve_to(cr, cx - rx * 0.9, top + h + ry * 1.2, cx + rx * 0.9, top + h + ry * 1.2, cx + rx * 0.9, top + h);
  cairo_line_to(cr, cx + rx, top);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(cx - rx, 0, cx + rx, 0);
  const Colour hi = Shade(body, 1.35), lo = Shade(body, 0.6);
  cairo_pattern_add_color_stop_rgb(g, 0, lo.r, lo.g, lo.b);
  cairo_pattern_add_color_stop_rgb(g, 0.35, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  StrokeOnly(cr, lw);
  // lacing
  cairo_new_path(cr);
  const int n = std::max(3, static_cast<int>(w / 9));
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    const double x = cx - rx * 0.92 + t * rx * 1.84;
    const double y = (i % 2) ? top + h * 0.85 : top + ry * 0.9;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  SetColour(cr, pal::kCream, 0.9);
  cairo_set_line_width(cr, std::max(0.8, lw * 0.7));
  cairo_stroke(cr);
  // rim band
  Ellipse(cr, cx, top + h * 0.98, rx * 0.9, ry * 0.6);
  SetColour(cr, pal::kInk, 0.35);
  cairo_set_line_width(cr, lw);
  cairo_stroke(cr);
  // skin
  Ellipse(cr, cx, top, rx, ry);
  const Colour skin = Mix(pal::kCream, pal::kYellow, flash);
  FillStroke(cr, skin, lw);
  if (flash > 0) {
    Ellipse(cr, cx, top, rx * 0.6 * flash, ry * 0.6 * flash);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
  }
}

}  // namespace art
