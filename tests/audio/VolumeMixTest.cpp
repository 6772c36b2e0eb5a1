// Volumes, the shared device and what the mixer makes of playing samples.
#include "engine/audio/KSound.h"
#include "platform/script/script_audio.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class VolumeMixTest : public ::testing::Test {
 protected:
  void SetUp() override { KSound::SetGlobalVolumes(100, 100); }
  void TearDown() override { EXPECT_EQ(KSound::LiveSounds(), 0); }

  // A stereo 44100 Hz sample holding one value throughout.
  std::unique_ptr<KSound> Constant(std::int16_t value, int frames, bool loop = false) {
    auto s = std::make_unique<KSound>();
    EXPECT_TRUE(s->LoadSample(dir.Write("c" + std::to_string(count++) + ".wav",
                                        MakeWave(Pcm16Bytes(std::vector<std::int16_t>(frames * 2, value))))
                                  .c_str(),
                              0, loop));
    s->SetVolume(100);
    return s;
  }

  TempDir dir;
  int count = 0;
};

// Louder at every step of the volume, from silence at the bottom to -2 dB at the top; the
// effects master scales the volume, from the next play on, and -1 leaves a master as it is.
TEST_F(VolumeMixTest, LoudnessRisesAtEveryStepFromSilence) {
  auto s = Constant(16000, 4096, true);
  ASSERT_TRUE(KSound::HasDevice());
  std::vector<int> level;
  for (int v = 0; v <= 100; ++v) {
    s->SetVolume(v);
    s->Play();
    const auto out = Pull(256);
    EXPECT_EQ(out[20], out[21]);
    level.push_back(out[20]);
  }
  EXPECT_EQ(level[0], 0);
  for (int v = 1; v < 100; ++v) EXPECT_GT(level[v], level[v - 1]) << "volume " << v;
  EXPECT_EQ(level[100], level[99]);
  EXPECT_NEAR(level[100], 16000 * std::pow(10.0, -0.1), 2.0);
  KSound::SetGlobalVolumes(70, 60);
  KSound::SetGlobalVolumes(-1, 50);
  EXPECT_EQ(KSound::MusicVolume(), 70);
  EXPECT_EQ(Pull(256)[20], level[100]);  // nothing applied at once
  s->Play();
  EXPECT_EQ(Pull(256)[20], level[50]);
  EXPECT_EQ(s->Volume(), 100);
}

TEST_F(VolumeMixTest, VoicesAreSummedWithSaturation) {
  auto a = Constant(30000, 1024);
  auto b = Constant(30000, 1024);
  auto c = Constant(-30000, 512);
  a->Play();
  b->Play();
  EXPECT_EQ(Pull(256)[0], 32767);
  c->Play();
  EXPECT_NEAR(Pull(256)[0], 30000 * std::pow(10.0, -0.1), 3.0);  // two positive, one negative
  a->Stop();
  EXPECT_NEAR(Pull(256)[0], 0, 1.0);  // a positive and a negative voice cancel out
}

TEST_F(VolumeMixTest, OneShotEndsLoopRunsOnAndPlayRestartsFromTheStart) {
  // A rising ramp, so each position has its own value.
  auto ramp = std::make_unique<KSound>();
  std::vector<std::int16_t> pcm;
  for (int i = 0; i < 3000; ++i) {
    pcm.push_back(static_cast<std::int16_t>(i * 10));
    pcm.push_back(static_cast<std::int16_t>(-i * 10));
  }
  const std::string file = dir.Write("ramp.wav", MakeWave(Pcm16Bytes(pcm)));
  ASSERT_TRUE(ramp->LoadSample(file.c_str(), 100, false));
  ramp->Play();
  const auto first = Pull(512);
  EXPECT_EQ(first[0], 0);
  EXPECT_GT(first[2 * 511], first[2 * 510]);
  EXPECT_LT(first[2 * 511 + 1], 0);
  Pull(512);  // about 10 ms later: Play starts again from the beginning
  ramp->Play();
  EXPECT_EQ(Pull(512), first);
  Pull(2560);  // 3072 frames in: the one-shot has ended
  EXPECT_FALSE(ramp->IsPlaying());
  auto after = Pull(256);
  EXPECT_EQ(after, std::vector<std::int16_t>(after.size(), 0));

  // Looping: frame 3000 is frame 0 again.
  ASSERT_TRUE(ramp->LoadSample(file.c_str(), 100, true));
  ramp->Play();
  const auto looped = Pull(3072);
  EXPECT_TRUE(ramp->IsPlaying());
  EXPECT_EQ(looped[2 * 3000], looped[0]);
  EXPECT_EQ(looped[2 * 3001], looped[2]);
  // Loaded anew while playing: quiet until played, then only the new sound, once.
  ASSERT_TRUE(ramp->LoadSample(dir.Write("short.wav", MakeWave(Pcm16Bytes({-8000, -8000}))).c_str(),
                               100, false));
  EXPECT_FALSE(ramp->IsPlaying());
  EXPECT_EQ(Pull(256)[0], 0);
  ramp->Play();
  after = Pull(256);
  EXPECT_LT(after[0], -6000);
  EXPECT_EQ(after[2], 0);

  // Stop keeps quiet until the next Play.
  ASSERT_TRUE(ramp->LoadSample(file.c_str(), 100, true));
  ramp->Play();
  ramp->Stop();
  after = Pull(256);
  EXPECT_EQ(after, std::vector<std::int16_t>(after.size(), 0));
  ramp->Play();
  EXPECT_EQ(Pull(512), first);
}

TEST_F(VolumeMixTest, DeviceIsSharedAndReleasedWithTheLastSound) {
  EXPECT_FALSE(script::AudioDeviceOpen());
  {
    KSound a;
    {
      KSound b;
      EXPECT_EQ(KSound::LiveSounds(), 2);
    }
    EXPECT_TRUE(script::AudioDeviceOpen());
    EXPECT_EQ(a.Volume(), 80);
  }
  EXPECT_FALSE(script::AudioDeviceOpen());
  script::SetAudioDevicePresent(false);  // without a device sounds are made and counted all the same
  {
    KSound s;
    EXPECT_FALSE(KSound::HasDevice());
    EXPECT_EQ(KSound::LiveSounds(), 1);
  }
  script::SetAudioDevicePresent(true);
}

}  // namespace
