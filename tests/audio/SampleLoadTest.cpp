// Samples as the device plays them. Which files load at all (WAVE layouts by chunk scan, Ogg
// Vorbis, files cut short or damaged) is the reader checks' (tests/fuzz and their inputs).
#include "engine/audio/KSound.h"
#include "platform/script/script_audio.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SampleLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { KSound::SetGlobalVolumes(100, 100); }
  TempDir dir;
};

TEST_F(SampleLoadTest, MonoEightBitAtHalfTheRateIsPlayedOnBothSidesForTwiceAsManyFrames) {
  KSound s;
  // +100 around the middle 128, 500 frames at 22050 Hz.
  ASSERT_TRUE(s.LoadSample(dir.Write("m.wav", MakeWave(std::string(500, static_cast<char>(228)), 1, 22050, 8)).c_str(),
                           100, false));
  EXPECT_EQ(s.DataSize(), 500u);
  EXPECT_EQ(s.Format()->samplesPerSec, 22050u);
  s.Play();
  const auto out = Pull(1024);
  const std::int16_t expected = static_cast<std::int16_t>((100 << 8) * std::pow(10.0, -0.1));
  EXPECT_NEAR(out[0], expected, 2);
  EXPECT_EQ(out[0], out[1]);
  EXPECT_NEAR(out[2 * 990], expected, 2);  // 500 frames at 22050 Hz last 1000 device frames
  EXPECT_EQ(out[2 * 1010], 0);
  EXPECT_FALSE(s.IsPlaying());
  EXPECT_FALSE(s.LoadSample(dir.File("missing.wav").c_str(), 100, false));
  EXPECT_FALSE(s.LoadSample(nullptr, 100, false));
}

TEST_F(SampleLoadTest, EightBitSamplesSpanTheWholeRangeAroundTheMiddle) {
  // Below the middle (128) the samples are negative; scaling them must not shift a negative
  // value (the sanitizer build stops there).
  const std::uint8_t bytes[] = {0, 1, 127, 128, 129, 255};
  WaveFormat mono8;
  mono8.formatTag = kFormatPcm;
  mono8.channels = 1;
  mono8.samplesPerSec = 44100;
  mono8.bitsPerSample = 8;
  mono8.blockAlign = 1;
  mono8.avgBytesPerSec = 44100;
  std::vector<std::int16_t> out;
  ASSERT_TRUE(ConvertToDevice(mono8, bytes, sizeof bytes, out));
  EXPECT_EQ(out, (std::vector<std::int16_t>{-32768, -32768, -32512, -32512, -256, -256, 0, 0, 256, 256, 32512, 32512}));
}

TEST_F(SampleLoadTest, OggSamplesDecodeWhole) {
  KSound s;
  const std::string tone = MakeOggTone(11025, 1, 22050);
  ASSERT_TRUE(s.LoadSample(dir.Write("tone.ogg", tone).c_str(), 100, false));
  EXPECT_EQ(s.DataSize(), 11025u * 2);  // every decoded byte, 16-bit mono
  EXPECT_EQ(s.Format()->channels, 1);
  EXPECT_EQ(s.Format()->samplesPerSec, 22050u);
  EXPECT_EQ(s.Format()->avgBytesPerSec, 44100u);
  s.Play();
  const auto out = Pull(22528);
  // Half a second at 22050 Hz is 22050 device frames: a tone, then silence.
  EXPECT_NEAR(Rms(out, 2000, 20000), 0.5 * 32767 / std::sqrt(2.0) * std::pow(10.0, -0.1), 600.0);
  EXPECT_EQ(Rms(out, 22100, 22528), 0.0);
  EXPECT_FALSE(s.IsPlaying());
  // An Ogg file whose name says ".OGG" goes to the WAVE reader, which finds no "data".
  EXPECT_FALSE(s.LoadSample(dir.Write("TONE.OGG", tone).c_str(), 100, false));
}

}  // namespace
