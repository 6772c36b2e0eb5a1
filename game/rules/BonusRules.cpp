// Bonuses: capsules released by broken bricks, their catch and effect, the caption that
// slides up with it, the timed effects and the level bonus countdown.
#include "engine/services/Random.h"
#include "game/layout/PlaySheet.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"

namespace {

constexpr int kind(BonusKind k) { return static_cast<int>(k); }

// What a capsule kind does besides its effect: the mascot's mood when it is released
// (-1 unchanged) and the cue when it is caught. In the order of the sheet's bonus art.
struct BonusRule {
  std::int16_t kind;
  std::int8_t moodAtRelease;
  void (*cue)();
};
constexpr BonusRule kBonusRules[kBonusArtCount] = {
    {kind(BonusKind::Lift), 1, playBonusSound},
    {kind(BonusKind::SlowBalls), -1, playBonusSound},
    {kind(BonusKind::ExtraLife), 1, playExtraLifeSound},
    {kind(BonusKind::AutoBreaker), 1, playBonusSound},
    {kind(BonusKind::SmallBat), 0, playLowerSound},
    {kind(BonusKind::MediumBat), -1, playBonusSound},
    {kind(BonusKind::LargeBat), -1, playLargerSound},
    {kind(BonusKind::GunBat), 1, playBonusSound},
    {kind(BonusKind::FastBalls), -1, playBonusSound},
    {kind(BonusKind::Gravity), 0, playBonusSound},
    {kind(BonusKind::FreezeBat), -1, playBonusSound},
    {kind(BonusKind::ShrinkBat), -1, playLowerSound},
    {kind(BonusKind::GrowBat), -1, playLargerSound},
    {kind(BonusKind::Quake), 0, playQuakeSound},
};
constexpr bool rulesFollowArt() {
  for (int i = 0; i < kBonusArtCount; ++i)
    if (kBonusRules[i].kind != kBonusArt[i].kind) return false;
  return true;
}
static_assert(rulesFollowArt(), "one rule per capsule kind, in the order of the bonus art");

// The index of a capsule kind in both tables, or -1.
int capsuleIndex(int k) {
  for (int i = 0; i < kBonusArtCount; ++i)
    if (kBonusArt[i].kind == k) return i;
  return -1;
}

// What a Surprise turns into; 9, 17 and 11 release nothing.
constexpr int kSurprisePicks[15] = {2, 3, 4, 5, 6, 7, 8, 9, 14, 16, 17, 21, 22, 15, 11};

bool atOnce(int k) { return k == kind(BonusKind::ExtraBall) || k == kind(BonusKind::EvilBall); }

constexpr float kCapsuleOffset = 16.0f;  // from the brick's centre to the capsule's corner
constexpr std::int16_t kNoIconX = 290;

constexpr float kCatchTop = 465.0f;
constexpr float kCatchBottom = 545.0f;

constexpr std::int32_t kCaptionRest = 572;
constexpr std::int32_t kCaptionShown = 200;  // frames at rest before it sinks

constexpr std::int32_t kEffectFrames = 450;
constexpr std::int32_t kFreezeFrames = 100;
constexpr std::int32_t kQuakeFrames = 50;

// Every ball in play, faster or slower by half.
// Kept as designed: neither is held to the speed limit.
void scaleBalls(bool faster) {
  for (Ball& b : play.balls) {
    if (!b.active) continue;
    if (faster) {
      b.vx *= 1.5f;
      b.vy *= 1.5f;
    } else {
      b.vx /= 1.5f;
      b.vy /= 1.5f;
    }
  }
}

void slideCaption() {
  if (!play.captionOn) return;
  if (play.captionTimer == 0) {
    if (play.captionY < kCaptionRest + 1) {
      play.captionY = kCaptionRest;
      play.captionTimer = 1;
    } else {
      play.captionY -= 2;
    }
    return;
  }
  if (++play.captionTimer <= kCaptionShown) return;
  play.captionY += 2;
  if (play.captionY > kCaptionHidden - 2) {
    play.captionOn = false;
    play.captionTimer = 0;
    play.captionY = kCaptionHidden;
  }
}

}  // namespace

void releaseBonus(int k, int bonus) {
  const Brick& r = bricks[k];
  if (atOnce(bonus)) {
    applyBonus(bonus, static_cast<int>(r.left + 8.0f), static_cast<int>(r.top + 8.0f));
    return;
  }
  BonusDrop& d = play.bonusDrops[k];
  d.active = true;  // it keeps the fall speed of its slot
  d.kind = static_cast<std::int16_t>(bonus);
  d.iconX = kNoIconX;
  d.iconY = 0;
  d.x = r.left + r.centreOffsetX - kCapsuleOffset;
  d.y = r.top + r.centreOffsetY - kCapsuleOffset;

  if (bonus == kind(BonusKind::Surprise)) {
    const int picked = kSurprisePicks[GameRand() % 15];
    releaseBonus(k, picked);
    // Mended: a Surprise that turns into an extra or evil ball leaves no capsule behind; one
    // fell with the extra-life icon and did nothing when caught.
    if (atOnce(picked)) d.active = false;
    return;
  }
  const int i = capsuleIndex(bonus);
  if (i < 0) {
    d.active = false;
    return;
  }
  d.iconX = kBonusArt[i].iconX;
  d.iconY = kBonusArt[i].iconY;
  if (kBonusRules[i].moodAtRelease >= 0) gameRecord.monkeyHappy = kBonusRules[i].moodAtRelease == 1;
}

