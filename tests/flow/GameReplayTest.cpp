// Whole games played through zindo-replay on game folders built here (plain-colour pictures,
// three levels of the same map): how a game ends, the pause, and the boxes of a game that
// cannot start.
#include "tests/support/GameFolder.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Play (the main menu's button at 350..447 x 207..243) at frame 5; the first level shows
// its first frame of play at 67 (31 frames of closing and 31 of opening doors before it).
const std::string kStartGame = "f0 mouse 420 225\nf5 click 420 225\n";

// The lines of zindo-replay's output that start with `what`.
std::vector<std::string> Lines(const std::string& out, const std::string& what) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(what, 0) == 0) lines.push_back(line);
  return lines;
}

bool StartsWith(const std::string& line, const std::string& start) { return line.rfind(start, 0) == 0; }

class GameTest : public GameFolderTest {
 protected:
  void SetUp() override { folder::BuildGame(root, 3); }
  ReplayRun Replay(const std::string& script) const { return GameFolderTest::Replay(script, "--max-time 200000"); }
};

TEST_F(GameTest, EveryLifeLostLeadsThroughTheGameOverScreenBackToTheMenu) {
  // Crates of strength 99 score nothing in this time. Each life: the bat goes right, the
  // ball is launched, the bat goes left and the ball falls past it.
  folder::WriteLevelMap(root, "l.map", 99);
  std::string script = kStartGame;
  for (int life = 0; life < 3; ++life) {
    const int f = 80 + 600 * life;
    script += "f" + std::to_string(f) + " mouse 700 300\nf" + std::to_string(f + 20) + " click 700 300\nf" +
              std::to_string(f + 25) + " mouse 100 300\n";
  }
  script += "f1950 shot over.png\nf2000 click 400 300\nf2010 shot menu.png\nf2011 close\n";
  const ReplayRun r = Replay(script);
  EXPECT_EQ(r.code, 0) << r.out;
  const auto ends = Lines(r.out, "game-end");
  ASSERT_EQ(ends.size(), 1u) << r.out;
  EXPECT_NE(ends[0].find(" level=1 score=0 lives=0 "), std::string::npos) << ends[0];
  EXPECT_TRUE(Lines(r.out, "level-end").empty());
  // A score of 0 is below the table: the game-over screen, its first picture at (223, 288);
  // the click ends it and the menu is back. Nothing entered the table, no level was saved.
  const auto over = Shot("over.png");
  EXPECT_EQ(At(over, 10, 10), folder::kGameOverBackground);
  const std::uint32_t picture = At(over, 223, 288);
  EXPECT_TRUE(picture >= 0x900000u && picture <= 0xE00000u && (picture & 0x0FFFFFu) == 0) << std::hex << picture;
  EXPECT_EQ(At(over, 222, 288), folder::kGameOverBackground);
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
  EXPECT_FALSE(FileExists(root.File("highscores.raw")));
  EXPECT_FALSE(FileExists(root.File("al.raw")));
}

