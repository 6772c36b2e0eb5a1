// The game window, its presentation, window events, keyboard and pointer over SDL2.
#include "platform/common/scale.h"
#include "platform/platform.h"
#include "platform/sdl/video_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <sys/prctl.h>
#include <time.h>

namespace plat {

namespace {

SDL_Window* window = nullptr;
// The window's own surface, in any mode: the picture is scaled into it in software, only the
// parts that changed, and the window system shows those rectangles. No renderer, so no
// OpenGL library is ever loaded.
SDL_Surface* windowSurface = nullptr;
int surfaceW = 0, surfaceH = 0;
bool fullScreenMode = false;
bool presenterOk = false;
bool needFullPresent = true;  // after an expose, a size change or a switch the whole picture goes again
int gameWidth = 0, gameHeight = 0;
int windowedWidth = 0, windowedHeight = 0;  // the window's size when it opened or was last windowed
std::string lastError;
bool videoStarted = false;
bool pointerShown = true;  // the wish, also when given before the window exists
platcommon::Scaler scaler;
std::vector<std::uint32_t> scratch;  // scaled pixels on their way to a window of another format
bool switchAsked = false;            // Alt+Enter or F11 pressed since the last event poll

void SetError(const char* what) {
  lastError = std::string(what) + ": " + SDL_GetError();
}

// Where the game picture lies in the window now.
platcommon::Area PictureArea() {
  int ww = gameWidth, wh = gameHeight;
  if (window) SDL_GetWindowSize(window, &ww, &wh);
  return platcommon::PictureArea(gameWidth, gameHeight, ww, wh);
}

// The surface of the window's present size; a new one asks for the whole picture again.
bool TakeSurface() {
  SDL_Surface* s = SDL_GetWindowSurface(window);
  if (!s) {
    SetError("SDL could not give the window a surface");
    presenterOk = false;
    windowSurface = nullptr;
    return false;
  }
  if (s != windowSurface || s->w != surfaceW || s->h != surfaceH) needFullPresent = true;
  windowSurface = s;
  surfaceW = s->w;
  surfaceH = s->h;
  presenterOk = true;
  return true;
}

bool MakePresenter() {
  presenterOk = false;
  windowSurface = nullptr;
  if (!TakeSurface()) return false;
  needFullPresent = true;
  return true;
}

// Alt+Enter or F11, noted as the key's press event arrives: a short tap during a slow frame
// would be gone from the polled key state by the frame's end.
int SDLCALL NoteSwitchKey(void* /*user*/, SDL_Event* e) {
  if (e->type != SDL_KEYDOWN || e->key.repeat || !window || e->key.windowID != SDL_GetWindowID(window)) return 0;
  const SDL_Keycode key = e->key.keysym.sym;
  if (key == SDLK_F11 || ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (e->key.keysym.mod & KMOD_ALT)))
    switchAsked = true;
  return 0;
}

bool StartVideo() {
  if (videoStarted) return true;
  if (!sdl::StartVideo(&lastError)) return false;
  // Input is read by polling; these events would only pile up in the queue, which the game
  // empties at one event per frame.
  sdl::QueueInputEvents(false);
  // Key presses are queued for the switch keys alone (see NoteSwitchKey); the game polls the
  // key state, and each event poll drops the presses waiting.
  SDL_EventState(SDL_KEYDOWN, SDL_ENABLE);
  SDL_AddEventWatch(NoteSwitchKey, nullptr);
  videoStarted = true;
  return true;
}

// Between the window and the full screen. Where no window manager applies either state, the
// window is moved and sized as it would be.
void SwitchMode() {
  if (!window) return;
  fullScreenMode = !fullScreenMode;
  SDL_Rect desktop;
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
  if (fullScreenMode) {
    SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    if (SDL_GetDisplayBounds(display, &desktop) == 0) {
      SDL_SetWindowPosition(window, desktop.x, desktop.y);
      SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, windowedWidth, windowedHeight);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
  }
  needFullPresent = true;
}

void HandleWindowEvent(const SDL_Event& e, WindowEvent* out) {
  *out = WindowEvent::kOther;
  if (e.type == SDL_QUIT) {
    *out = WindowEvent::kClose;
    return;
  }
  if (e.type != SDL_WINDOWEVENT) return;
  if (window && e.window.windowID != SDL_GetWindowID(window)) return;
  switch (e.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      *out = WindowEvent::kClose;
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      *out = WindowEvent::kFocusGained;
      needFullPresent = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      *out = WindowEvent::kFocusLost;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      needFullPresent = true;
      // The window surface still holds the last picture: show it again at once.
      if (presenterOk && windowSurface) SDL_UpdateWindowSurface(window);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      needFullPresent = true;
      break;
    default:
      break;
  }
}

}  // namespace

