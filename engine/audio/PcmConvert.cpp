#include "engine/audio/PcmConvert.h"

#include "engine/audio/Mixer.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <new>

namespace {

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Longest sound kept in memory after conversion: about 25 minutes.
constexpr std::uint64_t kMaxDeviceFrames = std::uint64_t{1} << 26;

// One sample of channel c of a source frame, as 16-bit.
std::int32_t SampleAt(const WaveFormat& f, const std::uint8_t* frame, int c) {
  const int bytes = f.bitsPerSample / 8;
  const std::uint8_t* p = frame + c * bytes;
  if (f.formatTag == kFormatFloat) {
    float v;
    std::memcpy(&v, p, 4);  // little-endian machines only, like the rest of the file formats
    if (!(v == v)) v = 0.0f;
    return static_cast<std::int32_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
  }
  switch (bytes) {
    // Mended: an 8-bit sample below the middle was shifted left while negative, which the
    // language leaves undefined; it is scaled by multiplying.
    case 1: return (static_cast<std::int32_t>(p[0]) - 128) * 256;
    case 2: return static_cast<std::int16_t>(Le16(p));
    case 3: return static_cast<std::int16_t>(Le16(p + 1));
    default: return static_cast<std::int16_t>(Le16(p + 2));
  }
}

}  // namespace

bool ReadSoundFile(const char* path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (!path) return false;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  bool ok = false;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0 && static_cast<unsigned long>(size) <= 0xFFFFFFFFul && std::fseek(f, 0, SEEK_SET) == 0) {
      try {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
      } catch (const std::bad_alloc&) {
        ok = false;
      }
    }
  }
  std::fclose(f);
  if (!ok) std::vector<std::uint8_t>().swap(bytes);
  return ok;
}

WaveFormat Pcm16Format(int channels, long rate) {
  WaveFormat f;
  f.formatTag = kFormatPcm;
  f.channels = static_cast<std::uint16_t>(channels);
  f.samplesPerSec = static_cast<std::uint32_t>(rate);
  f.bitsPerSample = 16;
  f.blockAlign = static_cast<std::uint16_t>(channels * 2);
  f.avgBytesPerSec = static_cast<std::uint32_t>(channels * rate * 2);
  return f;
}

WaveFormat ParseWaveFormat(const std::uint8_t* body, std::size_t size) {
  WaveFormat f;
  if (size < 16) return f;
  f.formatTag = Le16(body);
  f.channels = Le16(body + 2);
  f.samplesPerSec = Le32(body + 4);
  f.avgBytesPerSec = Le32(body + 8);
  f.blockAlign = Le16(body + 12);
  f.bitsPerSample = Le16(body + 14);
  if (f.formatTag == kFormatExtensible && size >= 40) f.formatTag = Le16(body + 24);
  return f;
}

bool IsPlayableFormat(const WaveFormat& f) {
  if (f.channels < 1 || f.samplesPerSec < 100 || f.samplesPerSec > 200000) return false;
  if (f.formatTag == kFormatPcm) {
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16 && f.bitsPerSample != 24 && f.bitsPerSample != 32) return false;
  } else if (f.formatTag == kFormatFloat) {
    if (f.bitsPerSample != 32) return false;
  } else {
    return false;
  }
  return f.blockAlign == f.channels * (f.bitsPerSample / 8);
}

bool ConvertToDevice(const WaveFormat& f, const std::uint8_t* bytes, std::size_t size,
                     std::vector<std::int16_t>& out) {
  out.clear();
  if (!IsPlayableFormat(f)) return false;
  const std::uint64_t frames = size / f.blockAlign;
  if (frames == 0) return true;
  const std::uint64_t outFrames =
      f.samplesPerSec == mixer::kRate ? frames : std::max<std::uint64_t>(1, frames * mixer::kRate / f.samplesPerSec);
  if (outFrames > kMaxDeviceFrames) return false;
  try {
    out.resize(outFrames * mixer::kChannels);
  } catch (const std::bad_alloc&) {
    out.clear();
    return false;
  }
  const bool mono = f.channels == 1;
  auto frameAt = [&](std::uint64_t i) { return bytes + i * f.blockAlign; };
  if (f.samplesPerSec == mixer::kRate) {
    for (std::uint64_t i = 0; i < frames; ++i) {
      const std::uint8_t* fr = frameAt(i);
      out[2 * i] = static_cast<std::int16_t>(SampleAt(f, fr, 0));
      out[2 * i + 1] = static_cast<std::int16_t>(SampleAt(f, fr, mono ? 0 : 1));
    }
    return true;
  }
  // Linear interpolation, source position in 32.32 fixed point.
  const std::uint64_t step = (static_cast<std::uint64_t>(f.samplesPerSec) << 32) / mixer::kRate;
  for (std::uint64_t j = 0; j < outFrames; ++j) {
    const std::uint64_t pos = j * step;
    const std::uint64_t i = std::min(pos >> 32, frames - 1);
    const std::uint64_t next = std::min(i + 1, frames - 1);
    const std::int64_t frac = static_cast<std::int64_t>(pos & 0xffffffffu);
    for (int c = 0; c < 2; ++c) {
      const int ch = mono ? 0 : c;
      const std::int64_t a = SampleAt(f, frameAt(i), ch);
      const std::int64_t b = SampleAt(f, frameAt(next), ch);
      out[2 * j + c] = static_cast<std::int16_t>(a + (((b - a) * frac) >> 32));
    }
  }
  return true;
}
