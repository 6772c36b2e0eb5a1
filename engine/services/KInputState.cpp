// Input by polling, over the platform's keyboard, pointer and gamepads.
#include "engine/services/KInputState.h"

#include "platform/platform.h"

#include <cstring>

namespace {

struct KeyEntry {
  std::uint16_t code;    // USB HID keyboard usage
  std::uint16_t number;  // id + 1
};

// In key-id order; the last entry ends the table.
constexpr KeyEntry kKeys[] = {
    {80, 1}, {82, 2}, {81, 3}, {79, 4}, {44, 5},                         // arrows, space
    {225, 6}, {229, 7}, {40, 8}, {228, 9}, {224, 10},                    // shifts, return, controls
    {58, 11}, {59, 12}, {60, 13}, {61, 14}, {62, 15}, {63, 16},          // F1..F6
    {64, 17}, {65, 18}, {66, 19}, {67, 20}, {68, 21}, {69, 22},          // F7..F12
    {42, 23}, {43, 24}, {41, 25},                                        // backspace, tab, escape
    {4, 26}, {5, 27}, {6, 28}, {7, 29}, {8, 30}, {9, 31}, {10, 32}, {11, 33}, {12, 34},
    {13, 35}, {14, 36}, {15, 37}, {16, 38}, {17, 39}, {18, 40}, {19, 41}, {20, 42}, {21, 43},
    {22, 44}, {23, 45}, {24, 46}, {25, 47}, {26, 48}, {27, 49}, {28, 50}, {29, 51},  // A..Z
    {39, 52}, {30, 53}, {31, 54}, {32, 55}, {33, 56}, {34, 57}, {35, 58}, {36, 59}, {37, 60}, {38, 61},  // 0..9
    {98, 62}, {89, 63}, {90, 64}, {91, 65}, {92, 66}, {93, 67}, {94, 68}, {95, 69}, {96, 70}, {97, 71},  // keypad 0..9
    {85, 72}, {87, 73}, {86, 74}, {99, 75}, {84, 76}, {156, 77},         // * + - . / clear
    {226, 78}, {227, 79}, {231, 80}, {83, 81}, {71, 82},                 // alt, windows keys, locks
    {51, 83}, {46, 84}, {54, 85}, {45, 86}, {55, 87}, {56, 88}, {53, 89},  // ; = , - . / `
    {47, 90}, {49, 91}, {48, 92}, {52, 93},                              // [ \ ] '
    {0, 0},
};

constexpr const char* kKeyNames[] = {
    "LEFT", "UP", "DOWN", "RIGHT", "SPACE", "LSHIFT", "RSHIFT", "RETURN", "RCONTROL", "LCONTROL",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "BACKSPACE", "TAB", "ESCAPE",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "NUMPAD0", "NUMPAD1", "NUMPAD2", "NUMPAD3", "NUMPAD4", "NUMPAD5", "NUMPAD6", "NUMPAD7", "NUMPAD8", "NUMPAD9",
    "MULTIPLY", "ADD", "SUBTRACT", "DECIMAL", "DIVIDE", "CLEAR",
    "ALT", "LWIN", "RWIN", "NUMLOCK", "SCROLL",
    "SEMICOLON", "PLUS", "COMMA", "MINUS", "PERIOD", "SLASH", "BACKQUOTE",
    "LBRACKET", "BACKSLASH", "RBRACKET", "QUOTE",
};

static_assert(sizeof kKeys / sizeof kKeys[0] == KEY_COUNT + 1, "key table: one entry per id and the end");
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == KEY_COUNT, "one name per key id");

// Kept as designed: the left and right forms of shift and of control are one key to the key
// test, and the alt id reads either alt key.
int PartnerCode(int code) {
  switch (code) {
    case 225: return 229;
    case 229: return 225;
    case 224: return 228;
    case 228: return 224;
    case 226: return 230;
    default: return 0;
  }
}

void* window = nullptr;
bool joystickCaptured = false;
// Where the stick starts to count: a quarter of its way, past the drift of a worn stick.
constexpr int kStickDeadZone = 8192;

static_assert(std::uint32_t{PAD_A} == plat::kPadA && std::uint32_t{PAD_START} == plat::kPadStart &&
                  std::uint32_t{PAD_RIGHT} == plat::kPadRight,
              "pad buttons as the platform reads them");

// The pad's state, idle unless captured and attached.
bool ReadPad(int id, plat::PadState* s) {
  *s = plat::PadState{};
  return id == 0 && joystickCaptured && plat::PadRead(s);
}

