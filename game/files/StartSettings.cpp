#include "game/files/StartSettings.h"

#include "engine/services/ReplaceFile.h"
#include "engine/services/Services.h"

#include <cstdio>

std::uint8_t windowed = 1;
std::uint8_t gamepadEnabled = 0;

namespace {

void LoadByte(const char* name, std::uint8_t& value) {
  std::FILE* f = std::fopen(KPath::MakeSavePath(name), "rb");
  if (!f) return;
  const int c = std::fgetc(f);
  if (c != EOF) value = static_cast<std::uint8_t>(c);  // an empty file keeps the value
  std::fclose(f);
}

// Mended: the file used to be emptied first and then written, so a full disk or a crash in
// between left it empty and the setting was lost; it is now replaced whole or not at all.
// A file that cannot be written is still skipped.
void SaveByte(const char* name, std::uint8_t value) { ReplaceFile(KPath::MakeSavePath(name), &value, 1); }

}  // namespace

void LoadWindowedFlag() { LoadByte("data\\fullscreen.stt", windowed); }
void SaveWindowedFlag() { SaveByte("data\\fullscreen.stt", windowed); }
void LoadGamepadFlag() { LoadByte("data\\gamepad.stt", gamepadEnabled); }
void SaveGamepadFlag() { SaveByte("data\\gamepad.stt", gamepadEnabled); }
