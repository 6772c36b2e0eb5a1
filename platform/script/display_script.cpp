// The scripted display and input: no window, a picture in memory, input set by the script.
#include "platform/platform.h"
#include "platform/script/script_platform.h"

#include <algorithm>
#include <deque>
#include <set>

namespace {
script::TickHook tickHook = nullptr;
bool inHook = false;

bool opened = false;
bool fullScreen = false;
bool failOpen = false;
bool failWindow = false;
std::string title;
int width = 0, height = 0;
std::vector<std::uint16_t> screen;
std::vector<std::uint32_t> icon;
std::uint64_t frames = 0;

int pointerX = 0, pointerY = 0;
bool button = false;
bool pointerShown = true;
bool warpAllowed = true;
std::set<int> keys;
bool joyPresent = false;
bool padsStarted = false;
int joyX = 32768, joyY = 32768;
std::uint32_t joyButtons = 0;
bool focus = true;
std::deque<plat::WindowEvent> events;
script::DialogAnswer dialog;

// Every input poll costs virtual time, like a clock read, so busy waits on input end too.
void Poll() {
  script::Advance(script::kClockStepMicroseconds);
  script::RunTickHook(false);
}

plat::WindowEvent Take() {
  plat::WindowEvent e = events.front();
  events.pop_front();
  if (e == plat::WindowEvent::kFocusGained) focus = true;
  if (e == plat::WindowEvent::kFocusLost) focus = false;
  return e;
}
}  // namespace

namespace script {

void SetTickHook(TickHook hook) { tickHook = hook; }
void RunTickHook(bool afterPresent) {
  if (!tickHook || inHook) return;
  inHook = true;
  tickHook(afterPresent);
  inHook = false;
}

void SetPointer(int x, int y) {
  pointerX = x;
  pointerY = y;
}
void SetButton(bool down) { button = down; }
void SetKey(int hidUsage, bool down) {
  if (down)
    keys.insert(hidUsage);
  else
    keys.erase(hidUsage);
}
void ReleaseAllKeys() { keys.clear(); }
void SetJoystickPresent(bool present) { joyPresent = present; }
void SetJoystickAxis(int x, int y) {
  joyX = std::clamp(x, 0, 65535);
  joyY = std::clamp(y, 0, 65535);
}
void SetJoystickButtons(std::uint32_t bits) { joyButtons = bits; }
void SetFocus(bool on) {
  events.push_back(on ? plat::WindowEvent::kFocusGained : plat::WindowEvent::kFocusLost);
}
void PostClose() { events.push_back(plat::WindowEvent::kClose); }
bool PointerShown() { return pointerShown; }
void SetWarpAllowed(bool allowed) { warpAllowed = allowed; }

bool DisplayOpened() { return opened; }
const std::string& DisplayTitle() { return title; }
std::uint64_t FramesPresented() { return frames; }
const std::vector<std::uint16_t>& Screen() { return screen; }
const std::vector<std::uint32_t>& Icon() { return icon; }

bool WriteScreenshot(const std::string& path) {
  if (width <= 0 || height <= 0) return false;
  std::vector<std::uint32_t> rgb(screen.size());
  for (std::size_t i = 0; i < screen.size(); ++i) {
    const std::uint32_t p = screen[i];
    const std::uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    rgb[i] = ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
  }
  return plat::WritePng24(path.c_str(), rgb.data(), width, height);
}

void FailNextDisplayOpen(bool window) {
  failOpen = true;
  failWindow = window;
}

void ResetDisplayAndInput() {
  opened = fullScreen = failOpen = false;
  title.clear();
  width = height = 0;
  screen.clear();
  icon.clear();
  frames = 0;
  pointerX = pointerY = 0;
  button = false;
  pointerShown = true;
  warpAllowed = true;
  keys.clear();
  joyPresent = false;
  padsStarted = false;
  joyX = joyY = 32768;
  joyButtons = 0;
  focus = true;
  events.clear();
  tickHook = nullptr;
  dialog = DialogAnswer{};
}

void SetDialogAnswer(const DialogAnswer& answer) { dialog = answer; }
const DialogAnswer& GetDialogAnswer() { return dialog; }

}  // namespace script

