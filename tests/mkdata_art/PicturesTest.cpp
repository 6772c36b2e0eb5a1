// Runs the picture part of zindo-mkdata into a temporary folder and checks the files the game
// reads: their format, the sizes and frame grids the drawing code cuts them by, the colour key,
// the highlighted buttons against their screens, and that a second run writes the same bytes.
#include "game/layout/BrickSheet.h"
#include "game/layout/ButtonLayout.h"
#include "game/layout/DialogLayout.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Pixel {
  int r, g, b;
  bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Pixel& o) const { return !(*this == o); }
};

// A decoded Windows bitmap (24-bit, or 8-bit with palette), or an error text.
struct Bitmap {
  int width = 0, height = 0, bits = 0, paletteSize = 0;
  std::vector<Pixel> px;
  std::string error;
  const Pixel& At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t U32(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
         static_cast<std::uint8_t>(s[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}
std::uint16_t U16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8);
}

Bitmap ReadBmp(const std::string& path) {
  Bitmap bm;
  const std::string s = ReadFileBytes(path);
  if (s.size() < 54 || s.compare(0, 2, "BM") != 0) {
    bm.error = "not a bitmap: " + path;
    return bm;
  }
  if (U32(s, 2) != s.size()) bm.error = "file size field wrong: " + path;
  const std::uint32_t offset = U32(s, 10);
  bm.width = static_cast<int>(U32(s, 18));
  bm.height = static_cast<int>(U32(s, 22));
  bm.bits = U16(s, 28);
  if (U32(s, 14) != 40 || U16(s, 26) != 1 || U32(s, 30) != 0 || bm.width <= 0 || bm.height <= 0 ||
      (bm.bits != 24 && bm.bits != 8)) {
    bm.error = "unexpected header: " + path;
    return bm;
  }
  std::vector<Pixel> palette;
  if (bm.bits == 8) {
    bm.paletteSize = static_cast<int>(U32(s, 46));
    if (bm.paletteSize == 0) bm.paletteSize = 256;
    for (int i = 0; i < bm.paletteSize; ++i) {
      const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
      palette.push_back({static_cast<std::uint8_t>(s[at + 2]), static_cast<std::uint8_t>(s[at + 1]),
                         static_cast<std::uint8_t>(s[at])});
    }
  }
  const std::size_t stride = ((static_cast<std::size_t>(bm.width) * bm.bits + 31) / 32) * 4;
  if (offset + stride * bm.height > s.size()) {
    bm.error = "truncated: " + path;
    return bm;
  }
  bm.px.resize(static_cast<std::size_t>(bm.width) * bm.height);
  for (int y = 0; y < bm.height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(bm.height - 1 - y);
    for (int x = 0; x < bm.width; ++x) {
      Pixel& p = bm.px[static_cast<std::size_t>(y) * bm.width + x];
      if (bm.bits == 24) {
        const std::size_t at = row + 3 * static_cast<std::size_t>(x);
        p = {static_cast<std::uint8_t>(s[at + 2]), static_cast<std::uint8_t>(s[at + 1]), static_cast<std::uint8_t>(s[at])};
      } else {
        const int i = static_cast<std::uint8_t>(s[row + x]);
        if (i >= bm.paletteSize) {
          bm.error = "palette index out of range: " + path;
          return bm;
        }
        p = palette[static_cast<std::size_t>(i)];
      }
    }
  }
  return bm;
}

const Pixel kKey{0, 0, 255};
// What a 16-bit display (565 or 555, truncated) turns into the transparent key value 31.
bool MapsToKey(const Pixel& p) { return p.r < 8 && p.g < 8 && p.b >= 248; }

class PicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    const std::string cmd = std::string("\"") + ZR_MKDATA_EXE + "\" \"" + dir_->Path() + "\" pictures";
    exitCode_ = std::system(cmd.c_str());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(exitCode_, 0); }
  static std::string Path(const std::string& rel) { return dir_->Path() + "/" + rel; }
  static const Bitmap& Bmp(const std::string& rel) {
    static std::map<std::string, Bitmap> cache;
    auto it = cache.find(rel);
    if (it == cache.end()) it = cache.emplace(rel, ReadBmp(Path(rel))).first;
    return it->second;
  }
  static TempDir* dir_;
  static int exitCode_;
};
TempDir* PicturesTest::dir_ = nullptr;
int PicturesTest::exitCode_ = -1;

