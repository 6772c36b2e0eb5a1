// Where the front end's buttons are: the point their highlighted picture is drawn at and the
// hit rectangle (inclusive bounds), in screen pixels. The screens test the pointer against
// them; the data generator cuts the highlighted pictures at the draw points.
#pragma once

#include <cstdint>

struct ButtonPlace {
  std::int16_t drawX, drawY;
  std::int32_t left, right, top, bottom;
};

// Main menu.
constexpr ButtonPlace kPlayButtonPlace = {343, 196, 350, 447, 207, 243};
constexpr ButtonPlace kOptionsButtonPlace = {332, 378, 350, 467, 382, 423};
constexpr ButtonPlace kQuitButtonPlace = {332, 459, 350, 477, 468, 513};
constexpr ButtonPlace kLevelDownButtonPlace = {348, 306, 348, 388, 306, 336};
constexpr ButtonPlace kLevelUpButtonPlace = {427, 306, 427, 457, 306, 336};
// The start level number: right-aligned at this x, top at this y.
constexpr int kMenuLevelRightX = 424;
constexpr int kMenuLevelTop = 313;

// Options.
constexpr ButtonPlace kOptionsBackPlace = {350, 484, 352, 440, 490, 525};
constexpr ButtonPlace kMusicDownPlace = {484, 166, 484, 504, 167, 188};
constexpr ButtonPlace kMusicUpPlace = {621, 166, 621, 640, 167, 190};
constexpr ButtonPlace kEffectsDownPlace = {483, 227, 484, 504, 228, 251};
constexpr ButtonPlace kEffectsUpPlace = {622, 228, 622, 640, 228, 251};
constexpr ButtonPlace kResetScoresPlace = {479, 366, 478, 620, 366, 390};
// The two volume bars (keyed, revealed from the left).
constexpr int kMusicBarX = 518, kMusicBarY = 159;
constexpr int kEffectsBarX = 518, kEffectsBarY = 221;
// Pixels of each bar shown for the levels 0..9.
constexpr int kVolumeBarWidths[10] = {0, 10, 20, 30, 40, 50, 64, 74, 84, 94};

// High scores.
constexpr ButtonPlace kHighScoreBackPlace = {293, 495, 288, 380, 500, 540};
