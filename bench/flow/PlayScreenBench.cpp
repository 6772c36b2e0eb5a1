// DrawPlayScreen on a full level (200 bricks, 20 of them exploding, 10 balls, 30 fruit, 20
// capsules and a caption, shots in flight) against the floor of copying the screen's 960,000
// bytes once. Pictures are written to a temporary game folder at the sizes of the game's own.
#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/layout/PlaySheet.h"
#include "game/playscreen/Levels.h"
#include "game/playscreen/PlayScreen.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/ui/PanelDoors.h"
#include "game/ui/Screen.h"
#include "platform/script/script_platform.h"
#include "tools/common/BmpWriter.h"
#include "tools/testkit/TestFiles.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void MemcpyFloor(benchmark::State& state) {
  std::vector<std::uint8_t> a(960000, 1), b(960000, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MemcpyFloor)->Unit(benchmark::kMicrosecond);

// A picture with texture and a sprinkling of transparent pixels, as drawn art has.
std::string Art(int w, int h, int seed, bool holes) {
  std::vector<Rgb> px(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool hole = holes && (x * 7 + y * 3 + seed) % 5 == 0;
      px[static_cast<std::size_t>(y) * w + x] =
          hole ? Rgb{0, 0, 255}
               : Rgb{static_cast<std::uint8_t>(x + seed), static_cast<std::uint8_t>(y * 2 + seed), static_cast<std::uint8_t>(seed * 40)};
    }
  return EncodeBmp24(w, h, px);
}

class Level {
 public:
  Level() {
    script::SetEchoBoxes(false);
    script::SetRoot(dir_.Path());
    InitEngineServices();
    KGraphic::SetScreenSize(800, 600, 16);
    back_ = std::make_unique<KGraphic>();
    back_->CreatePrimarySurface(800, 600, 16, false);
    KGraphic::SetBackBuffer(back_.get());
    const struct {
      const char* name;
      int w, h;
      bool holes;
    } pictures[] = {
        {"data/levels/islands/island1.bmp", 800, 600, false}, {"data/levels/islands/herbe.bmp", 800, 34, true},
        {"data/levels/islands/bpanel.bmp", 800, 600, true},   {"data/sprites/bigplanche.bmp", 512, 420, true},
        {"data/sprites/singeA.bmp", 500, 400, true},          {"data/sprites/balle.bmp", 160, 20, true},
        {"data/sprites/evilball.bmp", 216, 26, true},         {"data/sprites/explosion.bmp", 192, 192, true},
        {"data/sprites/win.bmp", 462, 675, true},             {"data/sprites/lose.bmp", 468, 621, true},
        {"data/sprites/batteur.bmp", 923, 400, true},         {"data/sprites/batteS.bmp", 5 * 50, 13 * 24, true},
        {"data/sprites/batteM.bmp", 5 * 64, 13 * 24, true},   {"data/sprites/batteL.bmp", 5 * 90, 13 * 24, true},
        {"data/sprites/gunbat.bmp", 5 * 64, 13 * 24, true},   {"data/sprites/gunshoot.bmp", 7 * 56, 4 * 130, true},
    };
    int seed = 1;
    for (const auto& p : pictures) dir_.Write(p.name, Art(p.w, p.h, seed++, p.holes));
    for (int k = 1; k <= kBrickPictureCount; ++k)
      dir_.Write("data/levels/bricks/planche" + std::to_string(k) + ".bmp", Art(360, 112, 20 + k, true));
    ok_ = LoadGameSprites() && LoadBatSprites() && LoadIsland() && LoadBrickImages();
    bigPlancheSheet = LoadSprite(KPath::MakeAbsolute("data\\sprites\\bigplanche.bmp"));
    ok_ = ok_ && bigPlancheSheet;
    Populate();
  }
  ~Level() {
    FreeLevelImages();
    FreeGameSprites();
    delete panelPicture;
    panelPicture = nullptr;
    delete bigPlancheSheet;
    bigPlancheSheet = nullptr;
    KGraphic::ResetClassState();
  }
  bool Ok() const { return ok_; }