TEST_F(GameTest, EscapeEndsTheGameAtOnce) {
  const ReplayRun r = Replay(kStartGame + "f70 key ESCAPE down\nf72 key ESCAPE up\nf100 shot doors.png\n"
                             "f200 shot over.png\nf201 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("level-start frame=67 level=1 score=0 lives=3 bonus=20 "), std::string::npos) << r.out;
  // The frame after the key is the last of play; the panel closes over it (41 frames, the
  // doors in sight for the last 30), then the game-over screen.
  EXPECT_NE(r.out.find("game-end frame=70 level=1 score=0 lives=3 bonus=20 "), std::string::npos) << r.out;
  const auto doors = Shot("doors.png");
  EXPECT_EQ(At(doors, 400, 5), folder::kPanel);
  EXPECT_EQ(At(doors, 400, 300), folder::kIsland);
  EXPECT_EQ(At(Shot("over.png"), 10, 10), folder::kGameOverBackground);
}

TEST_F(GameTest, UpAndF4SkipEveryLevelToTheEndScreenAndTheNameEntry) {
  const ReplayRun r = Replay(kStartGame +
                             "f70 key UP down\nf70 key F4 down\nf300 key UP up\nf300 key F4 up\nf320 shot end.png\n"
                             "f330 click 400 300\nf420 shot name.png\nf430 tap A\nf440 tap B\nf450 tap RETURN\n"
                             "f480 shot menu.png\nf481 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  // Each level counts as cleared with its bonus, one after another, each behind its own
  // closing and opening doors (62 frames), the next cleared in the frame after its first.
  const auto starts = Lines(r.out, "level-start"), ends = Lines(r.out, "level-end");
  ASSERT_EQ(starts.size(), 3u) << r.out;
  ASSERT_EQ(ends.size(), 3u) << r.out;
  EXPECT_TRUE(StartsWith(ends[0], "level-end frame=70 level=1 score=20 lives=3 bonus=20 ")) << r.out;
  EXPECT_TRUE(StartsWith(starts[1], "level-start frame=132 level=2 score=20 lives=3 bonus=20 ")) << r.out;
  EXPECT_TRUE(StartsWith(ends[2], "level-end frame=196 level=3 score=60 lives=3 bonus=20 ")) << r.out;
  // The end picture until the click (in the frame after 330), then the closing panel, the
  // name entry for the score of 60 behind its opening doors, and the menu.
  EXPECT_NE(r.out.find("game-end frame=331 level=4 score=60 lives=3 "), std::string::npos) << r.out;
  EXPECT_EQ(At(Shot("end.png"), 10, 10), folder::kEndPicture);
  EXPECT_EQ(At(Shot("name.png"), 10, 10), folder::kHighScoreBackground);
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
  const std::string table = File("highscores.raw");
  ASSERT_EQ(table.size(), 9u * 260);
  EXPECT_EQ(std::string(table.c_str()), "AB");
  EXPECT_EQ(table.substr(256, 4), std::string("\x3c\0\0\0", 4));
  // The level after the last is the highest reached.
  EXPECT_EQ(File("al.raw"), std::string("\x04\0\0\0", 4));
}

TEST_F(GameTest, PauseHoldsTheGameUntilPIsPressedAgain) {
  // The same game with and without a pause of some 30 s: the same frames, the same end.
  const std::string play = kStartGame + "f80 mouse 600 300\nf100 click 600 300\nf120 mouse 300 300\n";
  const ReplayRun plain = Replay(play + "f400 key ESCAPE down\nf402 close\n");
  const ReplayRun paused = Replay(play + "f200 tap P\nt33000 tap P\nf400 key ESCAPE down\nf402 close\n");
  const auto a = Lines(plain.out, "game-end"), b = Lines(paused.out, "game-end");
  ASSERT_EQ(a.size(), 1u) << plain.out;
  ASSERT_EQ(b.size(), 1u) << paused.out;
  EXPECT_EQ(a[0], b[0]);
  EXPECT_NE(a[0].find("frame=400 "), std::string::npos) << a[0];
  // Without frames while paused, the clock moved on by the pause.
  const auto timeOf = [](const std::string& out) { return std::stol(out.substr(out.rfind("time_ms: ") + 9)); };
  EXPECT_GE(timeOf(paused.out) - timeOf(plain.out), 33000 - 200 * 14 - 100);
}

TEST_F(GameTest, LevelsWithoutMapsAreClearedAtOnce) {
  // Before any map was read, a missing map is an empty level: cleared at once (the level
  // started inside the game loop shows the rest of the frame that cleared the one before).
  std::remove(root.File("data/levels/maps/l.map").c_str());
  const ReplayRun r = Replay(kStartGame + "f250 shot end.png\nf260 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  const auto ends = Lines(r.out, "level-end");
  ASSERT_EQ(ends.size(), 3u) << r.out;
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(StartsWith(ends[i], "level-end frame=" + std::to_string(67 + 63 * i) + " level=" +
                                        std::to_string(i + 1) + " score=0 lives=3 bonus=0 "))
        << r.out;
  EXPECT_EQ(At(Shot("end.png"), 10, 10), folder::kEndPicture);
  EXPECT_EQ(File("al.raw"), std::string("\x04\0\0\0", 4));
}

TEST_F(GameTest, AGameThatCannotStartShowsWhyAndTheProgramEnds) {
  // Play and the attract mode's demonstration alike: the box, then the menu ends with the
  // failure and the program shuts down (no frame after the box).
  struct Case {
    std::vector<std::string> removed;
    std::string box;
  };
  const Case cases[] = {
      {{"data/levels/islands/bpanel.bmp"}, "box:  | Could Not Load graphics\n"},
      {{"data/sprites/gunshoot.bmp"}, "box:  | Could Not Load The Monkeys\n"},
      {{"data/levels/islands/island1.bmp", "data/levels/islands/beach.bmp"},
       "box: " + root.Path() + "/data/levels/islands/beach.bmp | Could not load Island\nbox:  | Could Not Load Level  graphics\n"},
  };
  for (const Case& c : cases) {
    folder::BuildGame(root, 3);
    for (const std::string& f : c.removed) std::remove(root.File(f).c_str());
    for (const std::string& how : {kStartGame, std::string("f0 mouse 700 100\n")}) {
      const ReplayRun r = Replay(how + "t60000 close\n");
      EXPECT_EQ(r.code, 0) << r.out;
      const std::size_t box = r.out.find(c.box);
      ASSERT_NE(box, std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("frames: "), box + c.box.size()) << r.out;
      EXPECT_TRUE(Lines(r.out, "game-end").empty());
    }
  }
}

}  // namespace
