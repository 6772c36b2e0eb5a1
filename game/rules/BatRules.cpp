// The frame of play, the bat on its track, the demonstration pilot, the gun bat and its shots.
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "game/files/StartSettings.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"

#include <cmath>

namespace {

// Where the bat's frame may go (batX plus its kind's offset).
constexpr float kBatMinX = 162.0f;
constexpr float kBatMaxX = 730.0f;
constexpr float kTrackLength = 88.0f;
constexpr float kMonkeyFrames = 25.0f;

// The drummer's idle loop ends here once a sequence has run out.
constexpr std::int32_t kIdleLastFrame = 35;

// Shots leave the gun bat here, relative to batX.
constexpr float kCasingOffsetX = 12.0f;
constexpr float kCasingY = 465.0f;
constexpr float kBulletOffsetX = 27.0f;
constexpr float kBulletY = 449.0f;
constexpr float kBulletSpeed = -16.0f;
constexpr std::int32_t kShotStep = 8;    // the animation step that fires
constexpr std::int32_t kRepeatFrom = 18;  // held trigger: back from this step ...
constexpr std::int32_t kRepeatTo = 7;     // ... to this one

constexpr float kCasingLeftWall = 170.0f;
constexpr float kCasingRightWall = 772.0f;
constexpr float kCasingFall = 0.4f;
constexpr float kCasingFloor = 599.0f;

void advanceDrummer() {
  if (++play.batterDivider < 5) return;
  play.batterDivider = 0;
  if (++play.batterFrame > play.batterLastFrame) {
    play.batterFrame = 0;
    play.batterLastFrame = kIdleLastFrame;
  }
}

// The player's target: the pointer, which the arrow keys and the stick move 8 pixels.
std::int32_t playerTarget() {
  const bool stick = GamepadChosen();
  if (KInputState::IsKeyDown(KEY_RIGHT) || (stick && KInputState::IsJoystickRight(0)))
    KInputState::SetMousePosition(MouseX() + 8, MouseY());
  if (KInputState::IsKeyDown(KEY_LEFT) || (stick && KInputState::IsJoystickLeft(0)))
    KInputState::SetMousePosition(MouseX() - 8, MouseY());
  return MouseX();
}

}  // namespace

void updatePlay() {
  autoBreakStep();
  tickEffectTimers();
  if (play.gunFrameX >= 0) stepGun();
  updateBullets();
  advanceDrummer();
  updateBalls();
  updateBonusDrops();
  updateFruitAndBricks();
  for (int i = 0; i < kBallCount; ++i)
    for (int j = i + 1; j < kBallCount; ++j)
      if (play.balls[i].active && play.balls[j].active) collideBalls(i, j);
  steerBat();
}

void steerBat() {
  float target = static_cast<float>(gameRecord.demoMode ? pilotDemoBat() : playerTarget());
  if (gameRecord.batFrozen) {
    // Kept as designed: the freeze also counts down in the effect timers, so the 100 of a
    // FreezeBat last 50 frames; and the bat still creeps towards its own truncated x.
    if (--gameRecord.freezeTimer <= 0) gameRecord.batFrozen = false;
    target = std::trunc(play.batX);
  }

  float d = target - play.batX;
  if (d == 0.0f) return;
  if (d < -400.0f) d = -400.0f;
  if (d > 400.0f) d = 400.0f;
  const float step = d / 5.0f * 2.0f;
  play.batX += step;

  const float o = kBatOffsetX[gameRecord.batKind];
  if (play.batX + o < kBatMinX) {
    play.batX = kBatMinX - o;
    return;
  }
  if (play.batX - o > kBatMaxX) {
    play.batX = kBatMaxX + o;
    return;
  }

  play.trackScroll += step;
  // Mended: a step longer than the track piece (up to 160 pixels) is wrapped as often as it
  // takes; one correction left the scroll up to 160 pixels outside the piece.
  while (play.trackScroll < 0.0f) play.trackScroll += kTrackLength;
  while (play.trackScroll > kTrackLength - 1.0f) play.trackScroll -= kTrackLength;

  float a = d / 5.0f / 2.2f;
  if (a < -1.0f) a = -1.0f;
  if (a > 1.0f) a = 1.0f;
  play.monkeyFrame += a;
  if (play.monkeyFrame < 0.0f) play.monkeyFrame += kMonkeyFrames;
  if (play.monkeyFrame > kMonkeyFrames - 1.0f) play.monkeyFrame -= kMonkeyFrames;
}

