// Gamepads over SDL2's game-controller mapping: SDL's own database of pads, plus any mapping
// given in the SDL_GAMECONTROLLERCONFIG environment variable, turns every known pad into the
// same named sticks and buttons. The first pad attached is read; pads come and go at any time.
#include "platform/platform.h"

#include <SDL.h>

namespace plat {

namespace {

bool started = false;
SDL_GameController* pad = nullptr;

void Forget() {
  if (pad) SDL_GameControllerClose(pad);
  pad = nullptr;
}

// Brings the pads up to date (SDL looks for pads plugged in or pulled out as it does, at most
// once a millisecond: a frame reads the pad several times) and keeps the first one attached
// open.
void Look() {
  static Uint64 last = 0;
  static const Uint64 perMs = SDL_GetPerformanceFrequency() / 1000;
  const Uint64 now = SDL_GetPerformanceCounter();
  if (last == 0 || now - last >= perMs) {
    last = now;
    SDL_GameControllerUpdate();
  }
  if (pad && SDL_GameControllerGetAttached(pad)) return;
  Forget();
  for (int i = 0, n = SDL_NumJoysticks(); i < n && !pad; ++i) {
    if (SDL_IsGameController(i)) pad = SDL_GameControllerOpen(i);
  }
}

}  // namespace

bool PadsStart() {
  if (started) return true;
  // Pads are read in the background too: the game stands still then anyway.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  started = true;
  return true;
}

void PadsStop() {
  if (!started) return;
  Forget();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started = false;
}

bool PadRead(PadState* state) {
  *state = PadState{};
  if (!started) return false;
  Look();
  if (!pad) return false;
  state->leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  state->leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  // PadButton has SDL's button order: bit n is SDL's button n.
  for (int b = 0; b <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT; ++b) {
    if (SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(b))) state->buttons |= 1u << b;
  }
  return true;
}

static_assert(kPadStart == 1u << SDL_CONTROLLER_BUTTON_START && kPadRight == 1u << SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
                  kPadLeftShoulder == 1u << SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
              "pad buttons in SDL's order");

}  // namespace plat
