// The generator's own checks refuse each fault they are there for, and pass the plain case.
#include "tools/common/BmpWriter.h"
#include "tools/common/OggEncoder.h"
#include "tools/mkdata/levels/LevelChecks.h"
#include "tools/mkdata/sound/SoundChecks.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A 441 Hz sine (whole periods of 100 frames), on every channel, faded in and out if asked.
Samples Tone(int frames, int channels, float amplitude, bool faded) {
  Samples s(static_cast<std::size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      s[i * channels + c] =
          amplitude * std::sin(6.2831853f * i / 100) * (faded ? std::sin(3.1415926f * i / frames) : 1);
  return s;
}

#define EXPECT_FAULT(check, words)                          \
  do {                                                      \
    const std::string fault = (check);                      \
    EXPECT_NE(fault.find(words), std::string::npos) << fault; \
  } while (0)

TEST(GeneratorChecks, Effects) {
  Samples s = Tone(4400, 1, 0.5f, true);
  EXPECT_EQ(CheckEffect(s), "");
  EXPECT_FAULT(CheckEffect(Tone(4400, 1, 0, true)), "peaks at");
  EXPECT_FAULT(CheckEffect(Tone(4400, 1, 1, true)), "peaks at");
  EXPECT_FAULT(CheckEffect(Tone(5 * kSoundRate, 1, 0.5f, true)), "lasts");
  s.back() = 0.3f;
  EXPECT_FAULT(CheckEffect(s), "a click");
}

TEST(GeneratorChecks, Music) {
  const int frames = 31 * kSoundRate / 100 * 100;
  Samples s = Tone(frames, 2, 0.5f, false);
  EXPECT_EQ(CheckMusic(s), "");
  EXPECT_FAULT(CheckMusic(Tone(10 * kSoundRate, 2, 0.5f, false)), "lasts");
  EXPECT_FAULT(CheckMusic(Tone(frames, 2, 1, false)), "peaks at");
  Samples one = s, late = s, seam = s;
  for (std::size_t i = 1; i < one.size(); i += 2) one[i] = 0;
  EXPECT_FAULT(CheckMusic(one), "channel 1 is too quiet");
  std::fill(late.begin(), late.begin() + kSoundRate, 0.0f);
  EXPECT_FAULT(CheckMusic(late), "silent at its start");
  seam[seam.size() - 1] = seam[seam.size() - 2] = 0.4f;
  EXPECT_FAULT(CheckMusic(seam), "the loop jumps");
}

TEST(GeneratorChecks, OggFiles) {
  TempDir dir;
  const Samples s = Tone(4400, 1, 0.5f, true);
  const std::string good = dir.Write("good.ogg", EncodeOggVorbis(s, 1, kSoundRate));
  EXPECT_EQ(CheckOggFile(good, 1, 4400), "");
  EXPECT_FAULT(CheckOggFile(good, 2, 2200), "1 channels");
  EXPECT_FAULT(CheckOggFile(dir.Write("slow.ogg", EncodeOggVorbis(s, 1, kSoundRate / 2)), 1, 4400), "22050 Hz");
  EXPECT_FAULT(CheckOggFile(dir.Write("text.ogg", "not a sound"), 1, 4400), "not an Ogg");
}

LevelSource Level(const std::string& body, const char* physics = "gravity: 0.03\nmaxspeed: 6\nbouncestep: 0.2\n") {
  LevelSource level;
  std::string error;
  EXPECT_TRUE(ParseLevelSource(std::string("name: T\nisland: island1.bmp\nmusic: rumba1.ogg\n") + physics + body, level,
                               error))
      << error;
  return level;
}

TEST(GeneratorChecks, Levels) {
  const std::string crates = "brick a = crate_pale 1\ngrid:\naa\n";
  EXPECT_EQ(CheckShippedLevel(Level(crates)), "");
  EXPECT_FAULT(CheckShippedLevel(Level(crates, "gravity: 0.15\nmaxspeed: 6\nbouncestep: 0.2\n")), "gravity");
  EXPECT_FAULT(CheckShippedLevel(Level(crates, "gravity: 0.03\nmaxspeed: 10\nbouncestep: 0.2\n")), "maxspeed");
  EXPECT_FAULT(CheckShippedLevel(Level(crates, "gravity: 0.03\nmaxspeed: 6\nbouncestep: 1.5\n")), "bouncestep");
  EXPECT_FAULT(CheckShippedLevel(Level("brick s = stone 998\nbrick a = crate_pale 1\ngrid:\naass\n")),
               "stone of strength 998");
  EXPECT_FAULT(CheckShippedLevel(Level("top: 0\nbrick a = crate_pale 1\nbrick s = stone 999\ngrid:\naass\nssss\n")),
               "cannot reach the brick at 170, 0");
  const std::string sealed = "brick g = crate_pale 1 GunBat\nbrick z = crate_blue 0\nbrick i = plank_iron 900\ngrid:\n";
  EXPECT_FAULT(CheckShippedLevel(Level(sealed + "ggzz\n....iiii\n")), "fewer than two");
  EXPECT_FAULT(CheckShippedLevel(Level(sealed + "ggggzz\n....iiii\n")), "no free line of fire");
  EXPECT_EQ(CheckShippedLevel(Level(sealed + "ggggzz\n......iiii\n")), "");
}

TEST(GeneratorChecks, LevelSets) {
  const LevelSource plain = Level("brick a = crate_pale 1\ngrid:\naa\n");
  EXPECT_FAULT(CheckShippedSet({{"a.txt", plain}, {"b.txt", plain}}), "b.txt: the same bricks as a.txt");
  EXPECT_FAULT(CheckShippedSet({{"a.txt", plain}, {"b.txt", Level("brick a = crate_pale 2\ngrid:\n..aa\n")}}),
               "one strength a picture");
  EXPECT_FAULT(CheckShippedSet({{"a.txt", plain}}), "a bonus kind");
  std::string every, grid = "grid:\n";
  for (int k = 0; k < kBonusKindCount; ++k) {
    every += std::string("brick ") + char('a' + k) + " = crate_pale 1 " + kBonusNames[k].name + "\n";
    grid += std::string(2, char('a' + k)) + (k % 10 == 9 ? "\n" : "");
  }
  EXPECT_FAULT(CheckShippedSet({{"a.txt", Level(every + grid + "\n")}}), "a brick class");
}

}  // namespace
