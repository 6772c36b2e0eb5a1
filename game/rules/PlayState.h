// The state the play rules share with the level loader, the drawing and the game loop:
// plain records and fixed tables beside the game record. Rules change them; the drawing
// reads them and advances only its own visual counters (marked below).
#pragma once

#include <cstdint>

#include "game/files/LevelMapFormat.h"
#include "game/layout/ScreenSize.h"
#include "game/rules/GameRecord.h"

class KGraphic;

// ---- The level: the last map read, the live bricks, the live physics ----------------------

extern LevelMap levelMap;
// The running level's bricks: copied from the map at each load, changed by the rules.
extern Brick bricks[kBrickCount];
// Copied from the map at each load; -0.05, 5.0 and 0.5 before the first.
extern float gravity;
extern float maxBallSpeed;
extern float bounceSpeedStep;
// The map and physics as at program start, the brick table empty (for tests and a fresh run).
void ResetLevelData();

// The bottom of the play field: a ball, a fruit or a capsule below it is gone.
constexpr float kFloor = static_cast<float>(kScreenHeight);

// ---- Balls -----------------------------------------------------------------------------

constexpr int kBallCount = 10;

enum BallKind : std::uint8_t { kBallHeld = 0, kBallNormal = 1, kBallEvil = 4 };

struct Ball {
  KGraphic* picture;  // its sprite sheet (gameSprites.ballPicture or gameSprites.evilBallPicture)
  std::int16_t width, height, halfWidth, halfHeight;
  float x, y;    // top-left corner
  float vx, vy;  // pixels a frame
  bool active;   // a free slot when clear
  std::int16_t animTick, frameX, frameY, sheetWidth, sheetHeight;
  float bounceSpeed;  // upward speed given at the next bat bounce
  std::uint8_t kind;  // BallKind
  bool shaking;       // a screen shake asked for by this ball
  std::int32_t shakeTimer;
};

// ---- The gun bat's shots -----------------------------------------------------------------

constexpr int kShotCount = 10;

struct Bullet {
  float x, y, vx, vy;  // vx is never used
  bool active;
};

struct ShellCasing {
  float x, y, vx, vy;
  bool active;
};

// ---- Fruit and bonus capsules: slot k belongs to brick k -----------------------------------

struct Fruit {
  bool active;
  float x, y, vx, vy;
  std::int16_t frameX, frameY;  // source of the current frame in the shared sheet
  std::int16_t frameW, frameH;
  std::int16_t endX, endY;  // limits of the fruit's frame block
  std::int16_t restartX;    // column where each new frame row starts
  std::int16_t tick, period;
};

struct BonusDrop {
  bool active;
  float x, y;
  float fallSpeed;  // 1, 2 or 3 pixels a frame
  std::int16_t kind;  // BonusKind
  std::int16_t iconX, iconY;  // the capsule's 36 x 21 picture in the shared sheet
};

// ---- Everything else the rules move ------------------------------------------------------

struct PlayState {
  // The bat and what moves with it.
  float batX;  // left edge of the bat's frame; 400 at program start, never reset
  float batFrameW[kBatKindCount];             // per bat kind: bat picture width / 5 (catch and bounce width)
  float batFrameH[kBatKindCount];             // per bat kind: bat picture height / 13
  std::int32_t batterFrame, batterLastFrame;  // drummer animation and the end of its sequence
  std::int32_t batterDivider;  // the drummer advances every 5th frame
  float trackScroll;  // 0 <= v < 88
  float monkeyFrame;  // rolling monkey, 0 <= v < 25
  float demoPhase;    // the demonstration pilot's sway, 0 <= v < 6.28

  // The gun bat's firing animation ("gunshoot.bmp", 7 x 4 frames).
  std::int32_t gunFrameX;  // -1: idle
  std::int32_t gunFrameY, gunFrameW, gunFrameH, gunSheetW, gunSheetH;
  std::int32_t gunStep;
  std::int16_t gunDivider;   // the animation advances every 2nd frame
  std::int16_t nextGunSlot;  // bullet and casing slot of the next shot

  Ball balls[kBallCount];
  Bullet bullets[kShotCount];
  ShellCasing shellCasings[kShotCount];
  // Drawing's own: the frame of each casing, cleared with the casings.
  std::int32_t casingFrameX[kShotCount], casingFrameY[kShotCount];

  Fruit fruits[kBrickCount];
  BonusDrop bonusDrops[kBrickCount];

  // The bonus caption sliding up from the bottom of the screen.
  bool captionOn;
  std::int32_t captionIcon;  // top of its 122 x 28 strip in the shared sheet; -1 none
  std::int32_t captionY;     // kCaptionHidden when hidden
  std::int32_t captionTimer;

  std::int32_t idleFrames;         // since a brick broke or a ball touched the bat
  std::int32_t autoBreakDivider;   // the auto-breaker acts every 7th frame
  std::int16_t levelBonusDivider;  // the level bonus loses a point every 71 frames

  // Drawing's own: the side-panel mascot's animation, running across games.
  std::int32_t moodTick, moodColumn, moodRow;
};

// captionY of a hidden caption: just below the screen.
constexpr std::int32_t kCaptionHidden = kScreenHeight;

extern PlayState play;
// Program-start values.
PlayState InitialPlayState();

// Per bat kind (small, medium, large, gun): pixels added to batX where the bat is drawn,
// which also shift its travel limits and bounce zone; and added to the bat's base line 463.
constexpr float kBatOffsetX[kBatKindCount] = {3.0f, 0.0f, -5.0f, 0.0f};
constexpr std::int32_t kBatOffsetY[kBatKindCount] = {2, 1, 0, 1};

// ---- The game's sprites ----------------------------------------------------------------------
// Loaded at the start of a game (LoadGameSprites, then LoadBatSprites) and freed at its end
// (FreeGameSprites); none outside a game (the rules then count their sizes as 0).
struct GameSprites {
  KGraphic* monkeyPicture;               // "data\sprites\singeA.bmp": 5 x 5 frames of 100 x 80 cells (100 x 75 used)
  KGraphic* ballPicture;                 // "data\sprites\balle.bmp"
  KGraphic* evilBallPicture;             // "data\sprites\evilball.bmp"
  KGraphic* explosionPicture;            // "data\sprites\explosion.bmp", 2 x 3 frames
  KGraphic* winPicture;                  // side-panel mascot dancing: 6 x 9 frames of 77 x 75
  KGraphic* losePicture;                 // side-panel mascot sulking: 6 x 9 frames of 78 x 69
  KGraphic* batterPicture;               // the drummer behind the bat: 13 columns of 71 x 80 frames
  KGraphic* batPictures[kBatKindCount];  // small, medium, large, gun: 5 x 13 frames each
  KGraphic* gunPicture;                  // the drummer firing the gun bat: 7 x 4 frames
};
extern GameSprites gameSprites;
