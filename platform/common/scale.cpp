// The game's picture scaled into a window of any size (see scale.h).
#include "platform/common/scale.h"

#include <algorithm>
#include <cstring>

namespace platcommon {

namespace {

int FloorDiv(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
}

int CeilDiv(long long a, long long b) { return -FloorDiv(-a, b); }

inline std::uint32_t Widen(std::uint16_t p) {
  const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// A row widened; written so that the compiler turns it into vector code (the common case at
// the window's own size).
void WidenRow(const std::uint16_t* __restrict src, std::uint32_t* __restrict dst, int n) {
  for (int i = 0; i < n; ++i) {
    const std::uint32_t p = src[i];
    const std::uint32_t r = p >> 11, g = (p >> 5) & 63u, b = p & 31u;
    dst[i] = ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
  }
}

// a and b mixed, b weighing w/256; two channels at a time.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
  const std::uint32_t v = 256 - w;
  const std::uint32_t rb = (((a & 0xff00ffu) * v + (b & 0xff00ffu) * w) >> 8) & 0xff00ffu;
  const std::uint32_t g = (((a & 0x00ff00u) * v + (b & 0x00ff00u) * w) >> 8) & 0x00ff00u;
  return rb | g;
}

// For each of `out` window positions the first of two picture positions and the second's
// weight, the window pixel's centre placed in the picture.
void Table(int picture, int out, std::vector<int>* index, std::vector<std::uint16_t>* weight) {
  index->resize(static_cast<std::size_t>(out));
  weight->resize(static_cast<std::size_t>(out));
  for (int i = 0; i < out; ++i) {
    long long c = (static_cast<long long>(2 * i + 1) * picture * 256) / (2LL * out) - 128;  // in 1/256
    if (c < 0) c = 0;
    int at = static_cast<int>(c >> 8);
    int w = static_cast<int>(c & 255);
    if (at >= picture - 1) {
      at = picture - 1;
      w = 0;
    }
    (*index)[static_cast<std::size_t>(i)] = at;
    (*weight)[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(w);
  }
}

}  // namespace

Area PictureArea(int pictureW, int pictureH, int windowW, int windowH) {
  if (pictureW <= 0 || pictureH <= 0 || windowW <= 0 || windowH <= 0) return Area{0, 0, pictureW, pictureH};
  long long w = windowW, h = static_cast<long long>(windowW) * pictureH / pictureW;
  if (h > windowH) {
    h = windowH;
    w = static_cast<long long>(windowH) * pictureW / pictureH;
  }
  return Area{static_cast<int>((windowW - w) / 2), static_cast<int>((windowH - h) / 2), static_cast<int>(w),
              static_cast<int>(h)};
}

int WholeScale(int pictureW, int pictureH, int spaceW, int spaceH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  return std::max(1, std::min(spaceW / pictureW, spaceH / pictureH));
}

void WindowToPicture(const Area& area, int pictureW, int pictureH, int wx, int wy, int* px, int* py) {
  if (area.w <= 0 || area.h <= 0) {
    *px = wx;
    *py = wy;
    return;
  }
  *px = FloorDiv(static_cast<long long>(wx - area.x) * pictureW, area.w);
  *py = FloorDiv(static_cast<long long>(wy - area.y) * pictureH, area.h);
}

void PictureToWindow(const Area& area, int pictureW, int pictureH, int px, int py, int* wx, int* wy) {
  if (pictureW <= 0 || pictureH <= 0) {
    *wx = px;
    *wy = py;
    return;
  }
  *wx = area.x + CeilDiv(static_cast<long long>(px) * area.w, pictureW);
  *wy = area.y + CeilDiv(static_cast<long long>(py) * area.h, pictureH);
}

void Scaler::Configure(int pictureW, int pictureH, const Area& area) {
  if (pictureW == pictureW_ && pictureH == pictureH_ && area.x == area_.x && area.y == area_.y &&
      area.w == area_.w && area.h == area_.h)
    return;
  pictureW_ = pictureW;
  pictureH_ = pictureH;
  area_ = area;
  factor_ = 0;
  if (pictureW <= 0 || pictureH <= 0 || area.w <= 0 || area.h <= 0) return;
  if (area.w % pictureW == 0 && area.h % pictureH == 0 && area.w / pictureW == area.h / pictureH) {
    factor_ = area.w / pictureW;
    return;
  }
  Table(pictureW, area.w, &colIndex_, &colWeight_);
  Table(pictureH, area.h, &rowIndex_, &rowWeight_);
}

Area Scaler::WindowRectOf(int x, int y, int w, int h) const {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, pictureW_), y1 = std::min(y + h, pictureH_);
  if (x1 <= x0 || y1 <= y0 || area_.w <= 0 || area_.h <= 0) return Area{0, 0, 0, 0};
  if (factor_ > 0) {
    const int k = factor_;
    return Area{area_.x + x0 * k, area_.y + y0 * k, (x1 - x0) * k, (y1 - y0) * k};
  }
  // Every window pixel whose two picture pixels meet the rectangle (a pixel's margin either
  // side covers the mixing with a neighbour).
  const int wx0 = std::max(0, FloorDiv(static_cast<long long>(x0 - 1) * area_.w, pictureW_));
  const int wy0 = std::max(0, FloorDiv(static_cast<long long>(y0 - 1) * area_.h, pictureH_));
  const int wx1 = std::min(area_.w, CeilDiv(static_cast<long long>(x1 + 1) * area_.w, pictureW_));
  const int wy1 = std::min(area_.h, CeilDiv(static_cast<long long>(y1 + 1) * area_.h, pictureH_));
  return Area{area_.x + wx0, area_.y + wy0, wx1 - wx0, wy1 - wy0};
}

void Scaler::Scale(const std::uint16_t* picture, int picturePitch, const Area& out, std::uint32_t* dst,
                   int dstPitch) {
  if (out.w <= 0 || out.h <= 0 || area_.w <= 0) return;
  const int i0 = out.x - area_.x, j0 = out.y - area_.y;  // in the area
  if (factor_ > 0) {
    const int k = factor_;
    int lastRow = -1;
    const std::uint32_t* lastLine = nullptr;
    for (int j = j0; j < j0 + out.h; ++j) {
      std::uint32_t* line = dst + static_cast<std::size_t>(area_.y + j) * dstPitch + out.x;
      const int py = j / k;
      if (py == lastRow) {
        std::memcpy(line, lastLine, static_cast<std::size_t>(out.w) * 4);
        continue;
      }
      const std::uint16_t* src = picture + static_cast<std::size_t>(py) * picturePitch;
      if (k == 1) {
        WidenRow(src + i0, line, out.w);
      } else {
        for (int i = 0; i < out.w; ++i) line[i] = Widen(src[(i0 + i) / k]);
      }
      lastRow = py;
      lastLine = line;
    }
    return;
  }
  rowA_.resize(static_cast<std::size_t>(out.w));
  rowB_.resize(static_cast<std::size_t>(out.w));
  int heldA = -1, heldB = -1;  // the picture rows in rowA_ and rowB_
  auto across = [&](int py, std::uint32_t* row) {
    const std::uint16_t* src = picture + static_cast<std::size_t>(py) * picturePitch;
    for (int i = 0; i < out.w; ++i) {
      const std::size_t c = static_cast<std::size_t>(i0 + i);
      const int at = colIndex_[c];
      const std::uint32_t w = colWeight_[c];
      const std::uint32_t a = Widen(src[at]);
      row[i] = w ? Mix(a, Widen(src[at + 1]), w) : a;
    }
  };
  for (int j = j0; j < j0 + out.h; ++j) {
    const int py = rowIndex_[static_cast<std::size_t>(j)];
    const std::uint32_t wy = rowWeight_[static_cast<std::size_t>(j)];
    const int pyNext = std::min(py + 1, pictureH_ - 1);
    if (heldA != py) {
      if (heldB == py) {
        rowA_.swap(rowB_);
        heldA = py;
        heldB = -1;
      } else {
        across(py, rowA_.data());
        heldA = py;
      }
    }
    std::uint32_t* line = dst + static_cast<std::size_t>(area_.y + j) * dstPitch + out.x;
    if (wy == 0) {
      std::memcpy(line, rowA_.data(), static_cast<std::size_t>(out.w) * 4);
      continue;
    }
    if (heldB != pyNext) {
      across(pyNext, rowB_.data());
      heldB = pyNext;
    }
    for (int i = 0; i < out.w; ++i) line[i] = Mix(rowA_[static_cast<std::size_t>(i)], rowB_[static_cast<std::size_t>(i)], wy);
  }
}

}  // namespace platcommon
