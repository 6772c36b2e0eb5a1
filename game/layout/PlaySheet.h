// Where the play screen's small pictures lie in the shared sheet data/sprites/bigplanche.bmp
// (rectangles: left, top inclusive; right, bottom exclusive). The play rules and the drawing
// cut them out; the data generator draws them there.
#pragma once

#include <cstdint>

struct SheetRect {
  short left, top, right, bottom;
};

// Shell casings: 14 x 14 frames, 12 columns from x 0, 6 rows from y 258.
constexpr int kCasingFrameSize = 14;
constexpr int kCasingColumns = 12;
constexpr int kCasingRows = 6;
constexpr int kCasingTop = 258;
// A bullet.
constexpr SheetRect kBulletRect = {163, 213, 172, 221};
// One piece of the track under the bat, repeated every kTrackPieceStep pixels.
constexpr SheetRect kTrackPieceRect = {156, 175, 243, 183};
constexpr int kTrackPieceStep = 87;
// The caption of the demonstration game.
constexpr SheetRect kDemoCaptionRect = {0, 350, 178, 411};
// Bonus captions: 28-pixel strips from x 362 to 484, one per bonus with a caption, at the
// top given by the bonus table below.
constexpr int kCaptionLeft = 362;
constexpr int kCaptionRight = 484;
constexpr int kCaptionHeight = 28;
// Bonus capsules: 36 x 21 icons.
constexpr int kCapsuleWidth = 36;
constexpr int kCapsuleHeight = 21;

// Fruit: each kind is a block of frames of one size; the animation runs through a row, then
// the next row from restartX, and stays on its last frame.
struct FruitKind {
  std::int16_t firstX, firstY;
  std::int16_t frameW, frameH;
  std::int16_t endX, endY;
  std::int16_t restartX;
};
constexpr int kFruitKindCount = 4;
constexpr FruitKind kFruitKinds[kFruitKindCount] = {
    {0, 0, 31, 45, 155, 135, 0},
    {155, 0, 26, 29, 285, 87, 155},
    {0, 135, 31, 31, 155, 228, 0},
    {155, 87, 27, 28, 236, 171, 155},
};

// Bonus kinds that show a capsule and/or a caption: the capsule's icon in the sheet and the
// top of its caption strip (-1: no caption).
struct BonusArt {
  std::int16_t kind;
  std::int16_t iconX, iconY;
  std::int16_t captionY;
};
constexpr int kBonusArtCount = 14;
constexpr BonusArt kBonusArt[kBonusArtCount] = {
    {1, 290, 231, 84},    // Lift
    {2, 290, 21, 28},     // SlowBalls
    {3, 290, 0, 308},     // ExtraLife
    {4, 290, 63, -1},     // AutoBreaker
    {5, 326, 189, 168},   // SmallBat
    {6, 290, 84, 140},    // MediumBat
    {7, 290, 147, 112},   // LargeBat
    {8, 290, 42, 196},    // GunBat
    {13, 326, 21, 0},     // FastBalls
    {15, 326, 105, 56},   // Gravity
    {16, 326, 126, 280},  // FreezeBat
    {20, 326, 84, 252},   // ShrinkBat
    {21, 290, 210, 224},  // GrowBat
    {22, 326, 168, -1},   // Quake
};
// The art of a bonus kind, or null for kinds without a capsule.
constexpr const BonusArt* FindBonusArt(int kind) {
  for (const BonusArt& a : kBonusArt)
    if (a.kind == kind) return &a;
  return nullptr;
}
