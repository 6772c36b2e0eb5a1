#include "Startup.h"

#include "DataConfig.h"
#include "GameMain.h"
#include "Input.h"
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "MainMenu.h"
#include "Services.h"
#include "SoundCues.h"
#include "StartSettings.h"
#include "WelcomeDialog.h"

KDisplayWindow* displayWindow = nullptr;

namespace {
KGraphic* cursorImage = nullptr;
KGraphic* currentPointer = nullptr;
std::int32_t pointerIdleCount = 0;
std::int32_t pointerStepCount = 0;
std::int32_t pointerFrameX = 0;
bool systemCursorShown = false;
}  // namespace

KGraphic* LoadSprite(const char* path) {
  KGraphic* picture = new KGraphic();
  picture->LoadPicture(path, true, false, 31, 31);
  if (picture->pixelWidth == 0 || picture->pixelHeight == 0) {
    delete picture;
    return nullptr;
  }
  return picture;
}

bool InitialiseCursors() {
  cursorImage = LoadSprite(KPath::MakeAbsolute("data\\general\\curseur.bmp"));
  if (!cursorImage) return false;
  currentPointer = cursorImage;
  KInputState::HideMouseCursor();
  return true;
}

void FreeCursors() {
  KInputState::ShowMouseCursor();
  delete cursorImage;
  cursorImage = nullptr;
  currentPointer = nullptr;
}

void SelectStandardPointer() { currentPointer = cursorImage; }

void DrawCursor() {
  const int x = MouseX(), y = MouseY();
  if (!currentPointer) return;
  if (x < 0 || x > 800 || y < 0 || y > 600) {
    if (!systemCursorShown) {
      KInputState::ShowMouseCursor();
      systemCursorShown = true;
    }
    return;
  }
  if (systemCursorShown) {
    KInputState::HideMouseCursor();
    systemCursorShown = false;
  }
  // Blink: frame 0 for about 206 calls, then frames 1..4 for six calls each.
  if (++pointerIdleCount > 200) {
    if (++pointerStepCount > 5) {
      pointerStepCount = 0;
      pointerFrameX += 21;
      if (pointerFrameX >= 105) {
        pointerFrameX = 0;
        pointerIdleCount = 0;
      }
    }
  }
  currentPointer->BlitRectKeyed(pointerFrameX, 0, pointerFrameX + 21, 34, x, y, 0, 0);
}

int ButtonState(KGraphic* button) {
  const int x = MouseX(), y = MouseY();
  if (x < button->buttonLeft || x > button->buttonRight || y < button->buttonTop || y > button->buttonBottom) return 2;
  button->BlitRect(0, 0, static_cast<int>(button->width), static_cast<int>(button->height), button->buttonX,
                   button->buttonY, 0, 0);
  SelectStandardPointer();
  return (x == pressX && y == pressY) ? 1 : 0;
}

bool InitGame() {
  LoadDataConfig();
  if (!ShowWelcomeDialog()) {
    Trace("ShowWelcomeDialog FAILED !");
    return false;
  }
  Trace("ShowWelcomeDialog ok");
  displayWindow = new KDisplayWindow();
  if (!displayWindow->Create(800, 600, 16, windowed != 0, "ZindoRumba")) {
    // Mended: without a window the start went on, and the box saying why was followed by a
    // "No BackBuffer" box from every screen that looked for the picture. The reason is said
    // once and the game ends.
    Trace("InitializeGraphicEngine FAILED");
    delete displayWindow;
    displayWindow = nullptr;
    return false;
  }
  Trace("InitializeGraphicEngine ok");
  if (!InitialiseCursors()) {
    Trace("InitialiseCursors FAILED");
    return false;
  }
  Trace("InitialiseCursors OK");
  loadPlaySounds();
  return true;
}

void ShutdownGame() {
  FreeCursors();
  freePlaySounds();
  delete displayWindow;
  displayWindow = nullptr;
}

int GameMainWith(const std::function<void()>& firstScreen) {
  KLogger logger(2);
  if (!InitGame()) return 0;
  KGraphic::SetScreenSize(800, 600, 16);
  KGraphic::CheckBackBuffer();
  KInputState::Init(KDisplayWindow::GetWindowHandle());
  if (GamepadChosen()) KInputState::CaptureJoystick(0);
  firstScreen();
  if (GamepadChosen()) KInputState::ReleaseJoystick(0);
  ShutdownGame();
  return 0;
}

int GameMain() {
  return GameMainWith([] { RunMainMenu(); });
}
