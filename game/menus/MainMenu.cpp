#include "game/menus/MainMenu.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/LevelSet.h"
#include "game/files/RawFiles.h"
#include "game/layout/ScreenSize.h"
#include "game/menus/OptionsMenu.h"
#include "game/playscreen/PlayGame.h"
#include "game/rules/GameRecord.h"
#include "game/scores/HighScoreScreen.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"
#include "game/ui/Screen.h"

#include <cstdio>
#include <cstring>

namespace {

// Which attract screen comes next: false = demonstration game, true = high-score table.
bool attractToggle = false;

// The main menu's pictures, from LoadMainMenuPictures to FreeMainMenuPictures: freed while
// another screen or a game runs, loaded again after it.
struct MainMenuPictures {
  KGraphic* menuBackground = nullptr;
  ScreenButton playButton;
  ScreenButton optionsButton;
  ScreenButton quitButton;
  ScreenButton levelUpButton;
  ScreenButton levelDownButton;
};
MainMenuPictures menu;

constexpr const char* kTitleMusic = "data\\audio\\monkey2.ogg";

void PlayTitleMusic() { playMusic(KPath::MakeAbsolute(kTitleMusic)); }

}  // namespace

void FreeMainMenuPictures() {
  delete menu.menuBackground;
  menu.menuBackground = nullptr;
  for (ScreenButton* b :
       {&menu.playButton, &menu.optionsButton, &menu.quitButton, &menu.levelUpButton, &menu.levelDownButton})
    FreeButton(*b);
}

bool LoadMainMenuPictures() {
  menu.menuBackground = LoadMenuPicture("menu\\menuplayoff.bmp");
  menu.playButton.picture = LoadMenuPicture("menu\\playon.bmp");
  menu.optionsButton.picture = LoadMenuPicture("menu\\optionson.bmp");
  menu.quitButton.picture = LoadMenuPicture("menu\\quiton.bmp");
  menu.levelUpButton.picture = LoadSprite(KPath::MakeAbsolute("data\\sprites\\righton.bmp"));
  if (!menu.levelUpButton.picture) return false;
  menu.levelDownButton.picture = LoadSprite(KPath::MakeAbsolute("data\\sprites\\lefton.bmp"));
  if (!menu.levelDownButton.picture) return false;
  SetButtonArea(menu.playButton, kPlayButtonPlace);
  SetButtonArea(menu.optionsButton, kOptionsButtonPlace);
  SetButtonArea(menu.quitButton, kQuitButtonPlace);
  SetButtonArea(menu.levelDownButton, kLevelDownButtonPlace);
  SetButtonArea(menu.levelUpButton, kLevelUpButtonPlace);
  gameRecord.highestLevel = ReadHighestLevel();
  gameRecord.menuLevel = gameRecord.highestLevel;
  gameRecord.levelCount = LevelCountOfSet();
  KInputState::HideMouseCursor();
  return true;
}

void WaitWhileHeld(int ms) {
  for (int i = 0; i < ms; ++i) {
    if (!PollMouseButton()) return;
    const std::uint32_t start = KClock::GetMilliseconds();
    while (KClock::GetMilliseconds() == start) {
    }
  }
}

