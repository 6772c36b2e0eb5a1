#include "game/startup/Startup.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/StartSettings.h"
#include "game/layout/ScreenSize.h"
#include "game/menus/MainMenu.h"
#include "game/sound/SoundCues.h"
#include "game/startup/CommandLine.h"
#include "game/startup/GameMain.h"
#include "game/startup/WelcomeDialog.h"
#include "game/ui/Screen.h"

bool InitGame() {
  LoadDataConfig();
  if (LevelAloneAsked()) {
    // One level to test-play (the editor's Test): no dialog, the last choices of it.
    InitEngineServices();
    LoadWindowedFlag();
    LoadGamepadFlag();
  } else if (!ShowWelcomeDialog()) {
    Trace("ShowWelcomeDialog FAILED !");
    return false;
  }
  Trace("ShowWelcomeDialog ok");
  displayWindow = new KDisplayWindow();
  if (!displayWindow->Create(kScreenWidth, kScreenHeight, kScreenBitsPerPixel, windowed != 0, "ZindoRumba")) {
    // Mended: without a window the start went on, and the box saying why was followed by a
    // "No BackBuffer" box from every screen that looked for the picture. The reason is said
    // once and the game ends.
    Trace("InitializeGraphicEngine FAILED");
    delete displayWindow;
    displayWindow = nullptr;
    return false;
  }
  Trace("InitializeGraphicEngine ok");
  // Alt+Enter and F11 switch at any moment; the choice is kept as the dialog's box keeps it,
  // so that the next start offers it.
  KDisplayWindow::SetModeListener([](bool fullScreen) {
    windowed = fullScreen ? 0 : 1;
    SaveWindowedFlag();
  });
  if (!InitialiseCursors()) {
    Trace("InitialiseCursors FAILED");
    return false;
  }
  Trace("InitialiseCursors OK");
  loadPlaySounds();
  return true;
}

void ShutdownGame() {
  // Mended: the music was never stopped, so the sound device stayed open after the game had
  // ended and its thread went on mixing while the program's globals were destroyed (now and
  // then a crash at exit). Sound goes first, the device closed, before anything else.
  releaseAllSound();
  FreeCursors();
  delete displayWindow;
  displayWindow = nullptr;
}

int GameMainWith(const std::function<void()>& firstScreen) {
  if (!InitGame()) {
    ShutdownGame();  // whatever the start had made (a box has said why)
    return 0;
  }
  KGraphic::SetScreenSize(kScreenWidth, kScreenHeight, kScreenBitsPerPixel);
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
