// SDL's video system, started once: the welcome dialog and the game window share it.
#include "platform/sdl/video_sdl.h"

#include <SDL.h>

#include <cstring>

namespace plat::sdl {

namespace {
bool started = false;

// Drivers that run without a screen: a window made there is never seen and never gets the
// focus, so the game would stand still waiting for it.
bool DriverHasNoScreen(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

// One try at starting the video system on a driver with a screen.
bool TryStartVideo(std::string* why) {
  // Set before the first window exists, the dialog's included.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // Window surfaces go straight to the window system, not through an OpenGL texture:
  // rectangle updates then cost only their own pixels, and no OpenGL library (with a software
  // renderer of tens of megabytes where there is no graphics card) is loaded for a window.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *why = std::string("SDL could not start its video system: ") + SDL_GetError();
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (DriverHasNoScreen(driver)) {
    // Mended: SDL falls back to such a driver when the real one cannot start, and the game
    // then ran unseen and could not be closed.
    *why = std::string("SDL found no screen to show the game on (its video driver '") + (driver ? driver : "?") +
           "' has none). Is the DISPLAY or WAYLAND_DISPLAY variable set to a running display?";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  return true;
}

bool Named(const char* variable) {
  const char* value = SDL_getenv(variable);
  return value != nullptr && value[0] != '\0';
}
}  // namespace

bool StartVideo(std::string* why) {
  if (started) return true;
  // Mended: a display that is named but does not answer at once (an X server still starting,
  // or refusing clients for a moment while it resets after its last client left) made SDL
  // settle on a driver without a screen. The welcome dialog, started in that moment, counted
  // as one that cannot be shown, which plays at once, and the game window opened a moment
  // later straight into the main menu: the player was never asked. Such a display is now
  // asked again for a while before the game gives up on it.
  const bool displayNamed = (Named("DISPLAY") || Named("WAYLAND_DISPLAY")) && !Named("SDL_VIDEODRIVER");
  const Uint32 giveUpAt = SDL_GetTicks() + (displayNamed ? 3000 : 0);
  while (!TryStartVideo(why)) {
    if (!SDL_TICKS_PASSED(giveUpAt, SDL_GetTicks())) return false;  // SDL_TICKS_PASSED(a, b): a >= b
    SDL_Delay(50);
  }
  started = true;
  return true;
}

void QueueInputEvents(bool queued) {
  for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_KEYDOWN,
                      SDL_KEYUP, SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_KEYMAPCHANGED, SDL_JOYAXISMOTION,
                      SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP,
                      SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLERBUTTONUP,
                      SDL_FINGERDOWN, SDL_FINGERUP, SDL_FINGERMOTION}) {
    SDL_EventState(type, queued ? SDL_ENABLE : SDL_IGNORE);
  }
}

}  // namespace plat::sdl
