#include "game/endings/EndScreens.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "engine/services/Services.h"
#include "game/layout/ScreenSize.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"

#include <cstdio>

namespace {

constexpr int kGameOverFrameCount = 6;
constexpr int kGameOverFrameLimit = 4200;
constexpr int kGameOverFrameX = 223;
constexpr int kGameOverFrameY = 288;

KGraphic* gameOverBackground = nullptr;
KGraphic* gameOverFrames[kGameOverFrameCount] = {};

void DrawWhole(KGraphic* picture, int x, int y) {
  picture->BlitRect(0, 0, static_cast<int>(picture->width), static_cast<int>(picture->height), x, y, 0, 0);
}

}  // namespace

bool LoadGameOverPictures() {
  gameOverBackground = LoadSprite(KPath::MakeAbsolute("data\\go\\gameover.bmp"));
  if (!gameOverBackground) return false;
  for (int i = 0; i < kGameOverFrameCount; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "data\\go\\go%d.bmp", i + 1);
    gameOverFrames[i] = LoadSprite(KPath::MakeAbsolute(name));
    if (!gameOverFrames[i]) return false;
  }
  return true;
}

void FreeGameOverPictures() {
  delete gameOverBackground;
  gameOverBackground = nullptr;
  for (KGraphic*& frame : gameOverFrames) {
    delete frame;
    frame = nullptr;
  }
}

void RunGameOver() {
  if (!gameOverBackground) return;
  // The panel doors of the play screen slide apart over the picture.
  SlidePanelDoors(0, -400, [&] { gameOverBackground->BlitRect(0, 0, kScreenWidth, kScreenHeight, 0, 0, 0, 0); });
  playMusic(KPath::MakeAbsolute("data\\audio\\gov.ogg"));
  WaitMouseRelease();
  KInputState::HideMouseCursor();

  int frameIndex = 0, frameHold = 10, heldFrames = 0, shownFrames = 0;
  MenuInput keys;
  while (shownFrames < kGameOverFrameLimit) {
    // A click (or Return, Space, Escape, a pad button) ends the screen once this frame is shown.
    const bool left = PollMouseButton();
    if (keys.Read().leave || left) shownFrames = kGameOverFrameLimit;
    gameOverBackground->BlitRect(0, 0, kScreenWidth, kScreenHeight, 0, 0, 0, 0);
    if (++heldFrames > frameHold) {
      frameIndex = GameRand() % kGameOverFrameCount;
      frameHold = GameRand() % 6 + 4;
      heldFrames = 0;
    }
    if (gameOverFrames[frameIndex]) DrawWhole(gameOverFrames[frameIndex], kGameOverFrameX, kGameOverFrameY);
    ShowFrame();
    ++shownFrames;
    if (PumpAndCheckQuit()) break;
  }
  FreeGameOverPictures();
}

void RunEndScreen() {
  playMusic(KPath::MakeAbsolute("data\\audio\\monkey4.ogg"));
  // A picture whose file cannot be read stays empty and draws nothing.
  KGraphic* endPicture = new KGraphic();
  endPicture->LoadPicture(KPath::MakeAbsolute("data\\general\\ENGLISH\\end.jpg"), true, false, 31, 31);
  WaitMouseRelease();
  MenuInput keys;
  for (;;) {
    const bool left = PollMouseButton();
    if (keys.Read().leave || left) break;
    DrawWhole(endPicture, 0, 0);
    ShowFrame();
    if (PumpAndCheckQuit()) break;
  }
  delete endPicture;
}
