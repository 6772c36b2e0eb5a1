// Balls: creation, the hop on the bat, flight between the walls, the bat bounce, the timed
// effects, the evil ball's push, ball against ball and ball against brick.
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kLeftWall = 170.0f;
constexpr float kRightWall = 786.0f;  // against the ball's right edge
// A ball whose bottom edge lies in this band meets the bat (and the held ball hops there).
constexpr float kBatBandTop = 473.0f;
constexpr float kBatBandBottom = 481.0f;
constexpr float kBatTop = 472.0f;

constexpr float kHeldY = 425.0f;
constexpr float kHeldOffsetX = 20.0f;  // from batX
constexpr float kHopSpeed = -1.4f;
constexpr float kFirstBounceSpeed = 1.5f;
constexpr std::int32_t kHeldGravityTimer = 99999;

constexpr float kEvilPush = 150.0f;
constexpr float kBumpRange2 = 270.0f;  // squared distance of two balls that bump
constexpr float kOverlap2 = 80.0f;
constexpr std::int32_t kShakeFrames = 16;

constexpr std::int32_t kStallFrames = 1800;

// Drummer sequences chosen by where the ball lands on the bat.
constexpr std::int32_t kLeftHitFirst = 45, kLeftHitLast = 54;
constexpr std::int32_t kMiddleHitFirst = 55, kMiddleHitLast = 64;
constexpr std::int32_t kRightHitFirst = 36, kRightHitLast = 44;

std::int16_t pictureSize(const KGraphic* picture, bool wide) {
  if (!picture) return 0;
  return static_cast<std::int16_t>(wide ? picture->width : picture->height);
}

void capAbove(float& v, float cap) {
  if (v > cap) v = cap;
}

// Away from (ex, ey) by f, within the speed limit either way.
void pushAway(float& v, float o, float e, float f) {
  if (o < e) {
    v -= f;
    if (v < -maxBallSpeed) v = -maxBallSpeed;
  } else {
    v += f;
    capAbove(v, maxBallSpeed);
  }
}

// Held ball: hops on the bat until the button, the space bar or a pad's face button launches it. True while it
// is still held (its frame ends there).
bool hopOnBat(Ball& b, bool button) {
  b.vy += gravity * 8.0f;
  b.y += b.vy;
  const float bottom = b.y + b.height;
  if (kBatBandTop <= bottom && bottom <= kBatBandBottom) {
    b.vy = kHopSpeed;
    playHopSound();
  }
  bool launched = false;
  if (button || KInputState::IsKeyDown(KEY_SPACE) || PadFireDown()) {
    b.vx = static_cast<float>(GameRand() % 3 - 1);
    if (b.vx == 0.0f) b.vx = 0.2f;
    b.vy = 2.0f;
    b.kind = kBallNormal;
    gameRecord.gravityOn = false;
    gameRecord.gravityTimer = 0;
    launched = true;
  }
  b.x = play.batX + kHeldOffsetX;
  return !launched;
}

void bounceOnBat(Ball& b) {
  const std::int16_t kind = gameRecord.batKind;
  const float o = kBatOffsetX[kind];
  const float w = play.batFrameW[kind];
  if (!(play.batX - b.halfWidth + o < b.x && b.x - b.halfWidth < play.batX + o + w)) return;

  gameRecord.monkeyHappy = true;
  play.idleFrames = 0;
  b.vy = -b.bounceSpeed;
  b.bounceSpeed += bounceSpeedStep;
  capAbove(b.bounceSpeed, maxBallSpeed);
  b.y = kBatTop - b.height;

  // Where the ball's centre lies across the bat: -50 at its left end, +50 at its right end.
  float p = 0.0f;
  // Mended: a bat without a picture (width 0) counts every landing as central; the
  // division gave an endless or undefined slant.
  if (w > 0.0f) p = ((b.x - play.batX) + static_cast<float>(b.width / 2)) * 100.0f / w - 50.0f;
  play.batterFrame = kMiddleHitFirst;
  play.batterLastFrame = kMiddleHitLast;
  if (p < -10.0f) {
    play.batterFrame = kLeftHitFirst;
    play.batterLastFrame = kLeftHitLast;
  }
  if (p > 10.0f) {
    play.batterFrame = kRightHitFirst;
    play.batterLastFrame = kRightHitLast;
  }
  b.vx = p / 15.0f;
  if (b.vx == 0.0f) b.vx = 0.05f;

  play.gunFrameX = -1;
  play.gunFrameY = 0;
  play.gunStep = 0;
  if (b.kind == kBallEvil)
    playHeavyBatSound();
  else
    playBatSound();
}

