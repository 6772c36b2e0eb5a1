#include "game/playscreen/PlayGame.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "engine/services/Services.h"
#include "game/endings/EndScreens.h"
#include "game/files/RawFiles.h"
#include "game/files/StartSettings.h"
#include "game/layout/PlaySheet.h"
#include "game/playscreen/Levels.h"
#include "game/playscreen/PlayScreen.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/scores/HighScoreScreen.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"

#include <cstring>

namespace {

constexpr int kDemoCaptionX = 606, kDemoCaptionY = 539;
// The fire input of the demonstration: one draw a frame while the gun bat is on.
constexpr int kDemoFireOdds = 150, kDemoFireDraw = 5;

GameEventHook eventHook = nullptr;

void Notify(GameEvent e) {
  if (eventHook) eventHook(e);
}

bool QuitRequested() { return KDisplayWindow::IsQuitRequested(); }

bool FailToStart(const char* text) {
  FreeGameSprites();
  FreeLevelImages();
  // Mended: a game that could not start used to keep its panel picture, which the next game
  // then lost track of.
  FreePanelPicture();
  ShowMessageBox("", text);
  return false;
}

// The panel closes over whatever the screen shows now.
void CloseDoorsOverScreen() {
  KGraphic* copy = new KGraphic();
  copy->GrabBackBuffer();
  SlidePanelDoors(-300, 0, [&] {
    copy->BlitRect(0, 0, static_cast<int>(copy->width), static_cast<int>(copy->height), 0, 0, 0, 0);
  });
  delete copy;
}

// Waits one short moment without spinning a core.
void Nap() { KClock::Nap(5000); }

// Busy passes of the pause: each pumps the window first; a quit ends the wait.
template <typename Done>
bool WaitPaused(Done done) {
  while (!done()) {
    if (PumpAndCheckQuit()) return false;
    Nap();
  }
  return true;
}

void EndLevel() {
  if (gameRecord.levelBonus >= 0) gameRecord.score += gameRecord.levelBonus;
  Notify(GameEvent::kLevelEnd);
  ++gameRecord.level;
  SaveHighestLevel(gameRecord.level);
  if (gameRecord.level > gameRecord.levelCount) {
    RunEndScreen();
    gameRecord.gameEnded = true;
  } else {
    // Kept as designed: a later level that cannot be loaded is not reported; play goes on
    // with what is loaded.
    if (StartLevel(gameRecord.level)) Notify(GameEvent::kLevelStart);
  }
}

bool FirePressed(bool buttonDown) {
  if (gameRecord.demoMode) return GameRand() % kDemoFireOdds == kDemoFireDraw;
  return buttonDown || PadFireDown() || KInputState::IsKeyDown(KEY_SPACE);
}

void RunFrames() {
  int demoFrames = 0;
  bool padThere = GamepadChosen() && KInputState::IsJoystickAttached(0);
  do {
    const bool buttonDown = PollMouseButton();
    if (GiveUpPressedNow()) break;
    if (isLevelCleared() || (KInputState::IsKeyDown(KEY_UP) && KInputState::IsKeyDown(KEY_F4))) EndLevel();
    if (allBallsLost()) {
      if (--gameRecord.lives > 0)
        ResetLevelState(false);
      else
        gameRecord.gameEnded = true;
    }
    if (gameRecord.batKind == kBatGun && FirePressed(buttonDown)) pullGunTrigger();
    updatePlay();
    DrawPlayScreen();
    collideBallsWithBricks();
    if (gameRecord.demoMode) {
      if (++demoFrames > kDemoFrames) break;
      if (bigPlancheSheet)
        bigPlancheSheet->BlitRectKeyed(kDemoCaptionRect.left, kDemoCaptionRect.top, kDemoCaptionRect.right,
                                       kDemoCaptionRect.bottom, kDemoCaptionX, kDemoCaptionY, 0, 0);
    } else {
      // A pad pulled out mid-game pauses it, as P does.
      const bool padWasThere = padThere;
      padThere = GamepadChosen() && KInputState::IsJoystickAttached(0);
      if (PausePressedNow() || (padWasThere && !padThere)) PauseGame();
    }
    for (int i = 0; i < 11; ++i) PumpAndCheckQuit();
    Present();
  } while (!QuitRequested() && !gameRecord.gameEnded);
}

}  // namespace

