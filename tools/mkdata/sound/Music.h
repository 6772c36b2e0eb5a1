// The music: small Latin pieces (clave, congas, bongos, shaker, bass, mallets) written as
// chord and melody bars, rendered as seamless loops.
#pragma once

#include "Synth.h"

struct Phrase {
  const char* chords[4];  // one chord a bar: root, optional b/#, optional m, optional 7
  const char* melody[4];  // eight eighth notes a bar: note (C5, F#4, Bb5), '.' rest, '-' held
};

struct Song {
  const char* file;  // under data/audio/
  float bpm;
  bool steelLead;  // lead voice: steel drum, else marimba (the other one accompanies)
  bool sparse;     // lighter percussion (slow pieces)
  Phrase phrases[3];
  const char* form;  // phrases by letter, e.g. "ABAB"
};

extern const Song kSongs[8];

// Interleaved stereo at kSoundRate, peak 0.8, looping seamlessly.
Samples RenderSong(const Song& song);
