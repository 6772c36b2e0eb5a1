// The music: small Latin pieces (clave, congas, bongos, shaker, bass, mallets) written as
// chord and melody bars, rendered as seamless loops.
#pragma once

#include "tools/mkdata/sound/Synth.h"

struct Phrase {
  const char* chords[4];  // one chord a bar: root, optional b/#, optional m, optional 7
  const char* melody[4];  // eight eighth notes a bar: note (C5, F#4, Bb5), '.' rest, '-' held
};

// Son: montuno figure, tumbao bass. Mambo: the same with a cowbell on the beat. Calypso:
// off-beat chords, a walking bass and a kick on every beat.
enum class Groove { Son, Mambo, Calypso };

struct Song {
  const char* file;  // under data/audio/
  float bpm;
  bool steelLead;  // lead voice: steel drum, else marimba (the other one accompanies)
  bool sparse;     // lighter percussion (slow pieces)
  Groove groove;
  Phrase phrases[3];
  const char* form;  // phrases by letter, e.g. "ABAB"
};

extern const Song kSongs[8];

// Interleaved stereo at kSoundRate, peak 0.8, looping seamlessly.
Samples RenderSong(const Song& song);
