// The whole program, as the game executable and the replay driver both run it.
#pragma once

#include <functional>

// Start-up, the main menu, shutdown. Returns the exit code (always 0).
int GameMain();

// The same start-up and shutdown around another first screen than the main menu (the replay
// driver uses this to open a screen directly).
int GameMainWith(const std::function<void()>& firstScreen);
