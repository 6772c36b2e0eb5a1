// The real platform's window on an Xvfb of the test's own, 1920 x 1280: the window opens at
// twice the picture's size, full screen scales it by 2.13 with bars, Alt+Enter and F11
// switch, and the pointer follows the scale every time.
#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "platform/platform.h"
#include "tools/testkit/RealGame.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdlib>
#include <memory>

namespace {

using realgame::Clock;

class SdlDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    x = new realgame::Xvfb(false, 1920, 1280);
    if (x->Ok()) setenv("DISPLAY", x->Name().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete x;
    x = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(x->Ok()) << x->Error(); }

  // The picture: red on the left half, blue on the right.
  static void DrawHalves() {
    KSurface* back = KGraphic::BackBufferSurface();
    for (int y = 0; y < 600; ++y)
      for (int px = 0; px < 800; ++px) back->pixels[static_cast<std::size_t>(y) * 800 + px] = px < 400 ? 0xf800 : 0x001f;
    KGraphic::PixelsChanged(back);
  }
  // Flips until the window has this size and shows red at (redX, y), blue at (blueX, y) and
  // black at (barX, y) when barX >= 0.
  static bool Shows(realgame::XWatcher& w, unsigned long window, int width, int height, int redX, int blueX,
                    int barX) {
    const int y = height / 2;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
      KDisplayWindow::PumpMessages();
      DrawHalves();
      displayWindow->Flip();
      int ww = 0, wh = 0;
      if (w.Size(window, &ww, &wh) && ww == width && wh == height && w.Pixel(window, redX, y) == 0xff0000 &&
          w.Pixel(window, blueX, y) == 0x0000ff && (barX < 0 || w.Pixel(window, barX, y) == 0))
        return true;
      if (Clock::now() > deadline) return false;
    }
  }
  static void PointerFollows() {
    for (int p : {0, 1, 123, 400, 599}) {
      KInputState::SetMousePosition(p + 200, p);
      EXPECT_EQ(KInputState::GetMouseX(), p + 200);
      EXPECT_EQ(KInputState::GetMouseY(), p);
    }
  }

  static realgame::Xvfb* x;
  static KDisplayWindow* displayWindow;
};
realgame::Xvfb* SdlDisplayTest::x = nullptr;
KDisplayWindow* SdlDisplayTest::displayWindow = nullptr;

int switches = 0;
bool lastFullScreen = false;

TEST_F(SdlDisplayTest, WindowScalesSwitchesPacesAndMapsThePointer) {
  {
    KDisplayWindow display;
    displayWindow = &display;
    KDisplayWindow::SetModeListener([](bool full) {
      ++switches;
      lastFullScreen = full;
    });
    ASSERT_TRUE(display.Create(800, 600, 16, true, "ZindoRumba"));
    EXPECT_TRUE(plat::DisplayHasFocus());  // no window manager needed for the focus
    realgame::XWatcher watcher(x->Name());
    const unsigned long window = watcher.FindShown("ZindoRumba");
    ASSERT_NE(window, 0u);
    // Twice the picture's size fits 1920 x 1280.
    EXPECT_TRUE(Shows(watcher, window, 1600, 1200, 799, 800, -1));
    PointerFollows();
    // Frames end at least 14 ms apart: six flips span at least five frame times.
    const std::uint64_t start = plat::ClockMicroseconds();
    for (int i = 0; i < 6; ++i) {
      KGraphic::BackBufferSurface()->pixels[i * 1000] = 0xffff;
      KGraphic::PixelsChanged(KGraphic::BackBufferSurface());
      display.Flip();
    }
    EXPECT_GE(plat::ClockMicroseconds() - start, 5 * 14000u);
    // F11: full screen, the picture 1706 x 1280 from x = 107.
    watcher.TapKey(XK_F11);
    EXPECT_TRUE(Shows(watcher, window, 1920, 1280, 900, 1000, 100));
    EXPECT_EQ(switches, 1);
    EXPECT_TRUE(lastFullScreen);
    PointerFollows();
    watcher.TapKey(XK_Return, XK_Alt_L);
    EXPECT_TRUE(Shows(watcher, window, 1600, 1200, 799, 800, -1));
    EXPECT_EQ(switches, 2);
    EXPECT_FALSE(lastFullScreen);
    // Resized: 900 x 1200 shows the picture 900 x 675 from y = 262, bars above and below.
    watcher.Resize(window, 900, 1200);
    EXPECT_TRUE(Shows(watcher, window, 900, 1200, 440, 460, -1));
    EXPECT_EQ(watcher.Pixel(window, 450, 100), 0u);
    PointerFollows();
    EXPECT_FALSE(KDisplayWindow::IsQuitRequested());
    KDisplayWindow::SetModeListener(nullptr);
  }
  EXPECT_TRUE(KDisplayWindow::IsQuitRequested());
  KGraphic::ResetClassState();
}

TEST_F(SdlDisplayTest, FullScreenScalesThePictureAndThePointer) {
  {
    KDisplayWindow display;
    displayWindow = &display;
    ASSERT_TRUE(display.Create(800, 600, 16, false, "ZindoRumba"));
    EXPECT_TRUE(plat::DisplayHasFocus());
    EXPECT_TRUE(plat::DisplayIsFullScreen());
    PointerFollows();
    KGraphic::BackBufferSurface()->pixels[0] = 0xffff;
    KGraphic::PixelsChanged(KGraphic::BackBufferSurface());
    display.Flip();
    display.Flip();
    EXPECT_EQ(KDisplayWindow::LastPresentedPixels(), 0u);
  }
  KGraphic::ResetClassState();
}

}  // namespace
