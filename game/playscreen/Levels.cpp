#include "game/playscreen/Levels.h"

#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/LevelSet.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Screen.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

LevelPictures levelPictures = {};

namespace {

// Set when the brick pictures were loaded (or tried): they are loaded once until freed.
bool brickPicturesLoaded = false;

// The file the backdrop in levelPictures.islandPicture came from, and whether the overlay was loaded with
// it, after a LoadIsland that found both; empty otherwise.
std::string islandLoadedFrom;
bool grassLoadedWith = false;

constexpr int kPathSize = 260;  // paths are used as at most 259 characters


// Mended: a name that fills its 260 bytes without a terminating zero used to run on into the
// next field when used; it is cut to 259 characters.
void DecodeName(const unsigned char* p, char (&name)[kMapNameSize]) {
  std::memcpy(name, p, kMapNameSize);
  name[kMapNameSize - 1] = '\0';
}

void DecodeBrick(const unsigned char* p, Brick* b) {
  b->reserved0 = MapLeInt16(p);
  b->srcLeft = MapLeInt16(p + kBrickSrcLeftAt);
  b->srcRight = MapLeInt16(p + kBrickSrcRightAt);
  b->srcTop = MapLeInt16(p + kBrickSrcTopAt);
  b->srcBottom = MapLeInt16(p + kBrickSrcBottomAt);
  b->reserved10 = MapLeInt16(p + kBrickSrcBottomAt + 2);
  b->left = MapLeFloat(p + kBrickLeftAt);
  b->top = MapLeFloat(p + kBrickTopAt);
  b->right = MapLeFloat(p + kBrickRightAt);
  b->bottom = MapLeFloat(p + kBrickBottomAt);
  b->alive = p[kBrickAliveAt];
  b->present = p[kBrickPresentAt];
  b->reserved30 = MapLeInt16(p + kBrickPresentAt + 1);
  b->centreOffsetX = MapLeFloat(p + kBrickCentreOffsetXAt);
  b->centreOffsetY = MapLeFloat(p + kBrickCentreOffsetYAt);
  b->reserved40 = MapLeFloat(p + kBrickReserved40At);
  b->reserved44 = MapLeFloat(p + kBrickReserved44At);
  b->dropBonus = MapLeInt16(p + kBrickDropBonusAt);
  b->hits = MapLeInt16(p + kBrickHitsAt);
  b->strength = MapLeInt16(p + kBrickStrengthAt);
  b->explosionTimer = MapLeInt16(p + kBrickExplosionTimerAt);
  b->explosionSrcX = MapLeInt16(p + kBrickExplosionSrcXAt);
  b->explosionSrcY = MapLeInt16(p + kBrickExplosionSrcYAt);
}

bool AllFinite(const Brick& b) {
  for (float v : {b.left, b.top, b.right, b.bottom, b.centreOffsetX, b.centreOffsetY, b.reserved40, b.reserved44})
    if (!std::isfinite(v)) return false;
  return true;
}

// folder + name, cut to 259 characters (names come from data files and may be long).
std::string DataPath(const char* folder, const char* name) {
  std::string path = std::string(folder) + name;
  if (path.size() > kPathSize - 1) path.resize(kPathSize - 1);
  return path;
}

// A picture beside the executable into slot (whatever was there goes); false when it failed.
bool LoadInto(KGraphic*& slot, const std::string& absolutePath) {
  delete slot;
  slot = LoadSprite(absolutePath.c_str());
  return slot != nullptr;
}

}  // namespace

bool DecodeLevelMap(const unsigned char* bytes, std::size_t size, LevelMap* map) {
  // Mended: a short file used to leave the end of the read buffer undefined (and the level
  // made of whatever it held); it is now refused like a missing one. Bytes past the map's
  // size are not looked at.
  if (!bytes || size < static_cast<std::size_t>(kLevelMapSize)) return false;
  LevelMap m;
  m.gravity = MapLeFloat(bytes + kMapGravityAt);
  m.maxBallSpeed = MapLeFloat(bytes + kMapMaxBallSpeedAt);
  m.bounceSpeedStep = MapLeFloat(bytes + kMapBounceSpeedStepAt);
  // Mended: physics that are not numbers (NaN, infinity) would send every ball off the
  // screen at once; such a map is refused like a short one.
  if (!std::isfinite(m.gravity) || !std::isfinite(m.maxBallSpeed) || !std::isfinite(m.bounceSpeedStep)) return false;
  DecodeName(bytes + kMapIslandImageAt, m.islandImage);
  DecodeName(bytes + kMapBrickSetNameAt, m.brickSetName);
  DecodeName(bytes + kMapMusicFileAt, m.musicFile);
  DecodeName(bytes + kMapGrassOverlayAt, m.grassOverlay);
  for (int i = 0; i < kBrickCount; ++i) DecodeBrick(bytes + kMapBricksAt + i * kBrickRecordSize, &m.bricks[i]);
  *map = m;
  return true;
}

