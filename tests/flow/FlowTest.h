// Shared set-up of the level and play-screen tests: a game folder of the test's own (maps and
// plain-colour pictures written by the test), a back buffer, and the game's records reset.
#pragma once

#include "DataConfig.h"
#include "EngineTest.h"
#include "GameRecord.h"
#include "LevelMapFormat.h"
#include "Levels.h"
#include "PanelDoors.h"
#include "PlayScreen.h"
#include "PlayState.h"
#include "Screen.h"
#include "Services.h"
#include "SoundCues.h"

#include <cstring>
#include <string>

// A level map file built field by field, little-endian, at the format's offsets.
class MapBytes {
 public:
  MapBytes() : bytes_(kLevelMapSize, '\0') {
    Physics(0.05f, 6.0f, 0.25f);
    Name(kMapIslandImageAt, "island1.bmp");
    Name(kMapBrickSetNameAt, "briks1.bmp");
    Name(kMapMusicFileAt, "song.ogg");
    Name(kMapGrassOverlayAt, "grass.bmp");
  }
  void Physics(float g, float maxSpeed, float step) {
    F32(kMapGravityAt, g);
    F32(kMapMaxBallSpeedAt, maxSpeed);
    F32(kMapBounceSpeedStepAt, step);
  }
  void Name(int at, const std::string& name) {
    std::memset(&bytes_[at], 0, kMapNameSize);
    std::memcpy(&bytes_[at], name.data(), name.size() < kMapNameSize ? name.size() : kMapNameSize);
  }
  // A standing brick of slot i: a 44 x 22 rectangle at (left, top), drawn from the sheet's
  // top-left corner, centre in the middle.
  void Brick(int i, float left, float top, std::int16_t strength = 1) {
    const int at = Slot(i);
    I16(at + kBrickSrcLeftAt, 0);
    I16(at + kBrickSrcRightAt, 44);
    I16(at + kBrickSrcTopAt, 0);
    I16(at + kBrickSrcBottomAt, 22);
    F32(at + kBrickLeftAt, left);
    F32(at + kBrickTopAt, top);
    F32(at + kBrickRightAt, left + 44);
    F32(at + kBrickBottomAt, top + 22);
    bytes_[at + kBrickAliveAt] = 1;
    bytes_[at + kBrickPresentAt] = 1;
    F32(at + kBrickCentreOffsetXAt, 22);
    F32(at + kBrickCentreOffsetYAt, 11);
    I16(at + kBrickDropBonusAt, -1);
    I16(at + kBrickStrengthAt, strength);
  }
  void BrickFloat(int i, int field, float v) { F32(Slot(i) + field, v); }
  void BrickInt16(int i, int field, std::int16_t v) { I16(Slot(i) + field, v); }
  void BrickByte(int i, int field, std::uint8_t v) { bytes_[Slot(i) + field] = static_cast<char>(v); }
  void F32(int at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int k = 0; k < 4; ++k) bytes_[at + k] = static_cast<char>(u >> (8 * k));
  }
  void I16(int at, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    bytes_[at] = static_cast<char>(u & 0xff);
    bytes_[at + 1] = static_cast<char>(u >> 8);
  }
  std::string& Bytes() { return bytes_; }

 private:
  static int Slot(int i) { return kMapBricksAt + i * kBrickRecordSize; }
  std::string bytes_;
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
    delete panelPicture;
    panelPicture = nullptr;
    delete bigPlancheSheet;
    bigPlancheSheet = nullptr;
    stopMusic();
    EngineTest::TearDown();
  }
  // A plain-colour picture in the game folder (relative name with '/').
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
  std::string WriteMap(const std::string& name, MapBytes& map) {
    return dir.Write("data/levels/maps/" + name, map.Bytes());
  }
  void WriteIni(const std::string& levels) {
    dir.Write("zindo.ini", "[DATA]\r\nlevelcount=3\r\n[LEVELS]\r\n" + levels);
    ASSERT_TRUE(LoadDataConfig());
  }
  static std::uint16_t C565(Rgb c) { return KGraphic::To565(static_cast<std::uint32_t>(c.r) << 16 | c.g << 8 | c.b); }
  bool HasBox(const std::string& box) const {
    for (const std::string& b : script::Boxes())
      if (b == box) return true;
    return false;
  }
  std::string Absolute(const char* relative) const { return KPath::MakeAbsolute(relative); }

  // Plain colours (every channel a multiple of 8, none pure blue).
  static constexpr Rgb kIsland{40, 80, 120};
  static constexpr Rgb kGrass{0, 200, 0};
  static constexpr Rgb kStage[kBrickPictureCount] = {
      {200, 0, 0}, {200, 40, 0}, {200, 80, 0}, {200, 120, 0}, {200, 160, 0}};
};
