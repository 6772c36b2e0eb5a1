// Picture decoding and PNG writing with SDL2_image, from memory. Shared by both platforms:
// the scripted one decodes real pictures too, so tests draw real files.
#include "platform.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace plat {

namespace {
// Far beyond any picture of the game; refuses sizes whose pixel buffer would be absurd.
constexpr int kMaxSide = 16384;

void InitDecoders() {
  static bool done = false;
  if (done) return;
  done = true;
  IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
}
}  // namespace

bool DecodeImage(const void* bytes, std::size_t size, std::vector<std::uint32_t>* pixels,
                 int* width, int* height) {
  pixels->clear();
  *width = 0;
  *height = 0;
  if (!bytes || size == 0 || size > 0x7fffffffu) return false;
  InitDecoders();
  SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (!rw) return false;
  SDL_Surface* decoded = IMG_Load_RW(rw, 1);
  if (!decoded) return false;
  if (decoded->w <= 0 || decoded->h <= 0 || decoded->w > kMaxSide || decoded->h > kMaxSide) {
    SDL_FreeSurface(decoded);
    return false;
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
