// Start-up and shutdown, the pointer sprite and the menu-button test every screen uses.
#pragma once

#include <cstdint>

class KDisplayWindow;
class KGraphic;

extern KDisplayWindow* displayWindow;

// A new picture from a file beside the executable (path already absolute), pure blue
// transparent; none when the file cannot be read (the loader has shown why).
KGraphic* LoadSprite(const char* path);

bool InitGame();
void ShutdownGame();

bool InitialiseCursors();
void FreeCursors();
void SelectStandardPointer();
// Draws the pointer sprite at the mouse, once per frame after the screen's own drawing.
void DrawCursor();

// 2: pointer outside the button's hit rectangle; 0: over it (its highlight is drawn);
// 1: clicked (held, and the pointer has not moved since the press).
int ButtonState(KGraphic* button);
