// The welcome dialog's face: the whole dialog at rest on top, the same dialog with every control
// lit below it (boxes ticked, buttons pressed). The game copies only the control rectangles from
// the lower face, so outside them both faces are one and the same drawing.
#include "tools/mkdata/art/Canvas.h"

#include "game/layout/DialogLayout.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr int kControlCount = static_cast<int>(DialogControl::Count);
const char* const kControlText[] = {"Use gamepad", "Play Full Screen", "Help", "Quit", "Play"};
static_assert(sizeof(kControlText) / sizeof(kControlText[0]) == kControlCount, "one caption per control");

const Colour kBoardTop{0.90, 0.70, 0.45};
const Colour kBoardLow{0.74, 0.50, 0.27};

// The wooden board the dialog is painted on, with its frame, grain and corner nails.
void Board(cairo_t* cr) {
  const double w = kDialogWidth, h = kDialogHeight;
  cairo_rectangle(cr, 0, 0, w, h);
  SetColour(cr, pal::kWoodDark);
  cairo_fill(cr);
  RoundRect(cr, 1, 1, w - 2, h - 2, 6);
  FillGradient(cr, 0, pal::kWoodLight, h, pal::kWood);
  StrokeOnly(cr, 1.0, pal::kInk);
  RoundRect(cr, 4.5, 4.5, w - 9, h - 9, 5);
  FillGradient(cr, 4, kBoardTop, h - 4, kBoardLow);
  StrokeOnly(cr, 1.0, pal::kWoodDark);

  // faint grain, the same on every run
  Scatter grain(215);
  cairo_save(cr);
  RoundRect(cr, 5, 5, w - 10, h - 10, 5);
  cairo_clip(cr);
  for (int i = 0; i < 22; ++i) {
    const double y = grain.Real(8, h - 8), x0 = grain.Real(-40, w - 60), len = grain.Real(50, 160);
    const double bend = grain.Real(-2.5, 2.5);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y);
    cairo_curve_to(cr, x0 + len * 0.3, y + bend, x0 + len * 0.7, y - bend, x0 + len, y + bend * 0.5);
    SetColour(cr, pal::kWoodDark, grain.Real(0.10, 0.22));
    cairo_set_line_width(cr, grain.Real(0.6, 1.3));
    cairo_stroke(cr);
  }
  cairo_restore(cr);

  for (int i = 0; i < 4; ++i) {
    Ellipse(cr, i % 2 ? w - 9 : 9, i / 2 ? h - 9 : 9, 2.2, 2.2);
    FillStroke(cr, pal::kIron, 0.8);
  }
}

// A sunken frame round the artwork; the artwork's own rectangle stays one plain dark colour.
void ArtworkFrame(cairo_t* cr) {
  const DialogRect& r = kArtworkRect;
  RoundRect(cr, r.x - 3.5, r.y - 3.5, r.w + 7, r.h + 7, 3);
  FillGradient(cr, r.y - 4, pal::kWoodDark, r.y + r.h + 4, pal::kWoodLight);
  StrokeOnly(cr, 1.0);
  cairo_rectangle(cr, r.x, r.y, r.w, r.h);
  SetColour(cr, pal::kPanelDark);
  cairo_fill(cr);
}

