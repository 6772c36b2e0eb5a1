// The one record of the running game: the menu's level selection, the bat, the power-ups,
// lives, score and level. It lives for the whole run; its values carry over from one game
// to the next unless a reset changes them.
#pragma once

#include <cstdint>

// The bat's kind: three sizes, and the gun bat.
enum BatKind : std::int16_t { kBatSmall = 0, kBatMedium = 1, kBatLarge = 2, kBatGun = 3 };
constexpr int kBatKindCount = 4;

struct GameRecord {
  std::int32_t menuLevel;     // first level of the next game, chosen in the main menu
  std::int32_t levelCount;    // [DATA] levelcount of zindo.ini, read when the menu loads
  std::int32_t highestLevel;  // highest level reached so far ("al.raw")
  std::int16_t batKind;       // BatKind
  bool liftOn;
  bool gravityOn;
  bool batFrozen;
  bool quakeOn;
  std::int32_t gravityTimer;
  std::int32_t liftTimer;
  std::int32_t freezeTimer;
  std::int32_t quakeTimer;
  std::int32_t lives;
  std::int32_t levelBonus;  // twice the bricks at level start, counted down during play
  std::int32_t score;
  std::int32_t startLevel;
  bool autoBreaker;
  std::int32_t level;  // current level, 1-based
  bool demoMode;       // the computer plays
  bool gameEnded;      // ends the game's frame loop at the end of the frame
  bool monkeyHappy;    // the side-panel mascot dances "win" (true) or "lose"
};

extern GameRecord gameRecord;

// Program-start values (the record is static; tests use this to start afresh).
GameRecord InitialGameRecord();
