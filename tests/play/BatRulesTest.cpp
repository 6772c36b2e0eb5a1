// The bat on its track, keys and stick through the pointer, the frozen bat, the demonstration
// pilot, the gun bat's timing and its bullets.
#include "Input.h"
#include "RulesTest.h"

#include <cmath>
#include <vector>

namespace {

using BatRulesTest = RulesTest;

TEST_F(BatRulesTest, StepOfAtMost160PixelsAndTravelLimitsPerKind) {
  script::SetPointer(2000, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.batX, 560.0f);  // 40 % of at most 400

  const float low[4] = {159, 162, 167, 162};
  const float high[4] = {733, 730, 725, 730};
  for (int kind = 0; kind < 4; ++kind) {
    gameRecord.batKind = static_cast<std::int16_t>(kind);
    script::SetPointer(-1000, 300);
    for (int f = 0; f < 10; ++f) steerBat();
    EXPECT_EQ(play.batX, low[kind]) << kind;
    script::SetPointer(2000, 300);
    for (int f = 0; f < 10; ++f) steerBat();
    EXPECT_EQ(play.batX, high[kind]) << kind;
    // Pinned at the limit: the track and the rolling monkey stay.
    const float track = play.trackScroll, monkey = play.monkeyFrame;
    steerBat();
    EXPECT_EQ(play.trackScroll, track);
    EXPECT_EQ(play.monkeyFrame, monkey);
  }
}

TEST_F(BatRulesTest, TargetOnTheBatMovesNothingAndLongStepsWrapTheTrack) {
  play.trackScroll = 80.0f;
  play.monkeyFrame = 3.5f;
  script::SetPointer(400, 300);
  steerBat();
  EXPECT_EQ(play.batX, 400.0f);
  EXPECT_EQ(play.trackScroll, 80.0f);
  EXPECT_EQ(play.monkeyFrame, 3.5f);

  // A 160-pixel step from 80 wraps twice, back into the piece.
  play.batX = 300.0f;
  script::SetPointer(800, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.batX, 460.0f);
  EXPECT_FLOAT_EQ(play.trackScroll, 64.0f);
  EXPECT_FLOAT_EQ(play.monkeyFrame, 4.5f);  // the turn is at most one frame
  play.batX = 700.0f;
  play.trackScroll = 5.0f;
  script::SetPointer(0, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.trackScroll, 21.0f);  // 5 - 160 + 2 x 88
}

TEST_F(BatRulesTest, KeysAndStickMoveThePointer) {
  script::SetPointer(300, 200);
  script::SetKey(KInputState::KeyCode(KEY_RIGHT), true);
  steerBat();
  EXPECT_EQ(MouseX(), 308);
  EXPECT_FLOAT_EQ(play.batX, 400.0f + (308.0f - 400.0f) / 5.0f * 2.0f);
  // Where the pointer cannot be moved the engine keeps the position.
  script::SetWarpAllowed(false);
  steerBat();
  EXPECT_EQ(MouseX(), 316);
  script::SetKey(KInputState::KeyCode(KEY_LEFT), true);
  steerBat();
  EXPECT_EQ(MouseX(), 316);
  script::ReleaseAllKeys();

  // The stick steers only when the gamepad was chosen.
  script::SetWarpAllowed(true);
  script::SetJoystickPresent(true);
  ASSERT_TRUE(KInputState::CaptureJoystick(0));
  script::SetJoystickAxis(65535);
  steerBat();
  EXPECT_EQ(MouseX(), 316);
  gamepadEnabled = 1;
  steerBat();
  EXPECT_EQ(MouseX(), 324);
  script::SetJoystickAxis(0);
  steerBat();
  EXPECT_EQ(MouseX(), 316);
  KInputState::ReleaseJoystick(0);
}

TEST_F(BatRulesTest, FrozenBatCreepsToItsOwnPixelFor50Frames) {
  play.batX = 300.7f;
  script::SetPointer(700, 300);
  applyBonus(static_cast<int>(BonusKind::FreezeBat));
  steerBat();  // the frame of the catch
  EXPECT_NEAR(play.batX, 300.42f, 1e-4);
  int frozenFrames = 1;
  for (;;) {
    updatePlay();
    if (play.batX >= 301.0f) break;
    EXPECT_GE(play.batX, 300.0f);
    ASSERT_LT(++frozenFrames, 200);
  }
  EXPECT_EQ(frozenFrames, 50);
  EXPECT_FALSE(gameRecord.batFrozen);
}

TEST_F(BatRulesTest, DemoPilotLaunchesAndFollowsTheLowestBallAboveTheBat) {
  gameRecord.demoMode = true;
  spawnBall(0, 0, 0, 0, 0, kBallHeld);
  ASSERT_TRUE(gameRecord.gravityOn);
  Flying(1, 250, 300, 1, 1);
  Flying(2, 500, 440, 1, 1);
  Flying(3, 700, 440, 1, 1);  // as near: the first wins
  Flying(4, 600, 471, 1, 1);  // below the line: not followed
  EXPECT_EQ(pilotDemoBat(), 505);  // cos(0.09) x 16 + 500 - 10
  EXPECT_EQ(play.balls[0].kind, kBallNormal);
  EXPECT_FLOAT_EQ(play.balls[0].vx, 0.4f);
  EXPECT_FLOAT_EQ(play.balls[0].vy, -1.0f);
  EXPECT_FALSE(gameRecord.gravityOn);
  play.demoPhase = 6.25f;
  pilotDemoBat();
  EXPECT_EQ(play.demoPhase, 0.0f);
}

TEST_F(BatRulesTest, HeldTriggerFiresAfter16FramesThenEvery22) {
  gameRecord.batKind = 3;
  play.batX = 300.0f;
  script::SetPointer(300, 300);
  std::vector<int> shots;
  for (int frame = 1; frame <= 70; ++frame) {
    pullGunTrigger();
    const unsigned long before = CuesPlayed(kCueShoot);
    const std::uint32_t state = GameRandState();
    updatePlay();
    if (CuesPlayed(kCueShoot) == before) continue;
    shots.push_back(frame);
    EXPECT_EQ(DrawsSince(state), 2);  // the casing's two speeds
  }
  EXPECT_EQ(shots, (std::vector<int>{16, 38, 60}));
  EXPECT_EQ(play.nextGunSlot, 3);
  const Bullet& b = play.bullets[2];
  EXPECT_TRUE(b.active);
  EXPECT_EQ(b.x, 327.0f);
  EXPECT_EQ(b.y, 449.0f - 16.0f * 11);
  const ShellCasing& c = play.shellCasings[2];
  EXPECT_TRUE(c.active);
  EXPECT_TRUE(c.vx >= -6.0f && c.vx <= -3.0f) << c.vx;
  EXPECT_FLOAT_EQ(c.x, 312.0f + 11 * c.vx);
  // Let go: the animation runs out and the gun is idle again.
  for (int frame = 0; frame < 60; ++frame) updatePlay();
  EXPECT_EQ(play.gunFrameX, -1);
  EXPECT_EQ(play.gunStep, 0);
  play.nextGunSlot = 9;
  play.gunStep = 7;
  play.gunFrameX = 0;
  play.gunDivider = 1;
  stepGun();
  EXPECT_EQ(play.nextGunSlot, 0);  // the oldest shot is overwritten next
}

TEST_F(BatRulesTest, OneBulletPushesEveryBallItIsIn) {
  Ball& a = Flying(0, 300, 200, 0, 1);
  Ball& e = Flying(1, 295, 195, 0, 1, kBallEvil);
  Flying(2, 400, 200, 0, 1);
  play.bullets[0] = Bullet{305, 226, 0, -16, true};
  updateBullets();
  EXPECT_FALSE(play.bullets[0].active);
  EXPECT_FLOAT_EQ(a.vy, -1.0f);
  EXPECT_FLOAT_EQ(e.vy, -1.0f);
  EXPECT_FALSE(a.shaking);
  EXPECT_TRUE(e.shaking);
  EXPECT_EQ(e.shakeTimer, 16);
  EXPECT_FLOAT_EQ(play.balls[2].vy, 1.0f);
}

}  // namespace
