// Picture decoding and PNG writing with SDL2_image, from memory. Shared by both platforms:
// the scripted one decodes real pictures too, so tests draw real files.
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace plat {

namespace {
// Far beyond any picture of the game; refuses sizes whose pixel buffer would be absurd.
constexpr int kMaxSide = 16384;
// 16 M pixels (4096 x 4096): the game's largest pictures have under 1 M. A JPEG cut short
// right after its header still decodes to its full size (the rest grey): at this size that
// costs a fraction of a second, at 64 M pixels it took seconds.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

enum class Format { kUnknown, kBmp, kJpeg, kPng };

unsigned Le16(const std::uint8_t* p) { return p[0] | p[1] << 8u; }
unsigned Be16(const std::uint8_t* p) { return p[0] << 8u | p[1]; }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | static_cast<std::uint32_t>(Le16(p + 2)) << 16; }
std::uint32_t Be32(const std::uint8_t* p) { return static_cast<std::uint32_t>(Be16(p)) << 16 | Be16(p + 2); }

// The width and height a JPEG's first frame header declares; false when it has none
// before its scan.
bool JpegSize(const std::uint8_t* b, std::size_t n, std::int64_t* w, std::int64_t* h) {
  std::size_t at = 2;
  while (at + 4 <= n) {
    if (b[at] != 0xFF) return false;
    const std::uint8_t marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;  // end, or a scan before any frame
    const std::size_t length = Be16(b + at + 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 7 || at + 9 > n) return false;
      *h = Be16(b + at + 5);
      *w = Be16(b + at + 7);
      return true;
    }
    if (length < 2) return false;
    at += 2 + length;
  }
  return false;
}

// The format and the size the header declares, read before any decoding.
Format Declared(const std::uint8_t* b, std::size_t n, std::int64_t* w, std::int64_t* h) {
  *w = *h = 0;
  if (n >= 26 && b[0] == 'B' && b[1] == 'M') {
    if (Le32(b + 14) == 12) {  // the old core header: 16-bit sizes
      *w = Le16(b + 18);
      *h = Le16(b + 20);
    } else {
      *w = static_cast<std::int32_t>(Le32(b + 18));
      *h = static_cast<std::int32_t>(Le32(b + 22));
      if (*h < 0) *h = -*h;  // rows from the top
    }
    return Format::kBmp;
  }
  if (n >= 4 && b[0] == 0xFF && b[1] == 0xD8) return JpegSize(b, n, w, h) ? Format::kJpeg : Format::kUnknown;
  if (n >= 24 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0 && std::memcmp(b + 12, "IHDR", 4) == 0) {
    *w = Be32(b + 16);
    *h = Be32(b + 20);
    return Format::kPng;
  }
  return Format::kUnknown;
}

void InitDecoders() {
  static bool done = false;
  if (done) return;
  done = true;
  IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
}
// 24- and 32-bit pictures with 8-bit channels (every BMP and JPEG of the game) read straight
// into 0x00RRGGBB: SDL's general conversion into a second surface took most of a level's
// loading time. False, with nothing written, for any other layout (converted by SDL then).
bool CopyTrueColour(SDL_Surface* s, std::vector<std::uint32_t>* pixels) {
  const SDL_PixelFormat* f = s->format;
  const int bytes = f->BytesPerPixel;
  if ((bytes != 3 && bytes != 4) || f->palette || f->Rloss || f->Gloss || f->Bloss) return false;
  if (f->Rmask != (0xffu << f->Rshift) || f->Gmask != (0xffu << f->Gshift) || f->Bmask != (0xffu << f->Bshift))
    return false;
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
  const int w = s->w, h = s->h;
  pixels->resize(static_cast<std::size_t>(w) * h);
  const int rs = f->Rshift, gs = f->Gshift, bs = f->Bshift;
  for (int y = 0; y < h; ++y) {
    const auto* in = static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::size_t>(y) * s->pitch;
    std::uint32_t* out = pixels->data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x, in += bytes) {
      // Pixels are stored in the machine's byte order, as SDL's masks describe them.
      std::uint32_t v = 0;
      std::memcpy(&v, in, static_cast<std::size_t>(bytes));
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
      v >>= 8 * (4 - bytes);
#endif
      out[x] = ((v >> rs) & 0xffu) << 16 | ((v >> gs) & 0xffu) << 8 | ((v >> bs) & 0xffu);
    }
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  return true;
}

