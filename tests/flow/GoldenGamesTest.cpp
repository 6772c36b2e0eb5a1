// Golden runs on the real game data: scripted games and the attract mode's demonstration
// replayed by zindo-replay, whose lines at each level start and end and at the end of a game
// (frame, level, score, lives, level bonus, generator state) are compared with golden/.
#include "tests/support/GameFolder.h"
#include "tests/support/Golden.h"

#include <string>

namespace {

class GoldenTest : public GameFolderTest {
 protected:
  void SetUp() override { folder::CopyGame(ZR_GAME_DIR, root); }
  std::string Run(const std::string& script) {
    const ReplayRun r = Replay(script, "--max-time 200000");
    EXPECT_EQ(r.code, 0) << r.out;
    return r.out;
  }
  static void ExpectGoldenFile(const std::string& name, const std::string& out) {
    ExpectGolden(std::string(ZR_GOLDEN_DIR) + "/" + name, out);
  }
};

// Left alone, the menu starts the demonstration after 8 s; it plays 2125 frames of level 1.
const std::string kDemo = "f0 mouse 700 100\nf2800 close\n";

TEST_F(GoldenTest, TheDemonstrationTwiceTheSameAndDeafToThePlayer) {
  const std::string out = Run(kDemo);
  ExpectGoldenFile("demo.txt", out);
  EXPECT_EQ(Run(kDemo), out);
  // Pause, Space and the gamepad's buttons change nothing in it (they come once it runs, and
  // the gamepad was not chosen).
  EXPECT_EQ(Run("t12000 tap P\nt15000 tap SPACE\nt20000 joybuttons 1\nt20100 joybuttons 0\n" + kDemo), out);
}

TEST_F(GoldenTest, AMouseGameOnLevelOneThenEveryLevelSkippedToTheEnd) {
  // The pointer sweeps the field and clicks (launching balls, firing the gun bat) for 1000
  // frames; then Up+F4 clear level after level, through the end screen to the name entry.
  std::string script = "f0 mouse 420 225\nf5 click 420 225\n";
  for (int f = 80; f < 1000; f += 25) {
    const int x = 180 + (f * 37) % 560;
    script += "f" + std::to_string(f) + " mouse " + std::to_string(x) + " 300\n";
    if (f % 100 == 80) script += "f" + std::to_string(f + 5) + " click " + std::to_string(x) + " 300\n";
  }
  script +=
      "f1000 key UP down\nf1000 key F4 down\nf3050 key UP up\nf3050 key F4 up\nf3100 click 400 300\n"
      "f3250 tap Z\nf3260 tap R\nf3270 tap RETURN\nf3350 close\n";
  ExpectGoldenFile("mouse-game.txt", Run(script));
  EXPECT_EQ(File("al.raw"), std::string("\x1f\0\0\0", 4));  // 31: after the last
}

TEST_F(GoldenTest, AKeyboardAndGamepadGameOnTheLastLevel) {
  // Level 30 reached before: the menu starts there. Arrows and the stick steer, Space
  // launches and fires, until the last life is lost; the score enters the table.
  folder::WriteInt32File(root, "al.raw", {30});
  std::string script = "dialog play gamepad=1\nf0 mouse 420 225\nf5 click 420 225\nf60 mouse 420 10\n";
  for (int f = 80; f < 3000; f += 60) {
    const std::string key = (f / 60) % 2 ? "LEFT" : "RIGHT";
    script += "f" + std::to_string(f) + " key " + key + " down\nf" + std::to_string(f + 40) + " key " + key + " up\n";
    if (f % 240 == 80) script += "f" + std::to_string(f + 45) + " tap SPACE\n";
    if (f % 600 == 320) {
      script += "f" + std::to_string(f + 50) + " joy " + std::to_string((f * 97) % 65536) + "\nf" +
                std::to_string(f + 55) + " joy 32768\n";
    }
  }
  script += "f3200 tap RETURN\nf3300 close\n";
  ExpectGoldenFile("keyboard-game.txt", Run(script));
}

}  // namespace