DisplayOpenResult DisplayOpen(const char* title, int width, int height, bool fullScreen,
                              const DisplayIcon* icon) {
  lastError.clear();
  if (window) DisplayClose();
  if (width <= 0 || height <= 0) {
    lastError = "the window size is not valid";
    return DisplayOpenResult::kNoWindow;
  }
  if (!StartVideo()) return DisplayOpenResult::kNoWindow;
  gameWidth = width;
  gameHeight = height;
  fullScreenMode = fullScreen;
  switchAsked = false;
  // The window at the largest whole-number scale that fits the desktop's usable area.
  SDL_Rect usable;
  int k = 1;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0) k = platcommon::WholeScale(width, height, usable.w, usable.h);
  windowedWidth = width * k;
  windowedHeight = height * k;
  Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
  if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = windowedWidth, h = windowedHeight;
  SDL_Rect desktop;
  if (fullScreen && SDL_GetDisplayBounds(0, &desktop) == 0) {
    // Made at the desktop's size already: where no window manager applies the full-screen
    // state, the window still covers the screen.
    x = desktop.x;
    y = desktop.y;
    w = desktop.w;
    h = desktop.h;
  }
  window = SDL_CreateWindow(title ? title : "", x, y, w, h, flags);
  if (!window) {
    SetError("SDL could not open the window");
    return DisplayOpenResult::kNoWindow;
  }
  if (icon && icon->argb && icon->width > 0 && icon->height > 0) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(icon->argb), icon->width,
                                                        icon->height, 32, icon->width * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (s) {
      SDL_SetWindowIcon(window, s);
      SDL_FreeSurface(s);
    }
  }
  SDL_ShowCursor(pointerShown ? SDL_ENABLE : SDL_DISABLE);
  // Without a window manager nobody gives the new window the focus: take it.
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
  SDL_PumpEvents();
  if (!MakePresenter()) return DisplayOpenResult::kNoPresenter;
  return DisplayOpenResult::kOk;
}

void DisplayClose() {
  if (window) SDL_DestroyWindow(window);
  window = nullptr;
  windowSurface = nullptr;
  surfaceW = surfaceH = 0;
  presenterOk = false;
}

const char* DisplayError() { return lastError.c_str(); }

void DisplayPresent(const std::uint16_t* frame, int pitchPixels, const DisplayRect* rects, int count) {
  if (!window || !presenterOk || !frame) return;
  if (!TakeSurface()) return;
  // In the surface's own pixels (which a scaled desktop may make more than the window's size).
  const platcommon::Area area = platcommon::PictureArea(gameWidth, gameHeight, windowSurface->w, windowSurface->h);
  scaler.Configure(gameWidth, gameHeight, area);
  DisplayRect whole{0, 0, gameWidth, gameHeight};
  const bool full = needFullPresent;
  if (full) {
    rects = &whole;
    count = 1;
    needFullPresent = false;
  }
  if (count <= 0) return;
  if (SDL_MUSTLOCK(windowSurface)) SDL_LockSurface(windowSurface);
  // 32-bit pixels 0x00RRGGBB take the scaled picture as they are; any other format goes
  // through a scratch buffer and SDL's conversion.
  const Uint32 format = windowSurface->format->format;
  const bool direct = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
  if (full) SDL_FillRect(windowSurface, nullptr, SDL_MapRGB(windowSurface->format, 0, 0, 0));  // the bars
  std::vector<SDL_Rect> sdlRects;
  for (int i = 0; i < count; ++i) {
    const platcommon::Area out = scaler.WindowRectOf(rects[i].x, rects[i].y, rects[i].w, rects[i].h);
    if (out.w <= 0 || out.h <= 0 || out.x + out.w > windowSurface->w || out.y + out.h > windowSurface->h) continue;
    if (direct) {
      scaler.Scale(frame, pitchPixels, out, static_cast<std::uint32_t*>(windowSurface->pixels),
                   windowSurface->pitch / 4);
    } else {
      // The scratch stands for the window from the rectangle's corner on.
      scratch.resize(static_cast<std::size_t>(out.w) * out.h);
      std::uint32_t* origin = scratch.data() - static_cast<std::ptrdiff_t>(out.y) * out.w - out.x;
      scaler.Scale(frame, pitchPixels, out, origin, out.w);
      auto* dst = static_cast<std::uint8_t*>(windowSurface->pixels) + static_cast<std::size_t>(out.y) * windowSurface->pitch +
                  static_cast<std::size_t>(out.x) * windowSurface->format->BytesPerPixel;
      SDL_ConvertPixels(out.w, out.h, SDL_PIXELFORMAT_RGB888, scratch.data(), out.w * 4, format, dst,
                        windowSurface->pitch);
    }
    sdlRects.push_back(SDL_Rect{out.x, out.y, out.w, out.h});
  }
  if (SDL_MUSTLOCK(windowSurface)) SDL_UnlockSurface(windowSurface);
  if (full) {
    SDL_UpdateWindowSurface(window);
  } else if (!sdlRects.empty()) {
    SDL_UpdateWindowSurfaceRects(window, sdlRects.data(), static_cast<int>(sdlRects.size()));
  }
}

