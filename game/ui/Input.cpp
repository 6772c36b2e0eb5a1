#include "Input.h"

#include "KDisplayWindow.h"
#include "KInputState.h"

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