struct Expected {
  const char* file;
  int width, height;  // 0: any
  int cols, rows;     // the frame grid the code divides the picture by
};

// Sizes and frame grids the game's drawing relies on.
const Expected kPictures[] = {
    {"data/general/curseur.bmp", 105, 34, 5, 1},
    {"data/sprites/singeA.bmp", 500, 400, 5, 5},
    {"data/sprites/balle.bmp", 0, 20, 0, 0},
    {"data/sprites/evilball.bmp", 0, 26, 0, 0},
    {"data/sprites/explosion.bmp", 0, 0, 2, 3},
    {"data/sprites/win.bmp", 6 * 77, 9 * 75, 6, 9},
    {"data/sprites/lose.bmp", 6 * 78, 9 * 69, 6, 9},
    {"data/sprites/batteur.bmp", 13 * 71, 5 * 80, 13, 5},
    {"data/sprites/batteS.bmp", 0, 0, 5, 13},
    {"data/sprites/batteM.bmp", 0, 0, 5, 13},
    {"data/sprites/batteL.bmp", 0, 0, 5, 13},
    {"data/sprites/gunbat.bmp", 0, 0, 5, 13},
    {"data/sprites/gunshoot.bmp", 0, 0, 7, 4},
    {"data/general/ENGLISH/menu/menuplayoff.bmp", 800, 600, 1, 1},
    {"data/general/ENGLISH/menu/optionsoff.bmp", 800, 600, 1, 1},
    {"data/general/ENGLISH/menu/highscores.bmp", 800, 600, 1, 1},
    {"data/go/gameover.bmp", 800, 600, 1, 1},
    {"data/levels/islands/island1.bmp", 800, 600, 1, 1},
    {"data/levels/islands/island2.bmp", 800, 600, 1, 1},
    {"data/levels/islands/island3.bmp", 800, 600, 1, 1},
    {"data/levels/islands/island4.bmp", 800, 600, 1, 1},
    {"data/levels/islands/island5.bmp", 800, 600, 1, 1},
    {"data/levels/islands/beach.bmp", 800, 600, 1, 1},
    {"data/levels/islands/bpanel.bmp", 800, 600, 1, 2},
    {"data/levels/islands/herbe.bmp", 800, 0, 0, 0},
    {"data/levels/bricks/planche1.bmp", kBrickSheetWidth, kBrickSheetHeight, 0, 0},
    {"data/levels/bricks/planche2.bmp", kBrickSheetWidth, kBrickSheetHeight, 0, 0},
    {"data/levels/bricks/planche3.bmp", kBrickSheetWidth, kBrickSheetHeight, 0, 0},
    {"data/levels/bricks/planche4.bmp", kBrickSheetWidth, kBrickSheetHeight, 0, 0},
    {"data/levels/bricks/planche5.bmp", kBrickSheetWidth, kBrickSheetHeight, 0, 0},
    {"data/general/icon.bmp", 32, 32, 1, 1},
    {"data/general/dialog.bmp", kDialogWidth, 2 * kDialogHeight, 1, 2},
};

// Every other picture the generator writes: decodable, 24-bit, keyed like the rest.
const char* kOtherPictures[] = {
    "data/sprites/bigplanche.bmp", "data/sprites/righton.bmp", "data/sprites/lefton.bmp", "data/sprites/vlefton.bmp",
    "data/sprites/vrighton.bmp", "data/sprites/sleft.bmp", "data/sprites/sright.bmp", "data/sprites/progress.bmp",
    "data/sprites/policeoff.bmp", "data/sprites/policeon.bmp", "data/general/ENGLISH/menu/playon.bmp",
    "data/general/ENGLISH/menu/optionson.bmp", "data/general/ENGLISH/menu/quiton.bmp",
    "data/general/ENGLISH/menu/backon.bmp", "data/general/ENGLISH/menu/resetscore.bmp",
    "data/general/ENGLISH/menu/backhson.bmp", "data/go/go1.bmp", "data/go/go2.bmp", "data/go/go3.bmp",
    "data/go/go4.bmp", "data/go/go5.bmp", "data/go/go6.bmp",
};

