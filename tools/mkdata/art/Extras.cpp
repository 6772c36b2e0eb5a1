// The game-over screen and its animation, the end screen (JPEG), the welcome artwork (8-bit),
// the window icon and the help page with its capsule pictures.
#include "tools/mkdata/art/Canvas.h"

#include <cairo-svg.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace art {

namespace {

// ---------------------------------------------------------------- game over

void GameOverBackdrop(cairo_t* cr) {
  DrawScenery(cr, 0, 0, 800, 600, 1);
  cairo_rectangle(cr, 0, 0, 800, 600);
  SetColour(cr, {0.10, 0.08, 0.25}, 0.45);
  cairo_fill(cr);
  SelectFace(cr, Face::Display, 120);
  OutlinedText(cr, "Game Over", 400, 190, 0.5, {1.0, 0.55, 0.45}, pal::kInk, 8, {0.75, 0.10, 0.15});
  SelectFace(cr, Face::Body, 24);
  OutlinedText(cr, "The drums fall silent... for now.", 400, 240, 0.5, pal::kCream, pal::kInk, 2.5);
  SelectFace(cr, Face::Body, 17);
  OutlinedText(cr, "Click to go back to the island menu", 400, 585, 0.5, pal::kWhite, pal::kInk, 2);
}

// The animation scene inside (223, 288)-(577, 528); pose 0..5.
void GameOverScene(cairo_t* cr, int pose) {
  // sand mound
  Ellipse(cr, 400, 520, 170, 40);
  FillGradient(cr, 480, pal::kSand, 560, pal::kSandDark, false);
  // broken drum lying on its side
  cairo_save(cr);
  cairo_translate(cr, 505, 478);
  cairo_rotate(cr, 0.35);
  DrawDrum(cr, 0, -18, 56, 30, {0.90, 0.30, 0.22}, 0.0, 8);
  cairo_new_path(cr);
  cairo_move_to(cr, -14, -20);
  cairo_line_to(cr, -4, -14);
  cairo_line_to(cr, -9, -22);
  cairo_line_to(cr, 4, -18);
  StrokeOnly(cr, 2);
  cairo_restore(cr);
  // a snapped stick
  cairo_new_path(cr);
  cairo_move_to(cr, 300, 500);
  cairo_line_to(cr, 328, 494);
  SetColour(cr, pal::kInk);
  cairo_set_line_width(cr, 6);
  cairo_stroke_preserve(cr);
  SetColour(cr, pal::kWoodLight);
  cairo_set_line_width(cr, 3.5);
  cairo_stroke(cr);
  MonkeyPose p;
  p.eyes = 3;
  p.mouth = 2;
  p.legL = 1.2;
  p.legR = 1.2;
  p.armL = 0.6;
  p.armR = 0.6;
  p.armLen = 12;
  double headY = 392;
  switch (pose) {
    case 0: p.headTilt = 0.15; p.tearPhase = 0.2; headY += 6; break;
    case 1: p.mouth = 4; p.tearPhase = 0.6; break;
    case 2: p.armL = p.armR = 2.85; p.eyes = 1; p.mouth = 4; break;
    case 3: p.mouth = 3; p.eyes = 0; p.armL = p.armR = 1.9; break;
    case 4: p.headTilt = -0.1; p.tearPhase = 0.9; headY -= 2; break;
    default: p.headTilt = -0.22; p.tearPhase = 0.4; break;
  }
  DrawMonkey(cr, 400, headY, 3.0, p);
  // rain cloud, with lightning in pose 3
  const double cy = 312;
  for (int k = -2; k <= 2; ++k) {
    Ellipse(cr, 400 + k * 26, cy + (std::abs(k) == 1 ? -8 : 0), 30, 20);
    FillStroke(cr, pose == 3 ? Colour{0.85, 0.85, 0.95} : Colour{0.55, 0.58, 0.68}, 2.0, {0.2, 0.2, 0.3});
  }
  for (int k = -2; k <= 2; ++k) {
    Ellipse(cr, 400 + k * 26, cy + (std::abs(k) == 1 ? -8 : 0), 27, 17);
    SetColour(cr, pose == 3 ? Colour{0.85, 0.85, 0.95} : Colour{0.55, 0.58, 0.68});
    cairo_fill(cr);
  }
  if (pose == 3) {
    cairo_new_path(cr);
    cairo_move_to(cr, 440, 325);
    cairo_line_to(cr, 425, 352);
    cairo_line_to(cr, 438, 352);
    cairo_line_to(cr, 420, 385);
    cairo_line_to(cr, 452, 345);
    cairo_line_to(cr, 440, 345);
    cairo_line_to(cr, 452, 325);
    cairo_close_path(cr);
    FillStroke(cr, pal::kYellow, 2, pal::kOrange);
  }
  Scatter rnd(300 + static_cast<std::uint32_t>(pose));
  for (int k = 0; k < 16; ++k) {
    const double dx = rnd.Real(330, 470), dy = rnd.Real(336, 500);
    if (std::fabs(dx - 400) < 40 && dy > 340 && dy < 470) continue;  // not over the face
    cairo_new_path(cr);
    cairo_move_to(cr, dx, dy);
    cairo_line_to(cr, dx - 2, dy + 9);
    SetColour(cr, {0.55, 0.80, 1.0});
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
}

// ---------------------------------------------------------------- end screen

void EndScreen(cairo_t* cr) {
  DrawScenery(cr, 0, 0, 800, 600, 0);
  Scatter rnd(2024);
  for (int i = 0; i < 120; ++i) {  // confetti
    const double x = rnd.Real(0, 800), y = rnd.Real(0, 600), a = rnd.Real(0, 6.3);
    static const Colour cols[5] = {pal::kRed, pal::kYellow, pal::kPink, pal::kBlue, pal::kGreen};
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, a);
    cairo_rectangle(cr, -4, -2, 8, 4);
    SetColour(cr, cols[i % 5]);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  for (int f = 0; f < 3; ++f) {  // fireworks
    const double fx = 150 + f * 250, fy = 90 + (f % 2) * 40;
    for (int k = 0; k < 16; ++k) {
      const double a = k * 2 * M_PI / 16;
      cairo_new_path(cr);
      cairo_move_to(cr, fx + std::cos(a) * 12, fy + std::sin(a) * 12);
      cairo_line_to(cr, fx + std::cos(a) * 48, fy + std::sin(a) * 48);
      SetColour(cr, f == 1 ? pal::kYellow : (f ? pal::kPink : pal::kOrange));
      cairo_set_line_width(cr, 3);
      cairo_stroke(cr);
    }
  }
  SelectFace(cr, Face::Display, 92);
  OutlinedText(cr, "Congratulations!", 400, 215, 0.5, pal::kYellow, pal::kInk, 6, pal::kOrange);
  SelectFace(cr, Face::Body, 28);
  OutlinedText(cr, "You drummed your way across every island!", 400, 262, 0.5, pal::kWhite, pal::kInk, 3);
  MonkeyPose p;
  p.mouth = 1;
  p.eyes = 1;
  p.armL = 2.7;
  p.armR = 2.4;
  p.sticks = true;
  p.stickTurn = 0.4;
  p.bodyLean = 0.08;
  DrawMonkey(cr, 400, 380, 3.4, p);
  DrawDrum(cr, 255, 470, 80, 55, {0.90, 0.30, 0.22}, 0.0, 12);
  DrawDrum(cr, 545, 470, 80, 55, {0.15, 0.62, 0.55}, 0.0, 12);
  DrawLogo(cr, 400, 575, 44);
}

std::string EncodeJpegPixels(int w, int h, const std::vector<Rgb>& px, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &mem, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const Rgb* src = px.data() + static_cast<std::size_t>(cinfo.next_scanline) * static_cast<std::size_t>(w);
    for (int x = 0; x < w; ++x) {
      row[static_cast<std::size_t>(x) * 3] = src[x].r;
      row[static_cast<std::size_t>(x) * 3 + 1] = src[x].g;
      row[static_cast<std::size_t>(x) * 3 + 2] = src[x].b;
    }
    JSAMPROW rp = row.data();
    jpeg_write_scanlines(&cinfo, &rp, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(mem), size);
  jpeg_destroy_compress(&cinfo);
  std::free(mem);
  return bytes;
}

// ---------------------------------------------------------------- 8-bit palette

// Median cut to at most 256 colours, then nearest-colour mapping.
std::vector<Rgb> MedianCut(const std::vector<Rgb>& all) {
  std::vector<std::vector<Rgb>> boxes{all};
  while (boxes.size() < 256) {
    std::size_t best = 0;
    int bestRange = -1, bestChannel = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].size() < 2) continue;
      int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
      for (const Rgb& c : boxes[i]) {
        const int v[3] = {c.r, c.g, c.b};
        for (int k = 0; k < 3; ++k) {
          lo[k] = std::min(lo[k], v[k]);
          hi[k] = std::max(hi[k], v[k]);
        }
      }
      for (int k = 0; k < 3; ++k)
        if (hi[k] - lo[k] > bestRange) {
          bestRange = hi[k] - lo[k];
          best = i;
          bestChannel = k;
        }
    }
    if (bestRange <= 0) break;
    std::vector<Rgb>& b = boxes[best];
    auto key = [bestChannel](const Rgb& c) { return bestChannel == 0 ? c.r : (bestChannel == 1 ? c.g : c.b); };
    std::stable_sort(b.begin(), b.end(), [&](const Rgb& a, const Rgb& c) { return key(a) < key(c); });
    std::vector<Rgb> upper(b.begin() + static_cast<std::ptrdiff_t>(b.size() / 2), b.end());
    b.resize(b.size() / 2);
    boxes.push_back(std::move(upper));
  }
  std::vector<Rgb> palette;
  for (const auto& b : boxes) {
    if (b.empty()) continue;
    unsigned long r = 0, g = 0, bl = 0;
    for (const Rgb& c : b) {
      r += c.r;
      g += c.g;
      bl += c.b;
    }
    const unsigned long n = b.size();
    palette.push_back(OffKey(Rgb{static_cast<std::uint8_t>((r + n / 2) / n), static_cast<std::uint8_t>((g + n / 2) / n),
                                 static_cast<std::uint8_t>((bl + n / 2) / n)}));
  }
  return palette;
}

