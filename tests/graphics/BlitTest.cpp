#include "tests/support/EngineTest.h"

namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr std::uint16_t kRed565 = 0xf800;

// A w x h picture whose pixel at (x, y) has red = x and green = y, so every copied pixel
// tells where it came from (red >> 3 and green >> 2 survive the conversion).
std::vector<Rgb> Gradient(int w, int h) {
  std::vector<Rgb> p;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.push_back(Rgb{static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 4), 8});
  return p;
}
int SrcX(std::uint16_t v) { return v >> 11; }
int SrcY(std::uint16_t v) { return (v >> 5) & 63; }

class BlitTest : public EngineTest {};

TEST_F(BlitTest, ConversionTruncatesSoPureBlueIsTheKey) {
  EXPECT_EQ(KGraphic::To565(0x0000ff), 31);
  EXPECT_EQ(KGraphic::To565(0xffffff), 0xffff);
  EXPECT_EQ(KGraphic::To565(0x0000f8), 31);  // still the key after truncation
  EXPECT_EQ(KGraphic::To565(0x0000f7), 30);
  EXPECT_EQ(KGraphic::To565(0x070307), 0);    // low bits are dropped, not rounded
  EXPECT_EQ(KGraphic::To565(0x080408), 0x0821);
}

TEST_F(BlitTest, ClippingAtEveryEdge) {
  MakeBackBuffer();
  auto pic = Picture(20, 10, Gradient(20, 10));
  std::int32_t l, t, r, b, x, y;
  auto clip = [&](int l0, int t0, int r0, int b0, int x0, int y0) {
    l = l0, t = t0, r = r0, b = b0, x = x0, y = y0;
    return pic->ClipRect(&l, &t, &r, &b, &x, &y);
  };
  // Off the left and top: the source moves by the overhang, drawing starts at 0.
  ASSERT_TRUE(clip(0, 0, 20, 10, -5, -3));
  EXPECT_EQ(l, 5);
  EXPECT_EQ(t, 3);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // A source rectangle larger than the picture is cut to it.
  ASSERT_TRUE(clip(0, 0, 500, 500, 10, 10));
  EXPECT_EQ(r, 20);
  EXPECT_EQ(b, 10);
  // Past the right edge: one column left at 799.
  ASSERT_TRUE(clip(0, 0, 20, 10, 799, 0));
  EXPECT_EQ(r - l, 1);
  // Exactly at the right edge: visible to the clipper, but empty.
  ASSERT_TRUE(clip(0, 0, 20, 10, 800, 0));
  EXPECT_LE(r, l);
  EXPECT_FALSE(clip(0, 0, 20, 10, 801, 0));
  EXPECT_FALSE(clip(0, 0, 20, 10, 0, 601));
  // Entirely off the left: ex = -1 is invisible, ex = 0 is "visible" and empty.
  EXPECT_FALSE(clip(0, 0, 20, 10, -21, 0));
  ASSERT_TRUE(clip(0, 0, 20, 10, -20, 0));
  EXPECT_LE(r, l);
  // Extreme values do not wrap around.
  EXPECT_FALSE(clip(0, 0, 20, 10, INT32_MIN, 0));
  ASSERT_TRUE(clip(0, 0, INT32_MAX, 10, 0, 0));
  EXPECT_EQ(r, 20);
}

TEST_F(BlitTest, BlitsDrawExactlyTheClippedPixels) {
  MakeBackBuffer();
  auto pic = Picture(20, 10, Gradient(20, 10));
  pic->BlitRect(0, 0, -1, -1, -5, -3);
  EXPECT_EQ(SrcX(BackPixel(0, 0)), 5);
  EXPECT_EQ(SrcY(BackPixel(0, 0)), 3);
  EXPECT_EQ(SrcX(BackPixel(14, 6)), 19);
  EXPECT_EQ(BackPixel(15, 0), 0);  // nothing beyond the picture
  EXPECT_EQ(BackPixel(0, 7), 0);

  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  pic->BlitRect(0, 0, -1, -1, 799, 595);  // one column, five rows
  for (int y = 595; y < 600; ++y) EXPECT_EQ(SrcX(BackPixel(799, y)), 0);
  EXPECT_EQ(SrcY(BackPixel(799, 599)), 4);
  EXPECT_EQ(BackPixel(798, 599), 0);

  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  pic->BlitRect(0, 0, -1, -1, 800, 0);
  pic->BlitRectKeyed(0, 0, 20, 10, 800, 0);
  pic->BlitRect(0, 0, -1, -1, -20, -10);
  pic->BlitRect(5, 5, 5, 9, 0, 0);     // empty source
  pic->BlitRect(-4, 0, 10, 10, 0, 0);  // source corner outside the picture: refused
  for (std::uint16_t v : KGraphic::BackBufferSurface()->pixels) ASSERT_EQ(v, 0);

  pic->BlitRect(3, 2, 7, 4, 100, 200);  // a sub-rectangle, right and bottom exclusive
  EXPECT_EQ(SrcX(BackPixel(100, 200)), 3);
  EXPECT_EQ(SrcY(BackPixel(100, 200)), 2);
  EXPECT_EQ(SrcX(BackPixel(103, 201)), 6);
  EXPECT_EQ(BackPixel(104, 200), 0);
  EXPECT_EQ(BackPixel(100, 202), 0);
}

