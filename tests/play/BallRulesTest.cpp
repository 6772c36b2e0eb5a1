// Balls: walls, ceiling, floor, the bat bounce, the launch, the timed effects and the speed
// floor, ball against ball, ball against brick.
#include "tests/play/RulesTest.h"

namespace {

using BallRulesTest = RulesTest;

TEST_F(BallRulesTest, RightWallTakesTheStepBackAndClampsOnlyThere) {
  Ball& b = Flying(0, 760, 300, 6, 2);
  updateBalls();  // 766 = 786 - 20 touches the wall
  EXPECT_EQ(b.x, 760.0f);
  EXPECT_EQ(b.vx, -6.0f);
  b.x = 770;  // already past it: put just inside
  b.vx = 1.5f;
  updateBalls();
  EXPECT_EQ(b.x, 765.0f);
  b.x = 169;  // the left wall turns it and leaves it where it was
  b.vx = -1.5f;
  updateBalls();
  EXPECT_EQ(b.x, 169.0f);
  EXPECT_EQ(b.vx, 1.5f);
}

TEST_F(BallRulesTest, CeilingSkipsEffectsAndLossNeedsTopPast600) {
  gameRecord.gravityOn = true;
  gameRecord.gravityTimer = 100;
  Ball& b = Flying(0, 400, 1, 0.5f, -3);
  updateBalls();
  EXPECT_EQ(b.y, 3.0f);  // 0 plus the new step
  EXPECT_EQ(b.vx, 0.5f);  // no speed floor
  EXPECT_EQ(gameRecord.gravityTimer, 100);
  gameRecord.gravityOn = false;
  gameRecord.monkeyHappy = true;
  b.y = 599;
  b.vy = 1;
  updateBalls();
  EXPECT_TRUE(b.active);  // exactly at 600
  updateBalls();
  EXPECT_FALSE(b.active);
  EXPECT_FALSE(gameRecord.monkeyHappy);
}

TEST_F(BallRulesTest, BatBounceSlantDrummerAndCancelledGun) {
  play.batX = 300.0f;
  play.gunFrameX = 80;
  Ball& b = Flying(0, 330, 450, 0, 3);       // centre over the bat's middle
  Ball& m = Flying(2, 390, 450, 0, 3);       // just beyond its right end
  updateBalls();
  EXPECT_EQ(b.y, 452.0f);
  EXPECT_EQ(b.vy, -1.5f);
  EXPECT_EQ(b.vx, 1.0f);  // 0.05, raised by the speed floor
  EXPECT_EQ(play.batterFrame, 55);
  EXPECT_EQ(play.gunFrameX, -1);
  EXPECT_EQ(m.vy, 3.0f);
  m.active = false;
  Ball& e = Flying(1, 291, 444, 0, 3, kBallEvil);  // its centre at the left end
  const unsigned long heavy = CuesPlayed(kCueHeavyBat);
  updateBalls();
  EXPECT_FLOAT_EQ(e.vx, -3.0f);  // -45 / 15
  EXPECT_EQ(play.batterFrame, 45);
  EXPECT_EQ(CuesPlayed(kCueHeavyBat), heavy + 1);
  play.batFrameW[1] = 0.0f;  // a bat without a picture: every landing is central
  Flying(1, 300, 444, -2, 3, kBallEvil);
  updateBalls();
  EXPECT_EQ(e.vx, 1.0f);
}

TEST_F(BallRulesTest, LaunchDrawOfNothingBecomesOneByTheFloor) {
  play.batX = 310.0f;
  spawnBall(0, 0, 0, 0, 0, kBallHeld);
  const std::uint32_t state = StateGiving([](int v) { return v % 3 == 1; });
  script::SetKey(KInputState::KeyCode(KEY_SPACE), true);
  updateBalls();
  EXPECT_EQ(DrawsSince(state), 1);
  const Ball& b = play.balls[0];
  EXPECT_EQ(b.kind, kBallNormal);
  EXPECT_FALSE(gameRecord.gravityOn);
  EXPECT_FLOAT_EQ(b.x, 330.2f);  // moved by 0.2 ...
  EXPECT_EQ(b.vx, 1.0f);          // ... then raised to 1
}

TEST_F(BallRulesTest, LiftMayExceedTheCapUpwardOnlyAndOneBallMakesItLast449Frames) {
  applyBonus(Kind(BonusKind::Lift));
  Ball& up = Flying(0, 300, 300, 2, -5.5f);
  Ball& down = Flying(1, 500, 300, 2, 6.0f);
  updateBalls();
  EXPECT_FLOAT_EQ(up.vy, -5.8f);
  EXPECT_FLOAT_EQ(down.vy, 5.5f);
  EXPECT_EQ(gameRecord.liftTimer, 448);  // once per ball in flight

  gravity = 0.0f;  // one ball floating still
  play.balls[1].active = false;
  Flying(0, 400, 200, 0, 0);
  applyBonus(Kind(BonusKind::Lift));
  int frames = 0;
  for (; frames < 1000; ++frames) {
    updatePlay();
    if (!gameRecord.liftOn) break;
  }
  EXPECT_EQ(frames, 449);
  EXPECT_FALSE(gameRecord.gravityOn);  // ended by the timer step, no hand-over

  Flying(0, 400, 200, 0, 0);
  Flying(1, 600, 200, 0, 0);
  applyBonus(Kind(BonusKind::Lift));
  for (int f = 0; f < 225; ++f) updatePlay();
  EXPECT_FALSE(gameRecord.liftOn);  // two balls take it through 1 in one frame
  EXPECT_TRUE(gameRecord.gravityOn);
  EXPECT_EQ(gameRecord.gravityTimer, 50);
}

TEST_F(BallRulesTest, BallsBumpAndTwoAtOnePointSkipTheExchange) {
  Ball& a = Flying(0, 100, 100, 1, 0);
  Ball& b = Flying(1, 110, 100, -1, 0);
  collideBalls(0, 1);
  EXPECT_FLOAT_EQ(a.vx, -0.9f);  // 1 + 10 % - 2
  EXPECT_FLOAT_EQ(b.vx, 1.0f);
  Ball& c = Flying(2, 200, 200, 1, 0.5f);
  Ball& d = Flying(3, 200, 200, -1, 0, kBallEvil);
  collideBalls(2, 3);
  EXPECT_FLOAT_EQ(c.vx, 1.1f);
  EXPECT_FLOAT_EQ(c.vy, 1.1f);  // 0.55 doubled
  EXPECT_EQ(d.vx, -1.0f);
  EXPECT_EQ(d.y, 180.0f);
  EXPECT_TRUE(c.shaking);
}

TEST_F(BallRulesTest, HitBrickSidesTopAndBottom) {
  Place(3, 300, 200, 999);  // 300..344 x 200..222
  const float cases[][4] = {
      {281, 201, 280, 201},  // centre left of it, level with it: out to the left
      {330, 201, 344, 201},  // centre inside: out to the right
      {310, 181, 310, 180},  // from above
      {310, 212, 310, 222},  // centre on the bottom edge: below
  };
  for (const auto& c : cases) {
    Ball& b = Flying(0, c[0], c[1], 2, 2);
    hitBrick(0, 3);
    EXPECT_EQ(b.x, c[2]) << c[0] << "," << c[1];
    EXPECT_EQ(b.y, c[3]) << c[0] << "," << c[1];
    EXPECT_EQ(b.vx, c[0] == 281 ? -2.0f : 2.0f);
    EXPECT_EQ(b.vy, c[1] == 181 ? -2.0f : 2.0f);
  }
}

TEST_F(BallRulesTest, DamageByStrengthClassAndEvilBall) {
  Place(0, 300, 200, 2);
  Flying(0, 310, 181, 0, 2);
  Flying(1, 310, 181, 0, 2, kBallEvil);
  hitBrick(0, 0);
  EXPECT_EQ(bricks[0].hits, 1);
  hitBrick(1, 0);
  EXPECT_FALSE(bricks[0].alive);  // 3 >= 2
  Place(1, 300, 200, 999);
  const unsigned long hits = CuesPlayed(kCueHit);
  hitBrick(1, 1);
  EXPECT_EQ(bricks[1].hits, 0);
  Place(2, 300, 200, 0).hits = 32766;  // bounces silently, never breaks
  hitBrick(1, 2);
  hitBrick(1, 2);
  EXPECT_TRUE(bricks[2].alive);
  EXPECT_EQ(bricks[2].hits, 32767);  // stops at the top instead of wrapping
  EXPECT_EQ(CuesPlayed(kCueHit), hits + 1);
}

TEST_F(BallRulesTest, EachBallMeetsTheLowestTouchingBrickAndTheStallBreaker) {
  Place(7, 300, 200, 5);
  Place(4, 330, 200, 5);
  Place(2, 600, 200).alive = 0;
  Flying(0, 320, 181, 0, 2);  // touches 7 and 4
  Flying(1, 590, 190, 0, 2);  // only the destroyed 2
  play.idleFrames = 1800;
  const std::uint32_t state = GameRandState();
  collideBallsWithBricks();
  EXPECT_EQ(bricks[4].hits, 1);
  EXPECT_EQ(bricks[7].hits, 0);
  EXPECT_EQ(play.balls[1].vy, 2.0f);
  EXPECT_TRUE(gameRecord.gravityOn && gameRecord.gravityTimer >= 200 && gameRecord.gravityTimer < 400);
  EXPECT_EQ(DrawsSince(state), 1);
}

}  // namespace
