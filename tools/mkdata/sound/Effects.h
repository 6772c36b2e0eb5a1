// The play cues' sound effects, rendered as mono samples at kSoundRate.
#pragma once

#include "tools/mkdata/sound/Synth.h"

#include <string>

struct Effect {
  const char* file;  // under data/audio/
  Samples (*render)();
};

// All 31 effect files the game loads.
extern const Effect kEffects[31];
