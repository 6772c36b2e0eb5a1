#include "MainMenu.h"

#include "GameRecord.h"
#include "HighScores.h"
#include "Input.h"
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "OptionsMenu.h"
#include "PlayGame.h"
#include "RawFiles.h"
#include "DataConfig.h"
#include "Services.h"
#include "SoundCues.h"
#include "Startup.h"

#include <cstdio>
#include <cstring>

KGraphic* bigPlancheSheet = nullptr;
bool attractToggle = false;

namespace {

KGraphic* menuBackground = nullptr;
KGraphic* playButton = nullptr;
KGraphic* optionsButton = nullptr;
KGraphic* quitButton = nullptr;
KGraphic* levelUpButton = nullptr;
KGraphic* levelDownButton = nullptr;

struct Glyph {
  char c;
  int start, end;
};
constexpr Glyph kGlyphTable[] = {{'0', 92, 105}, {'1', 1, 8},   {'2', 8, 16},  {'3', 16, 27},
                                 {'4', 27, 37},  {'5', 38, 47}, {'6', 47, 57}, {'7', 58, 68},
                                 {'8', 68, 81},  {'9', 81, 92}, {':', 106, 112}};
static_assert(sizeof(kGlyphTable) / sizeof(kGlyphTable[0]) == 11, "ten digits and the colon");

constexpr const char* kTitleMusic = "data\\audio\\monkey2.ogg";

void PlayTitleMusic() { playMusic(KPath::MakeAbsolute(kTitleMusic)); }

}  // namespace

KGraphic* LoadMenuPicture(const char* name) {
  char relative[260];
  std::snprintf(relative, sizeof relative, "data\\general\\ENGLISH\\%s", name);
  KGraphic* picture = new KGraphic();
  picture->LoadPicture(KPath::MakeAbsolute(relative), true, false, 31, 31);
  return picture;
}

void SetButtonArea(KGraphic* button, int drawX, int drawY, int left, int right, int top, int bottom) {
  button->buttonX = static_cast<std::int16_t>(drawX);
  button->buttonY = static_cast<std::int16_t>(drawY);
  button->buttonLeft = left;
  button->buttonRight = right;
  button->buttonTop = top;
  button->buttonBottom = bottom;
}

void FreeMainMenuPictures() {
  for (KGraphic** p : {&menuBackground, &playButton, &optionsButton, &quitButton, &levelUpButton, &levelDownButton}) {
    delete *p;
    *p = nullptr;
  }
}

bool LoadMainMenuPictures() {
  menuBackground = LoadMenuPicture("menu\\menuplayoff.bmp");
  playButton = LoadMenuPicture("menu\\playon.bmp");
  optionsButton = LoadMenuPicture("menu\\optionson.bmp");
  quitButton = LoadMenuPicture("menu\\quiton.bmp");
  levelUpButton = LoadSprite(KPath::MakeAbsolute("data\\sprites\\righton.bmp"));
  if (!levelUpButton) return false;
  levelDownButton = LoadSprite(KPath::MakeAbsolute("data\\sprites\\lefton.bmp"));
  if (!levelDownButton) return false;
  SetButtonArea(playButton, 343, 196, 350, 447, 207, 243);
  SetButtonArea(optionsButton, 332, 378, 350, 467, 382, 423);
  SetButtonArea(quitButton, 332, 459, 350, 477, 468, 513);
  SetButtonArea(levelDownButton, 348, 306, 348, 388, 306, 336);
  SetButtonArea(levelUpButton, 427, 306, 427, 457, 306, 336);
  gameRecord.highestLevel = ReadHighestLevel();
  gameRecord.menuLevel = gameRecord.highestLevel;
  gameRecord.levelCount = GetDataInt("levelcount");
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

int FindGlyph(char c) {
  for (int i = 0; i < 11; ++i)
    if (kGlyphTable[i].c == c) return i;
  return 0;
}

void DrawNumber(std::int32_t value, int rightX, int y) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  if (text[0] == '\0') std::strcpy(text, "0");
  for (int i = static_cast<int>(std::strlen(text)) - 1; i >= 0; --i) {
    const Glyph& g = kGlyphTable[FindGlyph(text[i])];
    rightX -= g.end - g.start;
    if (bigPlancheSheet) bigPlancheSheet->BlitRectKeyed(155 + g.start, 189, 155 + g.end, 202, rightX, y, 0, 0);
  }
}

bool RunMainMenu() {
  ResetHighScores();
  highScores.Load(9);
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
  int originX = static_cast<int>((800.0f - menuBackground->width) / 2);
  int originY = static_cast<int>((600.0f - menuBackground->height) / 2);
  PlayTitleMusic();
  LoadVolumePrefs();
  if (gameRecord.menuLevel > 209) gameRecord.menuLevel = 209;
  if (gameRecord.menuLevel < 1) gameRecord.menuLevel = 1;

  std::uint32_t idleStart = KClock::GetMilliseconds();
  int repeatDelay = 500;
  int lastPointerX = 0, lastPointerY = 0;
  int menuChoice = 0;
  bool ok = true;

  do {
    SelectStandardPointer();
    KGraphic::CheckBackBuffer();
    const bool pressed = PollMouseButton();
    if (KInputState::IsKeyDown(KEY_SPACE)) RunHighScores(-1);
    const int mx = MouseX(), my = MouseY();
    if (mx != lastPointerX || my != lastPointerY || pressed) idleStart = KClock::GetMilliseconds();
    lastPointerX = mx;
    lastPointerY = my;
    menuBackground->BlitRect(0, 0, -1, -1, originX, originY, 0, 0);

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
    } else if (ButtonState(playButton) == 1 && pressed) {
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
    } else {
      if (ButtonState(optionsButton) == 1 && pressed) {
        FreeMainMenuPictures();
        RunOptionsMenu();
        LoadMainMenuPictures();
        WaitMouseRelease();
        menuBackground->BlitRect(0, 0, -1, -1, originX, originY, 0, 0);
      }
      if (ButtonState(quitButton) == 1 && pressed) menuChoice = 3;
      if (ButtonState(levelDownButton) != 2 && pressed) {
        --gameRecord.menuLevel;
        WaitWhileHeld(repeatDelay);
        repeatDelay = repeatDelay - 10 < 4 ? 4 : repeatDelay - 10;
      }
      if (ButtonState(levelUpButton) != 2 && pressed) {
        ++gameRecord.menuLevel;
        WaitWhileHeld(repeatDelay);
        repeatDelay = repeatDelay - 10 < 4 ? 4 : repeatDelay - 10;
      }
      // Kept as designed: only a press held as the menu opens starts at 500 ms; after any
      // release the repeat starts at 100 ms.
      if (!pressed) repeatDelay = 100;
      if (gameRecord.menuLevel < 1) gameRecord.menuLevel = 1;
      // Kept as designed: without a level count (no "zindo.ini") the selector shows 0.
      if (gameRecord.menuLevel > gameRecord.levelCount) gameRecord.menuLevel = gameRecord.levelCount;
      if (gameRecord.menuLevel > gameRecord.highestLevel) gameRecord.menuLevel = gameRecord.highestLevel;
      DrawNumber(gameRecord.menuLevel, 424, 313);
      DrawCursor();
      displayWindow->Flip(0);
    }
  } while (!displayWindow->IsQuitRequested() && menuChoice != 3);

  FreeMainMenuPictures();
  delete bigPlancheSheet;
  bigPlancheSheet = nullptr;
  return ok;
}
