// The real device over SDL2. No sound card here: SDL's "dummy" driver takes the mixed
// sound at the real rate, and an unknown driver stands for a machine without sound.
#include "engine/audio/KSound.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
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
    ASSERT_TRUE(s.LoadSample(dir.Write("s.wav", MakeWave(Pcm16Bytes(std::vector<std::int16_t>(8820, 1000)))).c_str(), 100, false));
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
  EXPECT_TRUE(s.LoadSample(dir.Write("s.wav", MakeWave(Pcm16Bytes(std::vector<std::int16_t>(200, 1000)))).c_str(), 100, false));
  s.Play();
  EXPECT_TRUE(s.IsPlaying());
  KSound m;
  ASSERT_TRUE(m.LoadStream(dir.Write("m.ogg", MakeOggTone(20000, 2, 44100)).c_str()));
  m.PlayStream(true);
  EXPECT_TRUE(m.RefillThreadRunning());
}

TEST(SdlAudioTest, WithoutASoundCardOneLineSaysSoAndTheSoundLibraryKeepsQuiet) {
  // An ALSA set-up that knows no device at all, whatever this machine has: opening one fails
  // the way it does on a machine without a sound card, and alsa-lib has errors to report.
  TempDir dir;
  setenv("ALSA_CONFIG_PATH", dir.Write("asound.conf", "").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  testing::internal::CaptureStderr();
  for (int attempt = 0; attempt < 2; ++attempt) {  // the second try adds no line
    KSound s;
    EXPECT_FALSE(KSound::HasDevice());
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(said.rfind("ZindoRumba: no sound device", 0), 0u) << said;
  EXPECT_NE(said.find("playing without sound\n"), std::string::npos) << said;
}

}  // namespace
