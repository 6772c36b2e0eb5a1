// Ogg Vorbis encoding of PCM with libvorbisenc (variable bit rate by quality).
#pragma once

#include <string>
#include <vector>

// samples: interleaved, channels per frame, each in -1..1 (values outside are clipped).
// quality: libvorbisenc's VBR quality, -0.1 .. 1.0. The stream's serial number is fixed,
// so the same input always gives the same bytes.
std::string EncodeOggVorbis(const std::vector<float>& samples, int channels, int rate, float quality = 0.4f);
