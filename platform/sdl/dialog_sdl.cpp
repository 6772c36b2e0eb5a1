// The start dialog's window over SDL2: a plain window showing the pixels the game draws.
#include "platform.h"

#include <SDL.h>

namespace {
SDL_Window* dialogWindow = nullptr;
int dialogW = 0, dialogH = 0;
}  // namespace

namespace plat {

bool DialogOpen(const char* title, int width, int height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  dialogWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
  if (!dialogWindow) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  dialogW = width;
  dialogH = height;
  // Without a window manager nobody else gives the dialog the keyboard.
  SDL_RaiseWindow(dialogWindow);
  SDL_SetWindowInputFocus(dialogWindow);
  return true;
}

void DialogShow(const std::uint32_t* pixels) {
  if (!dialogWindow) return;
  SDL_Surface* surface = SDL_GetWindowSurface(dialogWindow);
  if (!surface) return;
  SDL_ConvertPixels(dialogW, dialogH, SDL_PIXELFORMAT_ARGB8888, pixels, dialogW * 4, surface->format->format,
                    surface->pixels, surface->pitch);
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
        e = {DialogEvent::MouseMove, ev.motion.x, ev.motion.y, 0};
        return e;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (ev.button.button != SDL_BUTTON_LEFT) break;
        e = {ev.type == SDL_MOUSEBUTTONDOWN ? DialogEvent::MouseDown : DialogEvent::MouseUp, ev.button.x, ev.button.y, 0};
        return e;
      case SDL_KEYDOWN:
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
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace plat
