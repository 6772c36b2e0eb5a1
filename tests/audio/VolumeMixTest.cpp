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
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(frames) * 2, value);
    WaveSpec w;
    w.data = Pcm16Bytes(pcm);
    EXPECT_TRUE(s->LoadSample(dir.Write("c" + std::to_string(count++) + ".wav", MakeWave(w)).c_str(), 0, loop));
    s->SetVolume(100);
    return s;
  }

  TempDir dir;
  int count = 0;
};

TEST_F(VolumeMixTest, GlobalVolumesChangeOnlyWhatIsGivenAndApplyAtTheNextPlay) {
  KSound::SetGlobalVolumes(70, 60);
  KSound::SetGlobalVolumes(-1, 50);
  EXPECT_EQ(KSound::MusicVolume(), 70);
  EXPECT_EQ(KSound::EffectsVolume(), 50);
  KSound::SetGlobalVolumes(40, -3);
  EXPECT_EQ(KSound::MusicVolume(), 40);
  EXPECT_EQ(KSound::EffectsVolume(), 50);

  KSound::SetGlobalVolumes(100, 100);
  auto s = Constant(1000, 100);
  EXPECT_EQ(s->BufferVolume(), -200);
  KSound::SetGlobalVolumes(-1, 50);
  EXPECT_EQ(s->BufferVolume(), -200);  // nothing applied at once
  s->Play();
  EXPECT_EQ(s->BufferVolume(), -1862);
  EXPECT_EQ(s->Volume(), 100);
}

TEST_F(VolumeMixTest, MixedAmplitudeFollowsTheDecibelTable) {
  auto s = Constant(16000, 4096, true);
  ASSERT_TRUE(KSound::HasDevice());
  s->Play();
  auto out = Pull(1024);
  // -2 dB: 16000 x 10^(-200/2000).
  EXPECT_NEAR(out[100], 16000 * std::pow(10.0, -0.1), 2.0);
  EXPECT_EQ(out[100], out[101]);
  KSound::SetGlobalVolumes(-1, 50);  // index 50: -18.62 dB
  s->Play();
  out = Pull(256);
  EXPECT_NEAR(out[10], 16000 * std::pow(10.0, -1862 / 2000.0), 2.0);
  s->SetVolume(0);  // the bottom of the table is silence
  out = Pull(256);
  EXPECT_EQ(out[10], 0);
}

TEST_F(VolumeMixTest, VoicesAreSummedWithSaturation) {
  auto a = Constant(30000, 1024);
  auto b = Constant(30000, 1024);
  auto c = Constant(-30000, 512);
  a->Play();
  b->Play();
  auto out = Pull(256);
  EXPECT_EQ(out[0], 32767);
  c->Play();
  out = Pull(256);
  EXPECT_NEAR(out[0], 30000 * std::pow(10.0, -0.1), 3.0);  // two positive, one negative
  a->Stop();
  b->Stop();
  out = Pull(256);
  EXPECT_NEAR(out[0], -30000 * std::pow(10.0, -0.1), 2.0);
  b->Play();  // a positive and a negative voice cancel out
  c->Play();
  out = Pull(256);
  EXPECT_NEAR(out[0], 0, 1.0);
}

TEST_F(VolumeMixTest, OneShotEndsLoopRunsOnAndPlayRestartsFromTheStart) {
  // A rising ramp, so each position has its own value.
  auto ramp = std::make_unique<KSound>();
  std::vector<std::int16_t> pcm;
  for (int i = 0; i < 3000; ++i) {
    pcm.push_back(static_cast<std::int16_t>(i * 10));
    pcm.push_back(static_cast<std::int16_t>(-i * 10));
  }
  WaveSpec w;
  w.data = Pcm16Bytes(pcm);
  ASSERT_TRUE(ramp->LoadSample(dir.Write("ramp.wav", MakeWave(w)).c_str(), 100, false));
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
  ASSERT_TRUE(ramp->LoadSample(dir.File("ramp.wav").c_str(), 100, true));
  ramp->Play();
  const auto looped = Pull(3072);
  EXPECT_TRUE(ramp->IsPlaying());
  EXPECT_EQ(looped[2 * 3000], looped[0]);
  EXPECT_EQ(looped[2 * 3001], looped[2]);

  // Stop keeps quiet until the next Play.
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
    EXPECT_TRUE(script::AudioDeviceOpen());
    EXPECT_EQ(KSound::LiveSounds(), 1);
    {
      KSound b;
      EXPECT_EQ(KSound::LiveSounds(), 2);
    }
    EXPECT_TRUE(script::AudioDeviceOpen());
    EXPECT_EQ(a.Volume(), 80);
  }
  EXPECT_FALSE(script::AudioDeviceOpen());
}

TEST_F(VolumeMixTest, WithoutADeviceEverythingLoadsAndPlaysUnheard) {
  script::SetAudioDevicePresent(false);
  {
    KSound s;
    EXPECT_FALSE(KSound::HasDevice());
    std::vector<std::int16_t> pcm(2000, 1234);
    WaveSpec w;
    w.data = Pcm16Bytes(pcm);
    EXPECT_TRUE(s.LoadSample(dir.Write("s.wav", MakeWave(w)).c_str(), 100, false));
    s.Play();
    EXPECT_TRUE(s.IsPlaying());
    EXPECT_TRUE(script::PullAudio(256).empty());

    KSound m;
    EXPECT_TRUE(m.LoadStream(dir.Write("m.ogg", MakeOggTone(20000, 2, 44100)).c_str()));
    m.PlayStream(true);
    EXPECT_TRUE(m.RefillThreadRunning());
    EXPECT_TRUE(m.IsPlaying());
  }
  script::SetAudioDevicePresent(true);
  KSound t;
  EXPECT_TRUE(KSound::HasDevice());
}

}  // namespace
