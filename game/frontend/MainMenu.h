// The main menu: Play, Options, Quit, the start-level selector, and the attract mode (after
// eight idle seconds the demonstration game and the high-score table, in turn).
#pragma once

#include <cstdint>

class KGraphic;

// The sheet of digits and play-screen objects; loaded while the menu runs, drawn by the play
// screens started from it.
extern KGraphic* bigPlancheSheet;

bool RunMainMenu();
bool LoadMainMenuPictures();
void FreeMainMenuPictures();

// Front-end pictures from "data\general\ENGLISH\" (name such as "menu\playon.bmp"). The
// picture is returned even when its file could not be read (it then draws nothing).
KGraphic* LoadMenuPicture(const char* name);
void SetButtonArea(KGraphic* button, int drawX, int drawY, int left, int right, int top, int bottom);

// Waits up to ms milliseconds while the left button stays down.
void WaitWhileHeld(int ms);

// Draws value right-aligned so that its last digit ends at rightX, top at y.
void DrawNumber(std::int32_t value, int rightX, int y);
int FindGlyph(char c);

// Which attract screen comes next: false = demonstration game, true = high-score table.
extern bool attractToggle;
