#include "tests/support/EngineTest.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/services/Services.h"
#include "platform/platform.h"

namespace {

class DisplayTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    script::SetRoot(dir.Path());
  }
  std::unique_ptr<KDisplayWindow> Open() {
    auto d = std::make_unique<KDisplayWindow>();
    EXPECT_TRUE(d->Create(800, 600, 16, true, "ZindoRumba"));
    return d;
  }
  static KSurface* Back() { return KGraphic::BackBufferSurface(); }
};

TEST_F(DisplayTest, WindowAndItsIconFromTheDataFolderWithBlueTransparent) {
  {
    auto d = Open();
    EXPECT_EQ(script::DisplayTitle(), "ZindoRumba");
    EXPECT_TRUE(script::Boxes().empty());  // no icon beside the program is no error
    EXPECT_TRUE(script::Icon().empty());
  }
  EXPECT_TRUE(KDisplayWindow::IsQuitRequested());  // gone with its window
  EXPECT_EQ(KGraphic::BackBufferSurface(), nullptr);
  std::vector<Rgb> px(32 * 32, Rgb{0, 0, 255});
  px[0] = Rgb{200, 100, 50};
  WriteFileBytes(dir.File("data/general/icon.bmp"), EncodeBmp24(32, 32, px));
  auto d = Open();
  ASSERT_EQ(script::Icon().size(), 32u * 32u);
  EXPECT_EQ(script::Icon()[0], 0xffc86432u);
  EXPECT_EQ(script::Icon()[1], 0u);
}

TEST_F(DisplayTest, FailuresToOpen) {
  script::FailNextDisplayOpen(true);
  {
    KDisplayWindow d;
    EXPECT_FALSE(d.Create(800, 600, 16, true, "ZindoRumba"));
    ASSERT_EQ(script::Boxes().size(), 1u);
    EXPECT_EQ(script::Boxes()[0].rfind("Impossible to open the window | ", 0), 0u);
    EXPECT_TRUE(KDisplayWindow::IsQuitRequested());  // the loops end at once
  }
  script::ClearRecords();
  script::FailNextDisplayOpen(false);
  KDisplayWindow d;
  EXPECT_TRUE(d.Create(800, 600, 16, false, "ZindoRumba"));  // goes on, drawing unseen
  ASSERT_EQ(script::Boxes().size(), 1u);
  EXPECT_EQ(script::Boxes()[0].rfind("Impossible to initialise the display | ", 0), 0u);
  EXPECT_FALSE(KDisplayWindow::IsQuitRequested());
  ASSERT_NE(Back(), nullptr);
}

// The display compares only the tiles the engine wrote since the last frame. Frames of sprites
// over a backdrop, with clears and partial copies between, must hand over exactly the tiles a
// comparison of the whole screen finds, and leave the display showing the back buffer.
TEST_F(DisplayTest, ComparingOnlyWrittenTilesFindsWhatAWholeComparisonFinds) {
  std::vector<Rgb> art(800 * 600);
  for (std::size_t i = 0; i < art.size(); ++i)
    art[i] = Rgb{static_cast<std::uint8_t>(i % 800), static_cast<std::uint8_t>(i / 800), static_cast<std::uint8_t>(i * 5)};
  std::vector<Rgb> ball(30 * 30, Rgb{255, 200, 0});
  for (int i = 0; i < 30 * 30; i += 3) ball[i] = Rgb{0, 0, 255};
  const auto run = [&](bool reuse, std::vector<std::uint64_t>* presented) {
    script::ResetDisplayAndInput();
    KGraphic::ResetClassState();
    KGraphic::SetBackdropReuse(reuse);
    auto d = Open();
    auto backdrop = Picture(800, 600, art, "backdrop.bmp");
    auto sprite = Picture(30, 30, ball, "ball.bmp");
    TestRandom random{99u};
    const auto next = [&](int n) { return random.Next(n); };
    for (int frame = 0; frame < 120; ++frame) {
      const int kind = next(10);
      if (kind < 7) backdrop->BlitRect(0, 0, -1, -1, 0, 0);
      if (kind == 7) backdrop->BlitRect(next(700), next(500), 800, 600, next(800) - 50, next(600) - 50);
      if (kind == 8) KGraphic::ClearBackBuffer(0, 0, 0, 0, frame % 2 == 0);
      const int sprites = next(3) == 0 ? 80 : next(6);  // sometimes more than the list keeps apart
      for (int i = 0; i < sprites; ++i) sprite->BlitRectKeyed(0, 0, 30, 30, next(860) - 30, next(660) - 30);
      d->Flip();
      presented->push_back(KDisplayWindow::LastPresentedPixels());
      ASSERT_EQ(script::Screen(), Back()->pixels) << "frame " << frame;
    }
  };
  std::vector<std::uint64_t> whole, written;
  run(false, &whole);
  run(true, &written);
  EXPECT_EQ(written, whole);
}

TEST_F(DisplayTest, ChangedTilesAreMergedIntoFewRectangles) {
  const int w = 100, h = 50;
  std::vector<std::uint16_t> frame(w * h, 0), last(w * h, 0);
  std::vector<KDirtyRect> rects;
  FindChangedTiles(frame.data(), last.data(), w, h, 40, 20, &rects);
  EXPECT_TRUE(rects.empty());
  // A block over tiles (0..1, 0..1) and a dot in the partial last column and row.
  for (int y = 5; y < 30; ++y)
    for (int x = 10; x < 60; ++x) frame[y * w + x] = 7;
  frame[49 * w + 99] = 9;
  FindChangedTiles(frame.data(), last.data(), w, h, 40, 20, &rects);
  ASSERT_EQ(rects.size(), 2u);
  const auto xywh = [](const KDirtyRect& r) { return std::vector<int>{r.x, r.y, r.w, r.h}; };
  EXPECT_EQ(xywh(rects[0]), (std::vector<int>{0, 0, 80, 40}));
  EXPECT_EQ(xywh(rects[1]), (std::vector<int>{80, 40, 20, 10}));
  EXPECT_EQ(last, frame);  // the changed tiles were taken over
  FindChangedTiles(frame.data(), last.data(), w, h, 40, 20, &rects);
  EXPECT_TRUE(rects.empty());
}

TEST_F(DisplayTest, PumpMessagesHandlesOneEventAtATime) {
  auto d = Open();
  for (int i = 0; i < 9; ++i) script::SetFocus(true);
  script::PostClose();
  for (int i = 0; i < 9; ++i) {
    KDisplayWindow::PumpMessages();
    ASSERT_FALSE(KDisplayWindow::IsQuitRequested()) << i;
  }
  KDisplayWindow::PumpMessages();
  EXPECT_TRUE(KDisplayWindow::IsQuitRequested());
}

TEST_F(DisplayTest, BackgroundWaitEndsWhenTheWindowIsGone) {
  auto d = Open();
  script::SetFocus(false);
  script::SetTickHook([](bool) {
    if (script::Now() > 300000) plat::DisplayClose();
  });
  d->Flip();
  EXPECT_FALSE(script::DisplayOpened());
  script::SetTickHook(nullptr);
}

}  // namespace
