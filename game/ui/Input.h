// The game's input layer over the engine: the pointer as 16-bit values and the left button
// with the point where it went down, which tells a click on a menu button from a hover.
#pragma once

#include <cstdint>

// The pointer position where the left button was first seen down; -1 while it is up.
extern std::int32_t pressX;
extern std::int32_t pressY;

// The engine's pointer position cut to 16 bits and sign-extended.
std::int32_t MouseX();
std::int32_t MouseY();
// True while the left button is down; the first time it is seen down, the pointer position
// becomes the press point. Up: the press point goes back to -1.
bool PollMouseButton();
// Polls until the button is up (no drawing, no window events).
void WaitMouseRelease();
// Handles at most one waiting window event, then tells whether the game should end.
bool PumpAndCheckQuit();
