// Levels: the map files named by zindo.ini, read into the level record and the live brick
// table, and the pictures of a level (island backdrop, grass overlay, the five brick sheets).
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/files/LevelMapFormat.h"

class KGraphic;

// The running level's pictures, from its load (LoadIsland, LoadBrickImages) to FreeLevelImages.
// One that is missing or failed to load stays null, and drawing skips it.
constexpr int kBrickPictureCount = 5;
struct LevelPictures {
  KGraphic* islandPicture;  // the backdrop
  KGraphic* grassPicture;   // the grass overlay
  // Damage stages 0..4: "data\levels\bricks\planche1.bmp" to "planche5.bmp".
  KGraphic* brickPictures[kBrickPictureCount];
};
extern LevelPictures levelPictures;

// Level n's map from [LEVELS] L<n> of zindo.ini, or of the player's set in use
// (game/files/LevelSet.h). Callers do not look at the result.
bool LoadLevelMap(std::int32_t n);
// Reads a map file (full path) and installs it: the level record, the live bricks and
// physics, the island and brick pictures, the level music; then culls and arms the bricks.
// False, with everything left as it was, when the file cannot be read or is not a map.
bool ReadLevelFile(const char* path);
// The same for a map's bytes already read.
bool InstallLevel(const unsigned char* bytes, std::size_t size);
// Decodes the first kLevelMapSize bytes of a map file into a level record, field by field.
// False (record untouched) when there are fewer bytes or its physics are not finite numbers.
bool DecodeLevelMap(const unsigned char* bytes, std::size_t size, LevelMap* map);

// The backdrop named by the map (or "beach.bmp") and the grass overlay. False, after a box,
// when neither backdrop or the overlay can be loaded.
bool LoadIsland();
// LoadIsland for the level whose map was just read, which loaded them already: the pictures
// are kept when the last LoadIsland found the backdrop's own file (no fallback, no box) and
// the overlay as the map asks now; otherwise LoadIsland runs again.
bool LoadIslandAgain();
// The five brick pictures, once until freed. False, after a box, at the first that fails.
bool LoadBrickImages();
void FreeBrickImages();
// The brick pictures, the overlay and the backdrop.
void FreeLevelImages();

// Takes out the standing bricks placed outside the screen area or with a negative centre or
// reserved value.
void CullBricks();
// Every present brick stands again undamaged, the others not; the level bonus is two points
// a brick; the fruit of every slot is put away.
void ArmBricks();