void Capsules(Output& out) {
  static const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 13, 15, 16, 20, 21, 22};
  for (int k : kinds) {
    Canvas c(36, 21);
    DrawCapsule(c.cr(), 0, 0, k);
    cairo_surface_flush(c.surface());
    // PNG straight from cairo (keeps the soft edges for the browser)
    const std::string path = out.root + "/data/help/english/capsule" + std::to_string(k) + ".png";
    if (cairo_surface_write_to_png(c.surface(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "zindo-mkdata: cannot write %s\n", path.c_str());
      out.ok = false;
    }
  }
}

// Appends what a cairo stream writes (PNG or SVG bytes) to a string.
cairo_status_t AppendPngBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// The icon a desktop's menu shows for the installed game: the window icon's face drawn
// again at each size of the icon theme, with soft edges on a transparent ground. Kept in
// the game folder as the theme lays them out, data/icons/hicolor/SIZExSIZE/apps/, from
// where the install puts them under share/icons.
void DesktopIcons(Output& out, const MonkeyPose& pose) {
  for (int size : {48, 128, 256}) {
    Canvas c(size, size);
    cairo_scale(c.cr(), size / 32.0, size / 32.0);
    DrawMonkeyHead(c.cr(), 16, 17, 0.95, pose);
    cairo_surface_flush(c.surface());
    std::string png;
    const std::string dims = std::to_string(size) + "x" + std::to_string(size);
    const std::string relative = "data/icons/hicolor/" + dims + "/apps/zindorumba.png";
    if (cairo_surface_write_to_png_stream(c.surface(), AppendPngBytes, &png) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "zindo-mkdata: cannot encode %s\n", relative.c_str());
      out.ok = false;
      continue;
    }
    out.Write(relative, png);
  }
  // And once more as a scalable picture (SVG, written by cairo), for menus of any size.
  std::string svg;
  cairo_surface_t* surface = cairo_svg_surface_create_for_stream(AppendPngBytes, &svg, 256, 256);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, 256 / 32.0, 256 / 32.0);
  DrawMonkeyHead(cr, 16, 17, 0.95, pose);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS || svg.empty()) {
    std::fprintf(stderr, "zindo-mkdata: cannot draw the scalable icon\n");
    out.ok = false;
    return;
  }
  out.Write("data/icons/hicolor/scalable/apps/zindorumba.svg", svg);
}