void applyBonus(int bonus, int bx, int by) {
  showCaption(bonus + 1);
  GameRecord& g = gameRecord;
  switch (static_cast<BonusKind>(bonus)) {
    case BonusKind::Lift:
      g.gravityOn = false;
      g.liftOn = true;
      g.liftTimer = kEffectFrames;
      break;
    case BonusKind::SlowBalls: scaleBalls(false); break;
    case BonusKind::FastBalls: scaleBalls(true); break;
    case BonusKind::ExtraLife: g.lives += 1; break;
    case BonusKind::AutoBreaker: g.autoBreaker = true; break;
    case BonusKind::SmallBat:
      g.batKind = kBatSmall;
      break;
    case BonusKind::MediumBat:
      g.batKind = kBatMedium;
      break;
    case BonusKind::LargeBat:
      g.batKind = kBatLarge;
      break;
    case BonusKind::GunBat:
      g.batKind = kBatGun;
      break;
    case BonusKind::ExtraBall: addBall(kBallNormal, bx, by); break;
    case BonusKind::EvilBall: addBall(kBallEvil, bx, by); break;
    case BonusKind::Gravity:
      g.liftOn = false;
      g.gravityOn = true;
      g.gravityTimer = kEffectFrames;
      break;
    case BonusKind::FreezeBat:
      g.batFrozen = true;
      g.freezeTimer = kFreezeFrames;
      break;
    // Kept as designed: the gun bat counts as the largest size here, so shrinking or growing
    // it both give the large bat.
    case BonusKind::ShrinkBat:
      if (g.batKind > kBatSmall) g.batKind = static_cast<std::int16_t>(g.batKind - 1);
      break;
    case BonusKind::GrowBat:
      g.batKind = static_cast<std::int16_t>(g.batKind + 1 > kBatLarge ? kBatLarge : g.batKind + 1);
      break;
    case BonusKind::Quake:
      g.quakeOn = true;
      g.quakeTimer = kQuakeFrames;
      break;
    default: break;
  }
  const int i = capsuleIndex(bonus);
  if (i >= 0) kBonusRules[i].cue();
}

void updateBonusDrops() {
  const float w = play.batFrameW[gameRecord.batKind];
  for (BonusDrop& d : play.bonusDrops) {
    if (!d.active) continue;
    d.y += d.fallSpeed;
    if (d.y >= kFloor) d.active = false;  // the catch test still runs this frame
    if (play.batX <= d.x + 30.0f && d.x <= play.batX + w && kCatchTop <= d.y + 10.0f && d.y <= kCatchBottom) {
      applyBonus(d.kind);
      d.active = false;
    }
  }
  slideCaption();
}

void showCaption(int code) {
  const int i = capsuleIndex(code - 1);
  play.captionIcon = i >= 0 ? kBonusArt[i].captionY : -1;
  if (play.captionIcon != -1) play.captionTimer = 0;
  // A kind without a caption hides one showing; a new one rises from where it stands.
  play.captionOn = play.captionIcon != -1;
}

void tickEffectTimers() {
  GameRecord& g = gameRecord;
  if (++play.levelBonusDivider > 70) {
    if (g.levelBonus > 0) g.levelBonus -= 1;
    play.levelBonusDivider = 0;
  }
  // A timer the balls took to exactly 1 ends its effect here, before the balls move.
  if (g.gravityTimer == 1) {
    g.gravityTimer = 0;
    g.gravityOn = false;
  }
  if (g.liftTimer == 1) {
    g.liftTimer = 0;
    g.liftOn = false;
  }
  if (g.batFrozen && --g.freezeTimer <= 0) g.batFrozen = false;
}

void autoBreakStep() {
  if (!gameRecord.autoBreaker) return;
  if (++play.autoBreakDivider < 7) return;
  play.autoBreakDivider = 0;
  for (int k = 0; k < kBrickCount; ++k) {
    if (bricks[k].alive && bricks[k].strength <= 50) {
      destroyBrick(k);
      return;
    }
  }
}

void resetPowerUps() {
  GameRecord& g = gameRecord;
  g.liftOn = g.gravityOn = g.batFrozen = g.quakeOn = false;
  g.gravityTimer = g.liftTimer = g.freezeTimer = 0;  // the quake timer keeps its value
  g.autoBreaker = false;
  g.batKind = kBatMedium;
}

void resetBonusDrops() {
  for (int k = 0; k < kBrickCount; ++k) {
    BonusDrop& d = play.bonusDrops[k];
    const Brick& r = bricks[k];
    d.active = false;
    d.x = r.left + r.centreOffsetX - kCapsuleOffset;
    d.y = r.top + r.centreOffsetY - kCapsuleOffset;
    d.fallSpeed = static_cast<float>(GameRand() % 3 + 1);
  }
  play.captionOn = false;
  play.captionIcon = -1;
  play.captionY = kCaptionHidden;
  play.captionTimer = 0;
}
