// The play rules: plain functions over the game record and the play state, called by the
// game loop in a fixed order. Every draw of GameRand() happens where its rule says, so a run
// from the same state and the same input is the same run.
#pragma once

#include <cstdint>

// What a brick releases when it breaks (its dropBonus; -1 none). Kinds 0, 9, 11, 12, 17, 18,
// 19 and above 23 release nothing.
enum class BonusKind : std::int16_t {
  None = -1,
  Lift = 1,
  SlowBalls = 2,
  ExtraLife = 3,
  AutoBreaker = 4,
  SmallBat = 5,
  MediumBat = 6,
  LargeBat = 7,
  GunBat = 8,
  ExtraBall = 10,  // at once: a ball at the brick
  FastBalls = 13,
  EvilBall = 14,  // at once: an evil ball at the brick
  Gravity = 15,
  FreezeBat = 16,
  ShrinkBat = 20,
  GrowBat = 21,
  Quake = 22,
  Surprise = 23,  // another kind, picked at random
};

// ---- One frame ------------------------------------------------------------------------

// One frame of play: auto-breaker, effect timers, gun, shots, drummer, balls, capsules,
// fruit and bricks, ball against ball, then the bat.
void updatePlay();

// ---- The bat and the gun bat -------------------------------------------------------------

// Moves the bat 40 % of the way to its target: the pointer (arrow keys and stick move the
// pointer 8 pixels), the demonstration pilot, or where it stands while frozen.
void steerBat();
// The demonstration's target x; launches a held ball at once.
std::int32_t pilotDemoBat();
// The fire input held this frame (gun bat only): starts the firing animation, or re-arms it.
void pullGunTrigger();
// One step of the firing animation (every 2nd frame); step 8 fires a shot.
void stepGun();
// Bullets rise and push balls; shell casings fall.
void updateBullets();

// ---- Balls ---------------------------------------------------------------------------------

// A ball of `kind` (BallKind) in `slot`; slots above 9 are ignored.
void spawnBall(int slot, float x, float y, float vx, float vy, int kind);
// A ball in the first free slot, falling at a random slant; nothing when all are in play.
void addBall(int kind, int x, int y);
// One frame of every ball: evil push, held ball, walls, ceiling, floor, bat, effects.
void updateBalls();
// Every evil ball pushes the other balls away.
void repelFromEvilBalls();
// Balls i < j, both in play, bump into each other when close.
void collideBalls(int i, int j);
// After drawing: the stall breaker, then each ball against the first brick it touches.
void collideBallsWithBricks();
// Ball `ball` rebounds from brick `brick` and damages it.
void hitBrick(int ball, int brick);

// ---- Bricks, fruit, explosions ---------------------------------------------------------

void destroyBrick(int k);
// Fruit flight and catch, explosions, the quake, bullets against bricks.
void updateFruitAndBricks();
// No brick that must be cleared stands and no explosion runs.
bool isLevelCleared();
// Moves brick i down by dy pixels.
void shiftBrick(int i, std::int32_t dy);

// ---- Bonuses ------------------------------------------------------------------------------

// Brick k broke holding `kind`: a capsule falls from it, or the effect comes at once.
void releaseBonus(int k, int kind);
// The effect of `kind`; (bx, by) is where an extra or evil ball appears.
void applyBonus(int kind, int bx = 0, int by = 0);
// Capsules fall and are caught; the caption slides.
void updateBonusDrops();
// The caption of bonus kind code - 1, or none (which hides one showing).
void showCaption(int code);
void tickEffectTimers();
void autoBreakStep();
// All power-ups off, the medium bat.
void resetPowerUps();
// Every capsule back at its brick, inactive, with a fresh fall speed; the caption hidden.
void resetBonusDrops();
