// A game from the main menu: the player's (demo false) or the attract mode's demonstration.
#pragma once

// False when the game cannot be set up.
bool PlayGame(bool demo);
