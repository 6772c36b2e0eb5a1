// Drawing helpers of the picture generator: a cairo canvas, the game palette, outlined shapes and
// text, and the conversion of a finished canvas into the game's bitmap files.
#pragma once

#include "tools/common/BmpWriter.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// One palette across every screen: bright cartoon tropics.
struct Colour {
  double r, g, b;
};
namespace pal {
constexpr Colour kInk{0.23, 0.13, 0.07};        // outlines
constexpr Colour kFur{0.55, 0.33, 0.16};        // monkey fur
constexpr Colour kFurDark{0.40, 0.22, 0.10};
constexpr Colour kSkin{0.98, 0.80, 0.58};       // monkey face
constexpr Colour kSkyTop{0.22, 0.62, 0.95};
constexpr Colour kSkyLow{0.62, 0.88, 1.00};
constexpr Colour kSea{0.10, 0.72, 0.80};
constexpr Colour kSeaDeep{0.04, 0.45, 0.66};
constexpr Colour kSand{0.97, 0.85, 0.56};
constexpr Colour kSandDark{0.88, 0.70, 0.40};
constexpr Colour kLeaf{0.20, 0.66, 0.25};
constexpr Colour kLeafLight{0.48, 0.82, 0.30};
constexpr Colour kLeafDark{0.08, 0.42, 0.18};
constexpr Colour kWood{0.78, 0.52, 0.26};
constexpr Colour kWoodLight{0.91, 0.68, 0.40};
constexpr Colour kWoodDark{0.50, 0.30, 0.13};
constexpr Colour kOrange{1.00, 0.55, 0.10};
constexpr Colour kRed{0.91, 0.28, 0.23};
constexpr Colour kYellow{1.00, 0.84, 0.22};
constexpr Colour kPink{0.90, 0.30, 0.55};
constexpr Colour kBlue{0.18, 0.45, 0.85};
constexpr Colour kGreen{0.30, 0.75, 0.25};
constexpr Colour kPurple{0.52, 0.26, 0.70};
constexpr Colour kCream{1.00, 0.97, 0.86};
constexpr Colour kWhite{1.0, 1.0, 1.0};
constexpr Colour kStone{0.62, 0.62, 0.60};
constexpr Colour kStoneDark{0.38, 0.38, 0.38};
constexpr Colour kIron{0.45, 0.48, 0.52};
constexpr Colour kPanel{0.16, 0.30, 0.34};      // side panel and score boxes
constexpr Colour kPanelDark{0.08, 0.17, 0.20};
}  // namespace pal

Colour Mix(Colour a, Colour b, double t);
Colour Shade(Colour c, double f);  // f < 1 darker, > 1 lighter

// Deterministic random numbers for scattering details (never the C library's).
class Scatter {
 public:
  explicit Scatter(std::uint32_t seed) : s_(seed * 2654435761u + 1u) {}
  std::uint32_t Next();
  double Real(double lo, double hi);  // lo <= v < hi
  int Int(int lo, int hi);            // lo <= v <= hi

 private:
  std::uint32_t s_;
};

// An ARGB canvas, transparent at the start.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Pixels for a sprite: pixels at least half covered keep their colour, the rest become the
  // transparent key (pure blue). No drawn pixel lands on the key by accident.
  std::vector<Rgb> SpritePixels() const;
  // Pixels of an opaque picture (composited over black), also kept off the key.
  std::vector<Rgb> OpaquePixels() const;
  // Copies a region of another canvas to (0, 0) of this one.
  void CopyFrom(const Canvas& other, int x, int y);

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// A colour that a 16-bit display (565 or 555, truncated) would turn into the key value 31.
bool HitsKey(Rgb c);
// The nearest colour that does not.
Rgb OffKey(Rgb c);

// Output folder and error collection for the picture part.
struct Output {
  std::string root;
  bool ok = true;
  bool Write(const std::string& relative, const std::string& bytes);
  bool Sprite(const std::string& relative, const Canvas& c);
  bool Opaque(const std::string& relative, const Canvas& c);
};

