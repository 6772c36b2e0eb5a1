#include "bench/graphics/FrameScenes.h"

#include "engine/graphics/KGraphic.h"

#include <cstdint>

namespace {
// A picture made from a pixel rule instead of a file.
std::unique_ptr<KGraphic> MakePicture(int w, int h, std::uint16_t (*rule)(int, int)) {
  auto g = std::make_unique<KGraphic>();
  g->CreateSurface(w, h, 16);
  auto* s = const_cast<KSurface*>(g->Surface());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->pixels[y * w + x] = rule(x, y);
  s->hasKey = true;
  s->keyLow = s->keyHigh = 31;
  KGraphic::PixelsChanged(s);
  return g;
}
}  // namespace

FrameScenes::FrameScenes() {
  backdrop = MakePicture(800, 600, [](int x, int y) { return static_cast<std::uint16_t>((x * 3 + y * 7) ^ (x * y)); });
  // Sprite sheet: 16 cells of 40 x 20, blue corners (the key) around a coloured body.
  sheet = MakePicture(640, 20, [](int x, int y) {
    const int cx = x % 40;
    const bool corner = (cx < 3 || cx > 36) && (y < 3 || y > 16);
    return static_cast<std::uint16_t>(corner ? 31 : 0x8000 + x * 13 + y * 5);
  });
}

FrameScenes::~FrameScenes() = default;

void FrameScenes::DrawMenu(int n) {
  backdrop->BlitRect(0, 0, -1, -1, 0, 0);
  // Menu buttons stand still; the pointer's animation changes every few frames.
  for (int i = 0; i < 6; ++i) sheet->BlitRectKeyed(i * 40, 0, i * 40 + 40, 20, 300, 150 + i * 60);
  const int frame = (n / 6) % 5;
  sheet->BlitRectKeyed(frame * 21, 0, frame * 21 + 21, 20, 420, 330);
}

void FrameScenes::DrawPlay(int n, int sprites) {
  backdrop->BlitRect(0, 0, -1, -1, 0, 0);
  const int moving = sprites < 14 ? sprites : 14;  // ten balls, the bat, three capsules
  const int bricks = sprites - moving;
  for (int i = 0; i < bricks; ++i) {
    const int cell = i % 16;
    sheet->BlitRectKeyed(cell * 40, 0, cell * 40 + 40, 20, 40 + (i % 18) * 40, 40 + (i / 18) * 20);
  }
  for (int i = 0; i < moving; ++i) {
    // Bouncing paths, a few pixels per frame.
    const int px = (n * (3 + i % 4) + i * 97) % 1520, py = (n * (2 + i % 3) + i * 61) % 1120;
    const int x = px < 760 ? px : 1520 - px, y = py < 560 ? py : 1120 - py;
    const int cell = i % 16;
    sheet->BlitRectKeyed(cell * 40, 0, cell * 40 + 40, 20, x, y);
  }
}
