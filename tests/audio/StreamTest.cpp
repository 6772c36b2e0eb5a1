// Music streams: the looping ring of two halves, its refill thread, restarts and ends.
#include "engine/audio/KSound.h"
#include "platform/platform.h"
#include "platform/script/script_audio.h"
#include "platform/script/script_platform.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

namespace {

constexpr int kHalf = 4096;  // device frames in a half of a 44100 Hz stereo stream
const double kToneRms = 0.5 * 32767 / std::sqrt(2.0);
// A stream plays at its volume of 80 under the music master 100: index 80, -10.6 dB.
const double kMusicRms = kToneRms * std::pow(10.0, -1060 / 2000.0);

class StreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KSound::SetGlobalVolumes(100, 100);
    script::SetEchoBoxes(false);
    script::ClearRecords();
  }
  void TearDown() override {
    EXPECT_EQ(KSound::LiveSounds(), 0);
    script::SetEchoBoxes(true);
  }

  // Waits for the refill thread to have rewritten `count` halves in all.
  static void WaitRefills(const KSound& s, std::uint32_t count) {
    ASSERT_TRUE(WaitUntil([&] { return s.RefillCount() >= count; })) << "refills: " << s.RefillCount();
  }

  // Plays `n` halves: pulls each, then waits for the refill its end triggers.
  static std::vector<std::vector<std::int16_t>> Halves(KSound& s, int n, int halfFrames = kHalf) {
    std::vector<std::vector<std::int16_t>> out;
    for (int i = 0; i < n; ++i) {
      const std::uint32_t before = s.RefillCount();
      out.push_back(Pull(halfFrames));
      WaitRefills(s, before + 1);
    }
    return out;
  }

  TempDir dir;
};

TEST_F(StreamTest, FreshStreamStartsSilentThenPlaysConvertedToTheDevice) {
  KSound m;
  // Mono at 22050 Hz: a half of the ring is 8192 frames, 16384 device frames.
  ASSERT_TRUE(m.LoadStream(dir.Write("m.ogg", MakeOggTone(44100, 1, 22050)).c_str()));
  EXPECT_TRUE(m.IsStream());
  EXPECT_TRUE(m.HasBuffer());
  EXPECT_EQ(m.Format()->channels, 1);
  EXPECT_EQ(m.Format()->samplesPerSec, 22050u);
  EXPECT_FALSE(m.IsPlaying());
  m.SetVolume(100);
  m.PlayStream(true);
  EXPECT_TRUE(m.RefillThreadRunning());
  WaitRefills(m, 1);
  const auto h = Halves(m, 2, 16384);
  EXPECT_EQ(Rms(h[0], 0, 16000), 0.0);  // the first half was never written
  EXPECT_NEAR(Rms(h[1], 500, 16000), kToneRms * std::pow(10.0, -0.1), 700.0);
  EXPECT_EQ(h[1][1000], h[1][1001]);  // mono on both sides
  EXPECT_TRUE(script::Boxes().empty());
}

TEST_F(StreamTest, LoopingStreamRestartsAtTheNextHalfAfterSilence) {
  KSound m;
  // 6000 frames: the second refill holds the last 1904 frames, then silence.
  ASSERT_TRUE(m.LoadStream(dir.Write("loop.ogg", MakeOggTone(6000, 2, 44100)).c_str()));
  m.PlayStream(true);
  WaitRefills(m, 1);
  const auto h = Halves(m, 5);
  EXPECT_EQ(Rms(h[0], 0, kHalf), 0.0);
  EXPECT_GT(Rms(h[1], 200, kHalf), 0.85 * kMusicRms);
  EXPECT_GT(Rms(h[2], 100, 1800), 0.85 * kMusicRms);  // frames 4096..5999 of the music
  EXPECT_EQ(Rms(h[2], 1904, kHalf), 0.0);         // the rest of the half is silent
  EXPECT_EQ(h[3], h[1]);                            // and the music starts again
  EXPECT_EQ(h[4], h[2]);
  EXPECT_FALSE(m.StreamEnded());
  EXPECT_TRUE(m.IsPlaying());
}

TEST_F(StreamTest, NonLoopingStreamStopsWhenTheDecoderRunsDry) {
  KSound m;
  ASSERT_TRUE(m.LoadStream(dir.Write("once.ogg", MakeOggTone(10000, 2, 44100)).c_str()));
  m.PlayStream(false);
  WaitRefills(m, 1);
  const auto h = Halves(m, 2);  // the second wake-up finds the end
  EXPECT_EQ(Rms(h[0], 0, kHalf), 0.0);
  EXPECT_GT(Rms(h[1], 200, kHalf), 0.85 * kMusicRms);
  EXPECT_TRUE(m.StreamEnded());
  EXPECT_FALSE(m.IsPlaying());
  // The half that was about to play is cut off: the rest is silence.
  const auto after = Pull(3 * kHalf);
  EXPECT_EQ(Rms(after, 0, 3 * kHalf), 0.0);
  EXPECT_TRUE(m.RefillThreadRunning());  // idle until the stream is stopped

  // Played again, it starts from the beginning.
  const std::uint32_t before = m.RefillCount();
  m.PlayStream(false);
  EXPECT_FALSE(m.StreamEnded());
  WaitRefills(m, before + 1);
  const auto again = Halves(m, 2);
  EXPECT_EQ(again[1], h[1]);
}

