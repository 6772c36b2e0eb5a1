#include "game/rules/PlayState.h"

#include <cstring>

Brick bricks[kBrickCount];
float gravity = -0.05f;
float maxBallSpeed = 5.0f;
float bounceSpeedStep = 0.5f;

namespace {
LevelMap InitialLevelMap() {
  LevelMap m{};
  std::strcpy(m.islandImage, "island1.bmp");
  std::strcpy(m.brickSetName, "briks1.bmp");
  std::strcpy(m.grassOverlay, "herbe.bmp");
  return m;
}
}  // namespace

LevelMap levelMap = InitialLevelMap();

void ResetLevelData() {
  levelMap = InitialLevelMap();
  std::memset(bricks, 0, sizeof bricks);
  gravity = -0.05f;
  maxBallSpeed = 5.0f;
  bounceSpeedStep = 0.5f;
}

PlayState InitialPlayState() {
  PlayState s{};
  s.batX = 400.0f;
  s.batterFrame = 0;
  s.batterLastFrame = 34;
  s.gunFrameX = -1;
  s.captionIcon = -1;
  s.captionY = kCaptionHidden;
  return s;
}

PlayState play = InitialPlayState();

GameSprites gameSprites = {};
