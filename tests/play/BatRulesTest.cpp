// The bat on its track, keys and stick through the pointer, the frozen bat, the gun bat.
#include "game/ui/Input.h"
#include "tests/play/RulesTest.h"

#include <vector>

namespace {

using BatRulesTest = RulesTest;

TEST_F(BatRulesTest, StepOfAtMost160PixelsAndTravelLimitsPerKind) {
  script::SetPointer(2000, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.batX, 560.0f);
  const float low[4] = {159, 162, 167, 162}, high[4] = {733, 730, 725, 730};
  for (int kind = 0; kind < 4; ++kind) {
    gameRecord.batKind = static_cast<std::int16_t>(kind);
    for (int x : {-1000, 2000}) {
      script::SetPointer(x, 300);
      for (int f = 0; f < 10; ++f) steerBat();
      EXPECT_EQ(play.batX, x < 0 ? low[kind] : high[kind]) << kind;
    }
    const float track = play.trackScroll, monkey = play.monkeyFrame;
    steerBat();  // pinned: the track and the rolling monkey stay
    EXPECT_EQ(play.trackScroll, track);
    EXPECT_EQ(play.monkeyFrame, monkey);
  }
}

TEST_F(BatRulesTest, TargetOnTheBatMovesNothingAndLongStepsWrapTheTrack) {
  play.trackScroll = 80.0f;
  steerBat();  // pointer at 400, like the bat
  EXPECT_EQ(play.trackScroll, 80.0f);
  EXPECT_EQ(play.monkeyFrame, 0.0f);
  play.batX = 300.0f;
  script::SetPointer(800, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.trackScroll, 64.0f);  // 80 + 160 - 2 x 88
  EXPECT_FLOAT_EQ(play.monkeyFrame, 1.0f);
  script::SetPointer(0, 300);
  steerBat();
  EXPECT_FLOAT_EQ(play.trackScroll, 80.0f);  // 64 - 160 + 2 x 88
}

TEST_F(BatRulesTest, KeysAndStickMoveThePointer) {
  script::SetKey(KInputState::KeyCode(KEY_RIGHT), true);
  script::SetWarpAllowed(false);  // the engine keeps the moved position
  steerBat();
  EXPECT_EQ(MouseX(), 408);
  script::ReleaseAllKeys();
  script::SetJoystickPresent(true);
  ASSERT_TRUE(KInputState::CaptureJoystick(0));
  script::SetJoystickAxis(0);
  steerBat();
  EXPECT_EQ(MouseX(), 408);  // the stick only when the gamepad was chosen
  gamepadEnabled = 1;
  steerBat();
  EXPECT_EQ(MouseX(), 400);
  KInputState::ReleaseJoystick(0);
}

TEST_F(BatRulesTest, FrozenBatCreepsToItsOwnPixelFor50Frames) {
  play.batX = 300.7f;
  script::SetPointer(700, 300);
  applyBonus(Kind(BonusKind::FreezeBat));
  steerBat();  // the frame of the catch
  EXPECT_NEAR(play.batX, 300.42f, 1e-4);
  int frozenFrames = 1;
  for (; frozenFrames < 200; ++frozenFrames) {
    updatePlay();
    if (play.batX >= 301.0f) break;
  }
  EXPECT_EQ(frozenFrames, 50);
}

TEST_F(BatRulesTest, HeldTriggerFiresAfter16FramesThenEvery22) {
  gameRecord.batKind = 3;
  play.gunFrameW = 40;  // a sheet of 7 x 4 frames
  play.gunFrameH = 50;
  play.gunSheetW = 280;
  play.gunSheetH = 200;
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
  EXPECT_EQ(play.bullets[2].y, 449.0f - 16.0f * 11);
  EXPECT_TRUE(play.shellCasings[2].vx >= -6.0f && play.shellCasings[2].vx <= -3.0f);
  for (int frame = 0; frame < 60; ++frame) updatePlay();  // let go: the animation runs out
  EXPECT_EQ(play.gunFrameX, -1);
}

}  // namespace
