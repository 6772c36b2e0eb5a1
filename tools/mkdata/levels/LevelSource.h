// The level-source reader moved to the game's files (the game plays sources too).
#pragma once

#include "game/files/LevelSource.h"
