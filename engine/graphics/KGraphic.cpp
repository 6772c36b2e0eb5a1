// Pictures and their rectangle copies into the back buffer.
#include "engine/graphics/KGraphic.h"

#include "engine/services/Services.h"

#include <algorithm>
#include <cstring>
#include <new>

int KGraphic::screenWidth = 0;
int KGraphic::screenHeight = 0;
int KGraphic::screenDepth = 0;
KGraphic* KGraphic::backBufferPicture = nullptr;
KSurface* KGraphic::backBufferSurface = nullptr;

namespace {
// Far beyond any picture or screen of the game; larger requests fail like an exhausted device.
constexpr int kMaxSurfaceSide = 16384;

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::uint64_t lastStamp = 0;
void Touch(KSurface* s) { s->stamp = ++lastStamp; }

// The rectangles written to a surface since some moment. The list is good only while its stamp
// is the surface's: any change made elsewhere (a clear, a new picture) gives the surface a new
// stamp, and the list no longer follows it.
class ChangeList {
 public:
  bool Follows(const KSurface* s) const { return s && surface_ == s && stamp_ == s->stamp; }
  void Restart(const KSurface* s) {
    surface_ = s;
    stamp_ = s ? s->stamp : 0;
    rects_.clear();
  }
  // Records a change of s that this list followed up to it; s already carries its new stamp.
  void Add(const KSurface* s, const KDirtyRect& r) {
    if (rects_.size() == kMaxRects) {  // beyond it, one rectangle around them all
      KDirtyRect box = rects_[0];
      for (const KDirtyRect& q : rects_) Grow(&box, q);
      rects_.assign(1, box);
    }
    rects_.push_back(r);
    stamp_ = s->stamp;
  }
  // s changed only where the list already says (or not at all): follow its new stamp.
  void Keep(const KSurface* s) { stamp_ = s->stamp; }
  const std::vector<KDirtyRect>& Rects() const { return rects_; }

 private:
  static constexpr std::size_t kMaxRects = 64;
  static void Grow(KDirtyRect* box, const KDirtyRect& r) {
    const int right = std::max(box->x + box->w, r.x + r.w), bottom = std::max(box->y + box->h, r.y + r.h);
    box->x = std::min(box->x, r.x);
    box->y = std::min(box->y, r.y);
    box->w = right - box->x;
    box->h = bottom - box->y;
  }
  const KSurface* surface_ = nullptr;
  std::uint64_t stamp_ = 0;
  std::vector<KDirtyRect> rects_;
};

// Menus and levels copy one picture over the whole back buffer every frame, then draw a few
// sprites on it. While that picture is unchanged, the next frame only needs the rectangles the
// sprites covered copied back, not the whole screen (which costs a trip to memory each frame).
struct BackdropState {
  bool reuse = true;
  const KSurface* source = nullptr;  // the picture last copied over the whole back buffer
  std::uint64_t sourceStamp = 0;     // its stamp then
  int sourceLeft = 0, sourceTop = 0;
  ChangeList drawn;     // drawn over it since
  ChangeList unshown;   // the back buffer's changes since the display last asked
} backdrop;

// Every engine write into the back buffer goes through here.
void NoteDrawn(KSurface* back, const KDirtyRect& r) {
  const bool drawnKnown = backdrop.drawn.Follows(back), unshownKnown = backdrop.unshown.Follows(back);
  Touch(back);
  if (drawnKnown) backdrop.drawn.Add(back, r);
  if (unshownKnown) backdrop.unshown.Add(back, r);
}
}  // namespace

void CopyRow565(std::uint16_t* dst, const std::uint16_t* src, int n) {
  const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(std::uint16_t);
  // Rows of two pictures never overlap; only a picture copied onto itself needs memmove.
  const auto d = reinterpret_cast<std::uintptr_t>(dst), s = reinterpret_cast<std::uintptr_t>(src);
  if (d + bytes <= s || s + bytes <= d)
    std::memcpy(dst, src, bytes);
  else
    std::memmove(dst, src, bytes);
}

