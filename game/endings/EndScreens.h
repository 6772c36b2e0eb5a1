// The two short screens that close a game: the game-over screen (a score too low for the
// table) and the end screen (the last level cleared).
#pragma once

// The game-over background and its six animation pictures; false at the first that cannot
// be loaded (a picture whose file cannot be read counts as not loaded).
bool LoadGameOverPictures();
// The panel doors open over the game-over picture, its music plays and the animation runs
// until a click, the close box or 4200 frames. Frees the pictures at the end.
void RunGameOver();
// Frees whatever game-over pictures exist; a second call frees nothing.
void FreeGameOverPictures();

// The end picture with its music, until a click or the close box.
void RunEndScreen();