TEST_F(BlitTest, KeyedBlitSkipsPureBlueAndOpaqueBlitDrawsIt) {
  MakeBackBuffer();
  // Blue border, red inside; also a near-blue that is not the key.
  std::vector<Rgb> px(6 * 4, kBlue);
  for (int y = 1; y < 3; ++y)
    for (int x = 1; x < 5; ++x) px[y * 6 + x] = kRed;
  px[1 * 6 + 4] = Rgb{0, 0, 240};
  auto pic = Picture(6, 4, px);
  // Background to keep.
  auto bg = Picture(8, 8, std::vector<Rgb>(64, Rgb{0, 255, 0}), "bg.bmp");
  bg->BlitRect(0, 0, -1, -1, 0, 0);
  pic->BlitRectKeyed(0, 0, 6, 4, 1, 1);
  EXPECT_EQ(BackPixel(1, 1), 0x07e0);  // blue corner: green background stays
  EXPECT_EQ(BackPixel(2, 2), kRed565);
  EXPECT_EQ(BackPixel(5, 2), 30);      // 240 >> 3 = 30: not the key, drawn
  pic->BlitRect(0, 0, -1, -1, 1, 1);
  EXPECT_EQ(BackPixel(1, 1), 31);      // the opaque copy draws the blue
}

TEST_F(BlitTest, ColourKeyRangeAndNoKey) {
  MakeBackBuffer();
  std::vector<Rgb> px = {Rgb{0, 0, 0}, Rgb{0, 0, 64}, Rgb{0, 0, 128}, kBlue};
  const std::string file = dir.Write("k.bmp", EncodeBmp24(4, 1, px));
  KGraphic range;
  range.LoadPicture(file.c_str(), 1, 0, 8, 16);  // 64 >> 3 = 8, 128 >> 3 = 16
  auto bg = Picture(4, 1, std::vector<Rgb>(4, Rgb{255, 255, 255}), "w.bmp");
  bg->BlitRect(0, 0, -1, -1, 0, 0);
  range.BlitRectKeyed(0, 0, 4, 1, 0, 0);
  EXPECT_EQ(BackPixel(0, 0), 0);
  EXPECT_EQ(BackPixel(1, 0), 0xffff);
  EXPECT_EQ(BackPixel(2, 0), 0xffff);
  EXPECT_EQ(BackPixel(3, 0), 31);
  // A low end of 0 means no key at all: black is never transparent.
  KGraphic none;
  none.LoadPicture(file.c_str(), 1, 0, 0, 31);
  bg->BlitRect(0, 0, -1, -1, 0, 0);
  none.BlitRectKeyed(0, 0, 4, 1, 0, 0);
  EXPECT_EQ(BackPixel(0, 0), 0);
  EXPECT_EQ(BackPixel(3, 0), 31);
}

