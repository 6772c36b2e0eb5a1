// The real platform's window, where a display is set (for example under Xvfb); skipped elsewhere.
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class SdlDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return;
    if (std::getenv("ZR_REQUIRE_DISPLAY")) FAIL() << "no display although one was promised";
    GTEST_SKIP() << "no display";
  }
};

TEST_F(SdlDisplayTest, WindowTakesFocusPresentsPacesAndMapsThePointer) {
  {
    KDisplayWindow display;
    ASSERT_TRUE(display.Create(800, 600, 16, true, "ZindoRumba"));
    EXPECT_TRUE(plat::DisplayHasFocus());  // no window manager needed for the focus
    KSurface* back = KGraphic::BackBufferSurface();
    ASSERT_NE(back, nullptr);
    // Frames end at least 14 ms apart: six flips span at least five frame times.
    display.Flip();
    const std::uint64_t start = plat::ClockMicroseconds();
    for (int i = 0; i < 6; ++i) {
      back->pixels[i * 1000] = 0xffff;
      KGraphic::PixelsChanged(back);
      display.Flip();
    }
    EXPECT_GE(plat::ClockMicroseconds() - start, 5 * 14000u);
    KInputState::SetMousePosition(123, 456);
    EXPECT_EQ(KInputState::GetMouseX(), 123);
    EXPECT_EQ(KInputState::GetMouseY(), 456);
    EXPECT_FALSE(KDisplayWindow::IsQuitRequested());
  }
  EXPECT_TRUE(KDisplayWindow::IsQuitRequested());
  KGraphic::ResetClassState();
}

TEST_F(SdlDisplayTest, FullScreenScalesThePictureAndThePointer) {
  {
    KDisplayWindow display;
    ASSERT_TRUE(display.Create(800, 600, 16, false, "ZindoRumba"));
    EXPECT_TRUE(plat::DisplayHasFocus());
    for (int x : {0, 1, 123, 400, 799}) {
      KInputState::SetMousePosition(x, 599 - x / 2);
      EXPECT_EQ(KInputState::GetMouseX(), x);
      EXPECT_EQ(KInputState::GetMouseY(), 599 - x / 2);
    }
    KGraphic::BackBufferSurface()->pixels[0] = 0xffff;
    KGraphic::PixelsChanged(KGraphic::BackBufferSurface());
    display.Flip();
    display.Flip();
    EXPECT_EQ(KDisplayWindow::LastPresentedPixels(), 0u);
  }
  KGraphic::ResetClassState();
}

}  // namespace
