#include "game/playscreen/PlayScreen.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/files/RawFiles.h"
#include "game/layout/PlaySheet.h"
#include "game/layout/ScreenSize.h"
#include "game/playscreen/Levels.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"

#include <algorithm>
#include <cstdint>

namespace {

// Frame layouts of the game pictures.
constexpr int kMonkeyCellW = 100, kMonkeyCellH = 80, kMonkeyFrameH = 75, kMonkeyColumns = 5;
constexpr int kMonkeyX = 0, kMonkeyY = 525;
constexpr int kDrummerW = 71, kDrummerH = 80, kDrummerColumns = 13;
constexpr int kDrummerY = 465;
constexpr int kBatColumns = 5, kBatRows = 13;
constexpr int kBatBaseY = 463;
constexpr int kGunColumns = 7, kGunRows = 4;
constexpr int kGunOffsetX = 8, kGunY = 416;
// The side-panel mascot: 6 columns x 9 rows, one frame every third drawn frame.
constexpr int kMoodTicks = 3, kMoodColumns = 6, kMoodRows = 9;
constexpr int kWinW = 77, kWinH = 75, kWinX = 54, kWinY = 98;
constexpr int kLoseW = 78, kLoseH = 69, kLoseX = 51, kLoseY = 104;
// The track strips: pieces every kTrackPieceStep pixels, cut at the left edge of the field.
constexpr int kTrackOneY = 537, kTrackTwoY = 563, kTrackTwoStart = 880, kTrackCutX = 80;
// Bonus captions are drawn at this x.
constexpr int kCaptionX = 174;
// Side-panel numbers, right-aligned at x 126.
constexpr int kPanelNumberRight = 126;
constexpr int kScoreY = 213, kLivesY = 300, kLevelBonusY = 389, kLevelY = 480;
// Ball shake: the countdown stops at this value.
constexpr std::int32_t kShakeEnd = 2;
// Far enough off the screen; small offsets added to it stay far inside int range.
constexpr std::int32_t kFarPixel = 1 << 20;

bool LoadInto(KGraphic*& slot, const char* name) {
  delete slot;
  slot = LoadSprite(KPath::MakeAbsolute(name));
  return slot != nullptr;
}

void Free(KGraphic*& slot) {
  delete slot;
  slot = nullptr;
}

int WholeWidth(const KGraphic* g) { return PixelOf(g->width); }
int WholeHeight(const KGraphic* g) { return PixelOf(g->height); }

// A sheet rectangle of `picture` drawn keyed at (x, y); nothing without the picture.
void Sprite(KGraphic* picture, int left, int top, int right, int bottom, int x, int y) {
  if (picture) picture->BlitRectKeyed(left, top, right, bottom, x, y, 0, 0);
}

void DrawShots() {
  for (int i = 0; i < kShotCount; ++i) {
    const ShellCasing& c = play.shellCasings[i];
    if (c.active) {
      std::int32_t& fx = play.casingFrameX[i];
      std::int32_t& fy = play.casingFrameY[i];
      fx += kCasingFrameSize;
      if (fx >= kCasingColumns * kCasingFrameSize) {
        fx = 0;
        fy += kCasingFrameSize;
        if (fy >= kCasingRows * kCasingFrameSize) fy = 0;
      }
      Sprite(bigPlancheSheet, fx, kCasingTop + fy, fx + kCasingFrameSize, kCasingTop + fy + kCasingFrameSize,
             PixelOf(c.x), PixelOf(c.y));
    }
    const Bullet& b = play.bullets[i];
    if (b.active)
      Sprite(bigPlancheSheet, kBulletRect.left, kBulletRect.top, kBulletRect.right, kBulletRect.bottom, PixelOf(b.x),
             PixelOf(b.y));
  }
}

void DrawBatAndDrummer() {
  if (play.gunFrameX >= 0) {  // firing: the gun sheet shows drummer and bat together
    Sprite(gameSprites.gunPicture, play.gunFrameX, play.gunFrameY, play.gunFrameX + play.gunFrameW,
           play.gunFrameY + play.gunFrameH, PixelOf(play.batX + kGunOffsetX), kGunY);
    return;
  }
  const std::int32_t f = play.batterFrame;
  Sprite(gameSprites.batterPicture, kDrummerW * (f % kDrummerColumns), kDrummerH * (f / kDrummerColumns),
         kDrummerW * (f % kDrummerColumns) + kDrummerW, kDrummerH * (f / kDrummerColumns) + kDrummerH,
         PixelOf(play.batX), kDrummerY);
  const int k = gameRecord.batKind;
  if (k < 0 || k >= kBatKindCount) return;
  const float w = play.batFrameW[k], h = play.batFrameH[k];
  const std::int32_t left = PixelOf(static_cast<float>(f % kBatColumns) * w);
  const std::int32_t top = PixelOf(static_cast<float>(f / kBatColumns) * h);
  const std::int32_t right = PixelOf(static_cast<float>(left) + w);
  const std::int32_t bottom = PixelOf(static_cast<float>(top) + h);
  Sprite(gameSprites.batPictures[k], left, top, right, bottom, PixelOf(play.batX + kBatOffsetX[k]),
         kBatBaseY + kBatOffsetY[k]);
}

void DrawGround() {
  drawTrack(PixelOf(play.trackScroll));
  if (gameSprites.monkeyPicture) {
    const int f = PixelOf(play.monkeyFrame);
    const int left = kMonkeyCellW * (f % kMonkeyColumns), top = kMonkeyCellH * (f / kMonkeyColumns);
    gameSprites.monkeyPicture->BlitRectKeyed(left, top, left + kMonkeyCellW, top + kMonkeyFrameH, kMonkeyX, kMonkeyY, 0,
                                             0);
  }
  if (levelPictures.grassPicture)
    levelPictures.grassPicture->BlitRectKeyed(0, 0, WholeWidth(levelPictures.grassPicture),
                                              WholeHeight(levelPictures.grassPicture), 0,
                                              kScreenHeight - WholeHeight(levelPictures.grassPicture), 0, 0);
  DrawBatAndDrummer();
}

void DrawMascot() {
  if (++play.moodTick >= kMoodTicks) {
    play.moodTick = 0;
    if (++play.moodColumn >= kMoodColumns) {
      play.moodColumn = 0;
      if (++play.moodRow >= kMoodRows) play.moodRow = 0;
    }
  }
  const int c = play.moodColumn, r = play.moodRow;
  if (gameRecord.monkeyHappy)
    Sprite(gameSprites.winPicture, kWinW * c, kWinH * r, kWinW * c + kWinW, kWinH * r + kWinH, kWinX, kWinY);
  else
    Sprite(gameSprites.losePicture, kLoseW * c, kLoseH * r, kLoseW * c + kLoseW, kLoseH * r + kLoseH, kLoseX, kLoseY);
}

void DrawBalls() {
  for (const Ball& b : play.balls)
    if (b.active)
      Sprite(b.picture, b.frameX, b.frameY, b.frameX + b.width, b.frameY + b.height, PixelOf(b.x), PixelOf(b.y));
}

// The picture a brick of `hits` damage is drawn with.
KGraphic* BrickPictureFor(std::int16_t hits) {
  // Mended: a negative count (run-time fields of a damaged map) used to index before the table.
  return levelPictures.brickPictures[std::clamp<int>(hits, 0, kBrickPictureCount - 1)];
}

void DrawBrick(const Brick& b, KGraphic* picture) {
  Sprite(picture, b.srcLeft, b.srcTop, b.srcRight, b.srcBottom, PixelOf(b.left), PixelOf(b.top));
}

void DrawBricksAndFruit() {
  for (const Brick& b : bricks)
    if (b.alive == 1) DrawBrick(b, BrickPictureFor(b.hits));
  for (const Fruit& f : play.fruits)
    if (f.active)
      Sprite(bigPlancheSheet, f.frameX, f.frameY, f.frameX + f.frameW, f.frameY + f.frameH, PixelOf(f.x),
             PixelOf(f.y));
}

void DrawBonuses() {
  for (const BonusDrop& d : play.bonusDrops)
    if (d.active)
      Sprite(bigPlancheSheet, d.iconX, d.iconY, d.iconX + kCapsuleWidth, d.iconY + kCapsuleHeight, PixelOf(d.x),
             PixelOf(d.y));
  if (play.captionOn)
    Sprite(bigPlancheSheet, kCaptionLeft, play.captionIcon, kCaptionRight, play.captionIcon + kCaptionHeight,
           kCaptionX, play.captionY);
}

void DrawExplosions() {
  const int fw = gameSprites.explosionPicture ? WholeWidth(gameSprites.explosionPicture) / 2 : 0;
  const int fh = gameSprites.explosionPicture ? WholeHeight(gameSprites.explosionPicture) / 3 : 0;
  for (const Brick& b : bricks) {
    if (b.explosionTimer == 0) continue;
    const std::int32_t x = PixelOf(b.left), y = PixelOf(b.top);
    const std::int32_t cx = PixelOf(static_cast<float>(x) + b.centreOffsetX);
    const std::int32_t cy = PixelOf(static_cast<float>(y) + b.centreOffsetY);
    // The first two rows of the explosion still show the brick, at its most damaged.
    if (b.explosionSrcY < 2 * fh) DrawBrick(b, levelPictures.brickPictures[kBrickPictureCount - 1]);
    // fw and fh are never negative: halving them is floor division.
    Sprite(gameSprites.explosionPicture, b.explosionSrcX, b.explosionSrcY, b.explosionSrcX + fw, b.explosionSrcY + fh,
           cx - fw / 2 - 8, cy - fh / 2 - 4);
  }
}

void CountDownShake() {
  // Kept as designed: the countdown runs, but nothing on the screen is moved by it.
  for (Ball& b : play.balls) {
    if (!b.active || !b.shaking) continue;
    if (--b.shakeTimer <= kShakeEnd) b.shaking = false;
    return;
  }
}

// Volumes in percent, held inside the int range whatever the saved music level says.
std::int32_t Saturated(double v) {
  if (!(v > INT32_MIN)) return INT32_MIN;
  if (!(v < INT32_MAX)) return INT32_MAX;
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::int32_t PixelOf(float v) {
  // Mended: converting a float beyond the int range (a brick placed at 1e30 by its map, a
  // NaN) to int is undefined; such values are held off screen.
  if (!(v == v)) return -kFarPixel;
  if (v >= static_cast<float>(kFarPixel)) return kFarPixel;
  if (v <= -static_cast<float>(kFarPixel)) return -kFarPixel;
  return static_cast<std::int32_t>(v);
}

bool LoadGameSprites() {
  return LoadInto(gameSprites.monkeyPicture, "data\\sprites\\singeA.bmp") &&
         LoadInto(gameSprites.ballPicture, "data\\sprites\\balle.bmp") &&
         LoadInto(gameSprites.evilBallPicture, "data\\sprites\\evilball.bmp") &&
         LoadInto(gameSprites.explosionPicture, "data\\sprites\\explosion.bmp") && LoadPanelPicture();
}

bool LoadBatSprites() {
  static const char* const kBatFiles[kBatKindCount] = {"data\\sprites\\batteS.bmp", "data\\sprites\\batteM.bmp",
                                                       "data\\sprites\\batteL.bmp", "data\\sprites\\gunbat.bmp"};
  if (!LoadInto(gameSprites.winPicture, "data\\sprites\\win.bmp") ||
      !LoadInto(gameSprites.losePicture, "data\\sprites\\lose.bmp") ||
      !LoadInto(gameSprites.batterPicture, "data\\sprites\\batteur.bmp"))
    return false;
  for (int k = 0; k < kBatKindCount; ++k)
    if (!LoadInto(gameSprites.batPictures[k], kBatFiles[k])) return false;
  for (int k = 0; k < kBatKindCount; ++k) {
    play.batFrameW[k] = gameSprites.batPictures[k]->width / kBatColumns;
    play.batFrameH[k] = gameSprites.batPictures[k]->height / kBatRows;
  }
  // The drummer starts on its idle loop (frames 0..34; the hit sequences are the rules').
  play.batterFrame = 0;
  play.batterLastFrame = 34;
  if (!LoadInto(gameSprites.gunPicture, "data\\sprites\\gunshoot.bmp")) return false;
  play.gunFrameX = -1;
  play.gunFrameY = 0;
  play.gunFrameW = WholeWidth(gameSprites.gunPicture) / kGunColumns;
  play.gunFrameH = WholeHeight(gameSprites.gunPicture) / kGunRows;
  play.gunSheetW = kGunColumns * play.gunFrameW;
  play.gunSheetH = kGunRows * play.gunFrameH;
  return true;
}

void FreeGameSprites() {
  for (KGraphic** slot : {&gameSprites.monkeyPicture, &gameSprites.ballPicture, &gameSprites.evilBallPicture,
                          &gameSprites.explosionPicture, &gameSprites.winPicture, &gameSprites.losePicture,
                          &gameSprites.batterPicture, &gameSprites.gunPicture})
    Free(*slot);
  for (KGraphic*& p : gameSprites.batPictures) Free(p);
}

void drawTrack(std::int32_t offset) {
  if (!bigPlancheSheet) return;
  for (int k = 0; k < kScreenWidth; k += kTrackPieceStep) {
    const int strips[2][2] = {{offset + k, kTrackOneY}, {kTrackTwoStart - k - offset, kTrackTwoY}};
    for (const auto& strip : strips) {
      int x = strip[0], s = kTrackPieceRect.left;
      if (x < kTrackCutX) {
        s = kTrackPieceRect.left + kTrackCutX - x;
        x = kTrackCutX;
      }
      bigPlancheSheet->BlitRectKeyed(s, kTrackPieceRect.top, kTrackPieceRect.right, kTrackPieceRect.bottom, x,
                                     strip[1], 0, 0);
    }
  }
}

void DrawPlayScreen() {
  if (levelPictures.islandPicture)
    levelPictures.islandPicture->BlitRect(0, 0, WholeWidth(levelPictures.islandPicture),
                                          WholeHeight(levelPictures.islandPicture), 0, 0, 0, 0);
  DrawShots();
  DrawGround();
  DrawMascot();
  DrawBalls();
  DrawBricksAndFruit();
  DrawBonuses();
  DrawExplosions();
  CountDownShake();
  DrawNumber(gameRecord.score, kPanelNumberRight, kScoreY);
  DrawNumber(gameRecord.lives, kPanelNumberRight, kLivesY);
  DrawNumber(gameRecord.levelBonus, kPanelNumberRight, kLevelBonusY);
  DrawNumber(gameRecord.level, kPanelNumberRight, kLevelY);
}

void EndGameDoors() {
  // Mended: a music level from a damaged preference file used to overflow level x 10.
  const double full = static_cast<double>(musicLevel) * 10.0;
  const float step = static_cast<float>(full / 40.0);
  float volume = static_cast<float>(full);
  KGraphic* copy = new KGraphic();
  copy->GrabBackBuffer();
  SlidePanelDoors(
      -400, 0, [&] { copy->BlitRect(0, 0, WholeWidth(copy), WholeHeight(copy), 0, 0, 0, 0); },
      [&] {
        volume -= step;
        if (volume <= 0.0f) volume = 0.0f;
        setVolumes(Saturated(volume), -1);
      });
  delete copy;
  setVolumes(Saturated(full), -1);
}