#if defined(__SANITIZE_ADDRESS__)
#define ZR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZR_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef ZR_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
// In the sanitizer build a keyed row is checked whole, once, instead of pixel by pixel: the
// address and undefined-behaviour checks of every pixel kept the loop from being vectorized and
// made the keyed copies half of a played frame's time (the loop's own arithmetic is unsigned
// and cannot overflow). A row that runs past its picture is still reported, by touching its
// first bad byte where the sanitizer sees it.
#define ZR_ROW_CHECKED_WHOLE __attribute__((no_sanitize("address", "undefined")))
namespace {
__attribute__((noinline)) void CheckRowBytes(const void* p, std::size_t bytes) {
  if (const void* bad = __asan_region_is_poisoned(const_cast<void*>(p), bytes))
    (void)*static_cast<const volatile char*>(bad);
}
}  // namespace
#else
#define ZR_ROW_CHECKED_WHOLE
namespace {
inline void CheckRowBytes(const void*, std::size_t) {}
}  // namespace
#endif

ZR_ROW_CHECKED_WHOLE void CopyRow565Keyed(std::uint16_t* __restrict dst, const std::uint16_t* __restrict src, int n,
                                          std::uint16_t keyLow, std::uint16_t keyHigh) {
  if (n <= 0) return;
  CheckRowBytes(src, static_cast<std::size_t>(n) * sizeof(std::uint16_t));
  CheckRowBytes(dst, static_cast<std::size_t>(n) * sizeof(std::uint16_t));
  // A select rather than a branch, so that the compiler turns it into vector compares and
  // blends. One unsigned compare tests the range: s - low wraps above the range when s < low.
  const std::uint16_t range = static_cast<std::uint16_t>(keyHigh - keyLow);
  if (keyHigh < keyLow) {  // an empty range keys nothing
    std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(std::uint16_t));
    return;
  }
  if (range == 0) {  // the game's one key colour: a plain equality
    for (int i = 0; i < n; ++i) {
      const std::uint16_t s = src[i];
      dst[i] = s == keyLow ? dst[i] : s;
    }
    return;
  }
  for (int i = 0; i < n; ++i) {
    const std::uint16_t s = src[i];
    const bool transparent = static_cast<std::uint16_t>(s - keyLow) <= range;
    dst[i] = transparent ? dst[i] : s;
  }
}

KGraphic::KGraphic() {
  if (screenWidth == 0) {
    ShowMessageBox("Screen Dimensions not specified, you will not see anything", "KGraphic::SetScreenSize Not Called!");
  }
}

KGraphic::~KGraphic() {
  // The back buffer must not outlive the picture that holds it.
  if (backBufferPicture == this) backBufferPicture = nullptr;
  if (surface && backBufferSurface == surface.get()) backBufferSurface = nullptr;
}

void KGraphic::SetScreenSize(std::int16_t width, std::int16_t height, std::int16_t bitsPerPixel) {
  screenWidth = width;
  screenHeight = height;
  screenDepth = bitsPerPixel;
}

void KGraphic::SetBackBuffer(KGraphic* picture) {
  backBufferPicture = picture;
  if (!backBufferSurface && picture) backBufferSurface = picture->surface.get();
}

void KGraphic::CheckBackBuffer() {
  if (!backBufferPicture) ShowMessageBox("No BackBuffer initialiased", "Error");
}

void KGraphic::ClearBackBuffer(int, int, int, int, bool doClear) {
  CheckBackBuffer();
  if (doClear && backBufferPicture) backBufferPicture->Clear();
}

void KGraphic::ResetClassState() {
  screenWidth = screenHeight = screenDepth = 0;
  backBufferPicture = nullptr;
  backBufferSurface = nullptr;
  backdrop = BackdropState{};
}

void KGraphic::PixelsChanged(KSurface* s) {
  if (s) Touch(s);
}

void KGraphic::SetBackdropReuse(bool on) {
  backdrop.reuse = on;
  backdrop.source = nullptr;
}

bool KGraphic::CreatePrimarySurface(std::int16_t w, std::int16_t h, std::int16_t d, bool) {
  // Full screen or not, the back buffer is this picture's own surface in memory; the display
  // hands its changed parts to the screen.
  const bool ok = CreateSurface(w, h, d);
  if (ok) backBufferSurface = surface.get();
  return ok;
}