// Gravity and lift, counted down once per ball in flight; then the speed floor.
void applyEffects(Ball& b) {
  GameRecord& g = gameRecord;
  if (g.gravityOn) {
    b.vy += gravity * 8.0f;
    capAbove(b.vy, maxBallSpeed);
    if (--g.gravityTimer <= 0) {
      g.gravityOn = false;
      if (b.vy < 0.8f) b.vy = b.vy < 0.0f ? -1.0f : 1.0f;
    }
  }
  if (g.liftOn) {
    // Kept as designed: only the downward speed is capped, so a lift may carry a ball up
    // faster than the level's top speed.
    b.vy -= gravity * 10.0f;
    capAbove(b.vy, maxBallSpeed);
    if (--g.liftTimer <= 0) {
      g.liftOn = false;
      g.gravityOn = true;
      g.gravityTimer = 50;
    }
  }
  if (!g.gravityOn && !g.liftOn) {
    if (std::fabs(b.vy) <= 1.0f) b.vy = b.vy > 0.0f ? 1.0f : -1.0f;
    if (std::fabs(b.vx) <= 1.0f) b.vx = b.vx > 0.0f ? 1.0f : -1.0f;
  }
}

void animate(Ball& b) {
  if (++b.animTick <= 4) return;
  b.animTick = 0;
  b.frameX = static_cast<std::int16_t>(b.frameX + b.width);
  if (b.frameX >= b.sheetWidth) {
    b.frameX = 0;
    b.frameY = static_cast<std::int16_t>(b.frameY + b.height);
    if (b.frameY >= b.sheetHeight) b.frameY = 0;
  }
}

void moveBall(Ball& b) {
  b.x += b.vx;
  if (b.x < kLeftWall || b.x >= kRightWall - b.width) {
    playWallSound();
    b.vx = -b.vx;
    // The step is taken back.
    // Kept as designed: only the right wall then puts a ball still at it just inside; the
    // left wall has no such clamp.
    b.x += b.vx;
    if (b.x >= kRightWall - b.width) b.x = kRightWall - 1.0f - b.width;
  }

  b.y += b.vy;
  if (b.y < 0.0f) {
    playWallSound();
    b.y = 0.0f;
    b.vy = -b.vy;
    b.y += b.vy;
    return;  // no effects, no speed floor, no animation this frame
  }
  if (b.y > kFloor) {
    b.active = false;
    gameRecord.monkeyHappy = false;
    return;
  }

  const float bottom = b.y + b.height;
  if (kBatBandTop <= bottom && bottom <= kBatBandBottom) bounceOnBat(b);
  applyEffects(b);
  animate(b);
}

}  // namespace

void spawnBall(int slot, float x, float y, float vx, float vy, int kind) {
  if (slot < 0 || slot >= kBallCount) return;
  Ball& b = play.balls[slot];
  b.x = x;
  b.y = y;
  b.vx = vx;
  b.vy = vy;
  b.active = true;
  b.animTick = b.frameX = b.frameY = 0;
  b.bounceSpeed = kFirstBounceSpeed;
  b.kind = static_cast<std::uint8_t>(kind);
  const bool evil = kind == kBallEvil;
  b.picture = evil ? gameSprites.evilBallPicture : gameSprites.ballPicture;
  b.width = evil ? 27 : 20;
  b.height = evil ? 26 : 20;
  b.halfWidth = evil ? 13 : 10;
  b.halfHeight = evil ? 13 : 10;
  b.sheetWidth = pictureSize(b.picture, true);
  b.sheetHeight = pictureSize(b.picture, false);
  if (kind == kBallHeld) {
    b.y = kHeldY;
    b.vx = b.vy = 0.0f;
    b.x = play.batX + kHeldOffsetX;
    // The gravity effect stands until launch (it acts only on balls in flight).
    gameRecord.gravityOn = true;
    gameRecord.gravityTimer = kHeldGravityTimer;
  }
}

void addBall(int kind, int x, int y) {
  for (int slot = 0; slot < kBallCount; ++slot) {
    if (play.balls[slot].active) continue;
    const float vx = static_cast<float>((GameRand() % 200 - 100) / 100.0);
    spawnBall(slot, static_cast<float>(x), static_cast<float>(y), vx, 1.0f, kind);
    return;
  }
}

