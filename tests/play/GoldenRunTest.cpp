// The golden run: one scripted game on a level built here, stepped as the game loop steps it,
// 3000 frames of demonstration and then 3000 with a scripted player, a summary every 100
// frames. Any change in the order of the rules or of the generator's draws changes the text
// (golden/rules.txt; after a deliberate change, ZR_WRITE_GOLDEN=1 writes it anew: review the
// difference before committing it).
#include "game/ui/Input.h"
#include "tests/play/RulesTest.h"
#include "tools/testkit/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Seven rows of ten crates: a digit is a strength, S, M and T are 999, 950 and 150, and each
// other letter a crate of strength 1 holding a bonus.
const char* const kLayout[] = {"S11111111S", "1M1T1T1M11", "2222222222", "0011VA1100",
                               "1G1Q1L1R1Z", "1E1X1U1F1H", "1WG1U1G1E1"};
const std::string kBonusLetters = "LWAHGEFXVZRQU";  // Lift .. Quake, Surprise, by kind
const BonusKind kLetterKinds[] = {BonusKind::Lift,    BonusKind::SlowBalls, BonusKind::AutoBreaker,
                                  BonusKind::ShrinkBat, BonusKind::GunBat,  BonusKind::ExtraBall,
                                  BonusKind::FastBalls, BonusKind::EvilBall, BonusKind::Gravity,
                                  BonusKind::FreezeBat, BonusKind::GrowBat, BonusKind::Quake,
                                  BonusKind::Surprise};

int StrengthOf(char c) { return c == 'S' ? 999 : c == 'M' ? 950 : c == 'T' ? 150 : c <= '9' ? c - '0' : 1; }
int BonusOf(char c) {
  const std::size_t i = kBonusLetters.find(c);
  return static_cast<int>(i == std::string::npos ? BonusKind::None : kLetterKinds[i]);
}

class GoldenRunTest : public RulesTest {
 protected:
  void ArmLevel() {
    gameRecord.levelBonus = 0;
    for (int row = 0; row < 7; ++row) {
      for (int col = 0; col < 10; ++col) {
        const char c = kLayout[row][col];
        Place(row * 10 + col, 200.0f + 44 * col, 120.0f + 22 * row, StrengthOf(c), BonusOf(c));
        play.fruits[row * 10 + col].active = false;
        gameRecord.levelBonus += 2;
      }
    }
    play.idleFrames = 0;
  }
  static void StartLife() {
    resetPowerUps();
    resetBonusDrops();
    for (int slot = 0; slot < kBallCount; ++slot) {
      spawnBall(slot, 0, 0, 0, 0, kBallNormal);
      play.balls[slot].active = false;
    }
    spawnBall(0, 0, 0, 0, 0, kBallHeld);
  }
  // The player aims a little beside the lowest ball, and holds the button half the time.
  static bool ScriptPlayer(int frame) {
    float lowest = -1, x = 400;
    for (const Ball& b : play.balls) {
      if (b.active && b.y > lowest) {
        lowest = b.y;
        x = b.x;
      }
    }
    script::SetPointer(static_cast<int>(x) - 40 + (frame / 37) % 4 * 15, 300);
    const bool button = (frame / 50) % 2 == 0;
    script::SetButton(button);
    return button;
  }

  std::string Run() {
    std::ostringstream out;
    gravity = 0.04f;
    maxBallSpeed = 7.0f;
    bounceSpeedStep = 0.5f;
    play.gunFrameW = 40;  // a gun sheet of 7 x 4 frames
    play.gunFrameH = 50;
    play.gunSheetW = 280;
    play.gunSheetH = 200;
    gameRecord.lives = 3;
    ArmLevel();
    StartLife();
    for (int frame = 1; frame <= 6000; ++frame) {
      gameRecord.demoMode = frame <= 3000;
      const bool button = !gameRecord.demoMode && ScriptPlayer(frame);
      if (isLevelCleared()) {
        gameRecord.score += gameRecord.levelBonus;
        ArmLevel();
        StartLife();
      }
      bool lost = true;
      for (const Ball& b : play.balls) lost = lost && !b.active;
      if (lost && --gameRecord.lives > 0) StartLife();
      if (gameRecord.lives <= 0) break;
      if (gameRecord.batKind == 3 && (gameRecord.demoMode ? GameRand() % 150 == 5 : button)) pullGunTrigger();
      updatePlay();
      collideBallsWithBricks();
      if (frame % 100 != 0) continue;
      int balls = 0, standing = 0;
      for (const Ball& b : play.balls) balls += b.active;
      for (const Brick& r : bricks) standing += r.alive;
      char line[160];
      std::snprintf(line, sizeof line, "frame %4d score %6d lives %d balls %d bricks %2d bat %d x %3d draws %ld\n",
                    frame, gameRecord.score, gameRecord.lives, balls, standing, gameRecord.batKind,
                    static_cast<int>(play.batX), DrawsSince(1));
      out << line;
    }
    return out.str();
  }
};

TEST_F(GoldenRunTest, SummaryEvery100FramesMatchesTheKeptText) {
  const std::string path = std::string(ZR_GOLDEN_DIR) + "/rules.txt", text = Run();
  if (std::getenv("ZR_WRITE_GOLDEN")) std::ofstream(path, std::ios::binary) << text;
  EXPECT_EQ(text, ReadFileBytes(path)) << "the run differs from " << path;
}

}  // namespace
