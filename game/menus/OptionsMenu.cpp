#include "game/menus/OptionsMenu.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/files/RawFiles.h"
#include "game/layout/ScreenSize.h"
#include "game/menus/MainMenu.h"
#include "game/scores/HighScoreScreen.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"
#include "game/ui/Screen.h"

#include <cstdint>
#include <initializer_list>

namespace {

struct OptionsPictures {
  KGraphic* background = nullptr;
  KGraphic* volumeBar = nullptr;
  ScreenButton back;
  ScreenButton musicDown;
  ScreenButton musicUp;
  ScreenButton effectsDown;
  ScreenButton effectsUp;
  ScreenButton resetScores;

  void Free() {
    for (KGraphic** p : {&background, &volumeBar}) {
      delete *p;
      *p = nullptr;
    }
    for (ScreenButton* b : {&back, &musicDown, &musicUp, &effectsDown, &effectsUp, &resetScores}) FreeButton(*b);
  }
};

KGraphic* Sprite(const char* name) { return LoadSprite(KPath::MakeAbsolute(name)); }

bool Load(OptionsPictures& p) {
  p.background = LoadMenuPicture("menu\\optionsoff.bmp");
  p.back.picture = LoadMenuPicture("menu\\backon.bmp");
  SetButtonArea(p.back, kOptionsBackPlace);
  if (!(p.musicDown.picture = Sprite("data\\sprites\\vlefton.bmp"))) return false;
  SetButtonArea(p.musicDown, kMusicDownPlace);
  if (!(p.musicUp.picture = Sprite("data\\sprites\\vrighton.bmp"))) return false;
  SetButtonArea(p.musicUp, kMusicUpPlace);
  if (!(p.effectsDown.picture = Sprite("data\\sprites\\sleft.bmp"))) return false;
  SetButtonArea(p.effectsDown, kEffectsDownPlace);
  if (!(p.effectsUp.picture = Sprite("data\\sprites\\sright.bmp"))) return false;
  SetButtonArea(p.effectsUp, kEffectsUpPlace);
  if (!(p.volumeBar = Sprite("data\\sprites\\progress.bmp"))) return false;
  p.resetScores.picture = LoadMenuPicture("menu\\resetscore.bmp");
  SetButtonArea(p.resetScores, kResetScoresPlace);
  return true;
}

int Clamp09(int v) { return v < 0 ? 0 : (v > 9 ? 9 : v); }

void Step(std::int32_t& level, int delta) {
  // Widened first: a level read from a damaged file may sit at the end of the int range.
  const std::int64_t stepped = std::int64_t{level} + delta;
  level = static_cast<std::int32_t>(stepped < 0 ? 0 : (stepped > 9 ? 9 : stepped));
}

void StepWhileHeld(const ScreenButton& arrow, bool pressed, std::int32_t& level, int delta) {
  if (ButtonTest(arrow) == ButtonResult::kOutside || !pressed) return;
  Step(level, delta);
  WaitWhileHeld(120);
}

// What the keys and the gamepad work, in their order: the two volumes, Reset, Back.
enum Choice { kMusic, kEffects, kReset, kBack, kChoiceCount };

}  // namespace

bool RunOptionsMenu() {
  OptionsPictures p;
  if (!Load(p)) {
    p.Free();
    return false;
  }
  WaitMouseRelease();
  const ScreenButton* const hit[kChoiceCount][2] = {
      {&p.musicDown, &p.musicUp}, {&p.effectsDown, &p.effectsUp}, {&p.resetScores, nullptr}, {&p.back, nullptr}};
  int highlight = kMusic;
  int lastPointerX = MouseX(), lastPointerY = MouseY();
  MenuInput keys;
  for (;;) {
    const bool pressed = PollMouseButton();
    const MenuKeys k = keys.Read();
    p.background->BlitRect(0, 0, kScreenWidth, kScreenHeight, 0, 0, 0, 0);
    if (KInputState::IsKeyDown(KEY_H)) {
      RunHighScores(-1);
      keys.Reset();
    }
    // The highlight follows the pointer onto a bar's arrow, Reset or Back; the keys move it.
    const int mx = MouseX(), my = MouseY();
    if (mx != lastPointerX || my != lastPointerY) {
      for (int i = 0; i < kChoiceCount; ++i)
        for (const ScreenButton* b : hit[i])
          if (b && ButtonTest(*b) != ButtonResult::kOutside) highlight = i;
    }
    lastPointerX = mx;
    lastPointerY = my;
    if (k.up || k.previous) highlight = (highlight + kChoiceCount - 1) % kChoiceCount;
    if (k.down || k.next) highlight = (highlight + 1) % kChoiceCount;
    for (const ScreenButton* b : hit[highlight])
      if (b) DrawButtonLit(*b);
    if ((ButtonTest(p.back) == ButtonResult::kClicked && pressed) || k.back || (k.press && highlight == kBack)) break;
    // The arrows act in every frame they are held over (no press point), then hold 120 ms.
    StepWhileHeld(p.musicUp, pressed, musicLevel, +1);
    StepWhileHeld(p.musicDown, pressed, musicLevel, -1);
    StepWhileHeld(p.effectsUp, pressed, effectsLevel, +1);
    StepWhileHeld(p.effectsDown, pressed, effectsLevel, -1);
    // Left and Right step the highlighted volume once a press, as a click on its arrow.
    if (highlight == kMusic || highlight == kEffects) {
      std::int32_t& level = highlight == kMusic ? musicLevel : effectsLevel;
      if (k.right) Step(level, +1);
      if (k.left) Step(level, -1);
    }
    if ((ButtonTest(p.resetScores) != ButtonResult::kOutside && pressed) || (k.press && highlight == kReset)) {
      ResetHighScores();
      SaveHighScores();
      WriteHighestLevel(1);
    }
    musicLevel = Clamp09(musicLevel);
    effectsLevel = Clamp09(effectsLevel);
    setVolumes(musicLevel * 10, effectsLevel * 10);
    const int barHeight = static_cast<int>(p.volumeBar->height);
    p.volumeBar->BlitRectKeyed(0, 0, kVolumeBarWidths[musicLevel], barHeight, kMusicBarX, kMusicBarY, 0, 0);
    p.volumeBar->BlitRectKeyed(0, 0, kVolumeBarWidths[effectsLevel], barHeight, kEffectsBarX, kEffectsBarY, 0, 0);
    ShowFrame();
    if (PumpAndCheckQuit()) break;
  }
  p.Free();
  SaveVolumePrefs();
  return true;
}
