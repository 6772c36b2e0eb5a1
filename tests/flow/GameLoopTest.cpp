// Pieces of the game loop on their own: the lost-life test and the state a life starts with.
#include "game/playscreen/PlayGame.h"
#include "tests/flow/FlowTest.h"

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
  // Only the explosions of bricks 0..9 (one for each ball slot) hold the life back.
  for (int brick : {0, 9, 10, kBrickCount - 1}) {
    bricks[brick].explosionTimer = 4;
    EXPECT_EQ(allBallsLost(), brick >= kBallCount) << brick;
    bricks[brick].explosionTimer = 0;
  }
  ResetLevelState(true);  // a fresh level: the shots are gone too
  EXPECT_FALSE(play.bullets[3].active);
  EXPECT_FALSE(play.shellCasings[3].active);
}

TEST_F(GameLoopTest, TheIslandJustLoadedWithItsMapIsKeptForTheLevelStart) {
  WriteLevelPictures();
  ASSERT_TRUE(ReadLevelFile(WriteMap("a.map", MapBytes()).c_str()));
  const KGraphic* island = levelPictures.islandPicture;
  const KGraphic* grass = levelPictures.grassPicture;
  ASSERT_TRUE(island && grass);
  EXPECT_TRUE(LoadIslandAgain());
  EXPECT_EQ(levelPictures.islandPicture, island);
  EXPECT_EQ(levelPictures.grassPicture, grass);
  // Another backdrop named, or the pictures freed: loaded again.
  WritePicture("data/levels/islands/island2.bmp", 800, 600, kGrass);
  std::snprintf(levelMap.islandImage, sizeof levelMap.islandImage, "%s", "island2.bmp");
  EXPECT_TRUE(LoadIslandAgain());
  EXPECT_EQ(levelPictures.islandPicture->Surface()->pixels[0], C565(kGrass));
  FreeLevelImages();
  EXPECT_TRUE(LoadIslandAgain());
  EXPECT_NE(levelPictures.islandPicture, nullptr);
  // A backdrop that fell back on the beach is looked for again, with its box.
  std::remove(dir.File("data/levels/islands/island2.bmp").c_str());
  WritePicture("data/levels/islands/beach.bmp", 800, 600, kIsland);
  ASSERT_TRUE(LoadIsland());
  script::ClearRecords();
  EXPECT_TRUE(LoadIslandAgain());
  EXPECT_TRUE(HasBox("file not found | " + dir.File("data/levels/islands/island2.bmp")));
}

}  // namespace