bool KGraphic::CreateSurface(std::int32_t w, std::int32_t h, std::int32_t) {
  if (surface) return true;
  pixelWidth = w;
  pixelHeight = h;
  width = static_cast<float>(w);
  height = static_cast<float>(h);
  bool ok = w > 0 && h > 0 && w <= kMaxSurfaceSide && h <= kMaxSurfaceSide;
  if (ok) {
    try {
      auto s = std::make_unique<KSurface>();
      s->width = w;
      s->height = h;
      s->pixels.assign(static_cast<std::size_t>(w) * h, 0);
      Touch(s.get());
      surface = std::move(s);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (!ok) {
    ShowMessageBox("Impossible to create surface", "dx surface");
    return false;
  }
  return true;
}

void KGraphic::BuildSurface() {
  if (!CreateSurface(pixelWidth, pixelHeight, 16)) {
    ShowMessageBox("Could not create surface", "directx error");
    return;
  }
  // The surface may be older and of another size: convert what both have.
  const int w = std::min(surface->width, pixelWidth), h = std::min(surface->height, pixelHeight);
  if (!image.empty()) {
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* in = image.data() + static_cast<std::size_t>(y) * pixelWidth;
      std::uint16_t* out = surface->pixels.data() + static_cast<std::size_t>(y) * surface->width;
      for (int x = 0; x < w; ++x) out[x] = To565(in[x]);
    }
    Touch(surface.get());
  }
  // A low end of 0 means no colour key, so black is never transparent.
  if (colorKeyLow != 0) {
    surface->hasKey = true;
    surface->keyLow = static_cast<std::uint16_t>(colorKeyLow);
    surface->keyHigh = static_cast<std::uint16_t>(colorKeyHigh);
  }
}

void KGraphic::Clear() {
  if (!surface) return;
  KSurface* target = (this == backBufferPicture && backBufferSurface) ? backBufferSurface : surface.get();
  std::fill(target->pixels.begin(), target->pixels.end(), 0);
  Touch(target);
}

bool KGraphic::ClipRect(std::int32_t* srcLeft, std::int32_t* srcTop, std::int32_t* srcRight,
                        std::int32_t* srcBottom, std::int32_t* destX, std::int32_t* destY) const {
  std::int64_t sl = *srcLeft, st = *srcTop, sr = *srcRight, sb = *srcBottom, dx = *destX, dy = *destY;
  if (sr > pixelWidth) sr = pixelWidth;
  if (sb > pixelHeight) sb = pixelHeight;
  const std::int64_t w = sr - sl, h = sb - st;
  bool visible = true;
  if (dx > screenWidth || dy > screenHeight) {
    visible = false;
  } else {
    const std::int64_t ex = dx + w, ey = dy + h;
    if (ex < 0 || ey < 0) {
      visible = false;
    } else {
      if (dx < 0) {
        sl -= dx;
        dx = 0;
      }
      if (dy < 0) {
        st -= dy;
        dy = 0;
      }
      if (ex >= screenWidth) sr -= ex - screenWidth;
      if (ey >= screenHeight) sb -= ey - screenHeight;
    }
  }
  *srcLeft = Saturate(sl);
  *srcTop = Saturate(st);
  *srcRight = Saturate(sr);
  *srcBottom = Saturate(sb);
  *destX = Saturate(dx);
  *destY = Saturate(dy);
  return visible;
}

void KGraphic::Blit(std::int32_t sl, std::int32_t st, std::int32_t sr, std::int32_t sb, std::int32_t dx,
                    std::int32_t dy, bool keyed) {
  if (!surface || !backBufferSurface) return;
  if (sr == -1) sr = pixelWidth;
  if (sb == -1) sb = pixelHeight;
  if (!ClipRect(&sl, &st, &sr, &sb, &dx, &dy)) return;
  if (sr <= sl || sb <= st) return;
  const KSurface& src = *surface;
  KSurface& dst = *backBufferSurface;
  const int w = sr - sl, h = sb - st;
  // A rectangle outside either surface is refused whole, as a blitter refuses it (a negative
  // source corner would otherwise read outside the picture).
  if (sl < 0 || st < 0 || sr > src.width || sb > src.height) return;
  if (dx < 0 || dy < 0 || dx + w > dst.width || dy + h > dst.height) return;
  const bool useKey = keyed && src.hasKey;
  const std::uint16_t* from = src.pixels.data() + static_cast<std::size_t>(st) * src.width + sl;
  std::vector<std::uint16_t> copy;
  std::size_t fromPitch = static_cast<std::size_t>(src.width);
  if (&src == &dst) {  // drawing the back buffer onto itself: read a copy of the source first
    copy.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) std::memcpy(copy.data() + static_cast<std::size_t>(y) * w, from + y * fromPitch, w * 2u);
    from = copy.data();
    fromPitch = static_cast<std::size_t>(w);
  }
  std::uint16_t* to = dst.pixels.data() + static_cast<std::size_t>(dy) * dst.width + dx;
  if (!useKey && &src != &dst && dx == 0 && dy == 0 && w == dst.width && h == dst.height) {
    CoverBackBuffer(sl, st);
    return;
  }
  for (int y = 0; y < h; ++y) {
    if (useKey)
      CopyRow565Keyed(to, from, w, src.keyLow, src.keyHigh);
    else
      CopyRow565(to, from, w);
    to += dst.width;
    from += fromPitch;
  }
  NoteDrawn(&dst, KDirtyRect{dx, dy, w, h});
}

