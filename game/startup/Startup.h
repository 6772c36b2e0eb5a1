// Start-up and shutdown: configuration, the welcome dialog, the window, the pointer sprite
// and the sound cues, then the first screen, then everything released again.
#pragma once

// False when the program should end at once (the player quit the welcome dialog, or the
// pointer sprite is missing).
bool InitGame();
void ShutdownGame();
