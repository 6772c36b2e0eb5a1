// The game's picture shown in a window of any size, in software: where it lies (aspect kept,
// centred, black bars on the long side), the pointer mapped through it both ways, and the
// scaling of changed rectangles into 32-bit window pixels. Shared by both platforms, so that
// the scripted one tests what the real one shows.
#pragma once

#include <cstdint>
#include <vector>

namespace platcommon {

struct Area {
  int x, y, w, h;
};

// The largest area of the picture's aspect inside a window of windowW x windowH, centred.
// A window of the picture's own size gives the picture's own area.
Area PictureArea(int pictureW, int pictureH, int windowW, int windowH);

// The largest whole-number multiple of pictureW x pictureH that fits spaceW x spaceH, at
// least 1.
int WholeScale(int pictureW, int pictureH, int spaceW, int spaceH);

// A window pixel to the picture pixel it shows; positions outside the area come back outside
// the picture.
void WindowToPicture(const Area& area, int pictureW, int pictureH, int wx, int wy, int* px, int* py);
// A picture pixel to the first window pixel showing it (WindowToPicture of it gives it back).
void PictureToWindow(const Area& area, int pictureW, int pictureH, int px, int py, int* wx, int* wy);

// Scales RGB565 pictures into 0x00RRGGBB window pixels: each pixel repeated at a
// whole-number scale, bilinear otherwise (nothing is lost at the window's own size).
class Scaler {
 public:
  // For a picture of pictureW x pictureH shown in `area` of the window.
  void Configure(int pictureW, int pictureH, const Area& area);
  bool Whole() const { return factor_ > 0; }
  // The window rectangle (in window pixels, inside the area) whose pixels depend on the
  // picture rectangle r; empty (w or h 0) when r misses the picture.
  Area WindowRectOf(int x, int y, int w, int h) const;
  // Writes the window rectangle `out` (from WindowRectOf) from the picture. dst points at
  // the window's pixel (0, 0), dstPitch in pixels.
  void Scale(const std::uint16_t* picture, int picturePitch, const Area& out, std::uint32_t* dst,
             int dstPitch);

 private:
  int pictureW_ = 0, pictureH_ = 0;
  Area area_{0, 0, 0, 0};
  int factor_ = 0;  // the whole-number scale, 0 when there is none
  // Bilinear: for each window column and row of the area, the first picture pixel and the
  // weight of the next one (0..256).
  std::vector<int> colIndex_, rowIndex_;
  std::vector<std::uint16_t> colWeight_, rowWeight_;
  std::vector<std::uint32_t> rowA_, rowB_;  // two picture rows, widened and scaled across
};

}  // namespace platcommon
