// The two start settings chosen in the welcome dialog, kept in one-byte files in the save
// folder (KPath::MakeSavePath, beside the executable unless that one is read-only):
// "data\fullscreen.stt" holds `windowed` (0 = full screen, anything else = a
// window) and "data\gamepad.stt" holds `gamepadEnabled` (1 = use joystick 0, anything
// else = no gamepad). Missing files keep the defaults; unwritable ones are skipped (a save
// replaces the file whole or leaves it as it was).
#pragma once

#include <cstdint>

extern std::uint8_t windowed;        // 1 at program start
extern std::uint8_t gamepadEnabled;  // 0 at program start

void LoadWindowedFlag();
void SaveWindowedFlag();
void LoadGamepadFlag();
void SaveGamepadFlag();

// Whether the settings ask for joystick 0 (only the exact value 1 does).
inline bool GamepadChosen() { return gamepadEnabled == 1; }