void SetGameEventHook(GameEventHook hook) { eventHook = hook; }

void NewGameReset() {
  resetPowerUps();
  gameRecord.lives = 3;
  gameRecord.levelBonus = 999;
  gameRecord.score = 0;
  gameRecord.startLevel = 1;
}

void ResetLevelState(bool full) {
  if (full) {
    for (int i = 0; i < kShotCount; ++i) {
      play.shellCasings[i] = ShellCasing{};
      play.bullets[i] = Bullet{};
      play.casingFrameX[i] = 0;
      play.casingFrameY[i] = 0;
    }
  }
  resetPowerUps();
  if (full) ArmBricks();
  resetBonusDrops();
  gameRecord.gameEnded = false;
  for (int slot = 0; slot < kBallCount; ++slot) {
    spawnBall(slot, 0, 0, 0, 0, kBallNormal);
    play.balls[slot].active = false;
  }
  spawnBall(0, 0, 0, 0, 0, kBallHeld);
}

bool allBallsLost() {
  for (int i = 0; i < kBallCount; ++i) {
    if (play.balls[i].active) return false;
    // Kept as designed: ball slot i is looked at together with the explosion of brick i, so
    // only bricks 0..9 hold back a lost life (the level-cleared test, which comes first in a
    // frame, waits for every explosion).
    if (bricks[i].explosionTimer > 0) return false;
  }
  return true;
}

void SaveHighestLevel(std::int32_t n) {
  // The menu reads the file again when it reloads; the record's value stays as it was.
  if (gameRecord.highestLevel < n) WriteHighestLevel(n);
}

bool StartLevel(std::int32_t n) {
  FreeLevelImages();
  resetPowerUps();
  CloseDoorsOverScreen();
  LoadLevelMap(n);
  // Kept as designed: the island is loaded a second time after the map's own load. Mended:
  // that second load decoded the same two pictures again, a stall of a frame or more between
  // the doors; the pictures just loaded from the same files are kept (the same on screen).
  if (!LoadIslandAgain()) return false;
  LoadBrickImages();
  ResetLevelState(true);
  SlidePanelDoors(0, -300, [&] { DrawPlayScreen(); });
  return true;
}

void PauseGame() {
  KInputState::ReleaseCursorConfinement();
  if (WaitPaused([] { return !PausePressedNow(); })) {
    KInputState::ShowMouseCursor();
    if (WaitPaused([] { return PausePressedNow(); })) WaitPaused([] { return !PausePressedNow(); });
  } else {
    KInputState::ShowMouseCursor();
  }
  KInputState::HideMouseCursor();
}

bool PlayGame(bool demo) {
  gameRecord.demoMode = demo;
  // The bat tables, the drummer and bat pictures and the balls start from nothing.
  std::memset(play.batFrameW, 0, sizeof play.batFrameW);
  std::memset(play.batFrameH, 0, sizeof play.batFrameH);
  for (Ball& b : play.balls) b = Ball{};
  if (!LoadGameSprites()) return FailToStart("Could Not Load graphics");
  if (!LoadBatSprites()) return FailToStart("Could Not Load The Monkeys");
  NewGameReset();
  gameRecord.level = gameRecord.menuLevel;
  gameRecord.startLevel = gameRecord.menuLevel;
  if (!StartLevel(gameRecord.level)) return FailToStart("Could Not Load Level  graphics");
  ResetLevelState(true);
  Notify(GameEvent::kLevelStart);

  RunFrames();

  Notify(GameEvent::kGameEnd);
  if (!demo) {
    EndGameDoors();
    FreeGameSprites();
    FreeLevelImages();
    stopMusic();
    if (!RunHighScores(gameRecord.score)) {
      if (LoadGameOverPictures()) RunGameOver();
      FreeGameOverPictures();
    }
  } else {
    FreeGameSprites();
    FreeLevelImages();
  }
  FreePanelPicture();
  KInputState::ReleaseCursorConfinement();
  return true;
}
