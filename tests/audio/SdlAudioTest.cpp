// The real device over SDL2. No sound card here: SDL's "dummy" driver takes the mixed
// sound at the real rate, and an unknown driver stands for a machine without sound.
#include "AudioTestSupport.h"
#include "KSound.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

TEST(SdlAudioTest, DummyDeviceDrivesTheMusicThreadInRealTime) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  TempDir dir;
  {
    KSound m;
    ASSERT_TRUE(KSound::HasDevice());
    ASSERT_TRUE(m.LoadStream(dir.Write("m.ogg", MakeOggTone(20000, 2, 44100)).c_str()));
    m.PlayStream(true);
    // A half lasts 93 ms: in real time the cursor keeps entering halves.
    EXPECT_TRUE(WaitUntil([&] { return m.RefillCount() >= 6; }, std::chrono::seconds(20)));
    KSound s;
    WaveSpec w;
    w.data = Pcm16Bytes(std::vector<std::int16_t>(8820, 1000));  // 100 ms
    ASSERT_TRUE(s.LoadSample(dir.Write("s.wav", MakeWave(w)).c_str(), 100, false));
    s.Play();
    EXPECT_TRUE(WaitUntil([&] { return !s.IsPlaying(); }, std::chrono::seconds(20)));
    m.PlayStream(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(KSound::LiveSounds(), 0);
}

TEST(SdlAudioTest, WithoutADeviceTheGameRunsSilent) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  TempDir dir;
  KSound s;
  EXPECT_FALSE(KSound::HasDevice());
  WaveSpec w;
  w.data = Pcm16Bytes(std::vector<std::int16_t>(200, 1000));
  EXPECT_TRUE(s.LoadSample(dir.Write("s.wav", MakeWave(w)).c_str(), 100, false));
  s.Play();
  EXPECT_TRUE(s.IsPlaying());
  KSound m;
  ASSERT_TRUE(m.LoadStream(dir.Write("m.ogg", MakeOggTone(20000, 2, 44100)).c_str()));
  m.PlayStream(true);
  EXPECT_TRUE(m.RefillThreadRunning());
}

}  // namespace