std::int32_t pilotDemoBat() {
  play.demoPhase += 0.09f;
  if (play.demoPhase >= 6.28f) play.demoPhase = 0.0f;

  for (Ball& b : play.balls) {
    if (!b.active || b.kind != kBallHeld) continue;
    b.kind = kBallNormal;
    b.vx = 0.4f;
    b.vy = -1.0f;
    gameRecord.gravityOn = false;
    gameRecord.gravityTimer = 0;
  }

  // The ball nearest above the bat line (or just below it); the first of equals wins.
  int target = 0;
  float best = 99999.0f;
  for (int i = 0; i < kBallCount; ++i) {
    const Ball& b = play.balls[i];
    if (!b.active) continue;
    const float gap = 465.0f - b.y;
    if (gap < best && gap > -5.0f) {
      target = i;
      best = gap;
    }
  }
  const Ball& t = play.balls[target];
  return static_cast<std::int32_t>(std::cos(play.demoPhase) * 16.0f + t.x - static_cast<float>(t.width / 2));
}

void pullGunTrigger() {
  if (play.gunFrameX == -1) play.gunFrameX = 0;
  if (play.gunStep == kRepeatFrom) {
    // Kept as designed: the re-armed animation shows the frame one ahead of its step.
    play.gunFrameX = play.gunFrameW;
    play.gunFrameY = play.gunFrameH;
    play.gunStep = kRepeatTo;
  }
}

void stepGun() {
  if (++play.gunDivider < 2) return;
  play.gunDivider = 0;

  ++play.gunStep;
  play.gunFrameX += play.gunFrameW;
  if (play.gunFrameX >= play.gunSheetW) {
    play.gunFrameX = 0;
    play.gunFrameY += play.gunFrameH;
    if (play.gunFrameY >= play.gunSheetH) {
      play.gunFrameY = 0;
      play.gunFrameX = -1;
      play.batterFrame = 0;
      play.gunStep = 0;
    }
  }
  if (play.gunStep != kShotStep) return;

  // Bullet and casing slots are reused oldest first.
  const int k = play.nextGunSlot;
  ShellCasing& c = play.shellCasings[k];
  c.x = play.batX + kCasingOffsetX;
  c.y = kCasingY;
  c.vx = static_cast<float>((GameRand() % 50 - 100) / 15);
  c.vy = static_cast<float>((GameRand() % 50 - 100) / 20);
  c.active = true;
  Bullet& b = play.bullets[k];
  b.x = play.batX + kBulletOffsetX;
  b.y = kBulletY;
  b.vy = kBulletSpeed;
  b.active = true;
  play.nextGunSlot = static_cast<std::int16_t>(k == kShotCount - 1 ? 0 : k + 1);
  playShootSound();
}

void updateBullets() {
  for (int i = 0; i < kShotCount; ++i) {
    Bullet& s = play.bullets[i];
    if (s.active) {
      s.y += s.vy;
      if (s.y < 0.0f) s.active = false;
      // One bullet may push several balls in the same frame.
      for (Ball& b : play.balls) {
        if (!b.active) continue;
        if (b.x <= s.x && s.x < b.x + b.width && b.y <= s.y && s.y < b.y + b.height) {
          s.active = false;
          b.vy -= 2.0f;
          if (b.kind == kBallEvil) {
            b.shaking = true;
            b.shakeTimer = 16;
          }
        }
      }
    }

    ShellCasing& c = play.shellCasings[i];
    if (!c.active) continue;
    c.x += c.vx;
    c.y += c.vy;
    c.vy += kCasingFall;
    if (c.x < kCasingLeftWall) {
      c.x = kCasingLeftWall;
      c.vx = -c.vx;
    }
    // Kept as designed: the right wall turns a casing without putting it back inside.
    if (c.x > kCasingRightWall) c.vx = -c.vx;
    if (c.y >= kCasingFloor) c.active = false;
  }
}