TEST_F(BlitTest, KeyedRowCopyMatchesAPlainLoopAtEveryLength) {
  // Lengths around the vector widths, both ends of a key range, and the one key colour.
  for (const std::uint16_t low : {29, 31}) {
    for (int n = 0; n < 70; ++n) {
      std::vector<std::uint16_t> src(n), dst(n), expect(n);
      for (int i = 0; i < n; ++i) {
        src[i] = static_cast<std::uint16_t>((i * 7) % 5 == 0 ? 31 : (i % 3 == 0 ? 29 : 0x1234 + i));
        dst[i] = expect[i] = static_cast<std::uint16_t>(0xabc0 + i);
        if (!(src[i] >= low && src[i] <= 31)) expect[i] = src[i];
      }
      CopyRow565Keyed(dst.data(), src.data(), n, low, 31);
      ASSERT_EQ(dst, expect) << "n = " << n << ", key from " << low;
    }
  }
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

TEST_F(BlitTest, SurfacesClearsAndGrabs) {
  MakeBackBuffer(64, 48);
  KGraphic pic;
  ASSERT_TRUE(pic.CreateSurface(10, 10, 16));
  EXPECT_EQ(pic.pixelWidth, 10);
  // An existing surface is kept whatever size is asked for next.
  ASSERT_TRUE(pic.CreateSurface(30, 30, 16));
  EXPECT_EQ(pic.Surface()->width, 10);
  EXPECT_EQ(pic.pixelWidth, 10);

  auto g = Picture(64, 48, Gradient(64, 48));
  g->BlitRect(0, 0, -1, -1, 0, 0);
  KGraphic grab;
  ASSERT_TRUE(grab.GrabBackBuffer());
  EXPECT_EQ(grab.width, 64.0f);
  EXPECT_EQ(grab.height, 48.0f);
  const std::vector<std::uint16_t> frame = KGraphic::BackBufferSurface()->pixels;
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  for (std::uint16_t v : KGraphic::BackBufferSurface()->pixels) ASSERT_EQ(v, 0);
  grab.BlitRect(0, 0, -1, -1, 0, 0);
  EXPECT_EQ(KGraphic::BackBufferSurface()->pixels, frame);
  // A grabbed picture has no key: keyed copies draw it whole, blue included.
  EXPECT_FALSE(grab.Surface()->hasKey);

  // Clear on an ordinary picture clears that picture only.
  g->Clear();
  EXPECT_EQ(KGraphic::BackBufferSurface()->pixels, frame);
  for (std::uint16_t v : g->Surface()->pixels) ASSERT_EQ(v, 0);
}

TEST_F(BlitTest, WarningBoxes) {
  KGraphic early;  // before the screen size is known: warned, still made
  ASSERT_EQ(script::Boxes().size(), 1u);
  EXPECT_EQ(script::Boxes()[0],
            "Screen Dimensions not specified, you will not see anything | KGraphic::SetScreenSize Not Called!");
  script::ClearRecords();
  KGraphic::CheckBackBuffer();
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  ASSERT_EQ(script::Boxes().size(), 2u);
  EXPECT_EQ(script::Boxes()[1], "No BackBuffer initialiased | Error");
  script::ClearRecords();
  MakeBackBuffer();
  KGraphic::CheckBackBuffer();
  EXPECT_TRUE(script::Boxes().empty());
  // Blits without a back buffer, or from a picture without a surface, draw nothing.
  KGraphic empty;
  empty.BlitRect(0, 0, -1, -1, 0, 0);
  back.reset();  // the back buffer goes with its picture
  EXPECT_EQ(KGraphic::BackBufferSurface(), nullptr);
  auto pic = Picture(4, 4, std::vector<Rgb>(16, kRed));
  pic->BlitRect(0, 0, -1, -1, 0, 0);
}

// Every frame the menus copy one picture over the whole screen and draw sprites on it; the
// engine then restores only what the sprites covered. Random frames of copies, sprites,
// clears, grabs and picture changes must leave exactly the back buffer a full copy leaves.
TEST_F(BlitTest, RestoringOnlyTheDrawnRectanglesMatchesFullCopies) {
  constexpr int kW = 64, kH = 48;
  const auto run = [&](bool reuse, std::vector<std::vector<std::uint16_t>>* frames) {
    KGraphic::ResetClassState();
    KGraphic::SetBackdropReuse(reuse);
    MakeBackBuffer(kW, kH);
    auto backdrop = Picture(kW, kH, Gradient(kW, kH), "a.bmp");
    std::vector<Rgb> wide(80 * 60);
    for (std::size_t i = 0; i < wide.size(); ++i)
      wide[i] = Rgb{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(i)};
    auto big = Picture(80, 60, wide, "b.bmp");
    std::vector<Rgb> sprite(12 * 9, kRed);
    for (int i = 0; i < 12 * 9; i += 5) sprite[i] = kBlue;  // holes that show what lies below
    auto spr = Picture(12, 9, sprite, "s.bmp");
    KGraphic grab;
    TestRandom random{12345u};
    const auto next = [&](int n) { return random.Next(n); };
    for (int step = 0; step < 3000; ++step) {
      const int op = next(20);
      if (op < 5) {
        backdrop->BlitRect(0, 0, -1, -1, 0, 0);
      } else if (op < 7) {
        const int ox = next(17), oy = next(13);
        if (next(2))
          big->BlitRect(ox, oy, ox + kW, oy + kH, 0, 0);
        else
          big->BlitRect(0, 0, -1, -1, -ox, -oy);  // the same through the clipper
      } else if (op < 13) {
        spr->BlitRectKeyed(0, 0, 12, 9, next(90) - 20, next(70) - 15);
      } else if (op == 13) {
        backdrop->BlitRect(next(20), next(20), 40, 40, next(60) - 10, next(40) - 10);
      } else if (op == 14) {
        for (int i = 0; i < 70; ++i) spr->BlitRectKeyed(0, 0, 12, 9, next(60), next(44));
      } else if (op == 15) {
        if (next(2))
          backdrop->Clear();
        else
          backdrop->LoadPicture(dir.File("a.bmp").c_str(), 1, 0, 31, 31);
      } else if (op == 16) {
        KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
      } else if (op == 17) {
        if (next(2))
          grab.GrabBackBuffer();
        else
          grab.BlitRect(0, 0, -1, -1, 0, 0);
      } else if (op == 18) {
        back->BlitRect(0, 0, 20, 20, next(50), next(30));  // the back buffer onto itself
      } else {
        KSurface* s = KGraphic::BackBufferSurface();
        s->pixels[static_cast<std::size_t>(next(kW * kH))] = 0x1234;
        KGraphic::PixelsChanged(s);
      }
      frames->push_back(KGraphic::BackBufferSurface()->pixels);
    }
  };
  std::vector<std::vector<std::uint16_t>> full, reused;
  run(false, &full);
  run(true, &reused);
  ASSERT_EQ(full.size(), reused.size());
  for (std::size_t i = 0; i < full.size(); ++i) ASSERT_EQ(full[i], reused[i]) << "after step " << i;

  // The saving is real: a pixel written behind the engine's back survives the next full-screen
  // copy of an unchanged picture, because only the drawn rectangles are copied again.
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  auto pic = Picture(kW, kH, Gradient(kW, kH), "c.bmp");
  pic->BlitRect(0, 0, -1, -1, 0, 0);
  const std::uint16_t painted = BackPixel(5, 5);
  KGraphic::BackBufferSurface()->pixels[5 * kW + 5] = 0x1234;
  pic->BlitRect(0, 0, -1, -1, 0, 0);
  EXPECT_EQ(BackPixel(5, 5), 0x1234);
  KGraphic::PixelsChanged(KGraphic::BackBufferSurface());
  pic->BlitRect(0, 0, -1, -1, 0, 0);
  EXPECT_EQ(BackPixel(5, 5), painted);
}

// What the display is told was written: only what was, and no more than that.
TEST_F(BlitTest, TheRecordOfWritesNamesTheRectanglesDrawnAndRestored) {
  MakeBackBuffer(64, 48);
  auto pic = Picture(64, 48, Gradient(64, 48));
  auto spr = Picture(8, 6, std::vector<Rgb>(48, kRed), "s.bmp");
  std::vector<KDirtyRect> rects;
  const auto same = [](const KDirtyRect& a, const KDirtyRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
  };
  pic->BlitRect(0, 0, -1, -1, 0, 0);
  KGraphic::TakeBackBufferChanges(&rects);  // from here on, every write is known
  spr->BlitRectKeyed(0, 0, 8, 6, 60, 10);     // clipped to 4 x 6
  ASSERT_TRUE(KGraphic::TakeBackBufferChanges(&rects));
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_TRUE(same(rects[0], KDirtyRect{60, 10, 4, 6}));
  pic->BlitRect(0, 0, -1, -1, 0, 0);  // the backdrop again: only the sprite's place comes back
  ASSERT_TRUE(KGraphic::TakeBackBufferChanges(&rects));
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_TRUE(same(rects[0], KDirtyRect{60, 10, 4, 6}));
  pic->BlitRect(0, 0, -1, -1, 0, 0);  // nothing drawn since: nothing written
  ASSERT_TRUE(KGraphic::TakeBackBufferChanges(&rects));
  EXPECT_TRUE(rects.empty());
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);  // outside the record: the whole screen is in doubt
  EXPECT_FALSE(KGraphic::TakeBackBufferChanges(&rects));
  ASSERT_TRUE(KGraphic::TakeBackBufferChanges(&rects));
  EXPECT_TRUE(rects.empty());
  pic->BlitRect(0, 0, -1, -1, 0, 0);  // after the clear the backdrop goes over whole
  ASSERT_TRUE(KGraphic::TakeBackBufferChanges(&rects));
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_TRUE(same(rects[0], KDirtyRect{0, 0, 64, 48}));
}

}  // namespace
