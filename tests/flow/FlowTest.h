// Shared set-up of the level and play-screen tests: a game folder of the test's own (maps and
// plain-colour pictures written by the test), a back buffer, and the game's records reset.
#pragma once

#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/playscreen/Levels.h"
#include "game/playscreen/PlayScreen.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"
#include "tests/support/EngineTest.h"
#include "tests/support/MapBytes.h"

#include <string>

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