// Text of the board: the welcome line and the controls.
void Captions(cairo_t* cr) {
  const double left = kArtworkRect.x + kArtworkRect.w + 10, right = kDialogWidth - 12;
  const double mid = (left + right) / 2, room = right - left;

  double size = 25;
  SelectFace(cr, Face::Display, size);
  while (std::max(TextWidth(cr, "Drum the"), TextWidth(cr, "crates away!")) > room - 6 && size > 10)
    SelectFace(cr, Face::Display, size -= 0.5);
  OutlinedText(cr, "Drum the", mid, 37, 0.5, pal::kYellow, pal::kInk, size * 0.09, pal::kOrange);
  OutlinedText(cr, "crates away!", mid, 37 + size * 1.05, 0.5, pal::kYellow, pal::kInk, size * 0.09, pal::kOrange);

  // the controls, on a small dark slate so the small print stays readable
  const double top = 76, lines = 3, lead = 13;
  RoundRect(cr, left, top, room, lines * lead + 8, 5);
  FillGradient(cr, top, pal::kPanel, top + lines * lead + 8, pal::kPanelDark);
  StrokeOnly(cr, 1.0);
  const char* const help[] = {"Mouse or gamepad: move the bat", "Click or Space: launch the ball",
                              "Break every crate to win!"};
  SelectFace(cr, Face::Body, 11);
  double fit = 11;
  for (const char* line : help)
    while (TextWidth(cr, line) > room - 10 && fit > 7) SelectFace(cr, Face::Body, fit -= 0.25);
  for (int i = 0; i < 3; ++i)
    OutlinedText(cr, help[i], mid, top + 4 + lead * (i + 1) - 3, 0.5, i == 2 ? pal::kYellow : pal::kCream,
                 pal::kInk, 0.0);

  // a groove between the boxes and the buttons
  for (int s = 0; s < 2; ++s) {
    cairo_new_path(cr);
    cairo_move_to(cr, 12, 168.5 + s);
    cairo_line_to(cr, kDialogWidth - 12, 168.5 + s);
    SetColour(cr, s ? pal::kWoodLight : pal::kWoodDark, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
}

// A check box and its label inside the control's rectangle, clear of the focus frame (two pixels
// in); lit draws the tick.
void CheckBox(cairo_t* cr, const DialogRect& r, const std::string& label, bool lit) {
  const double bx = r.x + 6, by = r.y + 4, side = 14;
  RoundRect(cr, bx + 0.5, by + 0.5, side - 1, side - 1, 2.5);
  FillGradient(cr, by, lit ? Colour{1.0, 0.95, 0.70} : pal::kCream, by + side, lit ? pal::kYellow : pal::kSand);
  StrokeOnly(cr, 1.2);
  if (lit) {
    cairo_new_path(cr);
    cairo_move_to(cr, bx + 2.5, by + 7.5);
    cairo_line_to(cr, bx + 6, by + 11.5);
    cairo_line_to(cr, bx + 13.5, by + 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 4.2);
    cairo_stroke_preserve(cr);
    SetColour(cr, pal::kGreen);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  }
  double size = 14;
  SelectFace(cr, Face::Body, size);
  const double room = r.x + r.w - 5 - (bx + side + 6);
  while (TextWidth(cr, label) > room && size > 8) SelectFace(cr, Face::Body, size -= 0.25);
  OutlinedText(cr, label, bx + side + 6, r.y + r.h / 2.0 + size * 0.36, 0.0, pal::kInk, pal::kInk, 0.0);
}

// A push button filling the control's rectangle; the default button is orange with a heavier
// rim, the others green. Pressed, the face darkens, a shadow falls along its top and the caption
// sinks two pixels.
void PushButton(cairo_t* cr, const DialogRect& r, const std::string& caption, bool isDefault, bool pressed) {
  const Colour top = isDefault ? Colour{1.0, 0.80, 0.30} : Colour{0.40, 0.80, 0.45};
  const Colour low = isDefault ? Colour{0.93, 0.48, 0.10} : Colour{0.12, 0.50, 0.28};
  const double f = pressed ? 0.72 : 1.0;
  const double rim = isDefault ? 2.0 : 1.4;
  // corners small enough that the focus frame two pixels in stays on the face
  const double corner = 6;
  RoundRect(cr, r.x + rim / 2, r.y + rim / 2, r.w - rim, r.h - rim, corner);
  FillGradient(cr, r.y, Shade(pressed ? low : top, f), r.y + r.h, Shade(pressed ? top : low, f));
  StrokeOnly(cr, rim);
  const double shift = pressed ? 2 : 0;
  if (pressed) {
    // shadow inside the top rim
    cairo_save(cr);
    RoundRect(cr, r.x + rim, r.y + rim, r.w - 2 * rim, r.h - 2 * rim, corner - rim / 2);
    cairo_clip(cr);
    RoundRect(cr, r.x + rim - 2, r.y + rim + 2.5, r.w - 2 * rim + 4, r.h, corner - rim / 2);
    cairo_rectangle(cr, r.x - 4, r.y - 4, r.w + 8, r.h + 8);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    SetColour(cr, {0, 0, 0}, 0.35);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_restore(cr);
  } else {
    Gloss(cr, r.x + r.w / 2.0, r.y + r.h * 0.30, r.w * 0.36, r.h * 0.13, 0.40);
  }
  double size = 17;
  SelectFace(cr, Face::Display, size);
  while (TextWidth(cr, caption) > r.w - 16 && size > 8) SelectFace(cr, Face::Display, size -= 0.5);
  const Colour fill = pressed ? Colour{1.0, 0.88, 0.55} : pal::kCream;
  OutlinedText(cr, caption, r.x + r.w / 2.0, r.y + r.h / 2.0 + size * 0.28 + shift, 0.5, fill, pal::kInk,
               size * 0.09, pressed ? pal::kOrange : Colour{1.0, 0.92, 0.65});
}

void Control(cairo_t* cr, int i, bool lit) {
  const DialogRect& r = kControlRects[i];
  const auto c = static_cast<DialogControl>(i);
  cairo_save(cr);
  cairo_rectangle(cr, r.x, r.y, r.w, r.h);
  cairo_clip(cr);
  if (c == DialogControl::GamepadBox || c == DialogControl::FullScreenBox)
    CheckBox(cr, r, kControlText[i], lit);
  else
    PushButton(cr, r, kControlText[i], c == DialogControl::Play, lit);
  cairo_restore(cr);
}

}  // namespace

void WriteWelcomeDialog(Output& out) {
  Canvas base(kDialogWidth, kDialogHeight);
  Board(base.cr());
  ArtworkFrame(base.cr());
  Captions(base.cr());

  Canvas face(kDialogWidth, 2 * kDialogHeight);
  cairo_t* cr = face.cr();
  for (int lit = 0; lit < 2; ++lit) {
    cairo_save(cr);
    cairo_translate(cr, 0, lit * kDialogHeight);
    cairo_set_source_surface(cr, base.surface(), 0, 0);
    cairo_paint(cr);
    for (int i = 0; i < kControlCount; ++i) Control(cr, i, lit != 0);
    cairo_restore(cr);
  }
  out.Opaque("data/general/dialog.bmp", face);
}

}  // namespace art
