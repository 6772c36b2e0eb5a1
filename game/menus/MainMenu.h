// The main menu: Play, Options, Quit, the start-level selector, and the attract mode (after
// eight idle seconds the demonstration game and the high-score table, in turn).
#pragma once

bool RunMainMenu();
bool LoadMainMenuPictures();
void FreeMainMenuPictures();

// Waits up to ms milliseconds while the left button stays down.
void WaitWhileHeld(int ms);

// A game of the set in use from its first level, without the menu (zindorumba --level FILE):
// it ends as a game ends, with the table or the game-over screen.
bool PlayLevelAlone();
