// The sound generator: the loop mixer, and every effect and piece of music decoded back
// with vorbisfile and measured.
#include "tools/mkdata/sound/Synth.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The effect files in the order the game loads them into its table, then the music.
const char* const kEffectFiles[31] = {
    "cassecaisse1", "cassecaisse2", "ballinaimant", "shoot", "fruit_1", "fruit_2", "fruit_3", "ballbat1",
    "ballbat2", "ballbat3", "ballbatlow_2", "ballbatlow_3", "ballbatlow1", "ballbatmedium1", "ballbatmedium2",
    "ballbatmedium3", "ballbatheavy1", "ballbatheavy2", "ballbatheavy3", "spaceinv", "cassecaissemetal1",
    "cassecaissemetal2", "cassecaissemetal3", "caissewood1", "caissewood2", "caissewood3", "larger", "lower",
    "extralife", "wall", "wall2"};
const char* const kMusicFiles[8] = {"monkey2", "monkey5", "monkey4", "gov", "rumba1", "rumba2", "rumba3", "rumba4"};

struct Pcm {
  int channels = 0;
  long rate = 0;
  std::vector<short> samples;  // interleaved
  bool ok = false;
  double Seconds() const { return channels ? samples.size() / double(channels) / rate : 0; }
};

Pcm Decode(const std::string& path) {
  Pcm pcm;
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return pcm;
  const vorbis_info* info = ov_info(&vf, -1);
  pcm.channels = info->channels;
  pcm.rate = info->rate;
  char buf[8192];
  int section = 0;
  long got;
  while ((got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0) {
    const short* s = reinterpret_cast<const short*>(buf);
    pcm.samples.insert(pcm.samples.end(), s, s + got / 2);
  }
  pcm.ok = got == 0;
  ov_clear(&vf);
  return pcm;
}

double Db(double v) { return 20 * std::log10(std::max(v, 1e-9) / 32768.0); }

double PeakDb(const Pcm& p) {
  int peak = 0;
  for (short s : p.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return Db(peak);
}

double RmsDb(const Pcm& p, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(p.samples[i]) * p.samples[i];
  return Db(std::sqrt(sum / std::max<std::size_t>(1, to - from)));
}

std::size_t Clipped(const Pcm& p) {
  return std::count_if(p.samples.begin(), p.samples.end(), [](short s) { return s >= 32767 || s <= -32768; });
}

int RunMkData(const std::string& out) {
  const std::string cmd = std::string("\"") + ZR_MKDATA + "\" \"" + out + "\" sounds 2>/dev/null";
  return std::system(cmd.c_str());
}

// The files the build put into the game folder, made by the same generator.
class GeneratedSounds : public ::testing::Test {
 protected:
  static std::string File(const char* name) { return std::string(ZR_GAME_DIR) + "/data/audio/" + name + ".ogg"; }
};

TEST_F(GeneratedSounds, EffectsDecodeShortLoudEnoughAndUnclipped) {
  std::vector<std::vector<short>> seen;
  for (const char* name : kEffectFiles) {
    SCOPED_TRACE(name);
    const Pcm p = Decode(File(name));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.channels, 1);
    EXPECT_EQ(p.rate, kSoundRate);
    EXPECT_GT(p.Seconds(), 0.05);
    EXPECT_LT(p.Seconds(), 4.0);
    EXPECT_EQ(Clipped(p), 0u);
    EXPECT_LT(PeakDb(p), -1.0);
    EXPECT_GT(PeakDb(p), -12.0);
    // Starts and ends quietly: no click when it starts or is cut.
    EXPECT_LT(std::abs(p.samples.front()), 1000);
    EXPECT_LT(std::abs(p.samples.back()), 1000);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), p.samples), 0) << "same sound as another effect";
    seen.push_back(p.samples);
  }
}

