#include "OptionsMenu.h"

#include "HighScores.h"
#include "Input.h"
#include "KDisplayWindow.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "MainMenu.h"
#include "RawFiles.h"
#include "Services.h"
#include "SoundCues.h"
#include "Startup.h"

#include <cstdint>
#include <initializer_list>

namespace {

struct OptionsPictures {
  KGraphic* background = nullptr;
  KGraphic* back = nullptr;
  KGraphic* musicDown = nullptr;
  KGraphic* musicUp = nullptr;
  KGraphic* effectsDown = nullptr;
  KGraphic* effectsUp = nullptr;
  KGraphic* volumeBar = nullptr;
  KGraphic* resetScores = nullptr;

  void Free() {
    for (KGraphic** p : {&background, &back, &musicDown, &musicUp, &effectsDown, &effectsUp, &volumeBar, &resetScores}) {
      delete *p;
      *p = nullptr;
    }
  }
};

KGraphic* Sprite(const char* name) { return LoadSprite(KPath::MakeAbsolute(name)); }

bool Load(OptionsPictures& p) {
  p.background = LoadMenuPicture("menu\\optionsoff.bmp");
  p.back = LoadMenuPicture("menu\\backon.bmp");
  SetButtonArea(p.back, 350, 484, 352, 440, 490, 525);
  if (!(p.musicDown = Sprite("data\\sprites\\vlefton.bmp"))) return false;
  SetButtonArea(p.musicDown, 484, 166, 484, 504, 167, 188);
  if (!(p.musicUp = Sprite("data\\sprites\\vrighton.bmp"))) return false;
  SetButtonArea(p.musicUp, 621, 166, 621, 640, 167, 190);
  if (!(p.effectsDown = Sprite("data\\sprites\\sleft.bmp"))) return false;
  SetButtonArea(p.effectsDown, 483, 227, 484, 504, 228, 251);
  if (!(p.effectsUp = Sprite("data\\sprites\\sright.bmp"))) return false;
  SetButtonArea(p.effectsUp, 622, 228, 622, 640, 228, 251);
  if (!(p.volumeBar = Sprite("data\\sprites\\progress.bmp"))) return false;
  p.resetScores = LoadMenuPicture("menu\\resetscore.bmp");
  SetButtonArea(p.resetScores, 479, 366, 478, 620, 366, 390);
  return true;
}

int Clamp09(int v) { return v < 0 ? 0 : (v > 9 ? 9 : v); }

void StepWhileHeld(KGraphic* arrow, bool pressed, std::int32_t& level, int delta) {
  if (ButtonState(arrow) == 2 || !pressed) return;
  // Widened first: a level read from a damaged file may sit at the end of the int range.
  const std::int64_t stepped = std::int64_t{level} + delta;
  level = static_cast<std::int32_t>(stepped < 0 ? 0 : (stepped > 9 ? 9 : stepped));
  WaitWhileHeld(120);
}

}  // namespace

bool RunOptionsMenu() {
  OptionsPictures p;
  if (!Load(p)) {
    p.Free();
    return false;
  }
  WaitMouseRelease();
  for (;;) {
    const bool pressed = PollMouseButton();
    p.background->BlitRect(0, 0, 800, 600, 0, 0, 0, 0);
    if (KInputState::IsKeyDown(KEY_H)) RunHighScores(-1);
    if (ButtonState(p.back) == 1 && pressed) break;
    // The arrows act in every frame they are held over (no press point), then hold 120 ms.
    StepWhileHeld(p.musicUp, pressed, musicLevel, +1);
    StepWhileHeld(p.musicDown, pressed, musicLevel, -1);
    StepWhileHeld(p.effectsUp, pressed, effectsLevel, +1);
    StepWhileHeld(p.effectsDown, pressed, effectsLevel, -1);
    if (ButtonState(p.resetScores) != 2 && pressed) {
      ResetHighScores();
      SaveHighScores();
      WriteHighestLevel(1);
    }
    musicLevel = Clamp09(musicLevel);
    effectsLevel = Clamp09(effectsLevel);
    setVolumes(musicLevel * 10, effectsLevel * 10);
    const int barHeight = static_cast<int>(p.volumeBar->height);
    p.volumeBar->BlitRectKeyed(0, 0, kVolumeBarWidths[musicLevel], barHeight, 518, 159, 0, 0);
    p.volumeBar->BlitRectKeyed(0, 0, kVolumeBarWidths[effectsLevel], barHeight, 518, 221, 0, 0);
    DrawCursor();
    displayWindow->Flip(0);
    if (PumpAndCheckQuit()) break;
  }
  p.Free();
  SaveVolumePrefs();
  return true;
}
