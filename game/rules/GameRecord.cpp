#include "game/rules/GameRecord.h"

GameRecord InitialGameRecord() {
  GameRecord r{};
  r.menuLevel = 1;
  r.highestLevel = 1;
  r.batKind = kBatMedium;
  r.level = 1;
  return r;
}

GameRecord gameRecord = InitialGameRecord();
