// The welcome dialog's size, its controls in tab order and their rectangles. The dialog
// tests the pointer against them; the data generator draws the dialog's face to fit them.
#pragma once

// Controls in tab order.
enum class DialogControl : int { GamepadBox, FullScreenBox, Help, Quit, Play, Count, None = -1 };

struct DialogRect {
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

constexpr int kDialogWidth = 380;
constexpr int kDialogHeight = 215;
constexpr DialogRect kArtworkRect = {10, 12, 160, 103};
constexpr DialogRect kControlRects[] = {
    {18, 140, 150, 22},   // "Use gamepad"
    {190, 140, 170, 22},  // "Play Full Screen"
    {10, 174, 80, 28},    // Help
    {196, 174, 80, 28},   // Quit
    {290, 174, 80, 28},   // Play (the default button)
};
static_assert(sizeof(kControlRects) / sizeof(kControlRects[0]) == static_cast<int>(DialogControl::Count),
              "one rectangle per control");