bool RunMainMenu() {
  ResetHighScores();
  highScores.Load(kHighScoreRows);
  KInputState::HideMouseCursor();
  KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
  Trace("ClearBackBuffer");
  bigPlancheSheet = LoadSprite(KPath::MakeAbsolute("data\\sprites\\bigplanche.bmp"));
  if (!bigPlancheSheet) return false;
  if (!LoadMainMenuPictures()) {
    FreeMainMenuPictures();
    delete bigPlancheSheet;
    bigPlancheSheet = nullptr;
    return false;
  }
  int originX = static_cast<int>((static_cast<float>(kScreenWidth) - menu.menuBackground->width) / 2);
  int originY = static_cast<int>((static_cast<float>(kScreenHeight) - menu.menuBackground->height) / 2);
  PlayTitleMusic();
  LoadVolumePrefs();
  if (gameRecord.menuLevel > 209) gameRecord.menuLevel = 209;
  if (gameRecord.menuLevel < 1) gameRecord.menuLevel = 1;

  std::uint32_t idleStart = KClock::GetMilliseconds();
  int repeatDelay = 500;
  int lastPointerX = 0, lastPointerY = 0;
  int menuChoice = 0;
  bool ok = true;
  // The button the keys and the gamepad work: lit, pressed by Return. Play when the menu
  // opens; the pointer moving onto a button takes it there.
  ScreenButton* const choices[] = {&menu.playButton, &menu.optionsButton, &menu.quitButton};
  constexpr int kChoices = 3;
  int highlight = 0;
  MenuInput keys;

  do {
    SelectStandardPointer();
    KGraphic::CheckBackBuffer();
    const bool pressed = PollMouseButton();
    const MenuKeys k = keys.Read();
    // Once a press: Space also leaves the table, and a Space still held there would open it
    // again at once.
    if (k.table) {
      RunHighScores(-1);
      keys.Reset();
    }
    const int mx = MouseX(), my = MouseY();
    const bool moved = mx != lastPointerX || my != lastPointerY;
    // Keys and the gamepad are activity as much as the mouse.
    if (moved || pressed || k.active) idleStart = KClock::GetMilliseconds();
    lastPointerX = mx;
    lastPointerY = my;
    menu.menuBackground->BlitRect(0, 0, -1, -1, originX, originY, 0, 0);

    if (moved) {
      for (int i = 0; i < kChoices; ++i)
        if (ButtonTest(*choices[i]) != ButtonResult::kOutside) highlight = i;
    }
    if (k.up || k.previous) highlight = (highlight + kChoices - 1) % kChoices;
    if (k.down || k.next) highlight = (highlight + 1) % kChoices;
    auto chosen = [&](int i) {
      return (ButtonTest(*choices[i]) == ButtonResult::kClicked && pressed) || (k.press && highlight == i);
    };

    if (KClock::GetMilliseconds() - idleStart > 8000) {
      if (attractToggle) {
        FreeMainMenuPictures();
        RunHighScores(-1);
        attractToggle = false;
      } else {
        attractToggle = true;
        FreeMainMenuPictures();
        if (!PlayGame(true)) {
          ok = false;
          break;
        }
        PlayTitleMusic();
      }
      LoadMainMenuPictures();
      menuChoice = 0;
      idleStart = KClock::GetMilliseconds();
      keys.Reset();
    } else if (chosen(0)) {
      FreeMainMenuPictures();
      if (!PlayGame(false)) {
        ok = false;
        break;
      }
      LoadMainMenuPictures();
      PlayTitleMusic();
      WaitMouseRelease();
      menuChoice = 0;
      idleStart = KClock::GetMilliseconds();
      keys.Reset();
    } else {
      if (chosen(1)) {
        FreeMainMenuPictures();
        RunOptionsMenu();
        LoadMainMenuPictures();
        WaitMouseRelease();
        keys.Reset();
        menu.menuBackground->BlitRect(0, 0, -1, -1, originX, originY, 0, 0);
      }
      if (chosen(2) || k.quit) menuChoice = 3;
      DrawButtonLit(*choices[highlight]);
      if (ButtonState(menu.levelDownButton) != ButtonResult::kOutside && pressed) {
        --gameRecord.menuLevel;
        WaitWhileHeld(repeatDelay);
        repeatDelay = repeatDelay - 10 < 4 ? 4 : repeatDelay - 10;
      }
      if (ButtonState(menu.levelUpButton) != ButtonResult::kOutside && pressed) {
        ++gameRecord.menuLevel;
        WaitWhileHeld(repeatDelay);
        repeatDelay = repeatDelay - 10 < 4 ? 4 : repeatDelay - 10;
      }
      // Kept as designed: only a press held as the menu opens starts at 500 ms; after any
      // release the repeat starts at 100 ms.
      if (!pressed) repeatDelay = 100;
      // The keys step the level once a press, within the same limits.
      if (k.left) --gameRecord.menuLevel;
      if (k.right) ++gameRecord.menuLevel;
      if (gameRecord.menuLevel < 1) gameRecord.menuLevel = 1;
      // Kept as designed: without a level count (no "zindo.ini") the selector shows 0.
      if (gameRecord.menuLevel > gameRecord.levelCount) gameRecord.menuLevel = gameRecord.levelCount;
      if (gameRecord.menuLevel > gameRecord.highestLevel) gameRecord.menuLevel = gameRecord.highestLevel;
      DrawNumber(gameRecord.menuLevel, kMenuLevelRightX, kMenuLevelTop);
      ShowFrame();
    }
  } while (!displayWindow->IsQuitRequested() && menuChoice != 3);

  FreeMainMenuPictures();
  delete bigPlancheSheet;
  bigPlancheSheet = nullptr;
  return ok;
}

bool PlayLevelAlone() {
  ResetHighScores();
  highScores.Load(kHighScoreRows);
  bigPlancheSheet = LoadSprite(KPath::MakeAbsolute("data\\sprites\\bigplanche.bmp"));
  if (!bigPlancheSheet) return false;
  LoadVolumePrefs();
  gameRecord.highestLevel = ReadHighestLevel();
  gameRecord.levelCount = LevelCountOfSet();
  gameRecord.menuLevel = 1;
  const bool ok = PlayGame(false);
  delete bigPlancheSheet;
  bigPlancheSheet = nullptr;
  return ok;
}
