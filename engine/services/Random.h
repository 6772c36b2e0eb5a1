// The program's one random generator. Never seeded: every run draws the same sequence,
// which the replays depend on. The C library's rand() is never used by the game.
#pragma once

#include <cstdint>

// Next value, 0..32767. Callers reduce it with % n.
int GameRand();

// For tests only: the generator's state (1 at program start).
std::uint32_t GameRandState();
void GameRandSetState(std::uint32_t state);
