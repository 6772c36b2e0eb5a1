// Shared set-up of the level and play-screen tests: a game folder of the test's own (maps and
// plain-colour pictures written by the test), a back buffer, and the game's records reset.
#pragma once

#include "DataConfig.h"
#include "EngineTest.h"
#include "GameRecord.h"
#include "Levels.h"
#include "PanelDoors.h"
#include "PlayScreen.h"
#include "PlayState.h"
#include "Screen.h"
#include "Services.h"
#include "SoundCues.h"

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

class FlowTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    script::SetRoot(dir.Path());
    InitEngineServices();
    MakeBackBuffer();
    ResetLevelData();
    play = InitialPlayState();
    gameRecord = InitialGameRecord();
  }
  void TearDown() override {
    FreeLevelImages();
    FreeGameSprites();
    for (KGraphic** g : {&panelPicture, &bigPlancheSheet}) {
      delete *g;
      *g = nullptr;
    }
    stopMusic();
    EngineTest::TearDown();
  }
  void WritePicture(const std::string& relative, int w, int h, Rgb colour) {
    dir.Write(relative, EncodeBmp24(w, h, std::vector<Rgb>(static_cast<std::size_t>(w) * h, colour)));
  }
  // The island, overlay and five brick sheets a level loads.
  void WriteLevelPictures(int grassHeight = 40) {
    WritePicture("data/levels/islands/island1.bmp", 800, 600, kIsland);
    WritePicture("data/levels/islands/herbe.bmp", 800, grassHeight, kGrass);
    for (int k = 0; k < kBrickPictureCount; ++k)
      WritePicture("data/levels/bricks/planche" + std::to_string(k + 1) + ".bmp", 360, 112, kStage[k]);
  }
  std::string WriteMap(const std::string& name, const MapBytes& map) {
    return dir.Write("data/levels/maps/" + name, map.bytes);
  }
  static std::uint16_t C565(Rgb c) { return KGraphic::To565(static_cast<std::uint32_t>(c.r) << 16 | c.g << 8 | c.b); }
  static bool HasBox(const std::string& box) {
    for (const std::string& b : script::Boxes())
      if (b == box) return true;
    return false;
  }
  static std::string Absolute(const char* relative) { return KPath::MakeAbsolute(relative); }

  // Plain colours (every channel a multiple of 8, none pure blue).
  static constexpr Rgb kIsland{40, 80, 120};
  static constexpr Rgb kGrass{0, 200, 0};
  static constexpr Rgb kStage[kBrickPictureCount] = {
      {200, 0, 0}, {200, 40, 0}, {200, 80, 0}, {200, 120, 0}, {200, 160, 0}};
};
