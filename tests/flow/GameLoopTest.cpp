// Pieces of the game loop on their own: the lost-life test and the state a life starts with.
#include "FlowTest.h"
#include "PlayGame.h"

namespace {

using GameLoopTest = FlowTest;

TEST_F(GameLoopTest, ALifeIsLostOnceNoBallIsInPlayAndNoCrateExplodes) {
  play.bullets[3].active = play.shellCasings[3].active = true;
  ResetLevelState(false);  // after a lost life: the shots stay, a ball waits on the bat
  EXPECT_TRUE(play.bullets[3].active);
  ASSERT_TRUE(play.balls[0].active);
  EXPECT_EQ(play.balls[0].kind, kBallHeld);
  EXPECT_FALSE(allBallsLost());
  play.balls[0].active = false;
  EXPECT_TRUE(allBallsLost());
  // Any crate still exploding holds the life back, the last slot as much as the first (the
  // level-cleared test, which comes first in a frame, waits for the same explosions).
  for (int brick : {0, 9, 10, kBrickCount - 1}) {
    bricks[brick].explosionTimer = 4;
    EXPECT_FALSE(allBallsLost()) << brick;
    bricks[brick].explosionTimer = 0;
  }
  ResetLevelState(true);  // a fresh level: the shots are gone too
  EXPECT_FALSE(play.bullets[3].active);
  EXPECT_FALSE(play.shellCasings[3].active);
}

}  // namespace
