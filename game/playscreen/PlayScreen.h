// The play screen: the game's sprite sets, one frame of play drawn from the play state, and
// the closing panel at the end of a game.
#pragma once

#include <cstdint>

#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"

class KGraphic;

// The game's pictures (gameSprites, in game/rules/PlayState.h) are loaded and freed here;
// the panel's picture by LoadPanelPicture and FreePanelPicture (game/ui/PanelDoors.h).

// The monkey, balls, explosion and panel pictures, in this order; false at the first failure
// (what was loaded stays until FreeGameSprites).
bool LoadGameSprites();
// The mascot, drummer, bat and gun pictures with the frame sizes taken from them; false at
// the first failure.
bool LoadBatSprites();
// Every game picture but the panel, which the game destroys itself.
void FreeGameSprites();

// One frame of play into the back buffer, back to front. Changes nothing the rules read; it
// advances only its own animation counters (casing frames, the mascot) and the ball shake.
void DrawPlayScreen();
// The two track strips under the bat, scrolled by offset pixels.
void drawTrack(std::int32_t offset);
// At the end of a game: the panel closes over the last frame while the music fades out,
// then the music volume is back at the player's setting.
void EndGameDoors();

// A float screen position as whole pixels, truncated toward zero. Values far outside the
// screen, infinities and NaN are held to a range that is still off screen and leaves room
// for the small offsets drawing adds.
std::int32_t PixelOf(float v);
