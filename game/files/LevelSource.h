// Level sources: the plain-text level files (levels/*.txt and players' own; docs/level-format.md),
// read into bricks and compiled into the game's 13052-byte level maps.
#pragma once

#include "game/files/LevelMapFormat.h"
#include "game/layout/BrickSheet.h"

#include <string>
#include <vector>

// The play field the bricks must fit in: between the side walls, below the ceiling and well
// above the bat (a quake still moves them down by 49 pixels).
constexpr int kFieldLeft = 170;
constexpr int kFieldRight = 786;
constexpr int kFieldTop = 0;
constexpr int kFieldBottom = 380;
constexpr int kCell = 22;                                         // grid cell, pixels
constexpr int kGridColumns = (kFieldRight - kFieldLeft) / kCell;  // 28

struct BonusName {
  const char* name;
  short kind;
};
// Every bonus kind the game knows, by the names level files use.
constexpr BonusName kBonusNames[] = {
    {"Lift", 1},      {"SlowBalls", 2},  {"ExtraLife", 3}, {"AutoBreaker", 4}, {"SmallBat", 5},
    {"MediumBat", 6}, {"LargeBat", 7},   {"GunBat", 8},    {"ExtraBall", 10},  {"FastBalls", 13},
    {"EvilBall", 14}, {"Gravity", 15},   {"FreezeBat", 16}, {"ShrinkBat", 20}, {"GrowBat", 21},
    {"Quake", 22},    {"Surprise", 23},
};
constexpr int kBonusKindCount = sizeof(kBonusNames) / sizeof(kBonusNames[0]);
static_assert(kBonusKindCount == 17, "one name per bonus kind");

// Bonus kind by name (-1 when unknown).
short FindBonusKind(const std::string& name);

struct LevelBrick {
  const BrickPicture* picture;
  int left, top;  // screen pixels; the size is the picture's
  short strength;
  short bonus;  // -1 none
  int Width() const { return picture->right - picture->left; }
  int Height() const { return picture->bottom - picture->top; }
};

struct LevelSource {
  std::string name;
  std::string island;  // backdrop in data/levels/islands/
  std::string music;   // track in data/audio/
  float gravity = 0, maxBallSpeed = 0, bounceSpeedStep = 0;
  std::vector<LevelBrick> bricks;  // in slot order: grid order, top row first, left to right
};

// The islands and level tracks a level may name.
extern const char* const kIslandNames[5];
extern const char* const kLevelTrackNames[4];

// Reads one level file's text. On a fault returns false with a message naming the line.
bool ParseLevelSource(const std::string& text, LevelSource& level, std::string& error);
// The map file: physics, names and the 200 brick records, little-endian, kLevelMapSize bytes.
std::string BuildLevelMap(const LevelSource& level);
