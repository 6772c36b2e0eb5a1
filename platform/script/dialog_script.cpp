// The start dialog on the scripted platform: no window; the script's answer becomes the
// events a player would cause, in order: boxes, Help, then Play or Quit.
#include "platform/platform.h"
#include "platform/script/script_platform.h"

#include <deque>

namespace {
std::deque<plat::DialogEvent> pending;
}  // namespace

namespace plat {

bool DialogOpen(const char*, int, int) {
  const script::DialogAnswer& answer = script::GetDialogAnswer();
  pending.clear();
  pending.push_back({DialogEvent::Redraw, 0, 0, 0});
  if (answer.fullScreen >= 0) pending.push_back({DialogEvent::SetFullScreenBox, 0, 0, answer.fullScreen});
  if (answer.gamepad >= 0) pending.push_back({DialogEvent::SetGamepadBox, 0, 0, answer.gamepad});
  if (answer.help) pending.push_back({DialogEvent::PressHelp, 0, 0, 0});
  pending.push_back({answer.play ? DialogEvent::PressPlay : DialogEvent::PressQuit, 0, 0, 0});
  return true;
}

void DialogShow(const std::uint32_t*) {}

DialogEvent DialogWaitEvent() {
  if (pending.empty()) return {DialogEvent::Close, 0, 0, 0};
  const DialogEvent e = pending.front();
  pending.pop_front();
  return e;
}

void DialogClose() { pending.clear(); }

}  // namespace plat
