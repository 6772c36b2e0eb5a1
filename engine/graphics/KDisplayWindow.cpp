// The game window over the platform's display.
#include "engine/graphics/KDisplayWindow.h"

#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {
int displayWidth = 0, displayHeight = 0;
bool quitRequested = false;
bool windowOpen = false;
std::unique_ptr<KGraphic> primaryPicture;
std::uint64_t lastPresentUs = 0;
bool presentedBefore = false;
std::vector<std::uint16_t> lastFrame;  // what the display shows now
std::vector<KDirtyRect> dirty;
std::vector<KDirtyRect> written;
std::vector<plat::DisplayRect> platRects;
std::uint64_t lastPresentedPixels = 0;
int windowToken = 0;
void (*modeListener)(bool) = nullptr;

void HandleEvent(plat::WindowEvent e) {
  // The close box only raises the flag; the window stays until the game shuts down.
  if (e == plat::WindowEvent::kClose) quitRequested = true;
  if (e == plat::WindowEvent::kDisplayModeChanged && modeListener) modeListener(plat::DisplayIsFullScreen());
}

// The window icon beside the program; pure blue is transparent. A missing icon is no error.
bool LoadIcon(std::vector<std::uint32_t>* argb, int* w, int* h) {
  std::FILE* f = std::fopen(KPath::MakeAbsolute("data\\general\\icon.bmp"), "rb");
  if (!f) return false;
  std::vector<unsigned char> bytes;
  unsigned char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && bytes.size() < (1u << 20)) bytes.insert(bytes.end(), buf, buf + n);
  std::fclose(f);
  if (!plat::DecodeImage(bytes.data(), bytes.size(), argb, w, h)) return false;
  for (std::uint32_t& p : *argb) p = (p == 0x0000ffu) ? 0u : (p | 0xff000000u);
  return true;
}
}  // namespace

namespace {
// Whether n pixels are equal, eight bytes at a time: tiles are short, and a library call per
// tile row (some 30,000 a frame) cost more than the comparing, much more under the sanitizers.
bool SamePixels(const std::uint16_t* a, const std::uint16_t* b, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    std::uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    if (x != y) return false;
  }
  for (; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}
}  // namespace

void FindChangedTiles(const std::uint16_t* frame, std::uint16_t* last, int width, int height, int tileWidth,
                      int tileHeight, std::vector<KDirtyRect>* rects, const std::vector<KDirtyRect>* only) {
  rects->clear();
  const int tiles = (width + tileWidth - 1) / tileWidth;
  const int bands = (height + tileHeight - 1) / tileHeight;
  // The tiles worth comparing, band by band, when the written rectangles are known.
  std::vector<char> candidate;
  if (only) {
    candidate.assign(static_cast<std::size_t>(tiles) * bands, 0);
    for (const KDirtyRect& r : *only) {
      const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
      const int x1 = std::min(r.x + r.w, width), y1 = std::min(r.y + r.h, height);
      if (x1 <= x0 || y1 <= y0) continue;
      for (int ty = y0 / tileHeight; ty <= (y1 - 1) / tileHeight; ++ty)
        for (int tx = x0 / tileWidth; tx <= (x1 - 1) / tileWidth; ++tx)
          candidate[static_cast<std::size_t>(ty) * tiles + tx] = 1;
    }
  }
  std::vector<char> changed(static_cast<std::size_t>(tiles) + 1);
  std::size_t bandStart = 0;  // the rectangles of the band above, for growing them downwards
  std::size_t bandEnd = 0;
  for (int y0 = 0; y0 < height; y0 += tileHeight) {
    const int th = std::min(tileHeight, height - y0);
    const char* look = only ? candidate.data() + static_cast<std::size_t>(y0 / tileHeight) * tiles : nullptr;
    if (look && std::find(look, look + tiles, 1) == look + tiles) {
      bandStart = bandEnd = rects->size();
      continue;
    }
    std::fill(changed.begin(), changed.end(), 0);
    // The span of the band's tiles worth comparing: all of it when all is unknown.
    int spanStart = 0, spanEnd = width;
    if (look) {
      int first = 0, lastTile = tiles - 1;
      while (!look[first]) ++first;
      while (!look[lastTile]) --lastTile;
      spanStart = first * tileWidth;
      spanEnd = std::min((lastTile + 1) * tileWidth, width);
    }
    for (int y = y0; y < y0 + th; ++y) {
      const std::size_t row = static_cast<std::size_t>(y) * width;
      // Whole spans of rows first: most rows of most frames are unchanged, and one library
      // call a row is cheap (one a tile row is not).
      if (std::memcmp(frame + row + spanStart, last + row + spanStart,
                      static_cast<std::size_t>(spanEnd - spanStart) * 2) == 0)
        continue;
      for (int tx = 0; tx < tiles; ++tx) {
        if (changed[tx] || (look && !look[tx])) continue;
        const int x0 = tx * tileWidth, tw = std::min(tileWidth, width - x0);
        if (!SamePixels(frame + row + x0, last + row + x0, tw)) changed[tx] = 1;
      }
    }
    const std::size_t thisBand = rects->size();
    int runStart = -1;
    for (int tx = 0; tx <= tiles; ++tx) {  // the extra step closes the last run
      const int x0 = tx * tileWidth;
      if (changed[tx]) {
        const int tw = std::min(tileWidth, width - x0);
        for (int y = y0; y < y0 + th; ++y) {
          const std::size_t at = static_cast<std::size_t>(y) * width + x0;
          std::memcpy(last + at, frame + at, static_cast<std::size_t>(tw) * 2);
        }
        if (runStart < 0) runStart = x0;
        continue;
      }
      if (runStart < 0) continue;
      const int runEnd = std::min(x0, width);
      // The same span as a rectangle of the band above: that one grows instead.
      bool merged = false;
      for (std::size_t i = bandStart; i < bandEnd; ++i) {
        KDirtyRect r = (*rects)[i];
        if (r.w > 0 && r.x == runStart && r.w == runEnd - runStart && r.y + r.h == y0) {
          r.h += th;
          (*rects)[i].w = 0;     // a husk, dropped at the end
          rects->push_back(r);   // in this band, where the next band looks
          merged = true;
          break;
        }
      }
      if (!merged) rects->push_back(KDirtyRect{runStart, y0, runEnd - runStart, th});
      runStart = -1;
    }
    bandStart = thisBand;
    bandEnd = rects->size();
  }
  rects->erase(std::remove_if(rects->begin(), rects->end(), [](const KDirtyRect& r) { return r.w == 0; }),
               rects->end());
}

