// The picture scaled into a window, and the pointer mapped through it, at the window's own
// size, twice it and a size between (with bars).
#include "platform/common/scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using platcommon::Area;

constexpr int kW = 800, kH = 600;

std::uint32_t Channel(std::uint32_t p, int shift) { return (p >> shift) & 255; }
std::uint32_t Widened(std::uint16_t p) {
  const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

TEST(ScaleTest, PictureAndPointerAtOneTwoAndBetween) {
  std::vector<std::uint16_t> picture(kW * kH);
  std::uint32_t seed = 1;
  for (std::uint16_t& p : picture) p = static_cast<std::uint16_t>((seed = seed * 1103515245u + 12345u) >> 16);
  struct Case {
    int w, h;
    Area area;
  };
  for (const Case& c : {Case{800, 600, {0, 0, 800, 600}}, Case{1600, 1200, {0, 0, 1600, 1200}},
                        Case{1280, 800, {107, 0, 1066, 800}}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const Area area = platcommon::PictureArea(kW, kH, c.w, c.h);
    EXPECT_EQ(area.x, c.area.x);
    EXPECT_EQ(area.y, c.area.y);
    EXPECT_EQ(area.w, c.area.w);
    EXPECT_EQ(area.h, c.area.h);
    platcommon::Scaler scaler;
    scaler.Configure(kW, kH, area);
    std::vector<std::uint32_t> window(static_cast<std::size_t>(c.w) * c.h, 0);
    scaler.Scale(picture.data(), kW, scaler.WindowRectOf(0, 0, kW, kH), window.data(), c.w);
    int wrong = 0;
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        int px, py;
        platcommon::WindowToPicture(area, kW, kH, x, y, &px, &py);
        const std::uint32_t got = window[static_cast<std::size_t>(y) * c.w + x];
        if (px < 0 || px >= kW || py < 0 || py >= kH) {
          wrong += got != 0;  // the bars stay black
        } else if (scaler.Whole()) {
          wrong += got != Widened(picture[static_cast<std::size_t>(py) * kW + px]);
        } else {
          // Smoothed: each channel within those of the picture pixels around.
          for (int shift : {0, 8, 16}) {
            std::uint32_t lo = 255, hi = 0;
            for (int j = std::max(py - 1, 0); j <= std::min(py + 1, kH - 1); ++j)
              for (int i = std::max(px - 1, 0); i <= std::min(px + 1, kW - 1); ++i) {
                const std::uint32_t v = Channel(Widened(picture[static_cast<std::size_t>(j) * kW + i]), shift);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
              }
            wrong += Channel(got, shift) < lo || Channel(got, shift) > hi;
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(scaler.Whole(), c.w != 1280);
    // A changed rectangle scaled alone gives the same window as the whole picture scaled anew.
    for (int y = 290; y < 310; ++y)
      for (int x = 390; x < 420; ++x) picture[static_cast<std::size_t>(y) * kW + x] ^= 0x5a5a;
    scaler.Scale(picture.data(), kW, scaler.WindowRectOf(390, 290, 30, 20), window.data(), c.w);
    std::vector<std::uint32_t> fresh(window.size(), 0);
    scaler.Scale(picture.data(), kW, scaler.WindowRectOf(0, 0, kW, kH), fresh.data(), c.w);
    EXPECT_TRUE(window == fresh);
    // The pointer: a picture pixel to the window and back, and the bars outside the picture.
    for (int p : {0, 1, 123, 400, 599}) {
      int wx, wy, px, py;
      platcommon::PictureToWindow(area, kW, kH, p + 200, p, &wx, &wy);
      platcommon::WindowToPicture(area, kW, kH, wx, wy, &px, &py);
      EXPECT_EQ(px, p + 200);
      EXPECT_EQ(py, p);
    }
    int px, py;
    platcommon::WindowToPicture(area, kW, kH, area.x - 1, area.y + area.h, &px, &py);
    EXPECT_EQ(px, -1);
    EXPECT_EQ(py, kH);
  }
}

}  // namespace
