// The play rules' sound cues: loading the effects and the music wrapper.
#include "engine/audio/KSound.h"
#include "engine/services/Services.h"
#include "game/sound/SoundCues.h"
#include "platform/script/script_audio.h"
#include "platform/script/script_platform.h"
#include "tests/audio/AudioTestSupport.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

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
      for (char& ch : rel) ch = ch == '\\' ? '/' : ch;
      dir.Write(rel, tone);
    }
  }

  TempDir dir;
};

// Which cue plays which slot is the game's table of sounds, not tested here.
TEST_F(SoundCuesTest, EffectsLoadIntoEverySlotOrLeaveItSilent) {
  loadPlaySounds();  // no data folder at all: a silent sound in every slot
  playQuakeSound();
  for (KSound* s : playSounds) {
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->HasBuffer());
    EXPECT_FALSE(s->IsPlaying());
  }
  WriteEffects();
  loadPlaySounds();
  for (KSound* s : playSounds) {
    EXPECT_TRUE(s->HasBuffer());
    EXPECT_EQ(s->Volume(), 100);
  }
  EXPECT_EQ(KSound::LiveSounds(), 31);
  // Each cue plays one of the loaded sounds.
  for (void (*cue)() : {playHitSound, playBatSound, playHeavyBatSound, playHopSound, playWallSound, playBreakSound,
                        playMetalSound, playFruitSound, playBonusSound, playExtraLifeSound, playLargerSound,
                        playLowerSound, playQuakeSound, playShootSound}) {
    cue();
    int playing = 0;
    for (KSound* s : playSounds) {
      playing += s->IsPlaying() ? 1 : 0;
      s->Stop();
    }
    EXPECT_EQ(playing, 1);
  }
  // The volumes 80, 80 at the end of loading find no music and change nothing.
  EXPECT_EQ(KSound::EffectsVolume(), 100);
  EXPECT_EQ(KSound::MusicVolume(), 100);
  freePlaySounds();
  for (KSound* s : playSounds) EXPECT_EQ(s, nullptr);
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
