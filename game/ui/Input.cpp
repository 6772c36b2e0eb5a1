#include "game/ui/Input.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/services/KInputState.h"
#include "game/files/StartSettings.h"

std::int32_t pressX = -1;
std::int32_t pressY = -1;

std::int32_t MouseX() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(KInputState::GetMouseX())); }
std::int32_t MouseY() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(KInputState::GetMouseY())); }

bool PollMouseButton() {
  if (KInputState::IsMouseButtonDown()) {
    if (pressX == -1) {
      pressX = MouseX();
      pressY = MouseY();
    }
    return true;
  }
  pressX = -1;
  pressY = -1;
  return false;
}

void WaitMouseRelease() {
  while (PollMouseButton()) {
  }
}

bool PumpAndCheckQuit() {
  KDisplayWindow::PumpMessages();
  return KDisplayWindow::IsQuitRequested();
}

namespace {
bool PadButtonDown(std::uint32_t mask) { return GamepadChosen() && KInputState::IsJoystickButtonDown(0, mask); }
}  // namespace

bool PadFireDown() { return PadButtonDown(PAD_FACE); }
bool PausePressedNow() { return KInputState::IsKeyDown(KEY_P) || PadButtonDown(PAD_START); }
bool GiveUpPressedNow() { return KInputState::IsKeyDown(KEY_ESCAPE) || PadButtonDown(PAD_BACK); }

namespace {

enum : std::uint32_t {
  kUp = 1u << 0, kDown = 1u << 1, kLeft = 1u << 2, kRight = 1u << 3, kTab = 1u << 4, kBackTab = 1u << 5,
  kReturn = 1u << 6, kEscape = 1u << 7, kSpace = 1u << 8, kAnyKey = 1u << 9,
  kPadPress = 1u << 10, kPadBack = 1u << 11, kPadB = 1u << 12, kPadY = 1u << 13, kPadStart = 1u << 14,
  kPadButtonsShift = 16,  // the pad's own button bits above these
};

std::uint32_t HeldNow() {
  using K = KInputState;
  std::uint32_t now = 0;
  if (K::IsKeyDown(KEY_UP)) now |= kUp;
  if (K::IsKeyDown(KEY_DOWN)) now |= kDown;
  if (K::IsKeyDown(KEY_LEFT)) now |= kLeft;
  if (K::IsKeyDown(KEY_RIGHT)) now |= kRight;
  if (K::IsKeyDown(KEY_TAB)) now |= K::IsKeyDown(KEY_LSHIFT) ? kBackTab : kTab;
  // Alt+Enter switches between window and full screen: it presses nothing.
  if (K::IsKeyDown(KEY_RETURN) && !K::IsKeyDown(KEY_ALT)) now |= kReturn;
  if (K::IsKeyDown(KEY_ESCAPE)) now |= kEscape;
  if (K::IsKeyDown(KEY_SPACE)) now |= kSpace;
  if (K::IsAnyKeyDown()) now |= kAnyKey;
  if (GamepadChosen()) {
    const std::uint32_t b = K::JoystickButtons(0);
    if (K::IsJoystickUp(0)) now |= kUp;
    if (K::IsJoystickDown(0)) now |= kDown;
    if (K::IsJoystickLeft(0)) now |= kLeft;
    if (K::IsJoystickRight(0)) now |= kRight;
    if (b & (PAD_A | PAD_START)) now |= kPadPress;
    if (b & PAD_BACK) now |= kPadBack;
    if (b & PAD_B) now |= kPadB;
    if (b & PAD_Y) now |= kPadY;
    if (b & PAD_START) now |= kPadStart;
    now |= b << kPadButtonsShift;
  }
  return now;
}

}  // namespace

void MenuInput::Reset() { held_ = HeldNow(); }

MenuKeys MenuInput::Read() {
  const std::uint32_t now = HeldNow();
  const std::uint32_t down = now & ~held_;
  held_ = now;
  auto went = [down](std::uint32_t bits) { return (down & bits) != 0; };
  MenuKeys k;
  k.up = went(kUp);
  k.down = went(kDown);
  k.left = went(kLeft);
  k.right = went(kRight);
  k.next = went(kTab);
  k.previous = went(kBackTab);
  k.press = went(kReturn | kPadPress);
  k.back = went(kEscape | kPadBack | kPadB);
  k.quit = went(kEscape | kPadBack);
  k.table = went(kSpace | kPadY);
  k.start = went(kPadStart);
  k.anyButton = (down >> kPadButtonsShift) != 0;
  k.leave = k.anyButton || went(kReturn | kEscape | kSpace);
  k.active = now != 0;
  return k;
}