bool LoadLevelMap(std::int32_t n) {
  if (CustomLevels()) {
    std::string bytes;
    return CustomLevelMapBytes(n, bytes) && InstallLevel(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  }
  char key[16];
  std::snprintf(key, sizeof key, "L%d", static_cast<int>(n));
  char value[kMapNameSize];
  if (!GetConfigString("LEVELS", key, value, sizeof value)) value[0] = '\0';
  const std::string relative = DataPath("data\\levels\\maps\\", value);
  return ReadLevelFile(KPath::MakeAbsolute(relative.c_str()));
}

bool ReadLevelFile(const char* path) {
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return false;
  std::vector<unsigned char> buffer(kLevelMapSize);
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
  // A folder opens here but reads nothing, so a missing L<n> key (an empty name) ends here too.
  return InstallLevel(buffer.data(), got);
}

bool InstallLevel(const unsigned char* bytes, std::size_t size) {
  LevelMap map;
  if (!DecodeLevelMap(bytes, size, &map)) return false;

  levelMap = map;
  std::memcpy(bricks, levelMap.bricks, sizeof bricks);
  gravity = levelMap.gravity;
  maxBallSpeed = levelMap.maxBallSpeed;
  bounceSpeedStep = levelMap.bounceSpeedStep;
  std::snprintf(levelMap.grassOverlay, sizeof levelMap.grassOverlay, "%s", "herbe.bmp");
  LoadIsland();
  LoadBrickImages();  // once until freed; a failure has shown its box and the level goes on
  // The level's music starts again even when it is the one already playing.
  playMusic(KPath::MakeAbsolute(DataPath("data\\audio\\", levelMap.musicFile).c_str()));
  CullBricks();
  ArmBricks();
  for (Brick& b : bricks) b.explosionTimer = 0;
  return true;
}

namespace {

// Kept as designed: the last three characters of the whole path become "bmp", whatever the
// name's extension (a name shorter than three characters loses the end of the folder).
std::string IslandPath() {
  std::string relative = DataPath("data\\levels\\islands\\", levelMap.islandImage);
  relative.replace(relative.size() - 3, 3, "bmp");
  return KPath::MakeAbsolute(relative.c_str());
}

}  // namespace

bool LoadIsland() {
  delete levelPictures.islandPicture;
  levelPictures.islandPicture = nullptr;
  delete levelPictures.grassPicture;
  levelPictures.grassPicture = nullptr;
  islandLoadedFrom.clear();

  const std::string island = IslandPath();
  const bool ownFile = LoadInto(levelPictures.islandPicture, island);
  if (!ownFile) {
    const std::string beach = KPath::MakeAbsolute("data\\levels\\islands\\beach.bmp");
    if (!LoadInto(levelPictures.islandPicture, beach)) {
      ShowMessageBox(beach.c_str(), "Could not load Island");
      return false;
    }
  }

  const bool wantGrass = levelMap.grassOverlay[0] != '\0';
  if (wantGrass) {
    const std::string grass = KPath::MakeAbsolute("data\\levels\\islands\\herbe.bmp");
    if (!LoadInto(levelPictures.grassPicture, grass)) {
      ShowMessageBox(grass.c_str(), "Could not load grass overlay");
      return false;
    }
  }
  // A later LoadIslandAgain may keep these (not a fallback: its boxes would be shown again).
  if (ownFile) islandLoadedFrom = island;
  grassLoadedWith = wantGrass;
  return true;
}

bool LoadIslandAgain() {
  const bool wantGrass = levelMap.grassOverlay[0] != '\0';
  if (levelPictures.islandPicture && !islandLoadedFrom.empty() && islandLoadedFrom == IslandPath() &&
      grassLoadedWith == wantGrass)
    return true;
  return LoadIsland();
}

bool LoadBrickImages() {
  if (brickPicturesLoaded) return true;
  // Kept as designed: the flag stays set after a failure, so a missing sheet is not looked
  // for again until the pictures are freed.
  brickPicturesLoaded = true;
  for (int k = 1; k <= kBrickPictureCount; ++k) {
    char name[64];
    std::snprintf(name, sizeof name, "data\\levels\\bricks\\planche%d.bmp", k);
    if (!LoadInto(levelPictures.brickPictures[k - 1], KPath::MakeAbsolute(name))) {
      ShowMessageBox("Error", "Could not load bricks  ");
      return false;
    }
  }
  return true;
}

void FreeBrickImages() {
  for (KGraphic*& p : levelPictures.brickPictures) {
    delete p;
    p = nullptr;
  }
  brickPicturesLoaded = false;
}

void FreeLevelImages() {
  islandLoadedFrom.clear();
  FreeBrickImages();
  delete levelPictures.grassPicture;
  levelPictures.grassPicture = nullptr;
  delete levelPictures.islandPicture;
  levelPictures.islandPicture = nullptr;
}

void CullBricks() {
  for (Brick& b : bricks) {
    if (!b.present) continue;
    // Mended: a brick whose rectangle or offsets are not numbers could never be hit, nor
    // placed on the screen; it is taken out whatever its alive byte says.
    if (!AllFinite(b)) {
      b.present = 0;
      b.alive = 0;
      continue;
    }
    // Kept as designed: alive still holds the file's byte here, so a brick stored with 0
    // escapes the test below and stands once armed, wherever it is.
    if (!b.alive) continue;
    const bool inside = 0 < b.left && b.left < 798 && 0 <= b.top && b.top < 598 && 0 < b.right && b.right < 798 &&
                        0 <= b.bottom && b.bottom < 598;
    const bool positive = b.centreOffsetX >= 0 && b.centreOffsetY >= 0 && b.reserved40 >= 0 && b.reserved44 >= 0;
    if (!inside || !positive) {
      b.present = 0;
      b.alive = 0;
    }
  }
}

void ArmBricks() {
  play.idleFrames = 0;
  gameRecord.levelBonus = 0;
  for (int i = 0; i < kBrickCount; ++i) {
    Brick& b = bricks[i];
    if (b.present) {
      gameRecord.levelBonus += 2;
      b.alive = 1;
      b.hits = 0;
    } else {
      b.alive = 0;
    }
    play.fruits[i].active = false;
  }
}
