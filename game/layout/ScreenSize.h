// The game's screen: every frame is drawn into a back buffer of this size (pixels, x to the
// right, y down, 16-bit colour), which the display shows scaled to its window.
#pragma once

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenBitsPerPixel = 16;
