#include "game/ui/Screen.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/layout/DigitGlyphs.h"
#include "game/layout/ScreenSize.h"
#include "game/ui/Input.h"

#include <cstdio>
#include <cstring>

KDisplayWindow* displayWindow = nullptr;
KGraphic* bigPlancheSheet = nullptr;

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

KGraphic* LoadMenuPicture(const char* name) {
  char relative[260];
  std::snprintf(relative, sizeof relative, "data\\general\\ENGLISH\\%s", name);
  KGraphic* picture = new KGraphic();
  picture->LoadPicture(KPath::MakeAbsolute(relative), true, false, 31, 31);
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
  if (x < 0 || x > kScreenWidth || y < 0 || y > kScreenHeight) {
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

void Present() {
  if (displayWindow) displayWindow->Flip(0);
}

void ShowFrame() {
  DrawCursor();
  Present();
}

void SetButtonArea(ScreenButton& button, const ButtonPlace& place) {
  button.drawX = place.drawX;
  button.drawY = place.drawY;
  button.left = place.left;
  button.right = place.right;
  button.top = place.top;
  button.bottom = place.bottom;
}

ButtonResult ButtonTest(const ScreenButton& button) {
  const int x = MouseX(), y = MouseY();
  if (x < button.left || x > button.right || y < button.top || y > button.bottom) return ButtonResult::kOutside;
  return (x == pressX && y == pressY) ? ButtonResult::kClicked : ButtonResult::kHovered;
}

void DrawButtonLit(const ScreenButton& button) {
  if (button.picture)
    button.picture->BlitRect(0, 0, static_cast<int>(button.picture->width), static_cast<int>(button.picture->height),
                             button.drawX, button.drawY, 0, 0);
}

ButtonResult ButtonState(const ScreenButton& button) {
  const ButtonResult r = ButtonTest(button);
  if (r == ButtonResult::kOutside) return r;
  DrawButtonLit(button);
  SelectStandardPointer();
  return r;
}

void FreeButton(ScreenButton& button) {
  delete button.picture;
  button.picture = nullptr;
}

int FindGlyph(char c) {
  for (int i = 0; i < kDigitGlyphCount; ++i)
    if (kDigitGlyphs[i].c == c) return i;
  return 0;
}

void DrawNumber(std::int32_t value, int rightX, int y) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  if (text[0] == '\0') std::strcpy(text, "0");
  for (int i = static_cast<int>(std::strlen(text)) - 1; i >= 0; --i) {
    const DigitGlyph& g = kDigitGlyphs[FindGlyph(text[i])];
    rightX -= g.end - g.start;
    if (bigPlancheSheet)
      bigPlancheSheet->BlitRectKeyed(kDigitGlyphLeft + g.start, kDigitGlyphTop, kDigitGlyphLeft + g.end,
                                     kDigitGlyphBottom, rightX, y, 0, 0);
  }
}
