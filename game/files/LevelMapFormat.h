// The level map file and the brick record. A map is exactly kLevelMapSize bytes, no header,
// little-endian: three physics floats, four 260-byte names, then 200 brick records of 60
// bytes. The game's reader decodes the fields one by one at these offsets and the data
// generator writes them there; the in-memory records below keep the same layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr int kLevelMapSize = 13052;
constexpr int kBrickRecordSize = 60;
constexpr int kBrickCount = 200;
constexpr int kMapNameSize = 260;

// Offsets in the map file.
constexpr int kMapGravityAt = 0;
constexpr int kMapMaxBallSpeedAt = 4;
constexpr int kMapBounceSpeedStepAt = 8;
constexpr int kMapIslandImageAt = 12;
constexpr int kMapBrickSetNameAt = 272;
constexpr int kMapMusicFileAt = 532;
constexpr int kMapGrassOverlayAt = 792;
constexpr int kMapBricksAt = 1052;

// Offsets in a brick record.
constexpr int kBrickSrcLeftAt = 2;
constexpr int kBrickSrcRightAt = 4;
constexpr int kBrickSrcTopAt = 6;
constexpr int kBrickSrcBottomAt = 8;
constexpr int kBrickLeftAt = 12;
constexpr int kBrickTopAt = 16;
constexpr int kBrickRightAt = 20;
constexpr int kBrickBottomAt = 24;
constexpr int kBrickAliveAt = 28;
constexpr int kBrickPresentAt = 29;
constexpr int kBrickCentreOffsetXAt = 32;
constexpr int kBrickCentreOffsetYAt = 36;
constexpr int kBrickReserved40At = 40;
constexpr int kBrickReserved44At = 44;
constexpr int kBrickDropBonusAt = 48;
constexpr int kBrickHitsAt = 50;
constexpr int kBrickStrengthAt = 52;
constexpr int kBrickExplosionTimerAt = 54;
constexpr int kBrickExplosionSrcXAt = 56;
constexpr int kBrickExplosionSrcYAt = 58;

// One brick, as in the file; the live table of the running level has the same layout.
struct Brick {
  std::int16_t reserved0;
  std::int16_t srcLeft;  // source rectangle in each brick sheet (right, bottom exclusive)
  std::int16_t srcRight;
  std::int16_t srcTop;
  std::int16_t srcBottom;
  std::int16_t reserved10;
  float left;  // screen rectangle, pixels
  float top;
  float right;
  float bottom;
  std::uint8_t alive;    // 1 while the brick stands
  std::uint8_t present;  // the slot holds a brick of the level
  std::int16_t reserved30;
  float centreOffsetX;  // from left / top to the brick's centre
  float centreOffsetY;
  float reserved40;  // must not be negative
  float reserved44;
  std::int16_t dropBonus;  // bonus kind released when it breaks; -1 none
  std::int16_t hits;       // damage taken; also which damage picture (0..4) it is drawn with
  std::int16_t strength;   // hits needed: 999 never breaks, 900 and more shrug off bullets,
                           // 0 takes no damage from balls; below 100 must be cleared
  std::int16_t explosionTimer;  // above 0 while its explosion runs
  std::int16_t explosionSrcX;   // source of the current explosion frame
  std::int16_t explosionSrcY;
};
static_assert(sizeof(Brick) == kBrickRecordSize, "a brick record is 60 bytes");
static_assert(offsetof(Brick, srcLeft) == kBrickSrcLeftAt && offsetof(Brick, left) == kBrickLeftAt &&
                  offsetof(Brick, alive) == kBrickAliveAt && offsetof(Brick, present) == kBrickPresentAt &&
                  offsetof(Brick, centreOffsetX) == kBrickCentreOffsetXAt &&
                  offsetof(Brick, reserved44) == kBrickReserved44At &&
                  offsetof(Brick, dropBonus) == kBrickDropBonusAt &&
                  offsetof(Brick, explosionSrcY) == kBrickExplosionSrcYAt,
              "the brick record keeps the file's layout");

// The last map read, as in the file.
struct LevelMap {
  float gravity;          // the ball rules' vertical acceleration unit
  float maxBallSpeed;     // the speed cap
  float bounceSpeedStep;  // added to a ball's rebound speed at each bat bounce
  char islandImage[kMapNameSize];   // backdrop in data\levels\islands\ (extension made "bmp")
  char brickSetName[kMapNameSize];  // kept, not used
  char musicFile[kMapNameSize];     // level music in data\audio\ (Ogg Vorbis)
  char grassOverlay[kMapNameSize];  // always "herbe.bmp" once loaded
  Brick bricks[kBrickCount];
};
static_assert(sizeof(LevelMap) == kLevelMapSize, "a level map is 13052 bytes");
static_assert(offsetof(LevelMap, islandImage) == kMapIslandImageAt &&
                  offsetof(LevelMap, brickSetName) == kMapBrickSetNameAt &&
                  offsetof(LevelMap, musicFile) == kMapMusicFileAt &&
                  offsetof(LevelMap, grassOverlay) == kMapGrassOverlayAt && offsetof(LevelMap, bricks) == kMapBricksAt,
              "the level map keeps the file's layout");

// The map's little-endian fields, read from its bytes.
inline std::uint16_t MapLe16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::int16_t MapLeInt16(const unsigned char* p) { return static_cast<std::int16_t>(MapLe16(p)); }
inline float MapLeFloat(const unsigned char* p) {
  const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                          static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
  float f;
  std::memcpy(&f, &u, sizeof f);
  return f;
}
