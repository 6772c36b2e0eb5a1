// The play screen: the game's sprite sets, one frame of play drawn from the play state, and
// the closing panel at the end of a game.
#pragma once

#include <cstdint>

#include "game/rules/GameRecord.h"

class KGraphic;

// Game pictures, from LoadGameSprites / LoadBatSprites to FreeGameSprites (ballPicture,
// evilBallPicture and explosionPicture are in PlayState.h, panelPicture in PanelDoors.h).
extern KGraphic* monkeyPicture;  // the rolling monkey: 5 x 5 frames of 100 x 80 cells (100 x 75 used)
extern KGraphic* winPicture;     // side-panel mascot dancing: 6 x 9 frames of 77 x 75
extern KGraphic* losePicture;    // side-panel mascot sulking: 6 x 9 frames of 78 x 69
extern KGraphic* batterPicture;  // the drummer behind the bat: 13 columns of 71 x 80 frames
extern KGraphic* batPictures[kBatKindCount];  // small, medium, large, gun: 5 x 13 frames each
extern KGraphic* gunPicture;                  // the drummer firing the gun bat: 7 x 4 frames

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