// Pictures that are drawn opaque and cover their whole area: no pixel may be transparent.
const char* kOpaque[] = {
    "data/general/ENGLISH/menu/menuplayoff.bmp", "data/general/ENGLISH/menu/optionsoff.bmp",
    "data/general/ENGLISH/menu/highscores.bmp",  "data/go/gameover.bmp",
    "data/levels/islands/island1.bmp",           "data/levels/islands/island5.bmp",
    "data/levels/islands/beach.bmp",             "data/levels/islands/bpanel.bmp",
    "data/sprites/policeoff.bmp",                "data/sprites/policeon.bmp",
    "data/general/dialog.bmp",
};

// How many pixels of [left, right) x [top, bottom) satisfy pred; the whole picture by default.
template <class Pred>
int Count(const Bitmap& bm, Pred pred, int left = 0, int top = 0, int right = -1, int bottom = -1) {
  if (right < 0) right = bm.width;
  if (bottom < 0) bottom = bm.height;
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += pred(bm.At(x, y));
  return n;
}
bool IsKey(const Pixel& p) { return p == kKey; }
bool NotKey(const Pixel& p) { return p != kKey; }

TEST_F(PicturesTest, EveryPictureDecodesWithItsFrameGridAndNoAccidentalKey) {
  std::vector<Expected> all(std::begin(kPictures), std::end(kPictures));
  for (const char* file : kOtherPictures) all.push_back({file, 0, 0, 0, 0});
  for (const Expected& e : all) {
    SCOPED_TRACE(e.file);
    const Bitmap& bm = Bmp(e.file);
    ASSERT_EQ(bm.error, "");
    EXPECT_EQ(bm.bits, 24);
    if (e.width) { EXPECT_EQ(bm.width, e.width); }
    if (e.height) { EXPECT_EQ(bm.height, e.height); }
    if (e.cols) { EXPECT_EQ(bm.width % e.cols, 0); }
    if (e.rows) { EXPECT_EQ(bm.height % e.rows, 0); }
    EXPECT_EQ(Count(bm, [](const Pixel& p) { return MapsToKey(p) && p != kKey; }), 0)
        << "pixels that a 16-bit display would make transparent by accident";
  }
  for (const char* file : kOpaque) EXPECT_EQ(Count(Bmp(file), MapsToKey), 0) << file;
  // Sprites do have transparent pixels: the pointer, the balls, the grass and the icon.
  for (const char* file : {"data/general/curseur.bmp", "data/sprites/balle.bmp", "data/levels/islands/herbe.bmp",
                           "data/general/icon.bmp", "data/sprites/batteur.bmp"}) {
    const int keyed = Count(Bmp(file), IsKey);
    EXPECT_GT(keyed, 0) << file;
    EXPECT_LT(keyed, static_cast<int>(Bmp(file).px.size())) << file;
  }
  EXPECT_EQ(Bmp("data/sprites/balle.bmp").width % 20, 0);
  EXPECT_EQ(Bmp("data/sprites/evilball.bmp").width % 27, 0);
  // The shared sheet holds every region the play screen cuts, the bars are long enough for
  // the loudest level, the fonts hold their 40 glyphs.
  EXPECT_GE(Bmp("data/sprites/bigplanche.bmp").width, 484);
  EXPECT_GE(Bmp("data/sprites/bigplanche.bmp").height, 411);
  EXPECT_GE(Bmp("data/sprites/progress.bmp").width, 94);
  EXPECT_GE(Bmp("data/sprites/policeoff.bmp").width, 278);
  EXPECT_GE(Bmp("data/sprites/policeoff.bmp").height, 88);
  // The game-over animation is drawn at (223, 288) and must stay on the screen.
  for (int i = 1; i <= 6; ++i) {
    const Bitmap& go = Bmp("data/go/go" + std::to_string(i) + ".bmp");
    EXPECT_LE(223 + go.width, 800);
    EXPECT_LE(288 + go.height, 600);
  }
}

TEST_F(PicturesTest, BatFramesFitTheTrackAndTheGunFrameReachesTheGround) {
  // Bat x travel per kind (small, medium, large, gun) with its draw offset; the bat's right end
  // at the far limit must stay on the screen and its frame must lie over the drummer's.
  const char* bats[4] = {"data/sprites/batteS.bmp", "data/sprites/batteM.bmp", "data/sprites/batteL.bmp",
                         "data/sprites/gunbat.bmp"};
  const int maxX[4] = {733, 730, 725, 730}, offset[4] = {3, 0, -5, 0};
  int previous = 0;
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(bats[k]);
    const Bitmap& bm = Bmp(bats[k]);
    const int w = bm.width / 5, h = bm.height / 13;
    EXPECT_LE(maxX[k] + offset[k] + w, 800);
    EXPECT_GE(w, 40);
    EXPECT_LE(h, 545 - 463);
    if (k < 3) {
      EXPECT_GT(w, previous);  // small < medium < large
    }
    previous = w;
  }
  EXPECT_EQ(Bmp("data/sprites/gunbat.bmp").width, Bmp("data/sprites/batteM.bmp").width);
  const Bitmap& gun = Bmp("data/sprites/gunshoot.bmp");
  EXPECT_LE(416 + gun.height / 4, 600);
}

