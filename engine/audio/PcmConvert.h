// Sound formats as a WAVE file declares them, and conversion of PCM to the mixer's format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct WaveFormat {
  std::uint16_t formatTag = 0;  // 1 integer PCM, 3 float
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
};

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// Reads a whole file. False when it cannot be opened or read, is empty, or is too large to
// hold in memory (4 GB or more).
bool ReadSoundFile(const char* path, std::vector<std::uint8_t>& bytes);

// The 16-bit integer PCM format the Ogg Vorbis decoder gives.
WaveFormat Pcm16Format(int channels, long rate);

// Reads a "fmt " chunk body of `size` bytes (at least 16). An extensible format becomes the
// plain format its sub-format names when the body holds it.
WaveFormat ParseWaveFormat(const std::uint8_t* body, std::size_t size);

// Whether the mixer can play sound in this format (as the device would refuse a buffer).
bool IsPlayableFormat(const WaveFormat& format);

// Converts `size` bytes of sound in `format` to 44100 Hz stereo 16-bit frames (first two
// channels; mono goes to both sides; other rates are resampled linearly). A trailing
// partial frame is dropped. False when the format is not playable or the result too large.
bool ConvertToDevice(const WaveFormat& format, const std::uint8_t* bytes, std::size_t size,
                     std::vector<std::int16_t>& out);