WindowEvent PollWindowEvent() {
  SDL_Event e;
  if (!videoStarted) return WindowEvent::kNone;
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_KEYDOWN);
  if (switchAsked) {
    switchAsked = false;
    if (window && DisplayHasFocus()) {
      SwitchMode();
      return WindowEvent::kDisplayModeChanged;
    }
  }
  if (!SDL_PollEvent(&e)) return WindowEvent::kNone;
  WindowEvent out;
  HandleWindowEvent(e, &out);
  return out;
}

WindowEvent WaitWindowEvent() {
  SDL_Event e;
  if (!videoStarted) {
    SDL_Delay(100);
    return WindowEvent::kNone;
  }
  if (!SDL_WaitEventTimeout(&e, 100)) return WindowEvent::kNone;
  WindowEvent out;
  HandleWindowEvent(e, &out);
  return out;
}

bool DisplayHasFocus() {
  return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool DisplayExists() { return window != nullptr; }

bool DisplayIsFullScreen() { return window != nullptr && fullScreenMode; }

void WaitUntilMicroseconds(std::uint64_t deadline) {
  // Sleep until shortly before the deadline (the timer slack is cut to 1 us at start-up, so a
  // sleep ends within tens of microseconds of its time), then spin the rest: at most about
  // kSpinMicroseconds plus the sleep's lateness.
  constexpr std::uint64_t kSpinMicroseconds = 60;
  static const bool slackCut = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
  (void)slackCut;
  for (;;) {
    const std::uint64_t now = ClockMicroseconds();
    if (now >= deadline) return;
    const std::uint64_t left = deadline - now;
    if (left > kSpinMicroseconds) {
      const timespec ts{static_cast<time_t>((left - kSpinMicroseconds) / 1000000),
                        static_cast<long>((left - kSpinMicroseconds) % 1000000 * 1000)};
      nanosleep(&ts, nullptr);
    }
  }
}

// Brings SDL's key, pointer and button state up to date, so that busy waits (which handle no
// window events) see a key or the button go up; the window events stay queued for the game.
// At most once a millisecond: a frame asks for the pointer a dozen times.
static void RefreshInputState() {
  static Uint64 last = 0;
  static const Uint64 perMs = SDL_GetPerformanceFrequency() / 1000;
  const Uint64 now = SDL_GetPerformanceCounter();
  if (last != 0 && now - last < perMs) return;
  last = now;
  SDL_PumpEvents();
}

bool KeyDown(int hidUsage) {
  if (!videoStarted || hidUsage <= 0 || hidUsage >= SDL_NUM_SCANCODES) return false;
  RefreshInputState();
  int n = 0;
  const Uint8* keys = SDL_GetKeyboardState(&n);
  return hidUsage < n && keys[hidUsage] != 0;
}

bool AnyKeyDown() {
  if (!videoStarted) return false;
  RefreshInputState();
  int n = 0;
  const Uint8* keys = SDL_GetKeyboardState(&n);
  for (int i = 0; i < n; ++i) {
    if (keys[i]) return true;
  }
  return false;
}

void PointerPosition(int* x, int* y) {
  int gx = 0, gy = 0;
  RefreshInputState();
  SDL_GetGlobalMouseState(&gx, &gy);
  int wx = 0, wy = 0;
  if (window) SDL_GetWindowPosition(window, &wx, &wy);
  platcommon::WindowToPicture(PictureArea(), gameWidth, gameHeight, gx - wx, gy - wy, x, y);
}

bool LeftButtonDown() {
  if (!videoStarted) return false;
  RefreshInputState();
  return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
}

void ShowPointer(bool shown) {
  pointerShown = shown;
  if (videoStarted) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void ReleasePointerGrab() {
  if (window) SDL_SetWindowGrab(window, SDL_FALSE);
}

bool WarpPointer(int x, int y) {
  if (!window) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "wayland") == 0) return false;  // no pointer moves there
  int wx = 0, wy = 0;
  platcommon::PictureToWindow(PictureArea(), gameWidth, gameHeight, x, y, &wx, &wy);
  SDL_WarpMouseInWindow(window, wx, wy);
  return true;
}

}  // namespace plat
