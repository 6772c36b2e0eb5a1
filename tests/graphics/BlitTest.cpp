#include "tests/support/EngineTest.h"

#include <climits>
#include <utility>

namespace {

constexpr int kW = 96, kH = 64;

// A picture as a plain model sees it: its pixels and its colour key.
struct Model {
  KGraphic* g;
  int w, h;
  std::vector<std::uint16_t> px, loaded;
  bool hasKey;
  std::uint16_t lo, hi;
};

// A copy pixel by pixel: every pixel of the source rectangle (cut to the picture's right and
// bottom) that lands on the screen, unless a pixel that lands lies left of or above the
// picture (the whole copy is refused then), or is in the key range of a keyed copy.
void ModelBlit(std::vector<std::uint16_t>& screen, const Model& m, int sl, int st, int sr, int sb, std::int64_t dx,
               std::int64_t dy, bool keyed) {
  if (sr == -1) sr = m.w;
  if (sb == -1) sb = m.h;
  std::vector<std::pair<std::int64_t, std::uint16_t>> put;
  for (int y = st; y < std::min(sb, m.h); ++y)
    for (int x = sl; x < std::min(sr, m.w); ++x) {
      const std::int64_t sx = dx + x - sl, sy = dy + y - st;
      if (sx < 0 || sy < 0 || sx >= kW || sy >= kH) continue;
      if (x < 0 || y < 0) return;
      const std::uint16_t v = m.px[static_cast<std::size_t>(y * m.w + x)];
      if (!keyed || !m.hasKey || v < m.lo || v > m.hi) put.emplace_back(sy * kW + sx, v);
    }
  for (const auto& [i, v] : put) screen[static_cast<std::size_t>(i)] = v;
}

class BlitTest : public EngineTest {};

TEST_F(BlitTest, ConversionTruncatesSoPureBlueIsTheKey) {
  EXPECT_EQ(KGraphic::To565(0x0000f8), 31);  // still the key after truncation
  EXPECT_EQ(KGraphic::To565(0x0000f7), 30);
  EXPECT_EQ(KGraphic::To565(0x080408), 0x0821);
  EXPECT_EQ(KGraphic::To565(0x070307), 0);  // low bits are dropped, not rounded
}

// Random frames of copies (opaque and keyed, with every kind of colour key, clipped at every
// edge, partly outside their picture, the back buffer onto itself), clears, reloads, grabs and
// pixels written from outside, against the plain model of each copy. The menus' backdrop copied
// over the whole screen restores only what was drawn over it since: the model copies it whole.
TEST_F(BlitTest, RandomFramesMatchAPlainPixelModel) {
  MakeBackBuffer(kW, kH);
  TestRandom random{12345u};
  const auto next = [&](int n) { return random.Next(n); };
  std::vector<std::unique_ptr<KGraphic>> owned;
  std::vector<Model> pics;
  const auto load = [&](int w, int h, std::uint16_t lo, std::uint16_t hi) {
    std::vector<Rgb> rgb(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < rgb.size(); ++i)  // every third pixel blue only, 565 values 0..31 in turn
      rgb[i] = i % 3 ? Rgb{static_cast<std::uint8_t>(next(256)), static_cast<std::uint8_t>(next(256)),
                           static_cast<std::uint8_t>(next(256))}
                     : Rgb{0, 0, static_cast<std::uint8_t>(i / 3 % 32 * 8)};
    owned.push_back(std::make_unique<KGraphic>());
    const std::string file = dir.Write("p" + std::to_string(owned.size()) + ".bmp", EncodeBmp24(w, h, rgb));
    owned.back()->LoadPicture(file.c_str(), 1, 0, lo, hi);
    Model m{owned.back().get(), w, h, {}, {}, lo != 0, lo, hi};  // a low end of 0: no key at all
    for (const Rgb& c : rgb) m.px.push_back(KGraphic::To565(c.r << 16 | c.g << 8 | c.b));
    m.loaded = m.px;
    pics.push_back(m);
  };
  load(kW, kH, 31, 31);   // the backdrop
  load(120, 80, 31, 31);  // larger than the screen
  load(12, 9, 31, 31);    // a sprite
  load(70, 5, 8, 16);     // a key range
  load(10, 6, 0, 31);     // no key
  load(33, 7, 20, 10);    // an empty range keys nothing
  KGraphic grab;
  ASSERT_TRUE(grab.GrabBackBuffer());
  pics.push_back(Model{&grab, kW, kH, std::vector<std::uint16_t>(kW * kH, 0), {}, false, 0, 0});
  std::vector<std::uint16_t> screen(kW * kH, 0);
  for (int step = 0; step < 3000; ++step) {
    const int op = next(20);
    Model& p = pics[static_cast<std::size_t>(op < 5 ? 0 : op < 7 ? 1 : next(static_cast<int>(pics.size())))];
    if (op < 5) {
      p.g->BlitRect(0, 0, -1, -1, 0, 0);
      ModelBlit(screen, p, 0, 0, -1, -1, 0, 0, false);
    } else if (op < 7) {
      const int ox = next(25), oy = next(17);
      if (next(2)) {
        p.g->BlitRect(ox, oy, ox + kW, oy + kH, 0, 0);
        ModelBlit(screen, p, ox, oy, ox + kW, oy + kH, 0, 0, false);
      } else {
        p.g->BlitRect(0, 0, -1, -1, -ox, -oy);  // the same through the clipper
        ModelBlit(screen, p, 0, 0, -1, -1, -ox, -oy, false);
      }
    } else if (op < 14) {
      const bool keyed = next(3) != 0;
      const int sl = next(p.w + 6) - 4, st = next(p.h + 6) - 4;
      const int sr = next(8) ? sl + next(p.w + 8) - 2 : next(2) ? -1 : INT_MAX;
      const int sb = next(8) ? st + next(p.h + 8) - 2 : -1;
      const int dx = next(30) ? next(kW + p.w + 10) - p.w - 5 : next(2) ? INT_MIN : INT_MAX;
      const int dy = next(kH + p.h + 10) - p.h - 5;
      if (keyed)
        p.g->BlitRectKeyed(sl, st, sr, sb, dx, dy);
      else
        p.g->BlitRect(sl, st, sr, sb, dx, dy);
      ModelBlit(screen, p, sl, st, sr, sb, dx, dy, keyed);
    } else if (op == 14) {
      const int sl = next(kW), st = next(kH), sr = sl + next(40), sb = st + next(30), dx = next(kW) - 20, dy = next(kH) - 20;
      back->BlitRect(sl, st, sr, sb, dx, dy);  // the back buffer onto itself
      ModelBlit(screen, Model{back.get(), kW, kH, screen, {}, false, 0, 0}, sl, st, sr, sb, dx, dy, false);
    } else if (op == 15) {
      if (next(2)) {
        p.g->Clear();
        std::fill(p.px.begin(), p.px.end(), 0);
      } else if (!p.loaded.empty()) {
        p.g->LoadPicture(std::string(p.g->path).c_str(), 1, 0, p.lo, p.hi);
        p.px = p.loaded;
      }
    } else if (op == 16) {
      KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
      std::fill(screen.begin(), screen.end(), 0);
    } else if (op == 17) {
      grab.GrabBackBuffer();
      pics.back().px = screen;
    } else if (op == 18) {
      for (int i = 0; i < 70; ++i) {  // more rectangles than the engine keeps apart
        const int x = next(kW), y = next(kH);
        pics[2].g->BlitRectKeyed(0, 0, 12, 9, x, y);
        ModelBlit(screen, pics[2], 0, 0, 12, 9, x, y, true);
      }
    } else {
      KSurface* s = KGraphic::BackBufferSurface();
      const std::size_t i = static_cast<std::size_t>(next(kW * kH));
      s->pixels[i] = screen[i] = 0x1234;
      KGraphic::PixelsChanged(s);
    }
    ASSERT_EQ(KGraphic::BackBufferSurface()->pixels, screen) << "after step " << step << ", op " << op;
  }

  // The saving is real: a pixel written behind the engine's back survives the next full-screen
  // copy of an unchanged picture, because only the drawn rectangles are copied again.
  pics[0].g->LoadPicture(std::string(pics[0].g->path).c_str(), 1, 0, 31, 31);
  pics[0].g->BlitRect(0, 0, -1, -1, 0, 0);
  const std::uint16_t painted = BackPixel(5, 5);
  KGraphic::BackBufferSurface()->pixels[5 * kW + 5] = 0x1234;
  pics[0].g->BlitRect(0, 0, -1, -1, 0, 0);
  EXPECT_EQ(BackPixel(5, 5), 0x1234);
  KGraphic::PixelsChanged(KGraphic::BackBufferSurface());
  pics[0].g->BlitRect(0, 0, -1, -1, 0, 0);
  EXPECT_EQ(BackPixel(5, 5), painted);
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build checks a keyed row once, whole, rather than every pixel: a row running
// one pixel past its picture, on either side of the copy, must still be reported.
TEST(KeyedRowCopyDeathTest, ARowPastItsPictureIsReportedBySanitizer) {
  std::vector<std::uint16_t> small(100), large(101);
  EXPECT_DEATH(CopyRow565Keyed(large.data(), small.data(), 101, 31, 31), "heap-buffer-overflow");
  EXPECT_DEATH(CopyRow565Keyed(small.data(), large.data(), 101, 31, 31), "heap-buffer-overflow");
}
#endif

TEST_F(BlitTest, WarningBoxesAndSurfacesKeptWhole) {
  KGraphic early;  // before the screen size is known: warned, still made
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  EXPECT_EQ(script::Boxes(), (std::vector<std::string>{
                                 "Screen Dimensions not specified, you will not see anything | KGraphic::SetScreenSize Not Called!",
                                 "No BackBuffer initialiased | Error"}));
  ASSERT_TRUE(early.CreateSurface(10, 10, 16));
  ASSERT_TRUE(early.CreateSurface(30, 30, 16));  // an existing surface is kept whatever the size
  EXPECT_EQ(early.Surface()->width, 10);
  early.BlitRect(0, 0, -1, -1, 0, 0);  // no back buffer: nothing drawn
  script::ClearRecords();
  MakeBackBuffer();
  KGraphic::CheckBackBuffer();
  EXPECT_TRUE(script::Boxes().empty());
  back.reset();  // the back buffer goes with its picture
  EXPECT_EQ(KGraphic::BackBufferSurface(), nullptr);
}

}  // namespace
