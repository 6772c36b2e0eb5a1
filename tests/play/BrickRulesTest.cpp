// Bricks: what breaking one draws and gives, the catch windows, explosions and the end of the
// level, the quake, bullets against each strength class.
#include "game/layout/PlaySheet.h"
#include "tests/play/RulesTest.h"

#include <cmath>

namespace {

using BrickRulesTest = RulesTest;

TEST_F(BrickRulesTest, DestroyBrickDrawsFruitKindAnglePairAndPeriodInOrder) {
  Brick& r = Place(5, 300, 100, 1, Kind(BonusKind::LargeBat));
  const std::uint32_t s = StateGiving([](int v) { return v % 10 < 8; });
  GameRand();
  const int kind = GameRand() % 4, a = GameRand(), b = GameRand(), period = GameRand() % 8 + 5;
  GameRandSetState(s);
  destroyBrick(5);
  EXPECT_EQ(DrawsSince(s), 5);
  const Fruit& f = play.fruits[5];
  EXPECT_EQ(f.x, 302.0f);
  EXPECT_EQ(f.vx, static_cast<float>(std::cos(a)));
  EXPECT_EQ(f.vy, static_cast<float>(std::sin(b)));
  EXPECT_EQ(f.frameW, kFruitKinds[kind].frameW);
  EXPECT_EQ(f.period, period);
  EXPECT_EQ(r.explosionTimer, 1);
  EXPECT_EQ(gameRecord.score, 5);
  EXPECT_EQ(play.bonusDrops[5].kind, 7);

  Place(6, 300, 100);  // no fruit: two draws
  const std::uint32_t t = StateGiving([](int v) { return v % 10 >= 8; });
  destroyBrick(6);
  EXPECT_EQ(DrawsSince(t), 2);
  EXPECT_FALSE(play.fruits[6].active);
}

TEST_F(BrickRulesTest, FruitAndCapsuleAreCaughtOnlyOverTheBat) {
  gravity = 0.0f;
  play.batX = 300.0f;  // medium bat, 80 wide
  // Fruit is caught with its top from 445, a capsule from 455; both down to 545.
  struct Case {
    float x, fruitY, capsuleY;
    bool caught;
  } cases[] = {{270, 445, 455, true},  {269, 445, 455, false}, {380, 445, 455, true}, {381, 445, 455, false},
               {300, 444, 454, false}, {300, 545, 545, true},  {300, 546, 546, false}};
  for (const Case& c : cases) {
    const int score = gameRecord.score, lives = gameRecord.lives;
    play.fruits[0] = Fruit{true, c.x, c.fruitY, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5};
    updateFruitAndBricks();
    EXPECT_EQ(gameRecord.score - score, c.caught ? 100 : 0) << c.x << "," << c.fruitY;
    EXPECT_EQ(play.fruits[0].active, !c.caught);
    play.bonusDrops[0] = BonusDrop{true, c.x, c.capsuleY - 1, 1, 3, 290, 0};  // falls 1 first
    updateBonusDrops();
    EXPECT_EQ(gameRecord.lives - lives, c.caught ? 1 : 0) << c.x << "," << c.capsuleY;
  }
  play.bonusDrops[0] = BonusDrop{true, 300, 599, 1, 3, 290, 0};
  updateBonusDrops();
  EXPECT_FALSE(play.bonusDrops[0].active);
}

TEST_F(BrickRulesTest, LastExplosionHoldsTheLevelFor30Frames) {
  Place(0, 300, 100);
  Place(1, 400, 100, 150);  // need not be cleared
  Place(2, 500, 100, 0);    // must be, though balls never break it
  EXPECT_FALSE(isLevelCleared());
  bricks[2].alive = 0;
  for (int frameTicks : {30, 5}) {  // six frames of five; without a picture, one
    Place(0, 300, 100);
    destroyBrick(0);
    int frames = 0;
    for (; !isLevelCleared() && frames < 100; ++frames) updateFruitAndBricks();
    EXPECT_EQ(frames, frameTicks);
    gameSprites.explosionPicture = nullptr;
  }
}

TEST_F(BrickRulesTest, QuakeOf50MovesStandingBricks49Pixels) {
  Place(0, 300, 100);
  Place(1, 400, 100).alive = 0;
  applyBonus(Kind(BonusKind::Quake));
  for (int f = 0; f < 60; ++f) updateFruitAndBricks();
  EXPECT_EQ(bricks[0].top, 149.0f);
  EXPECT_EQ(bricks[0].bottom, 171.0f);
  EXPECT_EQ(bricks[1].top, 100.0f);
  EXPECT_FALSE(gameRecord.quakeOn);
}

TEST_F(BrickRulesTest, BulletsBreakBelow900AtOnceAndClankAbove) {
  const int strengths[] = {0, 1, 150, 899, 900, 999};
  for (int i = 0; i < 6; ++i) {
    const Brick& r = Place(i, 180 + 60 * i, 100, strengths[i]);
    play.bullets[i] = Bullet{r.right, r.bottom, 0, -16, true};  // edges count
  }
  const unsigned long metal = CuesPlayed(kCueMetal);
  updateFruitAndBricks();
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(bricks[i].alive, i >= 4 ? 1 : 0) << strengths[i];
    EXPECT_FALSE(play.bullets[i].active);
  }
  EXPECT_EQ(CuesPlayed(kCueMetal), metal + 2);
}

}  // namespace