KDisplayWindow::KDisplayWindow() {
  quitRequested = false;
  primaryPicture.reset();
}

KDisplayWindow::~KDisplayWindow() {
  if (KGraphic::BackBufferPicture() == primaryPicture.get()) KGraphic::SetBackBuffer(nullptr);
  primaryPicture.reset();
  plat::DisplayClose();
  windowOpen = false;
  lastFrame.clear();
  presentedBefore = false;
  quitRequested = true;
}

bool KDisplayWindow::Create(std::int16_t width, std::int16_t height, std::int16_t bitsPerPixel, bool windowed,
                            const char* title) {
  displayWidth = width;
  displayHeight = height;
  KGraphic::SetScreenSize(width, height, bitsPerPixel);
  InitEngineServices();

  std::vector<std::uint32_t> iconPixels;
  plat::DisplayIcon icon{nullptr, 0, 0};
  if (LoadIcon(&iconPixels, &icon.width, &icon.height)) icon.argb = iconPixels.data();
  const plat::DisplayOpenResult opened =
      plat::DisplayOpen(title ? title : "", width, height, !windowed, icon.argb ? &icon : nullptr);
  if (opened == plat::DisplayOpenResult::kNoWindow) {
    // Mended: without a window the game would run on unseen and could never be closed, so
    // say why and ask every loop to end.
    ShowMessageBox("Impossible to open the window", plat::DisplayError());
    quitRequested = true;
    return false;
  }
  windowOpen = true;
  if (opened == plat::DisplayOpenResult::kNoPresenter) {
    // Kept as designed: the game goes on drawing into its back buffer though nothing can be shown.
    ShowMessageBox("Impossible to initialise the display", plat::DisplayError());
  }
  primaryPicture = std::make_unique<KGraphic>();
  primaryPicture->CreatePrimarySurface(width, height, bitsPerPixel, !windowed);
  primaryPicture->Clear();
  KGraphic::SetBackBuffer(primaryPicture.get());
  lastFrame.clear();  // the first present hands over the whole picture
  Flip();
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  Flip();
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  Flip();
  return true;
}

void KDisplayWindow::Present() {
  const KSurface* bb = KGraphic::BackBufferSurface();
  lastPresentedPixels = 0;
  if (!bb || !windowOpen || bb->width != displayWidth || bb->height != displayHeight) {
    plat::DisplayPresent(nullptr, 0, nullptr, 0);
    return;
  }
  const std::size_t size = static_cast<std::size_t>(bb->width) * bb->height;
  platRects.clear();
  // Drawing through the engine tells which rectangles were written; only their tiles can differ.
  const bool writesKnown = KGraphic::TakeBackBufferChanges(&written);
  if (lastFrame.size() != size) {
    lastFrame = bb->pixels;
    platRects.push_back(plat::DisplayRect{0, 0, bb->width, bb->height});
  } else {
    FindChangedTiles(bb->pixels.data(), lastFrame.data(), bb->width, bb->height, kTileWidth, kTileHeight, &dirty,
                     writesKnown ? &written : nullptr);
    for (const KDirtyRect& r : dirty) platRects.push_back(plat::DisplayRect{r.x, r.y, r.w, r.h});
  }
  for (const plat::DisplayRect& r : platRects) lastPresentedPixels += static_cast<std::uint64_t>(r.w) * r.h;
  plat::DisplayPresent(bb->pixels.data(), bb->width, platRects.data(), static_cast<int>(platRects.size()));
}

void KDisplayWindow::Flip(int) {
  const std::uint64_t t = plat::ClockMicroseconds();
  Present();
  // Frames end at least 14 ms apart; a frame that took longer is not held back. The wait
  // sleeps most of the time and spins only its last moments.
  if (presentedBefore && t < lastPresentUs + kFrameMicroseconds)
    plat::WaitUntilMicroseconds(lastPresentUs + kFrameMicroseconds);
  lastPresentUs = plat::ClockMicroseconds();
  presentedBefore = true;
  PumpMessages();
  // In the background the game stands still here until the window has the focus again or is
  // gone. Mended: a quit asked for meanwhile (the close box from a taskbar, SIGTERM at logout)
  // was only noted until the focus came back; now it ends the wait and the loops leave as
  // after the close box.
  while (!quitRequested && plat::DisplayExists() && !plat::DisplayHasFocus()) HandleEvent(plat::WaitWindowEvent());
}

void KDisplayWindow::PumpMessages() { HandleEvent(plat::PollWindowEvent()); }

bool KDisplayWindow::IsQuitRequested() { return quitRequested; }

void KDisplayWindow::SetModeListener(void (*listener)(bool)) { modeListener = listener; }

void* KDisplayWindow::GetWindowHandle() { return windowOpen ? &windowToken : nullptr; }

std::uint64_t KDisplayWindow::LastPresentedPixels() { return lastPresentedPixels; }
