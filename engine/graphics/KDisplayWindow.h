// The one game window and its display: creation, presenting the back buffer, frame pacing,
// window events and the quit flag. All state is process-wide; the object only gives the
// operations a home.
#pragma once

#include "engine/graphics/KGraphic.h"

#include <cstdint>
#include <vector>

class KDisplayWindow {
 public:
  KDisplayWindow();
  ~KDisplayWindow();
  KDisplayWindow(const KDisplayWindow&) = delete;
  KDisplayWindow& operator=(const KDisplayWindow&) = delete;

  // Opens the window (client area width x height, centred; or the desktop's full screen with
  // the picture scaled to fit), makes the back buffer and presents it black.
  bool Create(std::int16_t width, std::int16_t height, std::int16_t bitsPerPixel, bool windowed, const char* title);
  // Presents the back buffer (only what changed), keeps consecutive frames at least 14 ms
  // apart, handles one window event, and waits while the window lacks the input focus (unless
  // a quit was asked for: the close box or SIGTERM end the wait).
  void Flip(int ignored = 0);
  // Handles at most one waiting window event.
  static void PumpMessages();
  static bool IsQuitRequested();
  // Told whenever the player switches between window and full screen (Alt+Enter, F11).
  static void SetModeListener(void (*listener)(bool fullScreen));
  // A token for the window (null when there is none), for the input state.
  static void* GetWindowHandle();

  // Frames are held this far apart.
  static constexpr std::uint64_t kFrameMicroseconds = 14000;
  // The picture is compared with the last presented one in tiles of this size.
  static constexpr int kTileWidth = 40;
  static constexpr int kTileHeight = 20;

  // Pixels handed to the display by the last Flip (0 for a frame identical to the last one).
  static std::uint64_t LastPresentedPixels();

 private:
  static void Present();
};

// The rectangles where two RGB565 pictures of width x height differ, in tiles, neighbouring
// tiles merged. Copies the changed tiles of frame into last. With `only`, just the tiles that
// meet those rectangles are compared (the rest are known to be the same). Used by the display
// and the benchmark.
void FindChangedTiles(const std::uint16_t* frame, std::uint16_t* last, int width, int height, int tileWidth,
                      int tileHeight, std::vector<KDirtyRect>* rects, const std::vector<KDirtyRect>* only = nullptr);