 private:
  void Populate() {
    play = InitialPlayState();
    gameRecord = InitialGameRecord();
    gameRecord.batKind = 1;
    gameRecord.score = 1234567;
    gameRecord.lives = 3;
    gameRecord.levelBonus = 400;
    gameRecord.level = 12;
    play.batX = 420;
    play.trackScroll = 33;
    play.monkeyFrame = 12;
    play.batterFrame = 40;
    for (int i = 0; i < kBrickCount; ++i) {  // 14 across the field, 15 rows
      Brick& b = bricks[i];
      b = {};
      b.srcLeft = static_cast<std::int16_t>(44 * (i % 8));
      b.srcRight = static_cast<std::int16_t>(b.srcLeft + 44);
      b.srcBottom = 22;
      b.left = 170.0f + 44.0f * static_cast<float>(i % 14);
      b.top = 22.0f * static_cast<float>(i / 14);
      b.right = b.left + 44;
      b.bottom = b.top + 22;
      b.centreOffsetX = 22;
      b.centreOffsetY = 11;
      b.alive = b.present = 1;
      b.hits = static_cast<std::int16_t>(i % 5);
      if (i % 10 == 3) {  // 20 explosions at every stage
        b.explosionTimer = 1;
        b.explosionSrcX = static_cast<std::int16_t>(96 * (i / 10 % 2));
        b.explosionSrcY = static_cast<std::int16_t>(64 * (i / 10 % 3));
      }
    }
    for (int i = 0; i < kBallCount; ++i) {
      Ball& b = play.balls[i];
      b = {};
      b.active = true;
      b.picture = gameSprites.ballPicture;
      b.width = b.height = 20;
      b.frameX = static_cast<std::int16_t>(20 * i % 160);
      b.x = 200.0f + 55.0f * static_cast<float>(i);
      b.y = 380.0f - 9.0f * static_cast<float>(i);
    }
    for (int i = 0; i < 30; ++i) {
      Fruit& f = play.fruits[i * 6];
      const FruitKind& k = kFruitKinds[i % kFruitKindCount];
      f = {};
      f.active = true;
      f.frameX = k.firstX;
      f.frameY = k.firstY;
      f.frameW = k.frameW;
      f.frameH = k.frameH;
      f.x = 180.0f + 19.0f * static_cast<float>(i);
      f.y = 200.0f + 7.0f * static_cast<float>(i);
    }
    for (int i = 0; i < 20; ++i) {
      BonusDrop& d = play.bonusDrops[i * 9 + 1];
      const BonusArt& a = kBonusArt[i % kBonusArtCount];
      d = {};
      d.active = true;
      d.iconX = a.iconX;
      d.iconY = a.iconY;
      d.x = 190.0f + 29.0f * static_cast<float>(i);
      d.y = 300.0f + 6.0f * static_cast<float>(i);
    }
    play.captionOn = true;
    play.captionIcon = 56;
    play.captionY = 572;
    for (int i = 0; i < kShotCount; ++i) {
      play.shellCasings[i] = {300.0f + 10.0f * static_cast<float>(i), 440.0f, 0, 0, true};
      play.bullets[i] = {430.0f, 420.0f - 30.0f * static_cast<float>(i), 0, 0, true};
    }
  }
  TempDir dir_;
  std::unique_ptr<KGraphic> back_;
  bool ok_ = false;
};

void DrawFullLevel(benchmark::State& state) {
  Level level;
  if (!level.Ok()) {
    state.SkipWithError("pictures did not load");
    return;
  }
  for (auto _ : state) {
    DrawPlayScreen();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(DrawFullLevel)->Unit(benchmark::kMicrosecond);

// The same frame with the backdrop copied whole every time (no record of what was drawn).
void DrawFullLevelWholeBackdrop(benchmark::State& state) {
  KGraphic::SetBackdropReuse(false);
  DrawFullLevel(state);
  KGraphic::SetBackdropReuse(true);
}
BENCHMARK(DrawFullLevelWholeBackdrop)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
