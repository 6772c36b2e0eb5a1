// The options screen and the high-score screen, played through zindo-replay.
#include "tests/support/GameFolder.h"

#include <cstdio>
#include <string>

namespace {

class ScoresTest : public GameFolderTest {
 protected:
  void SetUp() override { folder::Build(root, 10); }
  std::vector<std::pair<std::string, std::int32_t>> Table() const {
    return folder::ReadTable(root.File("highscores.raw"));
  }
  // A name typed on the screen opened with a score of 10 (first place), then Return.
  std::string TypeName(const std::string& keys) {
    std::remove(root.File("highscores.raw").c_str());  // each name starts from the defaults
    std::string script = "f40 mouse 700 100\n";
    int t = 1000;
    for (const char k : keys) {
      script += "t" + std::to_string(t) + " tap " + (k == '<' ? "BACKSPACE" : k == ' ' ? "SPACE" : std::string(1, k)) + "\n";
      t += 200;
    }
    script += "t" + std::to_string(t) + " tap RETURN\n";
    const ReplayRun r = Replay(script, "--max-time 60000 --screen highscores:10");
    EXPECT_EQ(r.code, 0) << r.out;  // the screen ends with Return, and so does the program
    const auto table = Table();
    return table.empty() ? "<no file>" : table[0].first;
  }
};

// Level 0..9 to bar pixels: 0, 10, 20, 30, 40, 50, 64, 74, 84, 94.
void ExpectBar(const std::vector<std::uint32_t>& shot, int y, int width) {
  ASSERT_FALSE(shot.empty());
  if (width > 0) {
    EXPECT_EQ(At(shot, 518 + width - 1, y + 5), folder::kVolumeBar) << "bar at y " << y;
  }
  EXPECT_EQ(At(shot, 518 + width, y + 5), folder::kOptionsBackground) << "bar at y " << y;
}

const char* kOpenOptions = "f3 mouse 400 400\nf5 down\nt300 up\n";

TEST_F(ScoresTest, VolumeBarsAtTheFirstStartAndFromBrokenFiles) {
  // No file: music 8 (84 pixels), effects 5 (50). Three bytes: nothing whole to read, the
  // defaults stay. Out-of-range levels are clamped.
  const struct {
    std::string file;
    int music, effects;
  } cases[] = {{"", 84, 50}, {std::string("\x03\0\0", 3), 84, 50}, {std::string("\xff\xff\xff\x7f\x80\0\0\x80", 8), 0, 94}};
  for (const auto& c : cases) {
    if (!c.file.empty()) root.Write("prefvol.raw", c.file);
    const ReplayRun r = Replay(std::string(kOpenOptions) + "t1000 shot o.png\nt1100 close\n");
    EXPECT_EQ(r.code, 0) << r.out;
    const auto o = Shot("o.png");
    EXPECT_EQ(At(o, 10, 10), folder::kOptionsBackground);
    ExpectBar(o, 159, c.music);
    ExpectBar(o, 221, c.effects);
    // Closing the window on this screen saves the volumes: effects first, then music.
    if (c.file.empty()) {
      EXPECT_EQ(File("prefvol.raw"), std::string("\x05\0\0\0\x08\0\0\0", 8));
    }
  }
}

TEST_F(ScoresTest, VolumeFileAndArrowsWithinZeroToNine) {
  root.Write("prefvol.raw", std::string("\x03\0\0\0\x07\0\0\0", 8));
  // Music up three times (7 -> 9, held at 9), effects down four times (3 -> 0, held at 0).
  std::string script = kOpenOptions;
  script += "t500 mouse 630 178\n";
  for (int i = 0; i < 3; ++i) script += "t" + std::to_string(600 + 300 * i) + " click 630 178\n";
  script += "t1600 mouse 494 240\n";
  for (int i = 0; i < 4; ++i) script += "t" + std::to_string(1700 + 300 * i) + " click 494 240\n";
  script += "t3000 shot o.png\nt3100 mouse 396 507\nt3200 down\nt3400 up\nt4000 shot menu.png\nt4100 close\n";
  const ReplayRun r = Replay(script);
  EXPECT_EQ(r.code, 0) << r.out;
  const auto o = Shot("o.png");
  ExpectBar(o, 159, 94);
  ExpectBar(o, 221, 0);
  // Back leads to the menu and saves at once.
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
  EXPECT_EQ(File("prefvol.raw"), std::string("\0\0\0\0\x09\0\0\0", 8));
}

TEST_F(ScoresTest, ResetWritesTheDefaultTableAndLevelOne) {
  folder::WriteInt32File(root, "al.raw", {5});
  root.Write("highscores.raw", std::string(2340, '\x01'));
  const ReplayRun r = Replay(std::string(kOpenOptions) +
                             "t500 mouse 550 378\nt600 down\nt700 up\n"
                             "t800 mouse 396 507\nt900 down\nt1000 up\nt1500 shot menu.png\nt1600 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(File("al.raw"), std::string("\x01\0\0\0", 4));
  const auto t = Table();
  ASSERT_EQ(t.size(), 9u);
  EXPECT_EQ(t[0].second, 9);
  EXPECT_EQ(t[6].first, "BUY");
  EXPECT_EQ(t[7].first, "Z.R");
  EXPECT_EQ(t[8].first, "NOW");
  EXPECT_EQ(t[8].second, 1);
  // Back in the menu the selector shows level 1 at once.
  EXPECT_EQ(folder::ReadNumber(Shot("menu.png"), 424, 313), 1);
}

TEST_F(ScoresTest, HOnTheOptionsScreenShowsTheTable) {
  const ReplayRun r = Replay(std::string(kOpenOptions) + "t1000 tap H\nt2000 shot t.png\nt2100 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(At(Shot("t.png"), 10, 10), folder::kHighScoreBackground);
}

TEST_F(ScoresTest, NameEntryKeepsTheCursorRules) {
  EXPECT_EQ(TypeName("ABCD"), "ABD");
  EXPECT_EQ(TypeName("AB<X"), "AX ");
  EXPECT_EQ(TypeName("AB<<"), "A  ");
  EXPECT_EQ(TypeName("AB<<X"), "X");
  EXPECT_EQ(TypeName("A B"), "A B");
  EXPECT_EQ(TypeName(""), "");
  const auto t = Table();
  ASSERT_EQ(t.size(), 9u);
  EXPECT_EQ(t[0].second, 10);
  EXPECT_EQ(t[1].first, "ZIG");
  EXPECT_EQ(t[8].first, "Z.R");  // "NOW" dropped out
}

TEST_F(ScoresTest, AScoreThatDoesNotQualifyShowsNothing) {
  const ReplayRun r = Replay("f40 close\n", "--max-time 60000 --screen highscores:1");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out.find("frames: 40"), std::string::npos) << r.out;
  EXPECT_FALSE(FileExists(root.File("highscores.raw")));
}

TEST_F(ScoresTest, SpaceShowsTheTableUntilBackOrFor1699Frames) {
  // Back: the menu comes back unchanged.
  ReplayRun r = Replay("f5 tap SPACE\nt1000 shot table.png\nt1000 mouse 330 510\nt1100 down\nt1200 up\n"
                       "t2000 shot menu.png\nt2100 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(At(Shot("table.png"), 10, 10), folder::kHighScoreBackground);
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
  EXPECT_EQ(folder::ReadNumber(Shot("menu.png"), 424, 313), 1);
  // Opening doors (31 frames) and 1699 frames of the table, then the menu (the pointer moved
  // meanwhile, so the menu does not go on to its demonstration at once).
  r = Replay("f5 tap SPACE\nf1000 mouse 600 100\nf1700 shot table.png\nf1760 shot menu.png\nf1770 close\n",
             "--max-time 100000");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(At(Shot("table.png"), 10, 10), folder::kHighScoreBackground);
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
}

}  // namespace