TEST_F(GeneratedSounds, MusicIsLongStereoUnclippedAndLoopsWithoutASeam) {
  for (const char* name : kMusicFiles) {
    SCOPED_TRACE(name);
    const Pcm p = Decode(File(name));
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.channels, 2);
    EXPECT_GE(p.Seconds(), 30.0);
    EXPECT_LE(p.Seconds(), 90.0);
    EXPECT_EQ(Clipped(p), 0u);
    EXPECT_LT(PeakDb(p), -0.5);
    EXPECT_GT(RmsDb(p, 0, p.samples.size()), -26.0);
    // Music all the way: the last and the first tenth of a second both sound.
    const std::size_t tenth = static_cast<std::size_t>(p.rate / 10 * 2);
    EXPECT_GT(RmsDb(p, p.samples.size() - tenth, p.samples.size()), -40.0);
    EXPECT_GT(RmsDb(p, 0, tenth), -40.0);
    // The jump from the last frame back to the first is no bigger than the steps the music
    // itself makes most of the time.
    for (int c = 0; c < 2; ++c) {
      std::vector<int> steps;
      for (std::size_t i = c + 2; i < p.samples.size(); i += 2) steps.push_back(std::abs(p.samples[i] - p.samples[i - 2]));
      std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
      const int p99 = steps[steps.size() * 99 / 100];
      EXPECT_LE(std::abs(p.samples[c] - p.samples[p.samples.size() - 2 + c]), p99) << "channel " << c;
    }
  }
}

TEST_F(GeneratedSounds, GenerationIsRepeatable) {
  TempDir again;
  ASSERT_EQ(RunMkData(again.Path()), 0);
  for (const char* const* list : {kEffectFiles, kMusicFiles}) {
    const int n = list == kEffectFiles ? 31 : 8;
    for (int i = 0; i < n; ++i) {
      const std::string a = ReadFileBytes(File(list[i]));
      EXPECT_FALSE(a.empty()) << list[i];
      EXPECT_EQ(ReadFileBytes(again.Path() + "/data/audio/" + list[i] + ".ogg"), a) << list[i];
    }
  }
}

TEST(SoundMix, LoopingMixWrapsNoteTailsToTheStart) {
  const Samples note = {1, 2, 3, 4};
  Mix loop(6, true), cut(6, false);
  loop.Add(4, note, 1.0f, 0.0f);
  cut.Add(4, note, 1.0f, 0.0f);
  const Samples l = loop.Interleaved(0.8f), c = cut.Interleaved(0.8f);
  ASSERT_EQ(l.size(), 12u);
  // Peak 4 scaled to 0.8: 3 and 4 wrapped to frames 0 and 1.
  EXPECT_NEAR(l[0], 0.6f, 1e-5);
  EXPECT_NEAR(l[3], 0.8f, 1e-5);
  EXPECT_NEAR(l[8], 0.2f, 1e-5);
  EXPECT_NEAR(c[0], 0.0f, 1e-6);
  EXPECT_NEAR(c[10], 0.8f, 1e-5);  // 2 is the loudest that fits; the rest is cut
}

TEST(SoundMix, PanAndPeakTarget) {
  Mix m(2, false);
  m.Add(0, {1.0f}, 1.0f, -1.0f);  // hard left
  m.Add(1, {0.5f}, 1.0f, 1.0f);   // hard right
  const Samples s = m.Interleaved(0.5f);
  EXPECT_NEAR(s[0], 0.5f, 1e-5);
  EXPECT_NEAR(s[1], 0.0f, 1e-6);
  EXPECT_NEAR(s[2], 0.0f, 1e-6);
  EXPECT_NEAR(s[3], 0.25f, 1e-5);
  Mix silent(3, true);
  for (float x : silent.Interleaved(0.8f)) EXPECT_EQ(x, 0.0f);
}

TEST(SoundVoices, RenderTheSameEveryTimeAndDieAway) {
  for (const Samples& s : {Drum(200, 0.1f, 0.3f, 5), Marimba(440, 0.5f), SteelDrum(523, 0.5f), WoodBlock(800, 0.05f, 2),
                           Shaker(0.08f, 0.5f, 4), Bass(55, 0.5f), Kick(55, 0.12f), Clave(2000), Cowbell(740)}) {
    ASSERT_FALSE(s.empty());
    EXPECT_GT(Peak(s), 0.05f);
    EXPECT_LT(std::fabs(s.front()), 0.05f);  // no step at the start
    EXPECT_LT(std::fabs(s.back()), 0.02f * Peak(s) + 1e-3f);
  }
  EXPECT_EQ(Drum(200, 0.1f, 0.3f, 5), Drum(200, 0.1f, 0.3f, 5));
  EXPECT_NE(Shaker(0.08f, 0.5f, 4), Shaker(0.08f, 0.5f, 5));
}

}  // namespace
