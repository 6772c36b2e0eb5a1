// The play rules' sound cues: the effect table, the rotations and the music wrapper.
// Each cue is exercised by one test only: the rotation counters run on for the whole
// program, as in the game.
#include "engine/audio/KSound.h"
#include "engine/services/Services.h"
#include "game/sound/SoundCues.h"
#include "platform/script/script_audio.h"
#include "platform/script/script_platform.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class SoundCuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KSound::SetGlobalVolumes(100, 100);
    script::SetRoot(dir.Path());
    InitEngineServices();
  }
  void TearDown() override {
    stopMusic();
    freePlaySounds();
    EXPECT_EQ(KSound::LiveSounds(), 0);
  }

  // Every effect file beside the "executable": the same short tone under each name.
  void WriteEffects() {
    const std::string tone = MakeOggTone(8000, 1, 22050);
    for (const char* name : playSoundFiles) {
      std::string rel = name;
      for (char& ch : rel) {
        if (ch == '\\') ch = '/';
      }
      dir.Write(rel, tone);
    }
  }

  // The slot the cue started (the one playing sound), stopped again afterwards.
  static int SlotPlayedBy(const std::function<void()>& cue) {
    cue();
    int slot = -1;
    for (int i = 0; i < kPlaySoundCount; ++i) {
      if (playSounds[i] && playSounds[i]->IsPlaying()) {
        EXPECT_EQ(slot, -1) << "two sounds playing";
        slot = i;
      }
    }
    if (slot >= 0) playSounds[slot]->Stop();
    return slot;
  }

  static std::vector<int> Slots(const std::function<void()>& cue, int times) {
    std::vector<int> v;
    for (int i = 0; i < times; ++i) v.push_back(SlotPlayedBy(cue));
    return v;
  }

  TempDir dir;
};

TEST_F(SoundCuesTest, EffectsLoadIntoTheirSlots) {
  WriteEffects();
  for (KSound* s : playSounds) EXPECT_EQ(s, nullptr);
  loadPlaySounds();
  for (int i = 0; i < kPlaySoundCount; ++i) {
    ASSERT_NE(playSounds[i], nullptr) << i;
    EXPECT_TRUE(playSounds[i]->HasBuffer()) << i;
    EXPECT_EQ(playSounds[i]->Volume(), 100);
    EXPECT_FALSE(playSounds[i]->IsPlaying());
  }
  EXPECT_EQ(KSound::LiveSounds(), 31);
  // The volumes 80, 80 at the end of loading find no music and change nothing.
  EXPECT_EQ(KSound::EffectsVolume(), 100);
  EXPECT_EQ(KSound::MusicVolume(), 100);
  freePlaySounds();
  for (KSound* s : playSounds) EXPECT_EQ(s, nullptr);
  EXPECT_EQ(KSound::LiveSounds(), 0);
}

TEST_F(SoundCuesTest, MissingFilesLeaveSilentSoundsInEverySlot) {
  loadPlaySounds();  // no data folder at all
  for (int i = 0; i < kPlaySoundCount; ++i) {
    ASSERT_NE(playSounds[i], nullptr);
    EXPECT_FALSE(playSounds[i]->HasBuffer());
  }
  playQuakeSound();
  EXPECT_FALSE(playSounds[19]->IsPlaying());
}

// Each rotation keeps its own counter: the bat's never reaches the heavy hits, and a cue that
// comes back later in the list goes on where it stopped.
TEST_F(SoundCuesTest, RotationsAndFixedCuesPlayTheirSlotsInOrder) {
  WriteEffects();
  loadPlaySounds();
  const struct {
    const char* name;
    void (*cue)();
    std::vector<int> slots;
  } cases[] = {
      {"hit", playHitSound, {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 7}},
      {"bat", playBatSound, {7, 8, 9}},
      {"heavy bat", playHeavyBatSound, {16, 17, 18, 16}},
      {"bat again", playBatSound, {10, 11, 12, 13, 14, 7, 8, 9, 10, 11, 12, 13, 14, 7}},
      {"wall", playWallSound, {29, 30, 29}},
      {"break", playBreakSound, {0, 1, 0}},
      {"metal", playMetalSound, {20, 21, 22, 20}},
      {"fruit", playFruitSound, {4, 5, 6, 4}},
      {"hop", playHopSound, {8, 8}},
      {"bonus", playBonusSound, {6, 6}},
      {"extra life", playExtraLifeSound, {28}},
      {"larger", playLargerSound, {26}},
      {"lower", playLowerSound, {27}},
      {"quake", playQuakeSound, {19, 19}},
  };
  for (const auto& c : cases) EXPECT_EQ(Slots(c.cue, static_cast<int>(c.slots.size())), c.slots) << c.name;
}

TEST_F(SoundCuesTest, ShotRestartsWhileStillPlaying) {
  WriteEffects();
  loadPlaySounds();
  playShootSound();
  EXPECT_TRUE(playSounds[3]->IsPlaying());
  const auto first = Pull(2048);
  playShootSound();  // 46 ms later, the shot is still sounding: from the start again
  EXPECT_TRUE(playSounds[3]->IsPlaying());
  EXPECT_EQ(Pull(2048), first);
  EXPECT_GT(Rms(first, 100, 2048), 1000.0);
}

TEST_F(SoundCuesTest, MusicAndMasterVolumes) {
  setVolumes(30, 40);  // no music yet: ignored
  EXPECT_EQ(KSound::MusicVolume(), 100);
  EXPECT_EQ(KSound::EffectsVolume(), 100);
  playMusic(nullptr);
  EXPECT_EQ(music, nullptr);

  const std::string a = dir.Write("data/audio/menu.ogg", MakeOggTone(30000, 2, 44100));
  const std::string b = dir.Write("data/audio/level.ogg", MakeOggTone(30000, 2, 44100, 550.0));
  playMusic(a.c_str());
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(music->IsStream());
  EXPECT_TRUE(music->IsPlaying());
  EXPECT_TRUE(music->RefillThreadRunning());
  playMusic(b.c_str());
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(music->IsPlaying());
  EXPECT_EQ(KSound::LiveSounds(), 1);  // the old music is gone

  setVolumes(30, 40);
  EXPECT_EQ(KSound::MusicVolume(), 30);
  EXPECT_EQ(KSound::EffectsVolume(), 40);
  stopMusic();
  EXPECT_EQ(music, nullptr);
  EXPECT_EQ(KSound::LiveSounds(), 0);
  setVolumes(90, 90);
  EXPECT_EQ(KSound::MusicVolume(), 30);

  // A file that is not music: the object stays, silent.
  playMusic(dir.Write("data/audio/readme.txt", "no music").c_str());
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(music->IsPlaying());
}

}  // namespace