void updateBalls() {
  const bool button = PollMouseButton();
  repelFromEvilBalls();
  for (Ball& b : play.balls) {
    if (b.active && b.kind == kBallHeld && hopOnBat(b, button)) continue;
    if (b.active) moveBall(b);
  }
}

void repelFromEvilBalls() {
  for (int e = 0; e < kBallCount; ++e) {
    const Ball& evil = play.balls[e];
    if (!evil.active || evil.kind != kBallEvil) continue;
    const float ex = evil.x + evil.halfWidth;
    const float ey = evil.y + evil.halfHeight;
    for (int o = 0; o < kBallCount; ++o) {
      Ball& other = play.balls[o];
      if (o == e || !other.active) continue;
      // Kept as designed: the evil ball's half sizes serve for the other ball's centre too.
      const float ox = other.x + evil.halfWidth;
      const float oy = other.y + evil.halfHeight;
      const float d2 = (ox - ex) * (ox - ex) + (oy - ey) * (oy - ey);
      if (d2 == 0.0f) continue;
      const float f = kEvilPush / d2;
      pushAway(other.vx, ox, ex, f);
      pushAway(other.vy, oy, ey, f);
    }
  }
}

void collideBalls(int i, int j) {
  Ball& a = play.balls[i];
  Ball& b = play.balls[j];
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  const float d2 = dx * dx + dy * dy;
  if (d2 > kBumpRange2) return;
  if (d2 < kOverlap2) b.y -= 20.0f;

  const float avx = a.vx, avy = a.vy;
  // Kept as designed: ball i gains a tenth of its speed at every bump.
  a.vx += avx / 10.0f;
  a.vy += avy / 10.0f;
  // Mended: two balls at the very same point have no direction between them; they skip the
  // exchange of speeds (it divided by zero) and keep the rest of the bump.
  if (d2 > 0.0f) {
    const float d = std::sqrt(d2);
    const float nx = dx / d, ny = dy / d;
    const float p = nx * (b.vx - avx) + ny * (b.vy - avy);
    b.vx -= nx * p;
    b.vy -= ny * p;
    a.vx += nx * p;
    a.vy += ny * p;
  }
  if (-0.9f <= a.vy && a.vy <= 0.9f) a.vy *= 2.0f;
  if (a.kind == kBallEvil || b.kind == kBallEvil) {
    a.shaking = true;
    a.shakeTimer = kShakeFrames;
  }
  playHitSound();
}

void collideBallsWithBricks() {
  if (++play.idleFrames > kStallFrames) {
    play.idleFrames = 0;
    gameRecord.gravityOn = true;
    gameRecord.gravityTimer = GameRand() % 200 + 200;
  }
  for (int i = 0; i < kBallCount; ++i) {
    const Ball& b = play.balls[i];
    if (!b.active) continue;
    for (int k = 0; k < kBrickCount; ++k) {
      const Brick& r = bricks[k];
      if (!r.alive) continue;
      if (b.x + b.width >= r.left && b.x <= r.right && b.y + b.height >= r.top && b.y <= r.bottom) {
        hitBrick(i, k);
        break;  // one brick per ball per frame
      }
    }
  }
}

void hitBrick(int ball, int brick) {
  Ball& b = play.balls[ball];
  Brick& r = bricks[brick];
  const float cx = b.x + b.halfWidth;
  const float cy = b.y + b.halfHeight;
  if (r.top < cy && cy < r.bottom) {
    if (cx <= r.left) {
      b.x = r.left - b.width;
      b.vx = -std::fabs(b.vx);
    } else {
      b.x = r.right;
      b.vx = std::fabs(b.vx);
    }
  } else if (cy <= r.top) {
    b.y = r.top - b.height;
    b.vy = -std::fabs(b.vy);
  } else {
    b.y = r.bottom;
    b.vy = std::fabs(b.vy);
  }

  if (r.strength < 999) {
    const int damage = b.kind == kBallEvil ? 2 : 1;
    // Mended: the damage count stops at the largest the record holds; it wrapped to a
    // negative count (a brick that never breaks can be hit for a whole level), which the
    // drawing would take for a damage picture.
    const int hits = r.hits + damage;
    r.hits = static_cast<std::int16_t>(hits > std::numeric_limits<std::int16_t>::max()
                                           ? std::numeric_limits<std::int16_t>::max()
                                           : hits);
  }
  if (r.strength > 0) {
    playHitSound();
    if (r.strength != 999 && r.hits >= r.strength) destroyBrick(brick);
  }
}