TEST_F(PicturesTest, BrickSheetsFillTheNamedRectanglesAndDamageGrows) {
  std::vector<const Bitmap*> sheets;
  for (int d = 1; d <= 5; ++d) sheets.push_back(&Bmp("data/levels/bricks/planche" + std::to_string(d) + ".bmp"));
  std::vector<bool> inside(static_cast<std::size_t>(kBrickSheetWidth) * kBrickSheetHeight, false);
  for (const BrickPicture& b : kBrickPictures)
    for (int y = b.top; y < b.bottom; ++y)
      for (int x = b.left; x < b.right; ++x) inside[static_cast<std::size_t>(y) * kBrickSheetWidth + x] = true;
  for (int d = 0; d < 5; ++d) {
    SCOPED_TRACE(d + 1);
    int holes = 0, strays = 0;
    for (int y = 0; y < kBrickSheetHeight; ++y)
      for (int x = 0; x < kBrickSheetWidth; ++x) {
        const bool key = sheets[static_cast<std::size_t>(d)]->At(x, y) == kKey;
        if (inside[static_cast<std::size_t>(y) * kBrickSheetWidth + x])
          holes += key;
        else
          strays += !key;
      }
    EXPECT_EQ(holes, 0) << "a brick has see-through pixels";
    EXPECT_EQ(strays, 0) << "paint outside the named rectangles";
  }
  // Each stage takes every brick further from its intact look.
  for (const BrickPicture& b : kBrickPictures) {
    SCOPED_TRACE(b.name);
    long previous = 0;
    for (int d = 1; d < 5; ++d) {
      long distance = 0;
      for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
          const Pixel& p0 = sheets[0]->At(x, y);
          const Pixel& p = sheets[static_cast<std::size_t>(d)]->At(x, y);
          distance += std::abs(p.r - p0.r) + std::abs(p.g - p0.g) + std::abs(p.b - p0.b);
        }
      EXPECT_GT(distance, previous) << "stage " << d + 1;
      previous = distance;
    }
  }
}

int Drawn(const Bitmap& bm, int left, int top, int right, int bottom) { return Count(bm, NotKey, left, top, right, bottom); }

TEST_F(PicturesTest, SharedSheetHasArtAtEveryRegionThePlayScreenCuts) {
  const Bitmap& s = Bmp("data/sprites/bigplanche.bmp");
  ASSERT_EQ(s.error, "");
  // digits: x from 155 + start to 155 + end, y 189..202
  const int glyphs[11][2] = {{92, 105}, {1, 8}, {8, 16}, {16, 27}, {27, 37}, {38, 47},
                             {47, 57},  {58, 68}, {68, 81}, {81, 92}, {106, 112}};
  for (const auto& g : glyphs) EXPECT_GT(Drawn(s, 155 + g[0], 189, 155 + g[1], 202), 10) << g[0];
  // shell casings: 12 x 6 frames of 14 x 14 from (0, 258)
  for (int i = 0; i < 72; ++i) EXPECT_GT(Drawn(s, (i % 12) * 14, 258 + (i / 12) * 14, (i % 12) * 14 + 14, 272 + (i / 12) * 14), 10) << i;
  EXPECT_GT(Drawn(s, 163, 213, 172, 221), 20);                    // bullet
  EXPECT_EQ(Drawn(s, 156, 175, 243, 183), 87 * 8);                // track strip, solid
  EXPECT_GT(Drawn(s, 0, 350, 178, 411), 178 * 61 / 2);            // demo caption
  for (int y = 0; y < 336; y += 28) EXPECT_GT(Drawn(s, 362, y, 484, y + 28), 122 * 28 / 2) << y;  // captions
  const int capsules[14][2] = {{290, 231}, {290, 21}, {290, 0},   {290, 63},  {326, 189}, {290, 84},  {290, 147},
                               {290, 42},  {326, 21}, {326, 105}, {326, 126}, {326, 84},  {290, 210}, {326, 168}};
  for (const auto& c : capsules) EXPECT_GT(Drawn(s, c[0], c[1], c[0] + 36, c[1] + 21), 36 * 21 / 2) << c[0] << "," << c[1];
  // fruit: every frame of each kind's block holds a picture
  struct Block {
    int x0, y0, w, h, endX, endY;
  };
  const Block fruit[4] = {{0, 0, 31, 45, 155, 135}, {155, 0, 26, 29, 285, 87}, {0, 135, 31, 31, 155, 228}, {155, 87, 27, 28, 236, 171}};
  for (const Block& b : fruit)
    for (int y = b.y0; y + b.h <= b.endY; y += b.h)
      for (int x = b.x0; x + b.w <= b.endX; x += b.w) EXPECT_GT(Drawn(s, x, y, x + b.w, y + b.h), 60) << x << "," << y;
}

