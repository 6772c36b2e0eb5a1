// Bonuses: Surprise, the bat sizes, capsules at release, the caption, the auto-breaker and
// the resets.
#include "game/layout/PlaySheet.h"
#include "tests/play/RulesTest.h"

namespace {

using BonusRulesTest = RulesTest;

TEST_F(BonusRulesTest, SurpriseReleasesThePickedKindOrNothing) {
  const int picks[15] = {2, 3, 4, 5, 6, 7, 8, 9, 14, 16, 17, 21, 22, 15, 11};
  for (int i = 0; i < 15; ++i) {
    Place(0, 300.7f, 100);
    play.balls[0].active = false;
    play.bonusDrops[0].fallSpeed = 2;
    const std::uint32_t s = StateGiving([i](int v) { return v % 15 == i; });
    releaseBonus(0, Kind(BonusKind::Surprise));
    const BonusDrop& d = play.bonusDrops[0];
    const int p = picks[i];
    EXPECT_EQ(play.balls[0].active, p == 14) << p;
    EXPECT_EQ(d.active, p != 9 && p != 11 && p != 17 && p != 14) << p;  // no capsule left by an evil ball
    if (p == 14) {
      EXPECT_EQ(play.balls[0].kind, kBallEvil);
      EXPECT_EQ(play.balls[0].x, 308.0f);  // left + 8, truncated
      EXPECT_EQ(DrawsSince(s), 2);
    }
    if (d.active) {
      EXPECT_EQ(d.kind, p);
      EXPECT_EQ(d.iconY, FindBonusArt(p)->iconY);
      EXPECT_EQ(d.fallSpeed, 2.0f);
    }
  }
}

TEST_F(BonusRulesTest, ShrinkAndGrowStayWithinSmallAndLargeAndTheGunBatTurnsLarge) {
  const int shrink = Kind(BonusKind::ShrinkBat), grow = Kind(BonusKind::GrowBat);
  const int cases[][3] = {{shrink, 0, 0}, {shrink, 1, 0}, {shrink, 3, 2}, {grow, 2, 2}, {grow, 0, 1}, {grow, 3, 2}};
  for (const auto& c : cases) {
    gameRecord.batKind = static_cast<std::int16_t>(c[1]);
    applyBonus(c[0]);
    EXPECT_EQ(gameRecord.batKind, c[2]) << c[0] << " on " << c[1];
  }
}

TEST_F(BonusRulesTest, CapsuleMoodAndTheCaptionSlide) {
  gameRecord.monkeyHappy = true;
  releaseBonus(3, Kind(BonusKind::SmallBat));
  EXPECT_FALSE(gameRecord.monkeyHappy);
  releaseBonus(4, 12);  // no such capsule
  EXPECT_FALSE(play.bonusDrops[4].active);

  applyBonus(Kind(BonusKind::GunBat));
  int frames = 0;
  for (; play.captionOn && frames < 1000; ++frames) {
    updateBonusDrops();
    if (frames == 100) {  // an auto-breaker hides it; the next caption starts where it stood
      applyBonus(Kind(BonusKind::AutoBreaker));
      EXPECT_FALSE(play.captionOn);
      applyBonus(Kind(BonusKind::Lift));
      EXPECT_EQ(play.captionIcon, 84);
      EXPECT_EQ(play.captionY, 572);
    }
  }
  EXPECT_EQ(frames, 101 + 200 + 14);  // 200 at rest, 14 sinking
  EXPECT_EQ(play.captionY, 600);
}

TEST_F(BonusRulesTest, AutoBreakerLevelBonusAndCapsuleReset) {
  Place(0, 200, 100, 51);
  Place(1, 300, 100, 0);
  Place(2, 400, 100, 50);
  applyBonus(Kind(BonusKind::AutoBreaker));
  gameRecord.levelBonus = 2;
  for (int f = 1; f <= 213; ++f) {
    updatePlay();
    if (f == 6 || f == 7) {
      EXPECT_EQ(bricks[1].alive, f == 6 ? 1 : 0);
    }
    if (f == 71) {
      EXPECT_EQ(gameRecord.levelBonus, 1);
    }
  }
  EXPECT_FALSE(bricks[2].alive);
  EXPECT_TRUE(bricks[0].alive);  // above 50
  EXPECT_EQ(gameRecord.levelBonus, 0);

  const std::uint32_t s = GameRandState();
  resetBonusDrops();
  EXPECT_EQ(DrawsSince(s), 200);  // one fall speed per slot
  EXPECT_EQ(play.bonusDrops[2].x, 406.0f);
  for (const BonusDrop& d : play.bonusDrops) EXPECT_TRUE(d.fallSpeed >= 1 && d.fallSpeed <= 3);
}

}  // namespace
