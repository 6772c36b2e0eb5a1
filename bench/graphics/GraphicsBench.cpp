// One play-like frame (an opaque 800 x 600 blit, 150 keyed sprite blits and the changed-tile
// present) against the floor of copying the screen's 960,000 bytes once.
#include "bench/graphics/FrameScenes.h"
#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "platform/script/script_platform.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

void MemcpyFloor(benchmark::State& state) {
  std::vector<std::uint8_t> a(960000, 1), b(960000, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MemcpyFloor);

struct Stage {
  Stage() {
    script::SetEchoBoxes(false);
    display.Create(800, 600, 16, true, "bench");
    scenes = std::make_unique<FrameScenes>();  // after the screen size is known
  }
  KDisplayWindow display;
  std::unique_ptr<FrameScenes> scenes;
};

void PlayFrame(benchmark::State& state) {
  Stage stage;
  int n = 0;
  for (auto _ : state) {
    stage.scenes->DrawPlay(n++);
    stage.display.Flip();  // on the scripted platform: no waiting, the changed tiles are copied out
  }
}
BENCHMARK(PlayFrame)->Unit(benchmark::kMicrosecond);

void IdleMenuFrame(benchmark::State& state) {
  Stage stage;
  int n = 0;
  for (auto _ : state) {
    stage.scenes->DrawMenu(n++);
    stage.display.Flip();
  }
}
BENCHMARK(IdleMenuFrame)->Unit(benchmark::kMicrosecond);

// The same two frames with every backdrop copied whole and the whole screen compared, as
// without the engine's record of what was drawn.
void PlayFrameWhole(benchmark::State& state) {
  KGraphic::SetBackdropReuse(false);
  PlayFrame(state);
  KGraphic::SetBackdropReuse(true);
}
BENCHMARK(PlayFrameWhole)->Unit(benchmark::kMicrosecond);

void IdleMenuFrameWhole(benchmark::State& state) {
  KGraphic::SetBackdropReuse(false);
  IdleMenuFrame(state);
  KGraphic::SetBackdropReuse(true);
}
BENCHMARK(IdleMenuFrameWhole)->Unit(benchmark::kMicrosecond);

// The keyed copy alone, over a whole screen.
void KeyedFullScreen(benchmark::State& state) {
  std::vector<std::uint16_t> src(800 * 600), dst(800 * 600);
  for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint16_t>(i % 7 == 0 ? 31 : i);
  for (auto _ : state) {
    for (int y = 0; y < 600; ++y) CopyRow565Keyed(dst.data() + y * 800, src.data() + y * 800, 800, 31, 31);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(KeyedFullScreen)->Unit(benchmark::kMicrosecond);

// Comparing a frame with the last one when nothing changed.
void UnchangedFrameCompare(benchmark::State& state) {
  std::vector<std::uint16_t> a(800 * 600, 5), b(800 * 600, 5);
  std::vector<KDirtyRect> rects;
  for (auto _ : state) {
    FindChangedTiles(a.data(), b.data(), 800, 600, KDisplayWindow::kTileWidth, KDisplayWindow::kTileHeight, &rects);
    benchmark::DoNotOptimize(rects.data());
  }
}
BENCHMARK(UnchangedFrameCompare)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
