// What every screen of the game uses: the one display window, the picture loaders, the
// animated pointer sprite, screen buttons and the side-panel / menu numbers.
#pragma once

#include <cstdint>

#include "game/layout/ButtonLayout.h"

class KDisplayWindow;
class KGraphic;

extern KDisplayWindow* displayWindow;

// A new picture from a file beside the executable (path already absolute), pure blue
// transparent; none when the file cannot be read (the loader has shown why).
KGraphic* LoadSprite(const char* path);
// Front-end pictures from "data\general\ENGLISH\" (name such as "menu\playon.bmp"). The
// picture is returned even when its file could not be read (it then draws nothing).
KGraphic* LoadMenuPicture(const char* name);

// The pointer sprite: loaded at start-up, drawn by the menus once a frame after their own
// drawing. InitialiseCursors also hides the system pointer; FreeCursors shows it again.
bool InitialiseCursors();
void FreeCursors();
void SelectStandardPointer();
void DrawCursor();

// Shows the frame drawn into the back buffer (KDisplayWindow::Flip); nothing without a window.
void Present();
// The end of a screen's frame: the pointer sprite over the screen's drawing, then Present.
void ShowFrame();

// A screen button: its highlighted picture, where that is drawn, and the hit rectangle
// (inclusive bounds, screen pixels).
struct ScreenButton {
  KGraphic* picture = nullptr;
  std::int16_t drawX = 0, drawY = 0;
  std::int32_t left = 0, right = 0, top = 0, bottom = 0;
};
void SetButtonArea(ScreenButton& button, const ButtonPlace& place);

enum class ButtonResult {
  kOutside,  // the pointer is not over it
  kHovered,  // over it: the highlight is drawn
  kClicked,  // over it, the left button held and the pointer still where the press began
};
// Tests the pointer against the button and draws the highlight when it is over it. A menu
// polls the mouse button once at the top of its frame, then asks each of its buttons.
ButtonResult ButtonState(const ScreenButton& button);
// The same test without drawing anything, and the highlight drawn alone (for the button the
// keys or the gamepad have chosen).
ButtonResult ButtonTest(const ScreenButton& button);
void DrawButtonLit(const ScreenButton& button);
void FreeButton(ScreenButton& button);

// The sheet of digits and play-screen objects ("data\sprites\bigplanche.bmp"): loaded while
// the main menu runs, drawn from by the play screens started from it.
extern KGraphic* bigPlancheSheet;
// Draws value right-aligned so that its last digit ends at rightX, top at y, with the digit
// glyphs of the sheet. A minus sign has no glyph and is drawn as "0".
void DrawNumber(std::int32_t value, int rightX, int y);
// Index into the digit glyph table of a character; 0 (the glyph "0") when it has none.
int FindGlyph(char c);
