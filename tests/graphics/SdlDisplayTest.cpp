// The real platform's window on a large screen, an Xvfb of 1920 x 1280 of its own (ctest runs
// this under tools/testkit/realgame.sh), seen through zr-xwin and driven through xdotool: the
// window opens at twice the picture's size, full screen scales it by 2.13 with bars, F11 and
// Alt+Enter switch, a resize keeps the aspect, and the pointer follows the scale every time.
#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// What zr-xwin sees of the window: "WIDTHxHEIGHT LIT" and the colours at the points "X Y ...".
std::string Look(const std::string& points) {
  std::string out;
  char line[256];
  if (std::FILE* p = popen((ZR_XWIN " ZindoRumba " + points).c_str(), "r")) {
    while (std::fgets(line, sizeof line, p)) out += line;
    pclose(p);
  }
  out = out.substr(out.find(' ') + 1);  // after the window's id
  return out.substr(0, out.find('\n'));
}

// Flips the picture (red on the left half, blue on the right) until the window shows this.
void Shows(KDisplayWindow& display, const std::string& points, const std::string& expected) {
  std::string seen;
  for (int i = 0; i < 200 && seen != expected; ++i) {
    KSurface* back = KGraphic::BackBufferSurface();
    for (std::size_t p = 0; p < back->pixels.size(); ++p) back->pixels[p] = p % 800 < 400 ? 0xf800 : 0x001f;
    KGraphic::PixelsChanged(back);
    display.Flip();
    seen = Look(points);
  }
  EXPECT_EQ(seen, expected) << points;
}

void PointerFollows() {
  for (int p : {0, 1, 123, 400, 599}) {
    KInputState::SetMousePosition(p + 200, p);
    EXPECT_EQ(KInputState::GetMouseX(), p + 200);
    EXPECT_EQ(KInputState::GetMouseY(), p);
  }
}

void Sh(const char* command) { EXPECT_EQ(std::system(command), 0) << command; }

int switches = 0;
bool lastFullScreen = false;

TEST(SdlDisplayTest, WindowScalesSwitchesPacesAndMapsThePointer) {
  {
    KDisplayWindow display;
    KDisplayWindow::SetModeListener([](bool full) {
      ++switches;
      lastFullScreen = full;
    });
    ASSERT_TRUE(display.Create(800, 600, 16, true, "ZindoRumba"));
    EXPECT_TRUE(plat::DisplayHasFocus());  // no window manager needed for the focus
    // Twice the picture's size fits 1920 x 1280.
    Shows(display, "799 600 800 600", "1600x1200 1 ff0000 0000ff");
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
    Sh("xdotool key --delay 40 F11");
    Shows(display, "900 640 1000 640 100 640", "1920x1280 1 ff0000 0000ff 000000");
    EXPECT_EQ(switches, 1);
    EXPECT_TRUE(lastFullScreen);
    PointerFollows();
    Sh("xdotool key --delay 40 alt+Return");
    Shows(display, "799 600 800 600", "1600x1200 1 ff0000 0000ff");
    EXPECT_EQ(switches, 2);
    EXPECT_FALSE(lastFullScreen);
    // Resized: 900 x 1200 shows the picture 900 x 675 from y = 262, bars above and below.
    Sh("xdotool search --onlyvisible --name '^ZindoRumba$' windowsize 900 1200");
    Shows(display, "440 600 460 600 450 100", "900x1200 1 ff0000 0000ff 000000");
    PointerFollows();
    EXPECT_FALSE(KDisplayWindow::IsQuitRequested());
    KDisplayWindow::SetModeListener(nullptr);
  }
  EXPECT_TRUE(KDisplayWindow::IsQuitRequested());
  KGraphic::ResetClassState();
}

TEST(SdlDisplayTest, FullScreenScalesThePictureAndThePointer) {
  {
    KDisplayWindow display;
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
