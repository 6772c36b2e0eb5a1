// Loading samples: RIFF WAVE by chunk scan, Ogg Vorbis by two decoding passes, bad files.
#include "engine/audio/KSound.h"
#include "platform/script/script_audio.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

class SampleLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { KSound::SetGlobalVolumes(100, 100); }
  std::string Write(const std::string& name, const std::string& bytes) { return dir.Write(name, bytes); }
  TempDir dir;
};

std::vector<std::int16_t> Steps(int frames, int channels) {
  std::vector<std::int16_t> v;
  for (int i = 0; i < frames * channels; ++i) v.push_back(static_cast<std::int16_t>((i % 100) * 300 - 15000));
  return v;
}

TEST_F(SampleLoadTest, GoodWaveFilesLoadInTheirOwnFormat) {
  KSound s;
  WaveSpec w;
  w.data = Pcm16Bytes(Steps(1000, 2));
  EXPECT_TRUE(s.LoadSample(Write("a.wav", MakeWave(w)).c_str(), 0, false));
  EXPECT_TRUE(s.HasBuffer());
  EXPECT_EQ(s.DataSize(), 4000u);
  ASSERT_NE(s.Format(), nullptr);
  EXPECT_EQ(s.Format()->channels, 2);
  EXPECT_EQ(s.Format()->samplesPerSec, 44100u);
  EXPECT_EQ(s.Volume(), 0);

  // Mono 8-bit at 22050 Hz: converted at load to twice as many device frames, both sides.
  WaveSpec m;
  m.channels = 1;
  m.rate = 22050;
  m.bits = 8;
  m.data = std::string(500, static_cast<char>(228));  // +100 around the middle 128
  EXPECT_TRUE(s.LoadSample(Write("m.wav", MakeWave(m)).c_str(), 100, false));
  EXPECT_EQ(s.DataSize(), 500u);
  s.Play();
  const auto out = Pull(1024);
  const std::int16_t expected = static_cast<std::int16_t>((100 << 8) * std::pow(10.0, -0.1));
  EXPECT_NEAR(out[0], expected, 2);
  EXPECT_EQ(out[0], out[1]);
  EXPECT_NEAR(out[2 * 990], expected, 2);  // 500 frames at 22050 Hz last 1000 device frames
  EXPECT_EQ(out[2 * 1010], 0);
  EXPECT_FALSE(s.IsPlaying());
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

TEST_F(SampleLoadTest, BrokenWaveFilesFailCleanly) {
  KSound s;
  WaveSpec noData;
  noData.withData = false;
  EXPECT_FALSE(s.LoadSample(Write("nodata.wav", MakeWave(noData)).c_str(), 100, false));
  EXPECT_FALSE(s.HasBuffer());
  s.Play();  // does nothing
  s.Stop();
  s.SetVolume(60);
  EXPECT_EQ(s.Volume(), 60);
  EXPECT_FALSE(s.IsPlaying());

  const auto wave = [](void (*change)(WaveSpec&)) {
    WaveSpec w;
    w.data = Pcm16Bytes(Steps(100, 2));
    change(w);
    return MakeWave(w);
  };
  std::string noise;
  std::uint32_t x = 12345;
  for (int i = 0; i < 5000; ++i) {
    x = x * 1664525u + 1013904223u;
    noise += static_cast<char>(x >> 24);
  }
  const struct {
    const char* name;
    std::string bytes;
  } bad[] = {
      {"datafirst.wav", wave([](WaveSpec& w) { w.dataBeforeFmt = true; })},  // no format known when "data" ends the scan
      {"nofmt.wav", wave([](WaveSpec& w) { w.withFmt = false; })},
      {"neg.wav", wave([](WaveSpec& w) { w.declaredDataSize = 0x80000000ll; })},  // negative as a signed size
      {"emptydata.wav", MakeWave(WaveSpec{})},
      {"odd.wav", wave([](WaveSpec& w) { w.bits = 12; })},  // a format the device does not play
      {"empty.wav", ""},
      // A file that ends inside a tag or a format record.
      {"cut1.wav", std::string("RIFF\x10\0\0\0WAVEfmt ", 16)},
      {"cut2.wav", MakeWave(WaveSpec{}).substr(0, 12 + 8 + 10)},
      {"cut3.wav", std::string("xxdata\x05", 7)},
      {"noise.wav", noise},
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(s.LoadSample(Write(b.name, b.bytes).c_str(), 100, false)) << b.name;
    EXPECT_FALSE(s.HasBuffer()) << b.name;
  }
  EXPECT_FALSE(s.LoadSample(dir.File("missing.wav").c_str(), 100, false));
  EXPECT_FALSE(s.LoadSample(nullptr, 100, false));
}

TEST_F(SampleLoadTest, DataChunkLongerThanTheFileIsCutToTheBytesPresent) {
  KSound s;
  WaveSpec w;
  w.data = Pcm16Bytes(Steps(300, 2));
  w.declaredDataSize = 1000000;
  EXPECT_TRUE(s.LoadSample(Write("long.wav", MakeWave(w)).c_str(), 100, false));
  EXPECT_EQ(s.DataSize(), 1200u);
  s.Play();
  const auto out = Pull(512);
  EXPECT_NE(out[2 * 299], 0);
  EXPECT_EQ(out[2 * 300], 0);  // nothing from beyond the file
  EXPECT_EQ(out[2 * 511], 0);
}

TEST_F(SampleLoadTest, OggSamplesDecodeWhole) {
  KSound s;
  const std::string path = Write("tone.ogg", MakeOggTone(11025, 1, 22050));
  EXPECT_TRUE(s.LoadSample(path.c_str(), 0, false));
  EXPECT_EQ(s.DataSize(), 11025u * 2);  // every decoded byte, 16-bit mono
  ASSERT_NE(s.Format(), nullptr);
  EXPECT_EQ(s.Format()->channels, 1);
  EXPECT_EQ(s.Format()->samplesPerSec, 22050u);
  EXPECT_EQ(s.Format()->blockAlign, 2);
  EXPECT_EQ(s.Format()->avgBytesPerSec, 44100u);
  s.SetVolume(100);
  s.Play();
  const auto out = Pull(22528);
  // Half a second at 22050 Hz is 22050 device frames: a tone, then silence.
  EXPECT_NEAR(Rms(out, 2000, 20000), 0.5 * 32767 / std::sqrt(2.0) * std::pow(10.0, -0.1), 600.0);
  EXPECT_EQ(Rms(out, 22100, 22528), 0.0);
  EXPECT_FALSE(s.IsPlaying());

  // Stereo at the device rate.
  EXPECT_TRUE(s.LoadSample(Write("tone2.ogg", MakeOggTone(5000, 2, 44100)).c_str(), 100, false));
  EXPECT_EQ(s.DataSize(), 5000u * 4);
}

TEST_F(SampleLoadTest, BadOggFilesFail) {
  KSound s;
  EXPECT_FALSE(s.LoadSample(Write("text.ogg", "this is not a sound\n").c_str(), 100, false));
  EXPECT_FALSE(s.HasBuffer());
  EXPECT_FALSE(s.LoadSample(dir.File("missing.ogg").c_str(), 100, false));
  EXPECT_FALSE(s.LoadSample(Write("empty.ogg", "").c_str(), 100, false));
  // Cut short: whatever decodes is kept, and the result says whether anything did.
  const std::string tone = MakeOggTone(44100, 2, 44100);
  for (std::size_t cut : {tone.size() / 2, std::size_t{60}, std::size_t{4}}) {
    const bool loaded = s.LoadSample(Write("cut.ogg", tone.substr(0, cut)).c_str(), 100, false);
    EXPECT_EQ(loaded, s.HasBuffer()) << cut;
    if (loaded) {
      EXPECT_LT(s.DataSize(), 44100u * 4);
    }
  }
  // An Ogg file whose name says ".OGG" goes to the WAVE reader, which finds no "data".
  EXPECT_FALSE(s.LoadSample(Write("TONE.OGG", tone).c_str(), 100, false));
}

TEST_F(SampleLoadTest, LoadingIntoAPlayingSoundReplacesIt) {
  KSound s;
  WaveSpec w;
  w.data = Pcm16Bytes(std::vector<std::int16_t>(20000, 8000));
  ASSERT_TRUE(s.LoadSample(Write("a.wav", MakeWave(w)).c_str(), 100, true));
  s.Play();
  Pull(256);
  EXPECT_TRUE(s.IsPlaying());
  w.data = Pcm16Bytes(std::vector<std::int16_t>(200, -8000));
  ASSERT_TRUE(s.LoadSample(Write("b.wav", MakeWave(w)).c_str(), 100, false));
  EXPECT_FALSE(s.IsPlaying());
  EXPECT_EQ(s.DataSize(), 400u);
  auto out = Pull(256);
  EXPECT_EQ(out[0], 0);
  s.Play();
  out = Pull(256);
  EXPECT_LT(out[0], -6000);
  EXPECT_EQ(out[2 * 100], 0);  // one-shot now, and only the new sound
}

}  // namespace
