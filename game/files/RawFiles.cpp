#include "game/files/RawFiles.h"

#include "engine/services/Services.h"
#include "game/files/LevelSet.h"
#include "game/sound/SoundCues.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

std::int32_t musicLevel = 8;
std::int32_t effectsLevel = 5;

namespace {

std::int32_t ReadLe32(const unsigned char* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void WriteLe32(unsigned char* p, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

// Levels are applied as read, even absurd ones from a damaged file (the options screen
// clamps them). Mended: the percent saturates; level x 10 used to overflow.
int Percent(std::int32_t level) {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{level} * 10, INT32_MIN, INT32_MAX));
}

void ApplyVolumes() { setVolumes(Percent(musicLevel), Percent(effectsLevel)); }

}  // namespace

void LoadVolumePrefs() {
  std::FILE* f = std::fopen(KPath::MakeSavePath("prefvol.raw"), "rb");
  if (!f) {
    musicLevel = 8;
    effectsLevel = 5;
  } else {
    unsigned char b[8];
    const std::size_t got = std::fread(b, 1, sizeof b, f);
    std::fclose(f);
    // Mended: a short file used to leave unread bytes as levels; it now keeps the levels it
    // does not hold.
    if (got >= 4) effectsLevel = ReadLe32(b);
    if (got >= 8) musicLevel = ReadLe32(b + 4);
  }
  ApplyVolumes();
}

void SaveVolumePrefs() {
  unsigned char b[8];
  WriteLe32(b, effectsLevel);
  WriteLe32(b + 4, musicLevel);
  ReplaceFile(KPath::MakeSavePath("prefvol.raw"), b, sizeof b);
}

std::int32_t ReadHighestLevel() {
  std::FILE* f = std::fopen(KPath::MakeSavePath(SaveFileOfSet("al.raw").c_str()), "rb");
  if (!f) return 1;
  unsigned char b[4];
  const std::size_t got = std::fread(b, 1, sizeof b, f);
  std::fclose(f);
  return got == sizeof b ? ReadLe32(b) : 1;
}

void WriteHighestLevel(std::int32_t level) {
  unsigned char b[4];
  WriteLe32(b, level);
  ReplaceFile(KPath::MakeSavePath(SaveFileOfSet("al.raw").c_str()), b, sizeof b);
}