TEST_F(StreamTest, PlayStreamOnPlayingMusicRestartsFromTheBeginning) {
  KSound m;
  ASSERT_TRUE(m.LoadStream(dir.Write("long.ogg", MakeOggTone(40000, 2, 44100, 300.0)).c_str()));
  m.PlayStream(true);
  WaitRefills(m, 1);
  const auto first = Halves(m, 4);
  const std::uint32_t before = m.RefillCount();
  m.PlayStream(true);
  EXPECT_TRUE(m.RefillThreadRunning());
  WaitRefills(m, before + 1);
  const auto second = Halves(m, 4);
  EXPECT_EQ(Rms(second[0], 0, kHalf), 0.0);  // no leftover of the old playback
  EXPECT_EQ(second[1], first[1]);
  EXPECT_EQ(second[2], first[2]);
  EXPECT_EQ(second[3], first[3]);
}

TEST_F(StreamTest, MusicVolumeChangeReachesAPlayingStream) {
  KSound m;
  ASSERT_TRUE(m.LoadStream(dir.Write("v.ogg", MakeOggTone(40000, 2, 44100)).c_str()));
  m.PlayStream(true);
  EXPECT_EQ(m.Volume(), 80);
  EXPECT_EQ(m.BufferVolume(), -1060);  // music master 100, volume 80: index 80
  KSound::SetGlobalVolumes(50, -1);   // index 40
  EXPECT_TRUE(WaitUntil([&] { return m.BufferVolume() == -2344; }, std::chrono::seconds(5)));
  KSound::SetGlobalVolumes(0, -1);
  EXPECT_TRUE(WaitUntil([&] { return m.BufferVolume() == -10000; }, std::chrono::seconds(5)));
  WaitRefills(m, 1);
  const auto h = Halves(m, 2);
  EXPECT_EQ(Rms(h[1], 0, kHalf), 0.0);
  // The effects master is not the music's.
  KSound::SetGlobalVolumes(100, 0);
  EXPECT_TRUE(WaitUntil([&] { return m.BufferVolume() == -1060; }, std::chrono::seconds(5)));
}

TEST_F(StreamTest, FilesThatAreNotOggVorbis) {
  KSound m;
  EXPECT_FALSE(m.LoadStream(dir.Write("notes.txt", "Level music: the drums\n").c_str()));
  ASSERT_EQ(script::Boxes().size(), 1u);
  EXPECT_EQ(script::Boxes()[0], "error | error could not detect ogg file");
  EXPECT_FALSE(m.HasBuffer());
  m.PlayStream(true);
  EXPECT_FALSE(m.RefillThreadRunning());
  EXPECT_FALSE(m.IsPlaying());

  // Files cut short or damaged: the reader checks' inputs (tests/fuzz/inputs/ogg_stream).
  script::ClearRecords();
  EXPECT_FALSE(m.LoadStream(dir.File("missing.ogg").c_str()));
  EXPECT_FALSE(m.LoadStream(dir.Write("empty.ogg", "").c_str()));
  EXPECT_FALSE(m.LoadStream(nullptr));
  EXPECT_TRUE(script::Boxes().empty());  // missing and empty files say nothing
}

TEST_F(StreamTest, StreamsSurviveRestartsReloadsAndDestructionWhileTheDevicePulls) {
  KSound keep;  // holds the device open throughout
  const std::string a = dir.Write("a.ogg", MakeOggTone(30000, 2, 44100));
  const std::string b = dir.Write("b.ogg", MakeOggTone(30000, 1, 32000, 660.0));
  const std::string c = dir.Write("c.wav", MakeWave(Pcm16Bytes(std::vector<std::int16_t>(4000, 1000))));
  std::atomic<bool> done{false};
  std::thread device([&] {
    while (!done.load()) {
      script::PullAudio(512);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  for (int round = 0; round < 4; ++round) {
    auto m = std::make_unique<KSound>();
    ASSERT_TRUE(m->LoadStream(a.c_str()));
    m->PlayStream(true);
    EXPECT_TRUE(WaitUntil([&] { return m->RefillCount() >= 3; }));
    m->PlayStream(round % 2 == 0);  // restarted while playing
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(m->LoadStream(b.c_str()));  // reloaded while playing
    EXPECT_FALSE(m->RefillThreadRunning());
    m->PlayStream(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    if (round == 3) {
      ASSERT_TRUE(m->LoadSample(c.c_str(), 100, true));  // a stream turned into a sample
      EXPECT_FALSE(m->IsStream());
      EXPECT_FALSE(m->RefillThreadRunning());
      m->Play();
    }
    m.reset();  // destroyed while playing
    EXPECT_EQ(KSound::LiveSounds(), 1);
  }
  done.store(true);
  device.join();
}

}  // namespace
