// The real platform. Decoding needs no display; the window tests run where one is set
// (for example under Xvfb) and are skipped elsewhere.
#include "BmpWriter.h"
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(SdlImageTest, DecodesFromMemory) {
  std::vector<Rgb> px = {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{1, 2, 3}};
  const std::string bmp = EncodeBmp24(2, 2, px);
  std::vector<std::uint32_t> out;
  int w = 0, h = 0;
  ASSERT_TRUE(plat::DecodeImage(bmp.data(), bmp.size(), &out, &w, &h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{0xff0000, 0x00ff00, 0x0000ff, 0x010203}));
  EXPECT_FALSE(plat::DecodeImage(bmp.data(), 20, &out, &w, &h));
  EXPECT_EQ(w, 0);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(plat::DecodeImage(nullptr, 0, &out, &w, &h));
}

bool HaveDisplay() { return std::getenv("DISPLAY") != nullptr && *std::getenv("DISPLAY") != '\0'; }

TEST(SdlDisplayTest, WindowTakesFocusPresentsPacesAndMapsThePointer) {
  if (!HaveDisplay()) {
    if (std::getenv("ZR_REQUIRE_DISPLAY")) FAIL() << "no display although one was promised";
    GTEST_SKIP() << "no display";
  }
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

TEST(SdlDisplayTest, FullScreenScalesThePictureAndThePointer) {
  if (!HaveDisplay()) {
    if (std::getenv("ZR_REQUIRE_DISPLAY")) FAIL() << "no display although one was promised";
    GTEST_SKIP() << "no display";
  }
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
