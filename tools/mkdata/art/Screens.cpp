// The front-end screens: main menu, options, high scores with their two bitmap fonts. Every
// highlighted button is cut from a second rendering of its screen with all buttons lit, at the
// point where the game draws it, so it sits exactly on the screen art.
#include "game/layout/ButtonLayout.h"
#include "game/layout/ScoreFont.h"
#include "tools/mkdata/art/Canvas.h"

#include <cmath>

namespace art {

namespace {

const std::string kMenuDir = "data/general/ENGLISH/menu/";

struct Box {
  double x, y, w, h;
};

// A wooden sign button with its caption; lit buttons glow and turn golden.
void SignButton(cairo_t* cr, Box b, const std::string& text, double size, bool lit) {
  // everything stays inside the box, lit or not
  if (lit) {
    RoundRect(cr, b.x + 1.5, b.y + 1.5, b.w - 3, b.h - 3, (b.h - 3) / 2);
    SetColour(cr, pal::kYellow);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  RoundRect(cr, b.x + 3, b.y + 3, b.w - 6, b.h - 6, (b.h - 6) / 2);
  if (lit)
    FillGradient(cr, b.y, {1.0, 0.86, 0.35}, b.y + b.h, {0.95, 0.50, 0.10});
  else
    FillGradient(cr, b.y, {0.35, 0.75, 0.40}, b.y + b.h, {0.10, 0.45, 0.25});
  StrokeOnly(cr, 2.0);
  Gloss(cr, b.x + b.w / 2, b.y + b.h * 0.28, b.w * 0.38, b.h * 0.12, 0.35);
  SelectFace(cr, Face::Display, size);
  double s = size;
  while (TextWidth(cr, text) > b.w - 16 && s > 8) SelectFace(cr, Face::Display, s -= 0.5);
  const double baseline = b.y + b.h / 2 + s * 0.32;
  OutlinedText(cr, text, b.x + b.w / 2, baseline, 0.5, lit ? pal::kWhite : pal::kCream, pal::kInk, s * 0.08,
               lit ? pal::kYellow : Colour{1.0, 0.92, 0.65});
}

// A round-cornered arrow button pointing left (dir -1) or right (+1) inside the box.
void ArrowButton(cairo_t* cr, Box b, int dir, bool lit) {
  RoundRect(cr, b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1, std::min(b.w, b.h) * 0.3);
  if (lit)
    FillGradient(cr, b.y, {1.0, 0.86, 0.35}, b.y + b.h, {0.95, 0.50, 0.10});
  else
    FillGradient(cr, b.y, {0.35, 0.75, 0.40}, b.y + b.h, {0.10, 0.45, 0.25});
  StrokeOnly(cr, 1.5);
  const double cx = b.x + b.w / 2, cy = b.y + b.h / 2, r = std::min(b.w, b.h) * 0.3;
  cairo_new_path(cr);
  cairo_move_to(cr, cx + dir * r, cy);
  cairo_line_to(cr, cx - dir * r * 0.7, cy - r);
  cairo_line_to(cr, cx - dir * r * 0.7, cy + r);
  cairo_close_path(cr);
  SetColour(cr, pal::kWhite);
  cairo_fill_preserve(cr);
  StrokeOnly(cr, 1.2);
}

void Board(cairo_t* cr, Box b) {
  // ropes
  for (int s = 0; s < 2; ++s) {
    const double rx = b.x + (s ? b.w - 30 : 30);
    cairo_new_path(cr);
    cairo_move_to(cr, rx, 0);
    cairo_line_to(cr, rx, b.y + 12);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    SetColour(cr, {0.85, 0.70, 0.45});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  RoundRect(cr, b.x + 6, b.y + 8, b.w, b.h, 22);
  SetColour(cr, {0, 0, 0}, 0.3);
  cairo_fill(cr);
  RoundRect(cr, b.x, b.y, b.w, b.h, 22);
  FillStroke(cr, pal::kWood, 3);
  RoundRect(cr, b.x + 9, b.y + 9, b.w - 18, b.h - 18, 15);
  FillGradient(cr, b.y, {0.88, 0.66, 0.40}, b.y + b.h, {0.68, 0.44, 0.22});
  StrokeOnly(cr, 1.5, pal::kWoodDark);
  for (int s = 0; s < 2; ++s) {
    Ellipse(cr, b.x + (s ? b.w - 30 : 30), b.y + 14, 4, 4);
    FillStroke(cr, pal::kIron, 1);
  }
}

void Label(cairo_t* cr, const std::string& text, double x, double baseline, double align, double size) {
  SelectFace(cr, Face::Display, size);
  OutlinedText(cr, text, x, baseline, align, pal::kYellow, pal::kInk, size * 0.08, pal::kOrange);
}

// Writes the highlight picture: the w x h region of the lit rendering at the button's draw point.
void Highlight(Output& out, const std::string& path, const Canvas& lit, const ButtonPlace& place, int w, int h,
               bool sprite) {
  Canvas c(w, h);
  c.CopyFrom(lit, place.drawX, place.drawY);
  if (sprite)
    out.Sprite(path, c);
  else
    out.Opaque(path, c);
}

// ---------------------------------------------------------------- main menu

const Box kPlay{346, 203, 106, 45};
const Box kOptions{345, 380, 128, 47};
const Box kQuit{345, 464, 138, 53};
// The down arrow sits at the right of its click area (348..388), next to the level box.
const Box kLevelDown{359, 308, 28, 27};
const Box kLevelUp{429, 308, 27, 27};

void DrumMascot(cairo_t* cr, double x, double y, double s) {
  MonkeyPose p;
  p.mouth = 1;
  p.armL = 2.2;
  p.armR = 1.0;
  p.sticks = true;
  p.stickTurn = 0.5;
  p.tail = 0.8;
  DrawMonkey(cr, x, y, s, p);
  DrawDrum(cr, x + 2 * s, y + 32 * s, 26 * s, 16 * s, {0.90, 0.30, 0.22}, 0.0, 4 * s);
}

void MainMenu(Canvas& c, bool lit) {
  cairo_t* cr = c.cr();
  DrawScenery(cr, 0, 0, 800, 600, 0);
  Board(cr, {255, 180, 300, 356});
  DrawLogo(cr, 400, 118, 100);
  SelectFace(cr, Face::Body, 20);
  OutlinedText(cr, "the drumming monkey brick game", 400, 152, 0.5, pal::kWhite, pal::kInk, 2.5);
  SignButton(cr, kPlay, "Play", 32, lit);
  Label(cr, "Level", 350, 330, 1.0, 26);
  ArrowButton(cr, kLevelDown, -1, lit);
  ArrowButton(cr, kLevelUp, 1, lit);
  // The start level is drawn right-aligned at 424 from y 313, in the sheet's 13-pixel digits: the
  // box holds two of the widest (26 pixels) with a little room round them.
  RoundRect(cr, 393, 307, 34, 25, 5);
  FillGradient(cr, 307, pal::kPanelDark, 332, pal::kPanel);
  StrokeOnly(cr, 1.5);
  SignButton(cr, kOptions, "Options", 30, lit);
  SignButton(cr, kQuit, "Quit", 32, lit);
  DrumMascot(cr, 130, 300, 4.2);
  SelectFace(cr, Face::Body, 17);
  OutlinedText(cr, "Space: the greatest players", 672, 585, 0.5, pal::kWhite, pal::kInk, 2.2);
}

// ---------------------------------------------------------------- options

const Box kBack{351, 487, 92, 41};
const Box kMusicDown{485, 167, 19, 21};
const Box kMusicUp{622, 168, 18, 22};
const Box kFxDown{485, 228, 19, 23};
const Box kFxUp{623, 229, 17, 22};
const Box kReset{480, 367, 140, 23};
constexpr int kBarLevels[10] = {0, 10, 20, 30, 40, 50, 64, 74, 84, 94};

// The volume bar's nine steps. The game shows the bar cut at kBarLevels[level]; the cuts are 10
// pixels apart but for the one from 50 to 64. Every step is the same block, each 10 pixels after
// the one before, and each lies between two cuts: every level shows one more whole block, and the
// spare pixels of the long step fall outside the blocks.
constexpr int kBlockFirst = 4, kBlockPitch = 10, kBlockWidth = 6;
constexpr bool BlocksLieBetweenCuts() {
  for (int i = 0; i < 9; ++i) {
    const int left = kBlockFirst + kBlockPitch * i;
    if (left < kBarLevels[i] || left + kBlockWidth > kBarLevels[i + 1]) return false;
  }
  return true;
}
static_assert(BlocksLieBetweenCuts(), "each block of the volume bar lies between two cuts");

struct BarStep {
  int left, width, top;  // in the bar picture, which is 32 pixels high; every block ends at 31
};
BarStep StepOfBar(int i) {  // i = 0..8; the blocks grow from 10 to 30 pixels high
  const int height = 10 + (20 * i + 4) / 8;
  return {kBlockFirst + kBlockPitch * i, kBlockWidth, 31 - height};
}

void BarSlot(cairo_t* cr, double y) {
  RoundRect(cr, 514, y - 3, 102, 38, 8);
  FillGradient(cr, y - 3, pal::kPanelDark, y + 35, pal::kPanel);
  StrokeOnly(cr, 1.5);
  for (int i = 0; i < 9; ++i) {  // empty steps, under the bar's blocks
    const BarStep st = StepOfBar(i);
    RoundRect(cr, 518 + st.left, y + st.top, st.width, 31 - st.top, 1.5);
    SetColour(cr, pal::kWhite, 0.15);
    cairo_fill(cr);
  }
}

// The reset and what it clears, on one dark panel round the Reset button: the heading above it,
// what it does beside it, the key for the table under it.
void ScoresPanel(cairo_t* cr) {
  const Box panel{282, 300, 356, 142};
  RoundRect(cr, panel.x, panel.y, panel.w, panel.h, 12);
  FillGradient(cr, panel.y, pal::kPanelDark, panel.y + panel.h, pal::kPanel);
  StrokeOnly(cr, 1.5);
  const double mid = panel.x + panel.w / 2;
  Label(cr, "Scores and progress", mid, 338, 0.5, 28);
  SelectFace(cr, Face::Body, 14);
  const double right = kReset.x - 10, middle = kReset.y + kReset.h / 2;
  OutlinedText(cr, "Starts the hall of fame anew", right, middle - 3, 1.0, pal::kCream, pal::kInk, 0.0);
  OutlinedText(cr, "and the levels from the first", right, middle + 13, 1.0, pal::kCream, pal::kInk, 0.0);
  SelectFace(cr, Face::Body, 15);
  OutlinedText(cr, "H: see the greatest players", mid, 427, 0.5, pal::kWhite, pal::kInk, 1.8);
}

void OptionsScreen(Canvas& c, bool lit) {
  cairo_t* cr = c.cr();
  DrawScenery(cr, 0, 0, 800, 600, 1);
  Board(cr, {250, 132, 420, 412});
  Label(cr, "Options", 460, 110, 0.5, 70);
  Label(cr, "Music", 474, 186, 1.0, 30);
  Label(cr, "Effects", 474, 248, 1.0, 30);
  BarSlot(cr, 159);
  BarSlot(cr, 221);
  ArrowButton(cr, kMusicDown, -1, lit);
  ArrowButton(cr, kMusicUp, 1, lit);
  ArrowButton(cr, kFxDown, -1, lit);
  ArrowButton(cr, kFxUp, 1, lit);
  ScoresPanel(cr);
  SignButton(cr, kReset, "Reset scores", 17, lit);
  SignButton(cr, kBack, "Back", 28, lit);
  MonkeyPose p;
  p.mouth = 0;
  p.armL = 0.5;
  p.armR = 2.6;
  DrawMonkey(cr, 140, 330, 4.0, p);
}

void ProgressBar(Output& out) {
  Canvas c(94, 32);
  cairo_t* cr = c.cr();
  for (int i = 0; i < 9; ++i) {
    const BarStep st = StepOfBar(i);
    RoundRect(cr, st.left + 0.5, st.top + 0.5, st.width - 1, 31 - st.top - 1, 1.5);
    const Colour col = i < 3 ? pal::kGreen : (i < 6 ? pal::kYellow : pal::kOrange);
    FillStroke(cr, col, 1.0);
  }
  out.Sprite("data/sprites/progress.bmp", c);
}

// ---------------------------------------------------------------- high scores

const Colour kScorePanel{0.10, 0.24, 0.30};
const Box kBackHs{294, 497, 92, 46};

void FontSheet(Output& out, const std::string& path, Colour fill, Colour fillLow) {
  Canvas c(288, 96);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, 288, 96);
  SetColour(cr, kScorePanel);
  cairo_fill(cr);
  for (const FontGlyph& g : kScoreFontGlyphs) {
    if (g.c == ' ') continue;
    const std::string s(1, g.c);
    const double w = g.right - g.left;
    SelectFace(cr, Face::Body, 20);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    const double sx = std::min(1.0, (w - 2.5) / std::max(1.0, e.width));
    const double baseline = g.top + 17;
    cairo_save(cr);
    cairo_translate(cr, g.left + w / 2, baseline);
    cairo_scale(cr, sx, 1.0);
    cairo_new_path(cr);
    cairo_move_to(cr, -(e.x_bearing + e.width / 2), 0);
    cairo_text_path(cr, s.c_str());
    cairo_restore(cr);
    cairo_path_t* glyph = cairo_copy_path(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_rectangle(cr, g.left, g.top, w, g.bottom - g.top);
    cairo_clip(cr);
    cairo_append_path(cr, glyph);
    cairo_path_destroy(glyph);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke_preserve(cr);
    FillGradient(cr, g.top + 3, fill, g.top + 17, fillLow, false);
    cairo_restore(cr);
  }
  out.Opaque(path, c);
}

void HighScoreScreen(Canvas& c, bool lit) {
  cairo_t* cr = c.cr();
  DrawScenery(cr, 0, 0, 800, 600, 4);
  DrawLogo(cr, 400, 96, 74);
  Label(cr, "Hall of fame", 400, 150, 0.5, 40);
  // the table: flat colour where the font glyphs (opaque) are drawn
  RoundRect(cr, 428, 186, 320, 370, 18);
  FillStroke(cr, pal::kWood, 4);
  RoundRect(cr, 438, 196, 300, 350, 12);
  SetColour(cr, kScorePanel);
  cairo_fill_preserve(cr);
  StrokeOnly(cr, 2);
  cairo_new_path(cr);
  cairo_move_to(cr, 452, 240);
  cairo_line_to(cr, 724, 240);
  SetColour(cr, pal::kYellow, 0.8);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // the winner's trophy with the monkey
  MonkeyPose p;
  p.mouth = 1;
  p.eyes = 1;
  p.armL = 2.75;
  p.armR = 2.75;
  p.armLen = 26;
  DrawMonkey(cr, 230, 335, 3.2, p);
  const double tx = 230, ty = 240;
  cairo_new_path(cr);
  cairo_move_to(cr, tx - 30, ty - 30);
  cairo_curve_to(cr, tx - 30, ty + 10, tx - 10, ty + 18, tx, ty + 18);
  cairo_curve_to(cr, tx + 10, ty + 18, tx + 30, ty + 10, tx + 30, ty - 30);
  cairo_close_path(cr);
  FillStroke(cr, pal::kYellow, 3);
  cairo_rectangle(cr, tx - 5, ty + 17, 10, 14);
  FillStroke(cr, pal::kOrange, 2);
  RoundRect(cr, tx - 20, ty + 30, 40, 10, 3);
  FillStroke(cr, pal::kWoodDark, 2);
  for (int s = -1; s <= 1; s += 2) {
    cairo_new_path(cr);
    cairo_arc(cr, tx + s * 32, ty - 16, 9, 0, 2 * M_PI);
    StrokeOnly(cr, 6);
    cairo_new_path(cr);
    cairo_arc(cr, tx + s * 32, ty - 16, 9, 0, 2 * M_PI);
    SetColour(cr, pal::kYellow);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  StarPath(cr, tx, ty - 8, 12, 5);
  FillStroke(cr, pal::kWhite, 1.5);
  SignButton(cr, kBackHs, "Back", 28, lit);
}

}  // namespace

void WriteMenus(Output& out) {
  {
    Canvas off(800, 600), on(800, 600);
    MainMenu(off, false);
    MainMenu(on, true);
    out.Opaque(kMenuDir + "menuplayoff.bmp", off);
    Highlight(out, kMenuDir + "playon.bmp", on, kPlayButtonPlace, 112, 56, false);
    Highlight(out, kMenuDir + "optionson.bmp", on, kOptionsButtonPlace, 150, 52, false);
    Highlight(out, kMenuDir + "quiton.bmp", on, kQuitButtonPlace, 154, 62, false);
    Highlight(out, "data/sprites/lefton.bmp", on, kLevelDownButtonPlace, 42, 31, true);
    Highlight(out, "data/sprites/righton.bmp", on, kLevelUpButtonPlace, 31, 31, true);
  }
  {
    Canvas off(800, 600), on(800, 600);
    OptionsScreen(off, false);
    OptionsScreen(on, true);
    out.Opaque(kMenuDir + "optionsoff.bmp", off);
    Highlight(out, kMenuDir + "backon.bmp", on, kOptionsBackPlace, 94, 46, false);
    Highlight(out, kMenuDir + "resetscore.bmp", on, kResetScoresPlace, 143, 26, false);
    Highlight(out, "data/sprites/vlefton.bmp", on, kMusicDownPlace, 22, 25, true);
    Highlight(out, "data/sprites/vrighton.bmp", on, kMusicUpPlace, 21, 26, true);
    Highlight(out, "data/sprites/sleft.bmp", on, kEffectsDownPlace, 23, 26, true);
    Highlight(out, "data/sprites/sright.bmp", on, kEffectsUpPlace, 20, 25, true);
    ProgressBar(out);
  }
  {
    Canvas off(800, 600), on(800, 600);
    HighScoreScreen(off, false);
    HighScoreScreen(on, true);
    out.Opaque(kMenuDir + "highscores.bmp", off);
    Highlight(out, kMenuDir + "backhson.bmp", on, kHighScoreBackPlace, 94, 50, false);
    FontSheet(out, "data/sprites/policeoff.bmp", pal::kCream, {0.85, 0.90, 1.0});
    FontSheet(out, "data/sprites/policeon.bmp", pal::kYellow, pal::kOrange);
  }
}

}  // namespace art
