// One level track and all effects: synthesis and encoding timed apart.
#include "tools/common/OggEncoder.h"
#include "tools/mkdata/sound/Effects.h"
#include "tools/mkdata/sound/Music.h"

#include <benchmark/benchmark.h>

namespace {

const Song& LevelTrack() { return kSongs[4]; }

void BM_RenderLevelTrack(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(RenderSong(LevelTrack()));
}
BENCHMARK(BM_RenderLevelTrack)->Unit(benchmark::kMillisecond);

void BM_EncodeLevelTrack(benchmark::State& state) {
  const Samples pcm = RenderSong(LevelTrack());
  for (auto _ : state) benchmark::DoNotOptimize(EncodeOggVorbis(pcm, 2, kSoundRate, 0.3f));
}
BENCHMARK(BM_EncodeLevelTrack)->Unit(benchmark::kMillisecond);

void BM_RenderAllEffects(benchmark::State& state) {
  for (auto _ : state)
    for (const Effect& e : kEffects) benchmark::DoNotOptimize(e.render());
}
BENCHMARK(BM_RenderAllEffects)->Unit(benchmark::kMillisecond);

}  // namespace
