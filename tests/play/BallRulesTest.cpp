// Balls: walls, ceiling, floor, the bat bounce, the held ball, the timed effects and the
// speed floor, the evil push, ball against ball, ball against brick.
#include "Input.h"
#include "RulesTest.h"

#include <cmath>

namespace {

using BallRulesTest = RulesTest;

TEST_F(BallRulesTest, RightWallTakesTheStepBackAndClampsOnlyThere) {
  Ball& b = Flying(0, 760, 300, 6, 2);
  const unsigned long walls = CuesPlayed(kCueWall);
  updateBalls();  // 766 = 786 - 20 touches the wall
  EXPECT_EQ(b.x, 760.0f);
  EXPECT_EQ(b.vx, -6.0f);
  EXPECT_EQ(CuesPlayed(kCueWall), walls + 1);

  b.x = 770;  // already past it: put just inside
  b.vx = 1.5f;
  updateBalls();
  EXPECT_EQ(b.x, 765.0f);
  EXPECT_EQ(b.vx, -1.5f);

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
  EXPECT_EQ(b.vy, 3.0f);
  EXPECT_EQ(b.vx, 0.5f);  // no speed floor
  EXPECT_EQ(b.animTick, 0);
  EXPECT_EQ(gameRecord.gravityTimer, 100);

  gameRecord.gravityOn = false;
  gameRecord.monkeyHappy = true;
  b = Ball{};
  Flying(0, 400, 599, 1, 1);
  updateBalls();
  EXPECT_TRUE(play.balls[0].active);  // exactly at 600
  EXPECT_EQ(play.balls[0].y, 600.0f);
  updateBalls();
  EXPECT_FALSE(play.balls[0].active);
  EXPECT_FALSE(gameRecord.monkeyHappy);
}

TEST_F(BallRulesTest, BatBounceSlantDrummerAndCancelledGun) {
  play.batX = 300.0f;
  play.gunFrameX = 80;
  play.gunStep = 5;
  play.idleFrames = 99;
  Ball& b = Flying(0, 330, 450, 0, 3);  // centre over the bat's middle
  Ball& m = Flying(2, 300 + 80 + 10, 450, 0, 3);  // just beyond the bat's right end
  updateBalls();
  EXPECT_EQ(m.vy, 3.0f);
  m.active = false;
  EXPECT_EQ(b.y, 452.0f);
  EXPECT_EQ(b.vy, -1.5f);
  EXPECT_FLOAT_EQ(b.bounceSpeed, 1.7f);
  EXPECT_EQ(b.vx, 1.0f);  // 0.05, raised by the speed floor
  EXPECT_EQ(play.batterFrame, 55);
  EXPECT_EQ(play.batterLastFrame, 64);
  EXPECT_EQ(play.gunFrameX, -1);
  EXPECT_EQ(play.gunStep, 0);
  EXPECT_EQ(play.idleFrames, 0);
  EXPECT_TRUE(gameRecord.monkeyHappy);

  const unsigned long heavy = CuesPlayed(kCueHeavyBat);
  Ball& e = Flying(1, 291, 444, 0, 3, kBallEvil);  // 444 + 3 + 26 = 473; the left end
  updateBalls();
  EXPECT_EQ(e.y, 472.0f - 26.0f);
  EXPECT_FLOAT_EQ(e.vx, -3.0f);  // -45 / 15
  EXPECT_EQ(play.batterFrame, 45);
  EXPECT_EQ(CuesPlayed(kCueHeavyBat), heavy + 1);
}

TEST_F(BallRulesTest, HeldBallHopsAndLaunchesWithOneDraw) {
  play.batX = 300.0f;
  spawnBall(0, 0, 0, 0, 0, kBallHeld);
  Ball& b = play.balls[0];
  EXPECT_EQ(b.y, 425.0f);
  EXPECT_EQ(gameRecord.gravityTimer, 99999);
  const unsigned long hops = CuesPlayed(kCueHop);
  for (int f = 0; f < 200; ++f) updateBalls();
  EXPECT_GT(CuesPlayed(kCueHop), hops);
  EXPECT_EQ(b.kind, kBallHeld);
  EXPECT_EQ(b.x, 320.0f);
  EXPECT_EQ(gameRecord.gravityTimer, 99999);  // not counted while held

  // A draw that gives 0 launches at 0.2, which the speed floor makes 1 in the same frame.
  play.batX = 310.0f;
  spawnBall(0, 0, 0, 0, 0, kBallHeld);
  const std::uint32_t state = StateGiving([](int v) { return v % 3 == 1; });
  script::SetKey(KInputState::KeyCode(KEY_SPACE), true);
  updateBalls();
  EXPECT_EQ(DrawsSince(state), 1);
  EXPECT_EQ(b.kind, kBallNormal);
  EXPECT_FALSE(gameRecord.gravityOn);
  EXPECT_EQ(gameRecord.gravityTimer, 0);
  EXPECT_FLOAT_EQ(b.x, 330.2f);
  EXPECT_EQ(b.vx, 1.0f);
  EXPECT_EQ(b.vy, 2.0f);
  EXPECT_FLOAT_EQ(b.y, 425.0f + 0.24f + 2.0f);
}

TEST_F(BallRulesTest, LiftMayExceedTheCapUpwardOnly) {
  gameRecord.liftOn = true;
  gameRecord.liftTimer = 100;
  Ball& up = Flying(0, 300, 300, 2, -5.5f);
  Ball& down = Flying(1, 500, 300, 2, 6.0f);
  updateBalls();
  EXPECT_FLOAT_EQ(up.vy, -5.8f);
  EXPECT_FLOAT_EQ(down.vy, 5.5f);
  EXPECT_EQ(gameRecord.liftTimer, 98);  // once per ball in flight
}

TEST_F(BallRulesTest, OneLiftWithOneBallLasts449FramesWithoutHandOver) {
  gravity = 0.0f;  // the ball floats where it is
  Flying(0, 400, 200, 0, 0);
  applyBonus(static_cast<int>(BonusKind::Lift));
  int frames = 0;
  while (gameRecord.liftOn && frames < 1000) {
    updatePlay();
    if (gameRecord.liftOn) ++frames;
  }
  EXPECT_EQ(frames, 449);
  EXPECT_FALSE(gameRecord.gravityOn);
  EXPECT_EQ(gameRecord.liftTimer, 0);

  // Two balls take the timer through 1 within a frame: the lift hands over to gravity.
  Flying(0, 400, 200, 0, 0);
  Flying(1, 600, 200, 0, 0);
  applyBonus(static_cast<int>(BonusKind::Lift));
  for (int f = 0; f < 225; ++f) updatePlay();
  EXPECT_FALSE(gameRecord.liftOn);
  EXPECT_TRUE(gameRecord.gravityOn);
  EXPECT_EQ(gameRecord.gravityTimer, 50);
}

TEST_F(BallRulesTest, SpeedFloorAfterSlowBallsAndGravityEnd) {
  Ball& b = Flying(0, 300, 300, 1.2f, -1.4f);
  applyBonus(static_cast<int>(BonusKind::SlowBalls));
  updateBalls();
  EXPECT_EQ(b.vx, 1.0f);
  EXPECT_EQ(b.vy, -1.0f);

  // Gravity ending with the ball rising slowly sends it on at speed 1.
  gameRecord.gravityOn = true;
  gameRecord.gravityTimer = 1;
  b.vy = -0.5f;
  updateBalls();
  EXPECT_FALSE(gameRecord.gravityOn);
  EXPECT_EQ(b.vy, -1.0f);
}

TEST_F(BallRulesTest, EvilBallPushesTheOthersAway) {
  Ball& e = Flying(0, 300, 300, 0, 0, kBallEvil);
  Ball& o = Flying(1, 340, 300, 0, 0);
  Ball& far = Flying(2, 100, 100, -5.499f, 0);
  repelFromEvilBalls();
  EXPECT_FLOAT_EQ(o.vx, 150.0f / 1600.0f);
  EXPECT_FLOAT_EQ(o.vy, 150.0f / 1600.0f);  // same height: pushed down
  EXPECT_EQ(e.vx, 0.0f);
  EXPECT_EQ(far.vx, -5.5f);  // up and left, held to the limit
  EXPECT_FLOAT_EQ(far.vy, -150.0f / 80000.0f);
}

TEST_F(BallRulesTest, BallsBumpAndTwoAtOnePointSkipTheExchange) {
  Ball& a = Flying(0, 100, 100, 1, 0);
  Ball& b = Flying(1, 110, 100, -1, 0);
  collideBalls(0, 1);
  EXPECT_FLOAT_EQ(a.vx, -0.9f);  // 1 + 10 % - 2
  EXPECT_FLOAT_EQ(b.vx, 1.0f);
  EXPECT_EQ(b.y, 100.0f);

  Ball& c = Flying(2, 200, 200, 1, 0.5f);
  Ball& d = Flying(3, 200, 200, -1, 0, kBallEvil);
  const unsigned long hits = CuesPlayed(kCueHit);
  collideBalls(2, 3);
  EXPECT_FLOAT_EQ(c.vx, 1.1f);
  EXPECT_FLOAT_EQ(c.vy, 1.1f);  // 0.55 doubled
  EXPECT_EQ(d.vx, -1.0f);
  EXPECT_EQ(d.y, 180.0f);
  EXPECT_TRUE(c.shaking);
  EXPECT_EQ(CuesPlayed(kCueHit), hits + 1);

  Ball& f = Flying(4, 300, 300, 1, 1);
  Flying(5, 317, 300, 1, 1);  // 289 > 270: apart
  collideBalls(4, 5);
  EXPECT_EQ(f.vx, 1.0f);
}

TEST_F(BallRulesTest, HitBrickSidesTopAndBottom) {
  Place(3, 300, 200, 999);  // 300..344 x 200..222
  struct Case {
    float x, y, wantX, wantY, wantVx, wantVy;
  } cases[] = {
      {281, 201, 280, 201, -2, 2},  // centre left of it, level with it
      {330, 201, 344, 201, 2, 2},   // centre inside: out to the right
      {310, 181, 310, 180, 2, -2},  // from above
      {310, 212, 310, 222, 2, 2},   // from below (centre on the bottom edge)
  };
  for (const Case& c : cases) {
    Ball& b = Flying(0, c.x, c.y, 2, 2);
    bricks[3].hits = 0;
    hitBrick(0, 3);
    EXPECT_EQ(b.x, c.wantX) << c.x << "," << c.y;
    EXPECT_EQ(b.y, c.wantY) << c.x << "," << c.y;
    EXPECT_EQ(b.vx, c.wantVx) << c.x << "," << c.y;
    EXPECT_EQ(b.vy, c.wantVy) << c.x << "," << c.y;
  }
}

TEST_F(BallRulesTest, DamageByStrengthClassAndEvilBall) {
  Place(0, 300, 200, 2);
  Flying(0, 310, 181, 0, 2);
  hitBrick(0, 0);
  EXPECT_EQ(bricks[0].hits, 1);
  EXPECT_TRUE(bricks[0].alive);
  Flying(1, 310, 181, 0, 2, kBallEvil);
  hitBrick(1, 0);
  EXPECT_FALSE(bricks[0].alive);  // 3 >= 2

  Place(1, 300, 200, 999);
  const unsigned long hits = CuesPlayed(kCueHit);
  hitBrick(1, 1);
  EXPECT_EQ(bricks[1].hits, 0);
  EXPECT_EQ(CuesPlayed(kCueHit), hits + 1);

  Place(2, 300, 200, 0);  // bounces silently, never breaks
  bricks[2].hits = 32766;
  hitBrick(1, 2);
  hitBrick(1, 2);
  EXPECT_TRUE(bricks[2].alive);
  EXPECT_EQ(bricks[2].hits, 32767);  // stops at the top instead of wrapping
  EXPECT_EQ(CuesPlayed(kCueHit), hits + 1);
}

TEST_F(BallRulesTest, EachBallMeetsTheLowestTouchingBrickAndTheStallBreaker) {
  Place(7, 300, 200, 5);
  Place(4, 330, 200, 5);
  Place(2, 600, 200);
  bricks[2].alive = 0;
  Flying(0, 320, 181, 0, 2);  // touches 7 and 4
  Flying(1, 590, 190, 0, 2);  // only the destroyed 2
  play.idleFrames = 1800;
  const std::uint32_t state = GameRandState();
  collideBallsWithBricks();
  EXPECT_EQ(bricks[4].hits, 1);
  EXPECT_EQ(bricks[7].hits, 0);
  EXPECT_EQ(play.balls[1].vy, 2.0f);
  EXPECT_EQ(play.idleFrames, 0);
  EXPECT_TRUE(gameRecord.gravityOn);
  EXPECT_TRUE(gameRecord.gravityTimer >= 200 && gameRecord.gravityTimer < 400);
  EXPECT_EQ(DrawsSince(state), 1);
}

}  // namespace
