// Controls of the scripted platform, for tests and the replay driver. Programs linked with
// zr_platform_script use these to set the stage the engine then runs on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace script {

// The folder that plays the part of the executable's folder (default: the current directory).
void SetRoot(const std::string& folder);

// The virtual clock, in microseconds. It starts at 0 and every read through the platform
// advances it by kClockStepMicroseconds, so busy waits always end.
constexpr std::uint64_t kClockStepMicroseconds = 10;
std::uint64_t Now();
void SetNow(std::uint64_t microseconds);
void Advance(std::uint64_t microseconds);

// Every message box shown so far, as "CAPTION | TEXT", and every document opened.
const std::vector<std::string>& Boxes();
const std::vector<std::string>& OpenedDocuments();
// Echo boxes on standard output as "box: CAPTION | TEXT" (on by default).
void SetEchoBoxes(bool on);
// Whether the desktop has a program to open documents (true by default). Without one,
// OpenDocument records nothing and fails, as the game's does without xdg-open.
void SetDocumentOpener(bool present);
void ClearRecords();

// ---- Display, window events and input --------------------------------------------------

// Called on every clock read and every input poll (after the clock moved on), and with
// afterPresent = true right after each presented frame. The replay driver runs its script
// from here. Calls made from inside the hook do not call it again.
using TickHook = void (*)(bool afterPresent);
void SetTickHook(TickHook hook);
// Runs the hook (used by the scripted platform itself).
void RunTickHook(bool afterPresent);

// Input as the program will read it.
void SetPointer(int x, int y);
void SetButton(bool down);
void SetKey(int hidUsage, bool down);
void ReleaseAllKeys();
void SetJoystickPresent(bool present);  // a pad is attached (plugged in or pulled out at once)
void SetJoystickAxis(int x, int y = 32768);  // the left stick, 0..65535 each, 32768 centred
void SetJoystickButtons(std::uint32_t bits);  // plat::PadButton bits
// Focus changes and the close box arrive as window events, in order.
void SetFocus(bool on);
void PostClose();
bool PointerShown();
// Whether the program may move the pointer (true by default; false as on platforms that forbid it).
void SetWarpAllowed(bool allowed);

// The display: whether it is open, its title, frames presented so far and the picture as last
// presented (RGB565).
bool DisplayOpened();
const std::string& DisplayTitle();
std::uint64_t FramesPresented();
const std::vector<std::uint16_t>& Screen();
// The icon given to the window (0xAARRGGBB), empty when none.
const std::vector<std::uint32_t>& Icon();
// Writes the picture as last presented as a 24-bit PNG (565 widened by repeating the top bits).
bool WriteScreenshot(const std::string& path);
// Makes the next DisplayOpen fail (for the failure boxes).
void FailNextDisplayOpen(bool failWindow);
// Back to a closed display, no input, no events, no hook, frame count 0.
void ResetDisplayAndInput();

// The welcome dialog's answer, for when the program asks for it.
struct DialogAnswer {
  bool given = false;  // false: Play, with the boxes as they were read
  bool play = true;
  int fullScreen = -1;  // -1: as read; 0 or 1
  int gamepad = -1;
  bool help = false;
};
void SetDialogAnswer(const DialogAnswer& answer);
const DialogAnswer& GetDialogAnswer();

}  // namespace script
