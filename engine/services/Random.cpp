#include "engine/services/Random.h"

namespace {
std::uint32_t state = 1;
}

int GameRand() {
  state = state * 1103515245u + 12345u;
  return static_cast<int>((state >> 16) & 0x7fff);
}

std::uint32_t GameRandState() { return state; }
void GameRandSetState(std::uint32_t s) { state = s; }
