// What mixing costs: one frame's worth of sound (14 ms at 44100 Hz) with 16 effects and
// the music playing, as a fraction of the 14 ms it lasts.
#include "engine/audio/KSound.h"
#include "engine/audio/Mixer.h"
#include "tools/common/OggEncoder.h"
#include "tools/testkit/TestFiles.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kFrames = 617;  // 14 ms at 44100 Hz
constexpr double kSeconds = kFrames / 44100.0;

std::string Tone(int frames, int channels, int rate, double frequency) {
  std::vector<float> v(static_cast<std::size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) v[static_cast<std::size_t>(i) * channels + c] = 0.2f * static_cast<float>(std::sin(frequency * i / rate * 6.283));
  }
  return EncodeOggVorbis(v, channels, rate, 0.4f);
}

void Run(benchmark::State& state, int effects, bool withMusic, int musicRate) {
  TempDir dir;
  const std::string effect = dir.Write("effect.ogg", Tone(44100, 2, 44100, 440.0));
  const std::string song = dir.Write("music.ogg", Tone(musicRate * 5, 2, musicRate, 220.0));
  KSound::SetGlobalVolumes(80, 80);
  std::vector<std::unique_ptr<KSound>> sounds;
  for (int i = 0; i < effects; ++i) {
    sounds.push_back(std::make_unique<KSound>());
    sounds.back()->LoadSample(effect.c_str(), 100, true);  // looping: all keep playing
    sounds.back()->Play();
  }
  KSound music;
  if (withMusic) {
    music.LoadStream(song.c_str());
    music.PlayStream(true);
  }
  std::vector<std::int16_t> out(kFrames * 2);
  double busy = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    mixer::Mix(out.data(), kFrames);
    busy += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["fraction_of_real_time"] = busy / (kSeconds * static_cast<double>(state.iterations()));
}

void BM_Mix14ms_16Effects_Music(benchmark::State& state) { Run(state, 16, true, 44100); }

}  // namespace

BENCHMARK(BM_Mix14ms_16Effects_Music);
BENCHMARK_MAIN();