namespace plat {

DisplayOpenResult DisplayOpen(const char* t, int w, int h, bool full, const DisplayIcon* ic) {
  if (failOpen) {
    failOpen = false;
    if (failWindow) return DisplayOpenResult::kNoWindow;
    opened = true;  // the window exists, nothing can be shown in it
    width = height = 0;
    return DisplayOpenResult::kNoPresenter;
  }
  if (w <= 0 || h <= 0) return DisplayOpenResult::kNoWindow;
  opened = true;
  fullScreen = full;
  title = t ? t : "";
  width = w;
  height = h;
  screen.assign(static_cast<std::size_t>(w) * h, 0);
  icon.clear();
  if (ic && ic->argb && ic->width > 0 && ic->height > 0)
    icon.assign(ic->argb, ic->argb + static_cast<std::size_t>(ic->width) * ic->height);
  focus = true;
  return DisplayOpenResult::kOk;
}

void DisplayClose() { opened = false; }

const char* DisplayError() { return failWindow ? "the scripted display refused the window" : "the scripted display refused to present"; }

void DisplayPresent(const std::uint16_t* frame, int pitchPixels, const DisplayRect* rects, int count) {
  if (opened && frame && width > 0) {
    for (int i = 0; i < count; ++i) {
      const DisplayRect& r = rects[i];
      const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
      const int x1 = std::min(r.x + r.w, width), y1 = std::min(r.y + r.h, height);
      for (int y = y0; y < y1; ++y) {
        std::copy(frame + static_cast<std::size_t>(y) * pitchPixels + x0,
                  frame + static_cast<std::size_t>(y) * pitchPixels + x1,
                  screen.begin() + static_cast<std::ptrdiff_t>(y) * width + x0);
      }
    }
  }
  ++frames;
  script::RunTickHook(true);
}

WindowEvent PollWindowEvent() {
  Poll();
  if (events.empty()) return WindowEvent::kNone;
  return Take();
}

WindowEvent WaitWindowEvent() {
  // Nothing happens on its own here: let a millisecond of virtual time pass, so that timed
  // script lines come due while the program waits.
  if (events.empty()) {
    script::Advance(1000);
    script::RunTickHook(false);
  }
  if (events.empty()) return WindowEvent::kNone;
  return Take();
}

bool DisplayHasFocus() { return opened && focus; }
bool DisplayExists() { return opened; }
bool DisplayIsFullScreen() { return opened && fullScreen; }

void WaitUntilMicroseconds(std::uint64_t deadline) {
  if (script::Now() < deadline) script::SetNow(deadline);
  script::RunTickHook(false);
}

bool KeyDown(int hidUsage) {
  Poll();
  return keys.count(hidUsage) != 0;
}

void PointerPosition(int* x, int* y) {
  Poll();
  *x = pointerX;
  *y = pointerY;
}

bool LeftButtonDown() {
  Poll();
  return button;
}

void ShowPointer(bool shown) { pointerShown = shown; }

bool WarpPointer(int x, int y) {
  if (!warpAllowed) return false;
  pointerX = x;
  pointerY = y;
  return true;
}

void ReleasePointerGrab() {}

bool AnyKeyDown() {
  Poll();
  return !keys.empty();
}

bool PadsStart() {
  padsStarted = true;
  return true;
}
void PadsStop() { padsStarted = false; }
bool PadRead(PadState* state) {
  Poll();
  *state = PadState{};
  if (!padsStarted || !joyPresent) return false;
  state->leftX = joyX - 32768;
  state->leftY = joyY - 32768;
  state->buttons = joyButtons;
  return true;
}

}  // namespace plat
