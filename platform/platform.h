// The operating-system services the engine needs, as plain functions in the engine's own
// terms. Exactly one implementation is linked into each program:
//   platform/sdl/     the real game (SDL2: window, display, sound card, input devices)
//   platform/script/  tests and the replay driver (virtual clock, scripted input, no devices)
// Nothing outside platform/ includes SDL headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// ---- Process ---------------------------------------------------------------------------

// Writes the full path of the folder holding the running executable, without a trailing
// separator, into buf (always zero-terminated, cut to size - 1 characters). Returns false
// and writes an empty text when the folder cannot be found.
bool ExecutableFolder(char* buf, std::size_t size);

// A monotonic clock in microseconds from an arbitrary origin. Cheap enough to call in busy
// waits. (The scripted platform advances its virtual clock by 10 us on every read.)
std::uint64_t ClockMicroseconds();

// Shows a modal box with a caption, a text and one OK button, and returns when it is closed.
// The scripted platform never blocks: it prints "box: CAPTION | TEXT" on standard output.
void ShowMessageBox(const char* caption, const char* text);

// Opens a document or web address (an absolute file path or a URL) with the user's
// preferred program. Returns false when nothing could be started. Never waits for the
// program: it returns as soon as the program is on its way.
bool OpenDocument(const char* pathOrUrl);

// The player's own folder for the files the game writes, created (with its parents) when
// missing: $XDG_DATA_HOME/zindorumba, or ~/.local/share/zindorumba when XDG_DATA_HOME is
// unset, empty or not an absolute path. Written into buf as a full path without a trailing
// separator (always zero-terminated). False, with an empty text, when there is no home to
// put it in or it cannot be created.
bool UserDataFolder(char* buf, std::size_t size);

// ---- Start dialog ----------------------------------------------------------------------
// A small window of its own, before the game window exists: the game draws it in pixels and
// reads its events. (The scripted platform answers it from the script's dialog line.)

struct DialogEvent {
  enum Kind {
    Redraw,      // the window needs its pixels again
    MouseMove,   // x, y in the dialog's pixels
    MouseDown,   // left button
    MouseUp,
    KeyReturn,
    KeyEscape,
    KeySpace,
    KeyTab,
    KeyBackTab,  // Shift+Tab
    Close,       // the window's close box
    // Scripted answers:
    SetFullScreenBox,  // value 0 or 1
    SetGamepadBox,
    PressHelp,
    PressPlay,
    PressQuit,
  };
  Kind kind;
  int x, y;
  int value;
};

// Opens the dialog window centred on the desktop. False when there is no display for it.
bool DialogOpen(const char* title, int width, int height);
// Shows width x height pixels, 0xAARRGGBB, row-major.
void DialogShow(const std::uint32_t* pixels);
// Waits for the next event (sleeping, not spinning).
DialogEvent DialogWaitEvent();
void DialogClose();

// ---- Display, window events and input ---------------------------------------------------
// (the graphics and input engine's needs)

// One game window at most. The game draws into its own 16-bit RGB565 back buffer of the
// window's client size; the display only ever receives rectangles of it that changed.
struct DisplayIcon {
  const std::uint32_t* argb;  // width * height pixels, 0xAARRGGBB, rows from the top
  int width;
  int height;
};
enum class DisplayOpenResult {
  kOk,
  kNoWindow,     // nothing could be opened (DisplayError() says why)
  kNoPresenter,  // the window exists but pictures cannot be handed to it (DisplayError())
};
// Opens the window, the picture width x height scaled to fill it with its aspect kept (black
// bars on the long side): a resizable window centred on the desktop, opening at the largest
// whole-number multiple of width x height that fits the desktop's usable area; or, full
// screen, the desktop's own mode. The desktop's resolution and depth are never changed. The
// window takes the input focus when shown. icon may be null. Alt+Enter and F11 switch between
// the two at any moment (WindowEvent::kDisplayModeChanged tells).
DisplayOpenResult DisplayOpen(const char* title, int width, int height, bool fullScreen,
                              const DisplayIcon* icon);
void DisplayClose();
// The platform's own description of the last failure, for the message box.
const char* DisplayError();

struct DisplayRect {
  int x, y, w, h;
};
// Hands the listed rectangles of frame (RGB565, width x height of DisplayOpen, pitch in
// pixels) to the display and shows them. Called once per presented frame, even with no
// rectangle; a present with no rectangle transfers nothing.
void DisplayPresent(const std::uint16_t* frame, int pitchPixels, const DisplayRect* rects,
                    int count);

