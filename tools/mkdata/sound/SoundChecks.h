// What every sound must be before it is written, and what its file must hold after. Each
// returns what is wrong, or "" when nothing is.
#pragma once

#include "tools/mkdata/sound/Synth.h"

#include <string>

// An effect (mono): short, loud enough, unclipped, quiet at both ends (no click at its start
// or when it is cut).
std::string CheckEffect(const Samples& mono);
// A piece of music (interleaved stereo): long, unclipped, both channels sounding, music to its
// very ends, and its end joining its start without a seam (it loops).
std::string CheckMusic(const Samples& stereo);
// The Ogg Vorbis file: the channels, the rate and the length of what was encoded.
std::string CheckOggFile(const std::string& path, int channels, std::size_t frames);
