// Bricks: destruction with its fruit, score and bonus; fruit flight and catch; explosions;
// the quake; bullets against bricks; the end of the level.
#include "engine/graphics/KGraphic.h"
#include "engine/services/Random.h"
#include "game/layout/PlaySheet.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"

#include <cmath>

namespace {

constexpr std::int32_t kBrickScore = 5;
constexpr std::int32_t kFruitScore = 100;
constexpr std::int16_t kExplosionFrameTicks = 5;

constexpr float kFruitLeftWall = 170.0f;
constexpr float kFruitRightWall = 746.0f;

// The bat catches what overlaps it horizontally with its box in this band.
constexpr float kCatchTop = 465.0f;
constexpr float kCatchBottom = 545.0f;

void animateFruit(Fruit& f) {
  if (++f.tick < f.period) return;
  f.tick = 0;
  f.frameX = static_cast<std::int16_t>(f.frameX + f.frameW);
  if (f.frameX < f.endX) return;
  f.frameX = f.restartX;
  f.frameY = static_cast<std::int16_t>(f.frameY + f.frameH);
  if (f.frameY >= f.endY) {  // the fruit stays on its last frame
    f.frameY = static_cast<std::int16_t>(f.endY - f.frameH);
    f.frameX = static_cast<std::int16_t>(f.endX - f.frameW);
  }
}

void moveFruit(Fruit& f) {
  animateFruit(f);
  f.x += f.vx;
  f.y += f.vy;
  f.vy += gravity * 4.0f;
  if (f.y > kFloor) f.active = false;  // the tests below still run this frame
  if (f.x <= kFruitLeftWall) {
    f.x = kFruitLeftWall;
    f.vx = -f.vx;
  }
  if (f.x >= kFruitRightWall) {
    f.x = kFruitRightWall;
    f.vx = -f.vx;
  }
  const float w = play.batFrameW[gameRecord.batKind];
  if (play.batX <= f.x + 30.0f && f.x <= play.batX + w && kCatchTop <= f.y + 20.0f && f.y <= kCatchBottom) {
    f.active = false;
    gameRecord.score += kFruitScore;
    playFruitSound();
  }
}

// Six frames of five frames each, two across and three down the explosion picture.
void advanceExplosion(Brick& r) {
  if (++r.explosionTimer <= kExplosionFrameTicks) return;
  r.explosionTimer = 1;
  const float width = gameSprites.explosionPicture ? gameSprites.explosionPicture->width : 0.0f;
  const float height = gameSprites.explosionPicture ? gameSprites.explosionPicture->height : 0.0f;
  r.explosionSrcX = static_cast<std::int16_t>(r.explosionSrcX + static_cast<std::int32_t>(width) / 2);
  if (r.explosionSrcX < width) return;
  r.explosionSrcX = 0;
  r.explosionSrcY = static_cast<std::int16_t>(r.explosionSrcY + static_cast<std::int32_t>(height) / 3);
  if (r.explosionSrcY >= height) r.explosionTimer = 0;  // finished
}

void shootBrick(int k) {
  const Brick& r = bricks[k];
  for (Bullet& s : play.bullets) {
    if (!s.active) continue;
    if (r.left <= s.x && s.x <= r.right && r.top <= s.y && s.y <= r.bottom) {
      s.active = false;
      // Kept as designed: the brick counts as standing for every bullet of this frame.
      if (r.strength < 900)
        destroyBrick(k);
      else
        playMetalSound();
    }
  }
}

}  // namespace

void destroyBrick(int k) {
  Brick& r = bricks[k];
  Fruit& f = play.fruits[k];
  play.idleFrames = 0;

  if (GameRand() % 10 < 8) {
    const FruitKind& kind = kFruitKinds[GameRand() % kFruitKindCount];
    f.active = true;
    f.x = r.left + r.centreOffsetX - 20.0f;
    f.y = r.top + r.centreOffsetY - 20.0f;
    // Two separate angles, one draw each (radians).
    f.vx = static_cast<float>(std::cos(static_cast<double>(GameRand())));
    f.vy = static_cast<float>(std::sin(static_cast<double>(GameRand())));
    f.frameX = kind.firstX;
    f.frameY = kind.firstY;
    f.frameW = kind.frameW;
    f.frameH = kind.frameH;
    f.endX = kind.endX;
    f.endY = kind.endY;
    f.restartX = kind.restartX;
  }
  f.tick = 0;
  f.period = static_cast<std::int16_t>(GameRand() % 8 + 5);

  r.alive = 0;
  r.explosionTimer = 1;
  r.explosionSrcX = r.explosionSrcY = 0;
  gameRecord.score += kBrickScore;
  playBreakSound();
  if (r.dropBonus != -1) releaseBonus(k, r.dropBonus);
}

void updateFruitAndBricks() {
  std::int32_t dy = 0;
  if (gameRecord.quakeOn) {
    dy = 1;
    if (--gameRecord.quakeTimer < 1) {
      gameRecord.quakeOn = false;
      dy = 0;
    }
  }
  for (int k = 0; k < kBrickCount; ++k) {
    Brick& r = bricks[k];
    if (r.alive) shiftBrick(k, dy);
    if (play.fruits[k].active) moveFruit(play.fruits[k]);
    if (r.explosionTimer >= 1)
      advanceExplosion(r);
    else if (r.alive)
      shootBrick(k);
  }
}

bool isLevelCleared() {
  for (const Brick& r : bricks) {
    if (r.explosionTimer > 0) return false;
    if (r.present && r.alive && r.strength < 100) return false;
  }
  return true;
}

void shiftBrick(int i, std::int32_t dy) {
  bricks[i].top += static_cast<float>(dy);
  bricks[i].bottom += static_cast<float>(dy);
}