void KGraphic::CoverBackBuffer(std::int32_t sl, std::int32_t st) {
  const KSurface& src = *surface;
  KSurface& dst = *backBufferSurface;
  const auto copy = [&](int x, int y, int w, int h) {
    const std::uint16_t* from = src.pixels.data() + static_cast<std::size_t>(st + y) * src.width + sl + x;
    std::uint16_t* to = dst.pixels.data() + static_cast<std::size_t>(y) * dst.width + x;
    for (int row = 0; row < h; ++row, from += src.width, to += dst.width) CopyRow565(to, from, w);
  };
  const bool unchanged = backdrop.reuse && backdrop.source == &src && backdrop.sourceStamp == src.stamp &&
                         backdrop.sourceLeft == sl && backdrop.sourceTop == st && backdrop.drawn.Follows(&dst);
  const bool unshownKnown = backdrop.unshown.Follows(&dst);
  if (unchanged) {
    for (const KDirtyRect& r : backdrop.drawn.Rects()) copy(r.x, r.y, r.w, r.h);
  } else {
    copy(0, 0, dst.width, dst.height);
  }
  Touch(&dst);
  if (unshownKnown) {
    if (unchanged) {
      for (const KDirtyRect& r : backdrop.drawn.Rects()) backdrop.unshown.Add(&dst, r);
      backdrop.unshown.Keep(&dst);  // nothing drawn since: nothing changed
    } else {
      backdrop.unshown.Add(&dst, KDirtyRect{0, 0, dst.width, dst.height});
    }
  }
  backdrop.drawn.Restart(&dst);
  backdrop.source = &src;
  backdrop.sourceStamp = src.stamp;
  backdrop.sourceLeft = sl;
  backdrop.sourceTop = st;
}

bool KGraphic::TakeBackBufferChanges(std::vector<KDirtyRect>* rects) {
  const bool known = backdrop.reuse && backdrop.unshown.Follows(backBufferSurface);
  if (known) *rects = backdrop.unshown.Rects();
  backdrop.unshown.Restart(backBufferSurface);
  return known;
}

void KGraphic::BlitRect(std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcRight, std::int32_t srcBottom,
                        std::int32_t destX, std::int32_t destY, std::int32_t, std::int32_t) {
  Blit(srcLeft, srcTop, srcRight, srcBottom, destX, destY, false);
}

void KGraphic::BlitRectKeyed(std::int32_t srcLeft, std::int32_t srcTop, std::int32_t srcRight,
                             std::int32_t srcBottom, std::int32_t destX, std::int32_t destY, std::int32_t,
                             std::int32_t) {
  // The game never passes -1 here; it is read as the picture's size, as in BlitRect.
  Blit(srcLeft, srcTop, srcRight, srcBottom, destX, destY, true);
}

bool KGraphic::GrabBackBuffer() {
  CreateSurface(screenWidth, screenHeight, 16);
  const KSurface* from = backBufferSurface;
  if (!surface || !from || surface.get() == from) return true;
  // The same rectangle on both sides; a surface too small for it takes nothing, as a blitter
  // refuses a rectangle outside it.
  if (surface->width < screenWidth || surface->height < screenHeight || from->width < screenWidth ||
      from->height < screenHeight)
    return true;
  for (int y = 0; y < screenHeight; ++y) {
    std::memcpy(surface->pixels.data() + static_cast<std::size_t>(y) * surface->width,
                from->pixels.data() + static_cast<std::size_t>(y) * from->width,
                static_cast<std::size_t>(screenWidth) * 2);
  }
  Touch(surface.get());
  return true;
}