// Uncompressed 24- and 32-bit BMP files (every BMP the game ships) read straight from the
// file's bytes: no decoded copy in between, whose fresh memory cost more than the reading.
// False, with nothing written, for anything else (SDL_image reads those).
bool DecodePlainBmp(const std::uint8_t* b, std::size_t size, std::vector<std::uint32_t>* pixels, int* width,
                    int* height) {
  if (size < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const std::uint32_t offset = Le32(b + 10), header = Le32(b + 14);
  const std::int32_t w = static_cast<std::int32_t>(Le32(b + 18)), rawH = static_cast<std::int32_t>(Le32(b + 22));
  const int bits = b[28] | b[29] << 8, planes = b[26] | b[27] << 8;
  if (header < 40 || planes != 1 || (bits != 24 && bits != 32) || Le32(b + 30) != 0) return false;
  if (w <= 0 || w > kMaxSide || rawH == 0 || rawH < -kMaxSide || rawH > kMaxSide) return false;
  const int h = rawH < 0 ? -rawH : rawH;
  const std::size_t bytes = static_cast<std::size_t>(bits / 8);
  const std::size_t stride = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
  if (offset > size || (size - offset) / stride < static_cast<std::size_t>(h)) return false;
  pixels->resize(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const int fileRow = rawH < 0 ? y : h - 1 - y;  // bottom-up unless the height is negative
    const std::uint8_t* in = b + offset + static_cast<std::size_t>(fileRow) * stride;
    std::uint32_t* out = pixels->data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x, in += bytes)
      out[x] = static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[1]) << 8 | in[0];
  }
  *width = w;
  *height = h;
  return true;
}

}  // namespace

bool DecodeImage(const void* bytes, std::size_t size, std::vector<std::uint32_t>* pixels,
                 int* width, int* height) {
  pixels->clear();
  *width = 0;
  *height = 0;
  if (!bytes || size == 0 || size > 0x7fffffffu) return false;
  // Mended: the decoders trusted the size in a picture's header, so a damaged 70-byte bitmap
  // made them clear gigabytes (46 s and 6 GB before failing) and a damaged JPEG could decode
  // into as much. The header's size is now checked first, and only the formats promised
  // (Windows bitmaps, JPEG, PNG) are decoded, each by its own decoder.
  std::int64_t declaredW = 0, declaredH = 0;
  const Format format = Declared(static_cast<const std::uint8_t*>(bytes), size, &declaredW, &declaredH);
  if (format == Format::kUnknown || declaredW <= 0 || declaredH <= 0 || declaredW > kMaxSide ||
      declaredH > kMaxSide || declaredW * declaredH > kMaxPixels)
    return false;
  if (DecodePlainBmp(static_cast<const std::uint8_t*>(bytes), size, pixels, width, height)) return true;
  InitDecoders();
  SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (!rw) return false;
  SDL_Surface* decoded = format == Format::kBmp    ? IMG_LoadBMP_RW(rw)
                         : format == Format::kJpeg ? IMG_LoadJPG_RW(rw)
                                                   : IMG_LoadPNG_RW(rw);
  SDL_RWclose(rw);
  if (!decoded) return false;
  if (decoded->w <= 0 || decoded->h <= 0 || decoded->w > kMaxSide || decoded->h > kMaxSide ||
      std::int64_t{decoded->w} * decoded->h > kMaxPixels) {
    SDL_FreeSurface(decoded);
    return false;
  }
  if (CopyTrueColour(decoded, pixels)) {
    *width = decoded->w;
    *height = decoded->h;
    SDL_FreeSurface(decoded);
    return true;
  }
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(decoded);
  if (!argb) return false;
  const int w = argb->w, h = argb->h;
  pixels->resize(static_cast<std::size_t>(w) * h);
  SDL_LockSurface(argb);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                             static_cast<std::size_t>(y) * argb->pitch);
    std::uint32_t* out = pixels->data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) out[x] = row[x] & 0x00ffffffu;
  }
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  *width = w;
  *height = h;
  return true;
}

bool WritePng24(const char* path, const std::uint32_t* pixels, int width, int height) {
  if (!path || !pixels || width <= 0 || height <= 0) return false;
  InitDecoders();
  SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24);
  if (!rgb) return false;
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(rgb->pixels) + static_cast<std::size_t>(y) * rgb->pitch;
    const std::uint32_t* in = pixels + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = static_cast<std::uint8_t>(in[x] >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(in[x] >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(in[x]);
    }
  }
  const bool ok = IMG_SavePNG(rgb, path) == 0;
  SDL_FreeSurface(rgb);
  return ok;
}

}  // namespace plat
