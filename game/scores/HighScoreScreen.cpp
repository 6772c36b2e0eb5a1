// The high-score screen: the table from the menus, or the name entry after a game.
#include "game/scores/HighScoreScreen.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/layout/ScoreFont.h"
#include "game/layout/ScreenSize.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Input.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"

#include <cstdio>
#include <cstring>

namespace {

KGraphic* highScoreBackground = nullptr;
KGraphic* plainFont = nullptr;
KGraphic* highlightFont = nullptr;
ScreenButton highScoreBackButton;

char titleText[256];
char typedName[4];
std::int32_t cursorPos = -1;
std::int32_t newEntryIndex = -1;
std::int32_t blinkCounter = -1;

void DrawText(KGraphic* font, const char* text, int x, int y) {
  for (const char* p = text; *p; ++p) {
    const FontGlyph& g = kScoreFontGlyphs[GlyphIndex(*p)];
    if (font) font->BlitRect(g.left, g.top, g.right, g.bottom, x, y, 0, 0);
    x += g.right - g.left;
  }
}

}  // namespace

std::int32_t GlyphIndex(char c) {
  for (int i = 0; i < kScoreFontGlyphCount; ++i)
    if (kScoreFontGlyphs[i].c == c) return i;
  return kScoreFontBlank;
}

bool IsGlyphCharacter(char c) {
  for (const FontGlyph& g : kScoreFontGlyphs)
    if (g.c == c) return true;
  return false;
}

void DrawScoreText(const char* text, int x, int y) { DrawText(plainFont, text, x, y); }

void DrawScoreDigits(const char* text, int x, int y) {
  for (int n = 0; text[n]; ++n) {
    const FontGlyph& g = kScoreFontGlyphs[GlyphIndex(text[n])];
    if (plainFont) plainFont->BlitRect(g.left, g.top, g.right, g.bottom, x + 16 * n, y, 0, 0);
  }
}

void DrawEntryName(const HighScoreEntry& entry, int x, int y) {
  char name[256];
  std::memcpy(name, entry.name, sizeof name);
  name[255] = '\0';  // names are at most 255 bytes, whatever a file held
  DrawText(highlightFont, name, x, y);
}

char ReadNameKey() {
  char c = 0;
  for (int k = KEY_A; k <= KEY_Z; ++k)
    if (KInputState::IsKeyDown(k)) c = static_cast<char>('A' + (k - KEY_A));
  if (KInputState::IsKeyDown(KEY_SPACE)) c = ' ';
  if (KInputState::IsKeyDown(KEY_RETURN)) c = '+';
  for (int k = KEY_A; k <= KEY_Z; ++k) KInputState::WaitKeyUp(k);
  KInputState::WaitKeyUp(KEY_SPACE);
  return c;
}

char HandleNameKey() {
  const char c = ReadNameKey();
  if (c == '+') return '+';
  if (c == 0 || !IsGlyphCharacter(c)) return 0;
  if (cursorPos == 0) std::memset(typedName, 0, sizeof typedName);
  typedName[cursorPos] = c;
  highScores.SetName(newEntryIndex, typedName);
  if (++cursorPos > 2) cursorPos = 2;
  return 0;
}

void DrawHighScoreRows() {
  if (blinkCounter >= 0 && ++blinkCounter > 70) blinkCounter = 0;
  for (int i = 0; i < kHighScoreRows; ++i) {
    const int y = 267 + 31 * i;
    const HighScoreEntry* e = highScores.GetEntry(i);
    if (!e) continue;
    if (!(i == newEntryIndex && blinkCounter >= 35)) {
      char text[16];
      std::snprintf(text, sizeof text, "%d", i + 1);
      DrawScoreText(text, 475, y);
      std::snprintf(text, sizeof text, "%08d", static_cast<int>(e->score));
      DrawScoreDigits(text, 590, y);
    }
    DrawEntryName(*e, 520, y);
  }
}

bool RunHighScores(std::int32_t newScore) {
  newEntryIndex = -1;
  if (newScore >= 0) {
    newEntryIndex = highScores.Insert("", newScore);
    if (newEntryIndex == -1) return false;
    std::snprintf(titleText, sizeof titleText, "PLEASE ENTER YOUR NAME");
    std::memset(typedName, 0, sizeof typedName);
    cursorPos = 0;
  } else {
    std::snprintf(titleText, sizeof titleText, "GREATEST PLAYERS.");
    cursorPos = -1;
  }
  highScoreBackground = LoadMenuPicture("menu\\highscores.bmp");
  if (!highScoreBackground) return true;
  plainFont = LoadSprite(KPath::MakeAbsolute("data\\sprites\\policeoff.bmp"));
  highlightFont = LoadSprite(KPath::MakeAbsolute("data\\sprites\\policeon.bmp"));
  highScoreBackButton.picture = LoadMenuPicture("menu\\backhson.bmp");
  SetButtonArea(highScoreBackButton, kHighScoreBackPlace);

  SlidePanelDoors(0, -300, [&] { highScoreBackground->BlitRect(0, 0, kScreenWidth, kScreenHeight, 0, 0, 0, 0); });
  WaitMouseRelease();
  if (newScore != -1) playMusic(KPath::MakeAbsolute("data\\audio\\monkey5.ogg"));
  blinkCounter = newEntryIndex >= 0 ? 0 : -1;
  int frames = 0;
  MenuInput keys;

  for (;;) {
    const bool pressed = PollMouseButton();
    const MenuKeys k = keys.Read();
    if (cursorPos >= 0) {
      // The name is typed on the keyboard; the gamepad's Start ends it as Return does.
      if (HandleNameKey() == '+' || k.start) {
        SaveHighScores();
        break;
      }
    } else if (++frames >= 1700 || k.leave) {
      break;
    }
    highScoreBackground->BlitRect(0, 0, -1, -1, 0, 0, 0, 0);
    DrawHighScoreRows();
    if (ButtonState(highScoreBackButton) == ButtonResult::kClicked && pressed) break;
    DrawScoreText(titleText, 455, 207);
    if (cursorPos >= 0 && KInputState::IsKeyDown(KEY_BACKSPACE)) {
      typedName[cursorPos] = ' ';
      if (--cursorPos < 0) cursorPos = 0;
      highScores.SetName(newEntryIndex, typedName);
      KInputState::WaitKeyUp(KEY_BACKSPACE);
    }
    ShowFrame();
    if (PumpAndCheckQuit()) break;
  }

  for (KGraphic** p : {&highScoreBackground, &plainFont, &highlightFont}) {
    delete *p;
    *p = nullptr;
  }
  FreeButton(highScoreBackButton);
  SaveHighScores();
  return true;
}