bool virtualPointer = false;  // a move the platform could not make
std::int32_t virtualX = 0, virtualY = 0;
int realXAtMove = 0, realYAtMove = 0;

void PointerNow(std::int32_t* x, std::int32_t* y) {
  int rx = 0, ry = 0;
  plat::PointerPosition(&rx, &ry);
  if (virtualPointer && rx == realXAtMove && ry == realYAtMove) {
    *x = virtualX;
    *y = virtualY;
    return;
  }
  virtualPointer = false;
  *x = rx;
  *y = ry;
}

}  // namespace

void KInputState::Init(void* w) { window = w; }

std::int32_t KInputState::GetMouseX() {
  std::int32_t x, y;
  PointerNow(&x, &y);
  return x;
}

std::int32_t KInputState::GetMouseY() {
  std::int32_t x, y;
  PointerNow(&x, &y);
  return y;
}

bool KInputState::IsMouseButtonDown() { return plat::LeftButtonDown(); }

void KInputState::ShowMouseCursor() { plat::ShowPointer(true); }
void KInputState::HideMouseCursor() { plat::ShowPointer(false); }

void KInputState::SetMousePosition(std::int32_t x, std::int32_t y) {
  if (plat::WarpPointer(x, y)) {
    virtualPointer = false;
    return;
  }
  plat::PointerPosition(&realXAtMove, &realYAtMove);
  virtualPointer = true;
  virtualX = x;
  virtualY = y;
}

bool KInputState::IsKeyDown(int keyId) {
  const int id = static_cast<std::uint8_t>(keyId);
  if (id >= KEY_COUNT) return false;  // outside the table
  const int code = kKeys[id].code;
  if (plat::KeyDown(code)) return true;
  const int partner = PartnerCode(code);
  return partner != 0 && plat::KeyDown(partner);
}

void KInputState::WaitKeyUp(int keyId) {
  while (IsKeyDown(keyId)) {
  }
}

bool KInputState::IsAnyKeyDown() { return plat::AnyKeyDown(); }

bool KInputState::CaptureJoystick(int id) {
  if (id != 0) return false;
  ReleaseJoystick(id);
  joystickCaptured = plat::PadsStart();
  return joystickCaptured;
}

void KInputState::ReleaseJoystick(int id) {
  if (id != 0) return;
  if (joystickCaptured) plat::PadsStop();
  joystickCaptured = false;
}

bool KInputState::IsJoystickAttached(int id) {
  plat::PadState s;
  return ReadPad(id, &s);
}

bool KInputState::IsJoystickLeft(int id) {
  plat::PadState s;
  ReadPad(id, &s);
  return s.leftX < -kStickDeadZone || (s.buttons & PAD_LEFT) != 0;
}

bool KInputState::IsJoystickRight(int id) {
  plat::PadState s;
  ReadPad(id, &s);
  return s.leftX > kStickDeadZone || (s.buttons & PAD_RIGHT) != 0;
}

bool KInputState::IsJoystickUp(int id) {
  plat::PadState s;
  ReadPad(id, &s);
  return s.leftY < -kStickDeadZone || (s.buttons & PAD_UP) != 0;
}

bool KInputState::IsJoystickDown(int id) {
  plat::PadState s;
  ReadPad(id, &s);
  return s.leftY > kStickDeadZone || (s.buttons & PAD_DOWN) != 0;
}

std::uint32_t KInputState::JoystickButtons(int id) {
  plat::PadState s;
  ReadPad(id, &s);
  return s.buttons;
}

bool KInputState::IsJoystickButtonDown(int id, std::uint32_t mask) { return (JoystickButtons(id) & mask) != 0; }

int KInputState::KeyCode(int keyId) { return keyId >= 0 && keyId < KEY_COUNT ? kKeys[keyId].code : 0; }
int KInputState::KeyNumber(int keyId) { return keyId >= 0 && keyId < KEY_COUNT ? kKeys[keyId].number : 0; }
const char* KInputState::KeyName(int keyId) { return keyId >= 0 && keyId < KEY_COUNT ? kKeyNames[keyId] : ""; }

int KInputState::KeyIdFromName(const char* name) {
  if (!name) return -1;
  if (std::strncmp(name, "KEY_", 4) == 0) name += 4;
  for (int i = 0; i < KEY_COUNT; ++i)
    if (std::strcmp(kKeyNames[i], name) == 0) return i;
  return -1;
}

void KInputState::ReleaseCursorConfinement() { plat::ReleasePointerGrab(); }
