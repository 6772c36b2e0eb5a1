// The operating-system services the engine needs, as plain functions in the engine's own
// terms. Exactly one implementation is linked into each program:
//   platform/sdl/     the real game (SDL2: window, display, sound card, input devices)
//   platform/script/  tests and the replay driver (virtual clock, scripted input, no devices)
// Nothing outside platform/ includes SDL headers.
#pragma once

#include <cstddef>
#include <cstdint>

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
// preferred program. Returns false when nothing could be started.
bool OpenDocument(const char* pathOrUrl);

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

// ---- Image decoding ---------------------------------------------------------------------

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
