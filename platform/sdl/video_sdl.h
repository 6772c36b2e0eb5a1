// SDL's video system, shared by the welcome dialog and the game window (SDL platform only).
#pragma once

#include <string>

namespace plat::sdl {

// Starts SDL's video system once for the whole run, with the game's hints already set when
// the first window is made. True when it runs on a driver that shows windows on a screen;
// otherwise false with *why saying what went wrong, and nothing left running (a later call
// tries again).
bool StartVideo(std::string* why);

// Whether keyboard, mouse and joystick events are queued. The dialog reads them as events;
// the game polls the input state instead, and queued input would only pile up.
void QueueInputEvents(bool queued);

}  // namespace plat::sdl
