#pragma once

#include "game/files/LevelMapFormat.h"

#include <cstdint>
#include <cstring>
#include <string>

// A level map file written field by field, little-endian, at the format's offsets.
struct MapBytes {
  MapBytes() {
    F32(kMapGravityAt, 0.05f);
    F32(kMapMaxBallSpeedAt, 6.0f);
    F32(kMapBounceSpeedStepAt, 0.25f);
    Name(kMapIslandImageAt, "island1.bmp");
    Name(kMapMusicFileAt, "song.ogg");
  }
  static int At(int brick, int field) { return kMapBricksAt + brick * kBrickRecordSize + field; }
  void Name(int at, const std::string& name) { bytes.replace(at, name.size(), name); }
  void F32(int at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>(u >> (8 * k));
  }
  void I16(int at, int v) {
    bytes[at] = static_cast<char>(v & 0xff);
    bytes[at + 1] = static_cast<char>((v >> 8) & 0xff);
  }
  // A standing 44 x 22 brick of slot i at (left, top), cut from the sheets' top-left corner.
  void Brick(int i, float left, float top, int strength = 1) {
    I16(At(i, kBrickSrcRightAt), 44);
    I16(At(i, kBrickSrcBottomAt), 22);
    const float rect[4] = {left, top, left + 44, top + 22};
    for (int k = 0; k < 4; ++k) F32(At(i, kBrickLeftAt + 4 * k), rect[k]);
    bytes[At(i, kBrickAliveAt)] = bytes[At(i, kBrickPresentAt)] = 1;
    F32(At(i, kBrickCentreOffsetXAt), 22);
    F32(At(i, kBrickCentreOffsetYAt), 11);
    I16(At(i, kBrickStrengthAt), strength);
  }
  std::string bytes = std::string(kLevelMapSize, '\0');
};
