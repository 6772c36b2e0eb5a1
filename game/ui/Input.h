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

// Play's own inputs from the gamepad, false unless the gamepad was chosen: any face button
// (A, B, X, Y) launches and fires, Start pauses as P does, Back gives up as Escape does.
bool PadFireDown();
bool PausePressedNow();    // P or the pad's Start held
bool GiveUpPressedNow();   // Escape or the pad's Back held

// The keys and gamepad buttons that work the screens besides the mouse, each seen once, in
// the frame it goes down. The gamepad counts only when it was chosen in the welcome dialog.
struct MenuKeys {
  bool up = false, down = false;      // arrows, the pad's D-pad or stick
  bool left = false, right = false;
  bool next = false, previous = false;  // Tab, Shift+Tab
  bool press = false;   // Return, the pad's A or Start
  bool back = false;    // Escape, the pad's Back or B
  bool quit = false;    // Escape, the pad's Back
  bool table = false;   // Space, the pad's Y: the main menu shows the table
  bool start = false;   // the pad's Start
  bool anyButton = false;  // any button of the pad
  bool leave = false;   // what leaves a screen that only shows something: Return, Space,
                        // Escape or any pad button
  bool active = false;  // any key or pad input held now (the attract mode's activity)
};
class MenuInput {
 public:
  // What is held as the screen opens counts as seen already: the key or button that opened
  // a screen (or left the one before) does nothing in it until pressed again.
  MenuInput() { Reset(); }
  void Reset();
  // Once a frame.
  MenuKeys Read();

 private:
  std::uint32_t held_ = 0;
};