const char* kHelpPage = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>ZindoRumba - how to play</title>
<style>
body { margin: 0; font-family: "Comic Neue", "Comic Sans MS", sans-serif; background: #9ee0ff;
       background: linear-gradient(#38a0f2, #9ee0ff 40%, #f7d98f 85%); color: #3b2314; }
main { max-width: 760px; margin: 24px auto; background: #fff8dc; border: 4px solid #3b2314;
       border-radius: 22px; padding: 10px 32px 28px; box-shadow: 6px 8px 0 rgba(0,0,0,.25); }
h1 { font-family: "Leckerli One", cursive; font-size: 54px; text-align: center; margin: 10px 0 0;
     color: #ffd638; -webkit-text-stroke: 2px #3b2314; }
h1 span { color: #7ad35a; }
h2 { font-family: "Leckerli One", cursive; color: #e8483b; margin-bottom: 6px; }
p.tag { text-align: center; margin-top: 0; font-weight: bold; }
table { border-collapse: collapse; width: 100%; }
td, th { border-bottom: 2px dashed #c68642; padding: 6px 8px; text-align: left; vertical-align: middle; }
th { color: #1b6e5a; }
kbd { background: #3b2314; color: #fff8dc; border-radius: 6px; padding: 1px 7px; font-weight: bold; }
img { image-rendering: auto; }
</style>
</head>
<body>
<main>
<h1>Zindo<span>Rumba</span></h1>
<p class="tag">the drumming monkey brick game</p>

<h2>How to play</h2>
<p>Zindo the monkey rolls along the beach with a drum on his head. Bounce the balls off the drum
and break every crate, plank and box on the island. Stone blocks never break: you do not need
them to clear a level. When the last breakable brick is gone, the panel doors close and the next
island is waiting.</p>
<p>Broken bricks throw fruit: catch it with the drum for 100 points. Some bricks hide a bonus
capsule: catch it before it falls off the screen. The level bonus in the side panel counts down
while you play, and what is left of it is added to your score when the level is cleared.</p>
<p>You start with three lives. A life is lost when the last ball falls off the bottom of the
screen. Finish a level and you can start your next game from it in the main menu.</p>

<h2>Controls</h2>
<table>
<tr><th>Move the drum</th><td>the mouse, or <kbd>&larr;</kbd> <kbd>&rarr;</kbd>, or the gamepad</td></tr>
<tr><th>Launch the ball</th><td>the mouse button or <kbd>Space</kbd></td></tr>
<tr><th>Fire (gun drum)</th><td>the mouse button, <kbd>Space</kbd> or a gamepad button</td></tr>
<tr><th>Pause</th><td><kbd>P</kbd>, and <kbd>P</kbd> again to play on</td></tr>
<tr><th>End the game</th><td><kbd>Esc</kbd></td></tr>
<tr><th>High scores</th><td><kbd>Space</kbd> in the main menu, <kbd>H</kbd> in the options</td></tr>
<tr><th>Your name</th><td>type up to three letters, <kbd>Backspace</kbd> to correct, <kbd>Enter</kbd> to keep it</td></tr>
</table>
<p>In the welcome window you choose full screen or a window, and whether to play with a gamepad.
The options screen sets the music and sound volumes and can reset the scores and your progress.</p>

<h2>Bonuses</h2>
<table>
<tr><td><img src="capsule3.png" alt="" width="36" height="21"></td><th>Extra life</th><td>one more life</td></tr>
<tr><td><img src="capsule1.png" alt="" width="36" height="21"></td><th>Lift</th><td>the balls float upwards for a while</td></tr>
<tr><td><img src="capsule15.png" alt="" width="36" height="21"></td><th>Gravity</th><td>the balls are pulled down for a while</td></tr>
<tr><td><img src="capsule2.png" alt="" width="36" height="21"></td><th>Slow balls</th><td>every ball slows down</td></tr>
<tr><td><img src="capsule13.png" alt="" width="36" height="21"></td><th>Fast balls</th><td>every ball speeds up</td></tr>
<tr><td><img src="capsule5.png" alt="" width="36" height="21"></td><th>Tiny drum</th><td>the drum becomes small</td></tr>
<tr><td><img src="capsule6.png" alt="" width="36" height="21"></td><th>Drum reset</th><td>the drum goes back to its normal size</td></tr>
<tr><td><img src="capsule7.png" alt="" width="36" height="21"></td><th>Big drum</th><td>the drum becomes large</td></tr>
<tr><td><img src="capsule21.png" alt="" width="36" height="21"></td><th>Drum grows</th><td>the drum grows one size</td></tr>
<tr><td><img src="capsule20.png" alt="" width="36" height="21"></td><th>Drum shrinks</th><td>the drum shrinks one size</td></tr>
<tr><td><img src="capsule8.png" alt="" width="36" height="21"></td><th>Drum gun</th><td>a cannon on the drum: fire to shoot the bricks, even the iron ones clank</td></tr>
<tr><td><img src="capsule16.png" alt="" width="36" height="21"></td><th>Frozen</th><td>the drum is frozen in place for a moment</td></tr>
<tr><td><img src="capsule4.png" alt="" width="36" height="21"></td><th>Auto-breaker</th><td>the bricks break by themselves, one after another, until you lose a life or clear the level</td></tr>
<tr><td><img src="capsule22.png" alt="" width="36" height="21"></td><th>Quake</th><td>the whole wall of bricks shakes down towards you</td></tr>
<tr><td></td><th>Extra ball</th><td>a hidden bonus: a new ball jumps out of the brick at once</td></tr>
<tr><td></td><th>Evil ball</th><td>a hidden surprise: a spiky ball that hits twice as hard and pushes the others away</td></tr>
</table>
<p>Some bricks hold a surprise: any of the bonuses above, picked at random.</p>
</main>
</body>
</html>
)";

}  // namespace

std::string EncodeJpeg(const Canvas& c, int quality) {
  return EncodeJpegPixels(c.width(), c.height(), c.OpaquePixels(), quality);
}

std::string EncodeWelcomeBmp8(const Canvas& c) {
  const std::vector<Rgb> px = c.OpaquePixels();
  const std::vector<Rgb> palette = MedianCut(px);
  std::vector<std::uint8_t> idx(px.size());
  for (std::size_t i = 0; i < px.size(); ++i) {
    int best = 0, bestD = 1 << 30;
    for (std::size_t k = 0; k < palette.size(); ++k) {
      const int dr = px[i].r - palette[k].r, dg = px[i].g - palette[k].g, db = px[i].b - palette[k].b;
      const int d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
      if (d < bestD) {
        bestD = d;
        best = static_cast<int>(k);
      }
    }
    idx[i] = static_cast<std::uint8_t>(best);
  }
  return EncodeBmp8(c.width(), c.height(), palette, idx);
}

void WriteGameOverAndEnd(Output& out) {
  {
    Canvas bg(800, 600);
    GameOverBackdrop(bg.cr());
    {
      Canvas full(800, 600);
      full.CopyFrom(bg, 0, 0);
      GameOverScene(full.cr(), 0);
      out.Opaque("data/go/gameover.bmp", full);
    }
    for (int i = 0; i < 6; ++i) {
      Canvas full(800, 600);
      full.CopyFrom(bg, 0, 0);
      GameOverScene(full.cr(), i);
      Canvas frame(354, 240);
      frame.CopyFrom(full, 223, 288);
      out.Opaque("data/go/go" + std::to_string(i + 1) + ".bmp", frame);
    }
  }
  {
    Canvas c(800, 600);
    EndScreen(c.cr());
    out.Write("data/general/ENGLISH/end.jpg", EncodeJpeg(c, 92));
  }
}

void WriteWelcomeIconHelp(Output& out) {
  {
    Canvas c(160, 103);
    cairo_t* cr = c.cr();
    cairo_save(cr);
    cairo_scale(cr, 0.2, 0.2);
    DrawScenery(cr, 0, 0, 800, 515, 0);
    cairo_restore(cr);
    DrawLogo(cr, 80, 30, 25);
    MonkeyPose p;
    p.mouth = 1;
    p.armL = 2.6;
    p.armR = 2.6;
    p.armLen = 16;
    DrawMonkey(cr, 80, 60, 1.0, p);
    DrawDrum(cr, 80, 79, 30, 14, {0.90, 0.30, 0.22}, 0.0, 4);
    out.Write("data/general/welcome.bmp", EncodeWelcomeBmp8(c));
  }
  {
    Canvas c(32, 32);
    MonkeyPose p;
    p.mouth = 1;
    DrawMonkeyHead(c.cr(), 16, 17, 0.95, p);
    out.Sprite("data/general/icon.bmp", c);
  }
  {
    MonkeyPose p;
    p.mouth = 1;
    DesktopIcons(out, p);
  }
  out.Write("data/help/english/index.html", kHelpPage);
  Capsules(out);
}

}  // namespace art