// ---- shapes ----
void SetColour(cairo_t* cr, Colour c, double alpha = 1.0);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Fills the current path with a vertical gradient and strokes it with the outline colour.
void FillStroke(cairo_t* cr, Colour fill, double lineWidth, Colour line = pal::kInk);
void FillGradient(cairo_t* cr, double y0, Colour top, double y1, Colour bottom, bool keepPath = true);
void StrokeOnly(cairo_t* cr, double lineWidth, Colour line = pal::kInk);
// A glossy highlight ellipse (white, translucent).
void Gloss(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha = 0.55);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// Five-point star path.
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, double turn = 0.0);

// ---- text ----
// Warns on standard error when a face the art is set in is not installed.
void WarnAboutMissingFonts();
enum class Face { Display, Body };  // Leckerli One (titles, buttons), Comic Neue Bold (small text)
void SelectFace(cairo_t* cr, Face face, double size);
double TextWidth(cairo_t* cr, const std::string& text);
// Text with a thick outline, baseline at y; align 0 left, 0.5 centre, 1 right.
void OutlinedText(cairo_t* cr, const std::string& text, double x, double y, double align, Colour fill, Colour outline,
                  double outlineWidth, Colour fillLow = Colour{-1, 0, 0});

// ---- characters and props ----
struct MonkeyPose {
  double headTilt = 0.0;     // radians
  double bodyLean = 0.0;     // radians
  double armL = 2.4;         // angle of the left arm from straight down (radians, + outwards)
  double armR = 2.4;
  double legL = 0.25, legR = 0.25;
  int mouth = 0;             // 0 smile, 1 grin (open), 2 sad, 3 "o", 4 wail
  int eyes = 0;              // 0 open, 1 closed happy, 2 sad, 3 tearful, 4 angry
  double tail = 0.0;         // tail swing
  bool sticks = false;       // holds drumsticks
  double stickTurn = 0.0;
  double tearPhase = -1.0;   // >= 0 draws falling tears
  bool showBody = true;
  double armLen = 13.0;      // in head units (x s)
  bool hands = true;
};
// A cartoon monkey; (cx, cy) is the centre of the head, s the scale (head radius = 12 * s).
void DrawMonkey(cairo_t* cr, double cx, double cy, double s, const MonkeyPose& p);
void DrawMonkeyHead(cairo_t* cr, double cx, double cy, double s, const MonkeyPose& p);
// Palm tree with its trunk foot at (x, y), height h, leaning lean (-1..1).
void DrawPalm(cairo_t* cr, double x, double y, double h, double lean, double sway = 0.0);
// A round drum seen from the front: top ellipse centre (cx, top), width w, body height h.
void DrawDrum(cairo_t* cr, double cx, double top, double w, double h, Colour body, double flash = 0.0,
              double skinRy = -1.0);

// The game's title logo centred at (cx, baseline y), font size `size`.
void DrawLogo(cairo_t* cr, double cx, double y, double size);
// Backdrop scenery used by the islands and the menu screens; kind 0..5 (5 = the plain beach).
void DrawScenery(cairo_t* cr, double x, double y, double w, double h, int kind);

// ---- the picture groups ----
void WriteBrickSheets(Output& out);
void WriteBigPlanche(Output& out);
void WriteBallsAndBlasts(Output& out);
void WriteDrummer(Output& out);
void WriteMascots(Output& out);
void WriteIslands(Output& out);
void WriteMenus(Output& out);
void WriteGameOverAndEnd(Output& out);
void WriteWelcomeIconHelp(Output& out);
void WriteWelcomeDialog(Output& out);

// Capsule icon of a bonus at the sheet position (x, y); shared by the sheet and the help page.
void DrawCapsule(cairo_t* cr, int x, int y, int kind);
std::string EncodeJpeg(const Canvas& c, int quality);
std::string EncodeWelcomeBmp8(const Canvas& c);

}  // namespace art
