// A game from the main menu: the player's (demo false) or the attract mode's demonstration.
// It runs from the first level shown to the high-score entry and returns to the menu.
#pragma once

#include <cstdint>

// False when the game cannot be set up (its sprites or its first level cannot be loaded,
// after a box saying which); true when it ran.
bool PlayGame(bool demo);

// The score and lives of a new game; the power-ups off.
void NewGameReset();
// The panel closes over the screen, level n loads, the panel opens on it. False when its
// backdrop cannot be loaded (the panel then stays closed).
bool StartLevel(std::int32_t n);
// The current level afresh (full: the bricks stand again, the shots are gone) or again after
// a lost life (the bricks as they are); a new ball waits on the bat.
void ResetLevelState(bool full);
// True when no ball is in play any more and no brick is still exploding.
bool allBallsLost();
// Writes level n to "al.raw" when it is beyond the highest level reached.
void SaveHighestLevel(std::int32_t n);
// Until P is pressed again (nothing drawn, the music plays on).
void PauseGame();

// The demonstration stops after this many frames.
constexpr int kDemoFrames = 2125;

// What happens in a game, for observers (the replay driver prints it). Called at each level
// start (after the panel opened), each level end (after the bonus was added) and at the end
// of a game (before its closing screens).
enum class GameEvent { kLevelStart, kLevelEnd, kGameEnd };
using GameEventHook = void (*)(GameEvent event);
void SetGameEventHook(GameEventHook hook);