TEST_F(PicturesTest, TextAndNumbersLandOnPlainBoxes) {
  // The high-score text is copied opaquely glyph by glyph: the fonts' background must be the
  // table's colour wherever the title and the nine rows go.
  const Bitmap& off = Bmp("data/sprites/policeoff.bmp");
  const Bitmap& on = Bmp("data/sprites/policeon.bmp");
  const Bitmap& table = Bmp("data/general/ENGLISH/menu/highscores.bmp");
  const Pixel ground = off.At(0, 0);
  EXPECT_TRUE(on.At(0, 0) == ground);
  const auto ink = [&](const Pixel& p) { return p != ground; };
  EXPECT_EQ(Count(table, ink, 455, 207, 720, 228), 0) << "title line";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Count(table, ink, 475, 267 + 31 * i, 720, 267 + 31 * i + 20), 0) << "row " << i;
  // every glyph but the blank is drawn in both fonts; the blank is plain
  for (const Bitmap* font : {&off, &on}) {
    EXPECT_EQ(Count(*font, ink, 223, 38, 233, 56), 0);
    const int letters[3][4] = {{9, 8, 21, 28}, {204, 38, 216, 56}, {217, 69, 223, 88}};  // A, Z, full stop
    for (const auto& g : letters) EXPECT_GT(Count(*font, ink, g[0], g[1], g[2], g[3]), 8) << g[0] << "," << g[1];
  }
  // The side-panel numbers (right-aligned at x 126, 13 pixels high) and the menu's start level
  // are drawn on dark boxes, on every backdrop.
  auto dark = [](const Bitmap& bm, int left, int top, int right, int bottom) {
    return Count(bm, [](const Pixel& p) { return (p.r * 3 + p.g * 6 + p.b) / 10 > 110; }, left, top, right, bottom);
  };
  for (const char* island : {"island1", "island2", "island3", "island4", "island5", "beach"}) {
    SCOPED_TRACE(island);
    const Bitmap& bm = Bmp(std::string("data/levels/islands/") + island + ".bmp");
    for (int y : {213, 300, 389, 480}) EXPECT_EQ(dark(bm, 40, y, 127, y + 13), 0) << y;
  }
  // two of the widest digits (13 pixels) right-aligned at 424
  EXPECT_EQ(dark(Bmp("data/general/ENGLISH/menu/menuplayoff.bmp"), 424 - 26, 313, 425, 326), 0);
  // The grass overlay leaves the drummer's feet (y 545) in sight.
  EXPECT_GE(600 - Bmp("data/levels/islands/herbe.bmp").height, 545);
}

struct Button {
  const char* picture;
  const char* screen;
  int x, y;                          // where the game draws the lit button
  int left, top, right, bottom;      // its hit rectangle (inclusive)
};

