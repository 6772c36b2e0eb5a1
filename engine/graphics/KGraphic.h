// A picture: its own 16-bit RGB565 surface in memory, drawn only by rectangle copies into the
// back buffer. The decoded 32-bit image lives only while LoadPicture builds the surface from
// it (kept, it was two thirds of the game's memory).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// A 16-bit RGB565 pixel block. The back buffer is one too.
struct KSurface {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> pixels;  // width * height, rows from the top
  // Source colour key: pixels with a value in lo..hi are not drawn by keyed copies.
  bool hasKey = false;
  std::uint16_t keyLow = 0;
  std::uint16_t keyHigh = 0;
  // A new value whenever the engine changes the pixels (never one seen before). Code that
  // writes pixels itself calls KGraphic::PixelsChanged, or the back buffer may be restored
  // from a stale picture.
  std::uint64_t stamp = 0;
};

// A rectangle of pixels: left, top, width, height.
struct KDirtyRect {
  int x, y, w, h;
};

class KGraphic {
 public:
  KGraphic();
  ~KGraphic();
  KGraphic(const KGraphic&) = delete;
  KGraphic& operator=(const KGraphic&) = delete;

  // Class-wide: the screen size (the game passes 800, 600, 16).
  static void SetScreenSize(std::int16_t width, std::int16_t height, std::int16_t bitsPerPixel);
  static int ScreenWidth() { return screenWidth; }
  static int ScreenHeight() { return screenHeight; }
  // Registers the back-buffer picture; when no back buffer exists yet, its surface becomes it.
  static void SetBackBuffer(KGraphic* picture);
  static KGraphic* BackBufferPicture() { return backBufferPicture; }
  static KSurface* BackBufferSurface() { return backBufferSurface; }
  // Warning box when no back buffer is registered.
  static void CheckBackBuffer();
  // The same warning; then fills the back buffer black when doClear is set.
  static void ClearBackBuffer(int, int, int, int, bool doClear);
  // Forgets the class-wide state (screen size, back buffer, backdrop reuse back on): for tests
  // and shutdown.
  static void ResetClassState();
  // After code outside the engine wrote a surface's pixels.
  static void PixelsChanged(KSurface* surface);
  // A picture copied opaquely over the whole back buffer again, unchanged since, restores only
  // the rectangles drawn over it in between, and the display compares only what was written
  // (on by default; off for comparisons).
  static void SetBackdropReuse(bool on);
  // The back-buffer rectangles written since the last call, into rects; false when something
  // else may have changed too (look at the whole screen then).
  static bool TakeBackBufferChanges(std::vector<KDirtyRect>* rects);

  // Makes this picture's surface the back buffer of a width x height screen.
  bool CreatePrimarySurface(std::int16_t width, std::int16_t height, std::int16_t depth, bool fullScreen);
  // Makes this picture's surface if it has none; an existing surface is kept whatever its size.
  bool CreateSurface(std::int32_t width, std::int32_t height, std::int32_t depth);
  // Makes the surface, converts the 32-bit image into it and sets the colour key.
  void BuildSurface();
  // Fills black: the back buffer for the back-buffer picture, otherwise this picture's surface.
  void Clear();
  // Opaque and colour-keyed copies of a source rectangle (right and bottom exclusive) into
  // the back buffer at destX, destY. srcRight / srcBottom of -1 mean the picture's size.
  void BlitRect(std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcRight, std::int32_t srcBottom,
                std::int32_t destX, std::int32_t destY, std::int32_t = 0, std::int32_t = 0);
  void BlitRectKeyed(std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcRight, std::int32_t srcBottom,
                     std::int32_t destX, std::int32_t destY, std::int32_t = 0, std::int32_t = 0);
  // Turns this picture into a copy of the current back buffer (no image, no colour key).
  bool GrabBackBuffer();

  // Loads an image file (KGraphicLoad.cpp). Always returns true; after a failure the picture
  // has width and height 0 and no surface.
  bool LoadPicture(const char* path, int, int, std::uint32_t colorKeyLow, std::uint32_t colorKeyHigh);

  // The clipping both copies use, on the six values in place, against the screen size.
  // Returns false when the rectangle is not visible.
  bool ClipRect(std::int32_t* srcLeft, std::int32_t* srcTop, std::int32_t* srcRight, std::int32_t* srcBottom,
                std::int32_t* destX, std::int32_t* destY) const;

  // 32-bit 0x00RRGGBB to RGB565, truncating: pure blue becomes 31.
  static std::uint16_t To565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>(((rgb >> 8) & 0xf800u) | ((rgb >> 5) & 0x07e0u) | ((rgb >> 3) & 0x001fu));
  }

  const KSurface* Surface() const { return surface.get(); }

  // Fields read and written by the game.
  std::uint32_t colorKeyLow = 31;
  std::uint32_t colorKeyHigh = 31;
  std::int32_t pixelWidth = 0;
  std::int32_t pixelHeight = 0;
  std::int32_t depth = 0;
  char path[260] = {};
  float width = 0.0f;
  float height = 0.0f;

 private:
  void Blit(std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcRight, std::int32_t srcBottom,
            std::int32_t destX, std::int32_t destY, bool keyed);
  // An opaque copy of this picture over the whole back buffer, from srcLeft, srcTop.
  void CoverBackBuffer(std::int32_t srcLeft, std::int32_t srcTop);
  void LoadImageFile(const char* path);
  void LoadTgaFile(const char* path);

  std::vector<std::uint32_t> image;  // while loading: the decoded picture, 0x00RRGGBB, pixelWidth x pixelHeight
  std::unique_ptr<KSurface> surface;

  static int screenWidth, screenHeight, screenDepth;
  static KGraphic* backBufferPicture;
  static KSurface* backBufferSurface;
};

// Row copies the blits are made of (exposed for the benchmark and tests).
// Reads and decodes a picture file without showing anything: pixels 0x00RRGGBB, rows from
// the top. For pictures shown before the display exists (the welcome dialog).
bool DecodePictureFile(const char* path, std::vector<std::uint32_t>* pixels, int* width, int* height);

void CopyRow565(std::uint16_t* dst, const std::uint16_t* src, int n);
void CopyRow565Keyed(std::uint16_t* dst, const std::uint16_t* src, int n, std::uint16_t keyLow,
                     std::uint16_t keyHigh);
