// The start dialog's window over SDL2: a plain window showing the pixels the game draws.
#include "platform/common/scale.h"
#include "platform/platform.h"
#include "platform/sdl/video_sdl.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace {
SDL_Window* dialogWindow = nullptr;
int dialogW = 0, dialogH = 0;
// Shown at the game window's whole-number scale: each pixel repeated `scale` times each way.
int scale = 1;
std::vector<std::uint32_t> scaled;

// The game picture's size, which the scale follows.
constexpr int kGameWidth = 800, kGameHeight = 600;
// Only an answer given while the dialog is on the screen counts: keys and clicks that came
// before its first picture was shown, key repeats, and the release of a button pressed
// before it are not the player's answer to it.
bool pictureShown = false;
bool buttonWentDown = false;
}  // namespace

namespace plat {

bool DialogOpen(const char* title, int width, int height) {
  // The video system stays up for the game window: starting it a second time could fail
  // over to a driver without a screen. (The game window says why when it cannot start.)
  std::string why;
  if (!sdl::StartVideo(&why)) return false;
  sdl::QueueInputEvents(true);
  SDL_Rect usable;
  scale = 1;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
    scale = platcommon::WholeScale(kGameWidth, kGameHeight, usable.w, usable.h);
  dialogWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                                  height * scale, SDL_WINDOW_SHOWN);
  if (!dialogWindow) return false;
  dialogW = width;
  dialogH = height;
  pictureShown = false;
  buttonWentDown = false;
  // Without a window manager nobody else gives the dialog the keyboard.
  SDL_RaiseWindow(dialogWindow);
  SDL_SetWindowInputFocus(dialogWindow);
  // A pad works the dialog too: reading it opens the first one attached, whose buttons then
  // arrive as events.
  PadState pad;
  if (PadsStart()) PadRead(&pad);
  return true;
}

void DialogShow(const std::uint32_t* pixels) {
  if (!dialogWindow) return;
  SDL_Surface* surface = SDL_GetWindowSurface(dialogWindow);
  if (!surface) return;
  if (!pictureShown) {  // what came before the first picture is dropped, not what comes after it
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    SDL_FlushEvent(SDL_CONTROLLERBUTTONDOWN);
    pictureShown = true;
  }
  if (scale > 1) {
    const int w = dialogW * scale;
    scaled.resize(static_cast<std::size_t>(w) * dialogH * scale);
    for (int y = 0; y < dialogH * scale; ++y) {
      const std::uint32_t* src = pixels + static_cast<std::size_t>(y / scale) * dialogW;
      std::uint32_t* dst = scaled.data() + static_cast<std::size_t>(y) * w;
      for (int x = 0; x < w; ++x) dst[x] = src[x / scale];
    }
    pixels = scaled.data();
  }
  SDL_ConvertPixels(dialogW * scale, dialogH * scale, SDL_PIXELFORMAT_ARGB8888, pixels, dialogW * scale * 4,
                    surface->format->format, surface->pixels, surface->pitch);
  SDL_UpdateWindowSurface(dialogWindow);
}

DialogEvent DialogWaitEvent() {
  DialogEvent e{DialogEvent::Redraw, 0, 0, 0};
  SDL_Event ev;
  for (;;) {
    if (!SDL_WaitEvent(&ev)) return e;
    switch (ev.type) {
      case SDL_QUIT:
        e.kind = DialogEvent::Close;
        return e;
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
          e.kind = DialogEvent::Close;
          return e;
        }
        if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SHOWN) return e;
        break;
      case SDL_MOUSEMOTION:
        e = {DialogEvent::MouseMove, ev.motion.x / scale, ev.motion.y / scale, 0};
        return e;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (ev.button.button != SDL_BUTTON_LEFT || !pictureShown) break;
        if (ev.type == SDL_MOUSEBUTTONUP && !buttonWentDown) break;
        buttonWentDown = ev.type == SDL_MOUSEBUTTONDOWN;
        e = {ev.type == SDL_MOUSEBUTTONDOWN ? DialogEvent::MouseDown : DialogEvent::MouseUp, ev.button.x / scale,
             ev.button.y / scale, 0};
        return e;
      case SDL_CONTROLLERDEVICEADDED: {
        PadState pad;
        PadRead(&pad);
        break;
      }
      case SDL_CONTROLLERBUTTONDOWN:
        // As the keys: A works the control in focus (Play at first), Start plays, Back
        // quits, the D-pad moves the focus.
        if (!pictureShown) break;
        switch (ev.cbutton.button) {
          case SDL_CONTROLLER_BUTTON_A: e.kind = DialogEvent::KeySpace; return e;
          case SDL_CONTROLLER_BUTTON_START: e.kind = DialogEvent::KeyReturn; return e;
          case SDL_CONTROLLER_BUTTON_BACK: e.kind = DialogEvent::KeyEscape; return e;
          case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
          case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: e.kind = DialogEvent::KeyTab; return e;
          case SDL_CONTROLLER_BUTTON_DPAD_UP:
          case SDL_CONTROLLER_BUTTON_DPAD_LEFT: e.kind = DialogEvent::KeyBackTab; return e;
          default: break;
        }
        break;
      case SDL_KEYDOWN:
        if (ev.key.repeat != 0 || !pictureShown) break;
        switch (ev.key.keysym.sym) {
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
            e.kind = DialogEvent::KeyReturn;
            return e;
          case SDLK_ESCAPE:
            e.kind = DialogEvent::KeyEscape;
            return e;
          case SDLK_SPACE:
            e.kind = DialogEvent::KeySpace;
            return e;
          case SDLK_TAB:
            e.kind = (ev.key.keysym.mod & KMOD_SHIFT) ? DialogEvent::KeyBackTab : DialogEvent::KeyTab;
            return e;
          default:
            break;
        }
        break;
      default:
        break;
    }
  }
}

void DialogClose() {
  if (!dialogWindow) return;
  SDL_DestroyWindow(dialogWindow);
  dialogWindow = nullptr;
  // What the player typed or moved after the answer is not the game's; a quit request
  // (SIGTERM) still waiting stays for the game window.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_CONTROLLERDEVICEREMAPPED);
}

}  // namespace plat