const Button kButtons[] = {
    {"data/general/ENGLISH/menu/playon.bmp", "data/general/ENGLISH/menu/menuplayoff.bmp", 343, 196, 350, 207, 447, 243},
    {"data/general/ENGLISH/menu/optionson.bmp", "data/general/ENGLISH/menu/menuplayoff.bmp", 332, 378, 350, 382, 467, 423},
    {"data/general/ENGLISH/menu/quiton.bmp", "data/general/ENGLISH/menu/menuplayoff.bmp", 332, 459, 350, 468, 477, 513},
    {"data/sprites/lefton.bmp", "data/general/ENGLISH/menu/menuplayoff.bmp", 348, 306, 348, 306, 388, 336},
    {"data/sprites/righton.bmp", "data/general/ENGLISH/menu/menuplayoff.bmp", 427, 306, 427, 306, 457, 336},
    {"data/general/ENGLISH/menu/backon.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 350, 484, 352, 490, 440, 525},
    {"data/sprites/vlefton.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 484, 166, 484, 167, 504, 188},
    {"data/sprites/vrighton.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 621, 166, 621, 167, 640, 190},
    {"data/sprites/sleft.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 483, 227, 484, 228, 504, 251},
    {"data/sprites/sright.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 622, 228, 622, 228, 640, 251},
    {"data/general/ENGLISH/menu/resetscore.bmp", "data/general/ENGLISH/menu/optionsoff.bmp", 479, 366, 478, 366, 620, 390},
    {"data/general/ENGLISH/menu/backhson.bmp", "data/general/ENGLISH/menu/highscores.bmp", 293, 495, 288, 500, 380, 540},
};

TEST_F(PicturesTest, LitButtonsSitExactlyOnTheirScreens) {
  for (const Button& b : kButtons) {
    SCOPED_TRACE(b.picture);
    const Bitmap& lit = Bmp(b.picture);
    const Bitmap& screen = Bmp(b.screen);
    ASSERT_EQ(lit.error, "");
    ASSERT_LE(b.x + lit.width, 800);
    ASSERT_LE(b.y + lit.height, 600);
    // the picture's outer edge matches the screen around it (no seam), its inside lights up
    int seam = 0, lighted = 0;
    for (int y = 0; y < lit.height; ++y)
      for (int x = 0; x < lit.width; ++x) {
        const bool edge = x == 0 || y == 0 || x == lit.width - 1 || y == lit.height - 1;
        const bool differs = lit.At(x, y) != screen.At(b.x + x, b.y + y);
        if (edge) seam += differs;
        lighted += differs;
      }
    EXPECT_EQ(seam, 0);
    EXPECT_GT(lighted, 100);
    // the lit part lies inside the hit rectangle's neighbourhood: the button the player sees
    // is the one that answers the click
    int outside = 0;
    for (int y = 0; y < lit.height; ++y)
      for (int x = 0; x < lit.width; ++x) {
        const int sx = b.x + x, sy = b.y + y;
        if (lit.At(x, y) != screen.At(sx, sy) && (sx < b.left - 5 || sx > b.right + 5 || sy < b.top - 5 || sy > b.bottom + 5))
          ++outside;
      }
    EXPECT_EQ(outside, 0);
  }
}

TEST_F(PicturesTest, VolumeBarShowsOneMoreWholeBlockAtEachLevelAllAlike) {
  const Bitmap& bar = Bmp("data/sprites/progress.bmp");
  ASSERT_EQ(bar.error, "");
  // The blocks: runs of columns with something drawn, [first, end).
  std::vector<std::pair<int, int>> blocks;
  for (int x = 0; x < bar.width; ++x) {
    bool drawn = false;
    for (int y = 0; y < bar.height && !drawn; ++y) drawn = bar.At(x, y) != kKey;
    if (!drawn) continue;
    if (!blocks.empty() && blocks.back().second == x)
      blocks.back().second = x + 1;
    else
      blocks.emplace_back(x, x + 1);
  }
  ASSERT_EQ(blocks.size(), 9u);
  for (std::size_t i = 1; i < blocks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(blocks[i].second - blocks[i].first, blocks[0].second - blocks[0].first) << "block width";
    EXPECT_EQ(blocks[i].first - blocks[i - 1].second, blocks[1].first - blocks[0].second) << "gap";
    EXPECT_GT(blocks[i].first - blocks[i - 1].second, 0);
  }
  // The options screen shows the bar cut at the level's width: whole blocks only, one a level.
  for (int level = 0; level < 10; ++level) {
    SCOPED_TRACE(level);
    const int shown = kVolumeBarWidths[level];
    ASSERT_LE(shown, bar.width);
    int whole = 0, cut = 0;
    for (const auto& b : blocks) {
      whole += b.second <= shown;
      cut += b.first < shown && b.second > shown;
    }
    EXPECT_EQ(whole, level);
    EXPECT_EQ(cut, 0);
  }
}

TEST_F(PicturesTest, PointerHasADarkRimAndItsTipAtTheHotSpot) {
  const Bitmap& cursor = Bmp("data/general/curseur.bmp");
  ASSERT_EQ(cursor.error, "");
  const int w = cursor.width / 5;
  auto luma = [](const Pixel& p) { return (p.r * 3 + p.g * 6 + p.b) / 10; };
  auto drawn = [&](int x, int y) { return x >= 0 && x < w && y >= 0 && y < cursor.height && cursor.At(x, y) != kKey; };
  // The resting frame: a dark rim two pixels wide all round the shape, so that the pointer stands
  // out on the orange and green buttons, the wood and the sky; its inside is light.
  int rim = 0, lightRim = 0, inside = 0, lightInside = 0;
  for (int y = 0; y < cursor.height; ++y)
    for (int x = 0; x < w; ++x) {
      if (!drawn(x, y)) continue;
      auto within = [&](int d) {
        for (int k = 1; k <= d; ++k)
          if (!drawn(x - k, y) || !drawn(x + k, y) || !drawn(x, y - k) || !drawn(x, y + k)) return true;
        return false;
      };
      if (within(2)) {
        ++rim;
        lightRim += luma(cursor.At(x, y)) > 90;
      } else if (!within(3)) {
        ++inside;
        lightInside += luma(cursor.At(x, y)) > 170;
      }
    }
  EXPECT_GT(rim, 80);
  EXPECT_EQ(lightRim, 0);
  EXPECT_GT(inside, 40);
  EXPECT_GE(lightInside, inside * 9 / 10);
  // the pointer's tip is the hot spot, the top-left corner
  EXPECT_TRUE(drawn(0, 0) || drawn(1, 1));
}

TEST_F(PicturesTest, AnimationsReallyAnimate) {
  struct Anim {
    const char* file;
    int w, h, cols, first, last;
  };
  const Anim anims[] = {
      {"data/sprites/singeA.bmp", 100, 80, 5, 0, 24},   {"data/sprites/win.bmp", 77, 75, 6, 0, 53},
      {"data/sprites/lose.bmp", 78, 69, 6, 0, 53},      {"data/sprites/batteur.bmp", 71, 80, 13, 36, 64},
      {"data/sprites/batteM.bmp", 64, 24, 5, 36, 64},   {"data/sprites/gunshoot.bmp", 56, 130, 7, 0, 27},
      {"data/sprites/balle.bmp", 20, 20, 8, 0, 7},      {"data/sprites/explosion.bmp", 96, 64, 2, 0, 5},
  };
  for (const Anim& a : anims) {
    SCOPED_TRACE(a.file);
    const Bitmap& bm = Bmp(a.file);
    int distinct = 0;
    for (int f = a.first; f < a.last; ++f) {
      bool same = true;
      for (int y = 0; y < a.h && same; ++y)
        for (int x = 0; x < a.w && same; ++x)
          same = bm.At((f % a.cols) * a.w + x, (f / a.cols) * a.h + y) ==
                 bm.At(((f + 1) % a.cols) * a.w + x, ((f + 1) / a.cols) * a.h + y);
      distinct += !same;
    }
    EXPECT_GE(distinct, (a.last - a.first) * 2 / 3);
  }
}

TEST_F(PicturesTest, EndScreenWelcomeArtAndHelpPage) {
  const std::string jpg = ReadFileBytes(Path("data/general/ENGLISH/end.jpg"));
  ASSERT_GT(jpg.size(), 1000u);
  EXPECT_EQ(jpg.substr(0, 3), std::string("\xff\xd8\xff", 3));
  EXPECT_EQ(jpg.substr(jpg.size() - 2), std::string("\xff\xd9", 2));
  // the frame header gives 800 x 600
  std::size_t sof = jpg.find(std::string("\xff\xc0", 2));
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(static_cast<std::uint8_t>(jpg[sof + 5]) << 8 | static_cast<std::uint8_t>(jpg[sof + 6]), 600);
  EXPECT_EQ(static_cast<std::uint8_t>(jpg[sof + 7]) << 8 | static_cast<std::uint8_t>(jpg[sof + 8]), 800);

  const Bitmap& welcome = Bmp("data/general/welcome.bmp");
  ASSERT_EQ(welcome.error, "");
  EXPECT_EQ(welcome.bits, 8);
  EXPECT_EQ(welcome.width, 160);
  EXPECT_EQ(welcome.height, 103);
  EXPECT_LE(welcome.paletteSize, 256);
  EXPECT_GT(welcome.paletteSize, 64);

  const std::string html = ReadFileBytes(Path("data/help/english/index.html"));
  ASSERT_FALSE(html.empty());
  for (const char* word : {"How to play", "Controls", "Bonuses", "Extra life", "Quake", "Drum gun", "Frozen"})
    EXPECT_NE(html.find(word), std::string::npos) << word;
  int images = 0;
  for (std::size_t at = html.find("src=\""); at != std::string::npos; at = html.find("src=\"", at + 1)) {
    const std::size_t end = html.find('"', at + 5);
    const std::string png = ReadFileBytes(Path("data/help/english/" + html.substr(at + 5, end - at - 5)));
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << html.substr(at + 5, end - at - 5);
    ++images;
  }
  EXPECT_EQ(images, 14);  // every capsule
}

TEST_F(PicturesTest, DialogFacesDifferOnlyInsideTheControls) {
  const Bitmap& face = Bmp("data/general/dialog.bmp");
  ASSERT_EQ(face.error, "");
  ASSERT_EQ(face.width, kDialogWidth);
  ASSERT_EQ(face.height, 2 * kDialogHeight);
  auto control = [](int x, int y) {
    for (int i = 0; i < static_cast<int>(DialogControl::Count); ++i)
      if (kControlRects[i].Contains(x, y)) return i;
    return -1;
  };
  // The game copies only the control rectangles from the lit face: anything else that differs
  // would never be seen, and a control that does not differ would never light up.
  int strays = 0;
  std::vector<int> changed(static_cast<std::size_t>(DialogControl::Count), 0);
  for (int y = 0; y < kDialogHeight; ++y)
    for (int x = 0; x < kDialogWidth; ++x) {
      if (face.At(x, y) == face.At(x, y + kDialogHeight)) continue;
      const int c = control(x, y);
      if (c < 0)
        ++strays;
      else
        ++changed[static_cast<std::size_t>(c)];
    }
  EXPECT_EQ(strays, 0);
  for (int i = 0; i < static_cast<int>(DialogControl::Count); ++i) EXPECT_GT(changed[static_cast<std::size_t>(i)], 25) << i;

  // Pressed buttons are darker than at rest.
  auto brightness = [&](const DialogRect& r, int dy) {
    long sum = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) {
        const Pixel& p = face.At(x, y + dy);
        sum += p.r * 3 + p.g * 6 + p.b;
      }
    return sum;
  };
  for (DialogControl b : {DialogControl::Help, DialogControl::Quit, DialogControl::Play}) {
    const DialogRect& r = kControlRects[static_cast<int>(b)];
    EXPECT_LT(brightness(r, kDialogHeight), brightness(r, 0) * 9 / 10) << static_cast<int>(b);
  }

  // The artwork's rectangle is left one plain colour for the game to paint over, and framed.
  const Pixel plain = face.At(kArtworkRect.x, kArtworkRect.y);
  EXPECT_EQ(Count(face, [&](const Pixel& p) { return p != plain; }, kArtworkRect.x, kArtworkRect.y,
                  kArtworkRect.x + kArtworkRect.w, kArtworkRect.y + kArtworkRect.h),
            0);
  EXPECT_LT(plain.r + plain.g + plain.b, 3 * 96) << "a dark frame colour";
  EXPECT_NE(face.At(kArtworkRect.x - 2, kArtworkRect.y + 50), plain);
}

TEST_F(PicturesTest, SecondRunWritesTheSameBytes) {
  TempDir again;
  const std::string cmd = std::string("\"") + ZR_MKDATA_EXE + "\" \"" + again.Path() + "\" pictures";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir_->Path())) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), dir_->Path()).string();
    EXPECT_EQ(ReadFileBytes(e.path().string()), ReadFileBytes(again.Path() + "/" + rel)) << rel;
    ++files;
  }
  int againFiles = 0;
  for (const auto& e : fs::recursive_directory_iterator(again.Path())) againFiles += e.is_regular_file();
  EXPECT_EQ(files, againFiles);
  EXPECT_GE(files, 60);
}

TEST(PicturesFailureTest, UnwritableOutputFolderIsReportedAsFailure) {
  TempDir dir;
  const std::string blocker = dir.Write("blocker", "a file where the data folder should go");
  const std::string cmd = std::string("\"") + ZR_MKDATA_EXE + "\" \"" + blocker + "\" pictures 2>/dev/null";
  const int rc = std::system(cmd.c_str());
  EXPECT_NE(rc, 0);
}

}  // namespace
