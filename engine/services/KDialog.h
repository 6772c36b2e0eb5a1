// The small window of the welcome dialog, before the game window exists: the game draws it
// in pixels and reads its events. And the desktop's opener for documents (the help page).
#pragma once

#include <cstdint>

#include "platform/platform.h"

// What the dialog window tells: a redraw, the pointer, a key, its close box, or (on the
// scripted platform) the script's answers.
using KDialogEvent = plat::DialogEvent;

class KDialog {
 public:
  // Opens the dialog window centred on the desktop; false when there is no display for it.
  static bool Open(const char* title, int width, int height);
  // Shows width x height pixels, 0xAARRGGBB, row-major.
  static void Show(const std::uint32_t* pixels);
  // Waits for the next event (sleeping, not spinning).
  static KDialogEvent WaitEvent();
  static void Close();
  // Opens a document or web address with the player's preferred program; false when
  // nothing could be started. Never waits for the program.
  static bool OpenDocument(const char* pathOrUrl);
};
