// The game window, its presentation, window events, keyboard and pointer over SDL2.
#include "platform.h"
#include "video_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <time.h>

namespace plat {

namespace {

SDL_Window* window = nullptr;
// Windowed: the window's own surface at 1:1, updated by rectangles. Full screen: a streaming
// texture of the game's size, updated by rectangles and scaled by the renderer.
SDL_Surface* windowSurface = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
bool fullScreenMode = false;
bool presenterOk = false;
bool needFullPresent = true;  // after an expose or a size change the whole picture goes again
int gameWidth = 0, gameHeight = 0;
std::string lastError;
bool videoStarted = false;
bool pointerShown = true;  // the wish, also when given before the window exists

void SetError(const char* what) {
  lastError = std::string(what) + ": " + SDL_GetError();
}

bool StartVideo() {
  if (videoStarted) return true;
  if (!sdl::StartVideo(&lastError)) return false;
  // Input is read by polling; these events would only pile up in the queue, which the game
  // empties at one event per frame.
  sdl::QueueInputEvents(false);
  videoStarted = true;
  return true;
}

// Where the game picture lies in the window (full screen: scaled, centred, black bars).
void PictureArea(int* x, int* y, int* w, int* h) {
  int ww = gameWidth, wh = gameHeight;
  if (window) SDL_GetWindowSize(window, &ww, &wh);
  if (!fullScreenMode || ww <= 0 || wh <= 0) {
    *x = 0;
    *y = 0;
    *w = gameWidth;
    *h = gameHeight;
    return;
  }
  // Largest size of the game's aspect that fits.
  long long w1 = ww, h1 = static_cast<long long>(ww) * gameHeight / gameWidth;
  if (h1 > wh) {
    h1 = wh;
    w1 = static_cast<long long>(wh) * gameWidth / gameHeight;
  }
  *w = static_cast<int>(w1);
  *h = static_cast<int>(h1);
  *x = (ww - *w) / 2;
  *y = (wh - *h) / 2;
}

int FloorDiv(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return static_cast<int>(q);
}

bool MakePresenter() {
  presenterOk = false;
  windowSurface = nullptr;
  if (!fullScreenMode) {
    windowSurface = SDL_GetWindowSurface(window);
    if (!windowSurface) {
      SetError("SDL could not give the window a surface");
      return false;
    }
  } else {
    renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) {
      SetError("SDL could not make a renderer for the window");
      return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // The renderer keeps the picture's aspect, centred, with black bars.
    SDL_RenderSetLogicalSize(renderer, gameWidth, gameHeight);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, gameWidth,
                                gameHeight);
    if (!texture) {
      SetError("SDL could not make the screen texture");
      return false;
    }
  }
  presenterOk = true;
  needFullPresent = true;
  return true;
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
      if (presenterOk && !fullScreenMode) {
        windowSurface = SDL_GetWindowSurface(window);
        if (!windowSurface) presenterOk = false;
      }
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
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
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
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (window) SDL_DestroyWindow(window);
  texture = nullptr;
  renderer = nullptr;
  window = nullptr;
  windowSurface = nullptr;
  presenterOk = false;
}

const char* DisplayError() { return lastError.c_str(); }

void DisplayPresent(const std::uint16_t* frame, int pitchPixels, const DisplayRect* rects, int count) {
  if (!window || !presenterOk || !frame) return;
  DisplayRect whole{0, 0, gameWidth, gameHeight};
  if (needFullPresent) {
    rects = &whole;
    count = 1;
    needFullPresent = false;
  }
  if (count <= 0) return;
  if (!fullScreenMode) {
    if (SDL_MUSTLOCK(windowSurface)) SDL_LockSurface(windowSurface);
    const int bpp = windowSurface->format->BytesPerPixel;
    SDL_Rect sdlRects[64];
    int n = 0;
    for (int i = 0; i < count; ++i) {
      DisplayRect r = rects[i];
      r.w = std::min(r.w, windowSurface->w - r.x);
      r.h = std::min(r.h, windowSurface->h - r.y);
      if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h <= 0) continue;
      const std::uint16_t* src = frame + static_cast<std::size_t>(r.y) * pitchPixels + r.x;
      auto* dst = static_cast<std::uint8_t*>(windowSurface->pixels) +
                  static_cast<std::size_t>(r.y) * windowSurface->pitch + static_cast<std::size_t>(r.x) * bpp;
      SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB565, src, pitchPixels * 2, windowSurface->format->format,
                        dst, windowSurface->pitch);
      sdlRects[n++] = SDL_Rect{r.x, r.y, r.w, r.h};
      if (n == 64) {
        SDL_UpdateWindowSurfaceRects(window, sdlRects, n);
        n = 0;
      }
    }
    if (SDL_MUSTLOCK(windowSurface)) SDL_UnlockSurface(windowSurface);
    if (n > 0) SDL_UpdateWindowSurfaceRects(window, sdlRects, n);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const DisplayRect& r = rects[i];
    SDL_Rect sr{r.x, r.y, r.w, r.h};
    SDL_UpdateTexture(texture, &sr, frame + static_cast<std::size_t>(r.y) * pitchPixels + r.x, pitchPixels * 2);
  }
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
}

WindowEvent PollWindowEvent() {
  SDL_Event e;
  if (!videoStarted || !SDL_PollEvent(&e)) return WindowEvent::kNone;
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
  int ax, ay, aw, ah;
  PictureArea(&ax, &ay, &aw, &ah);
  const long long cx = gx - wx - ax, cy = gy - wy - ay;
  if (aw == gameWidth && ah == gameHeight) {
    *x = static_cast<int>(cx);
    *y = static_cast<int>(cy);
  } else {
    *x = FloorDiv(cx * gameWidth, aw);
    *y = FloorDiv(cy * gameHeight, ah);
  }
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
  int ax, ay, aw, ah;
  PictureArea(&ax, &ay, &aw, &ah);
  // The first window pixel inside the picture pixel, so that reading the pointer back gives
  // x, y again.
  const int wx = ax - FloorDiv(-static_cast<long long>(x) * aw, gameWidth);
  const int wy = ay - FloorDiv(-static_cast<long long>(y) * ah, gameHeight);
  SDL_WarpMouseInWindow(window, wx, wy);
  return true;
}

}  // namespace plat