// Window events the engine cares about. Input arrives by polling, not as events. kClose is
// any request to end: the window's close box, and SIGTERM or SIGINT to the process (from the
// dialog's start on; it waits in the queue until the game window reads it).
// kDisplayModeChanged: the player switched between window and full screen
// (DisplayIsFullScreen tells which is now shown).
enum class WindowEvent { kNone, kClose, kFocusGained, kFocusLost, kDisplayModeChanged, kOther };
// Removes and handles at most one waiting event; kNone when there was none.
WindowEvent PollWindowEvent();
// Blocks until an event arrives (or up to about 100 ms pass) and handles it.
WindowEvent WaitWindowEvent();
// True while the window is open and has the keyboard focus.
bool DisplayHasFocus();
// True while the window exists.
bool DisplayExists();
// Whether the window shows the picture full screen now.
bool DisplayIsFullScreen();

// Waits until the clock (ClockMicroseconds) reads at least deadline, without burning a core:
// sleeps until shortly before it, then spins briefly. Returns at once for a past deadline.
void WaitUntilMicroseconds(std::uint64_t deadline);

// Keyboard: key codes are USB HID keyboard usages (4 = A, 0x29 = Escape, 0x50 = Left, ...).
// The live state, seen at once even while nobody handles window events.
bool KeyDown(int hidUsage);
// Pointer in pixels of the picture (of the DisplayOpen size), through the scaling of the
// window or the full screen; positions outside the picture come back outside it.
void PointerPosition(int* x, int* y);
bool LeftButtonDown();
void ShowPointer(bool shown);
// Moves the pointer to a client position; false where the platform cannot move it.
bool WarpPointer(int x, int y);
// Lets the pointer leave the window if it was confined to it.
void ReleasePointerGrab();

// True while any key of the keyboard is down (one look, for "has the player done anything").
bool AnyKeyDown();

// Gamepads, through the platform's controller mapping (a pad of any make reads as the same
// named sticks and buttons). Between PadsStart and PadsStop the first pad attached is read:
// one plugged in later is taken at once, one pulled out reads as none.
enum PadButton : std::uint32_t {
  kPadA = 1u << 0, kPadB = 1u << 1, kPadX = 1u << 2, kPadY = 1u << 3,
  kPadBack = 1u << 4, kPadGuide = 1u << 5, kPadStart = 1u << 6,
  kPadLeftStick = 1u << 7, kPadRightStick = 1u << 8, kPadLeftShoulder = 1u << 9, kPadRightShoulder = 1u << 10,
  kPadUp = 1u << 11, kPadDown = 1u << 12, kPadLeft = 1u << 13, kPadRight = 1u << 14,
};
struct PadState {
  int leftX = 0, leftY = 0;    // the left stick, -32768..32767, y down
  std::uint32_t buttons = 0;   // PadButton bits
};
// False where the platform cannot read pads at all.
bool PadsStart();
void PadsStop();
// The first pad attached now: true with its state; false, with a centred idle state, when
// none is (or pads were not started).
bool PadRead(PadState* state);

// ---- Image decoding ---------------------------------------------------------------------

// Decodes a picture file held in memory (Windows bitmaps of every common depth, JPEG, PNG)
// into upright pixels 0x00RRGGBB of the image's own size. False when the bytes are none of
// these three or the picture is unreasonably large (over 16384 pixels a side or 16 M pixels
// in all), which the header tells before anything is decoded.
bool DecodeImage(const void* bytes, std::size_t size, std::vector<std::uint32_t>* pixels,
                 int* width, int* height);
// Writes pixels 0x00RRGGBB (rows from the top) as a 24-bit PNG file. False on failure.
bool WritePng24(const char* path, const std::uint32_t* pixels, int width, int height);

// ---- Audio device -----------------------------------------------------------------------
// One output stream in a fixed format: 44100 frames a second, two channels, signed 16-bit
// samples interleaved left, right. The engine mixes in software; the device only asks for
// frames. Everything keeps playing while the window is in the background.

constexpr int kAudioRate = 44100;
constexpr int kAudioChannels = 2;

// Fills `frames` frames (frames * kAudioChannels samples) at out. Called on a thread of the
// device's own (the scripted platform calls it from the thread that pulls), never for two
// blocks at once, and must not block for long.
using AudioMixCallback = void (*)(std::int16_t* out, int frames, void* user);

// Opens the default output and starts calling mix. The device buffer is small, so a sound
// started now is heard within about 25 ms. Returns false, with nothing running, when there
// is no device or it cannot be opened in this format; the caller then runs silent.
bool OpenAudioDevice(AudioMixCallback mix, void* user);

// Stops calling mix (waits for a call under way to finish) and releases the device. Does
// nothing when none is open.
void CloseAudioDevice();

}  // namespace plat
