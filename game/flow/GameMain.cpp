#include "GameMain.h"

#include "DataConfig.h"
#include "Input.h"
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "Services.h"

#include <memory>

// Until the start-up and the menus arrive, the program opens the window, shows the island
// backdrop with the pointer sprite at the mouse, and ends on the close box or Escape.
int GameMain() {
  KLogger logger(2);
  InitEngineServices();
  LoadDataConfig();

  auto display = std::make_unique<KDisplayWindow>();
  display->Create(800, 600, 16, true, "ZindoRumba");
  KGraphic::SetScreenSize(800, 600, 16);
  KGraphic::CheckBackBuffer();
  KInputState::Init(KDisplayWindow::GetWindowHandle());

  auto backdrop = std::make_unique<KGraphic>();
  backdrop->LoadPicture(KPath::MakeAbsolute("data\\levels\\islands\\beach.bmp"), 1, 0, 31, 31);
  auto pointer = std::make_unique<KGraphic>();
  pointer->LoadPicture(KPath::MakeAbsolute("data\\general\\curseur.bmp"), 1, 0, 31, 31);
  KInputState::HideMouseCursor();

  WaitMouseRelease();
  while (!KDisplayWindow::IsQuitRequested()) {
    PollMouseButton();
    if (KInputState::IsKeyDown(KEY_ESCAPE)) break;
    KGraphic::ClearBackBuffer(0, 0, 0, 0, true);
    backdrop->BlitRect(0, 0, -1, -1, 0, 0);
    // The pointer strip holds five frames of 21 x 34; the first one is the plain arrow.
    pointer->BlitRectKeyed(0, 0, 21, 34, MouseX(), MouseY());
    display->Flip();
    if (PumpAndCheckQuit()) break;
  }

  KInputState::ShowMouseCursor();
  pointer.reset();
  backdrop.reset();
  display.reset();
  return 0;
}
