// A fresh game state for rule tests: medium bat at 400, a level's physics, sized pictures
// (no pixels), the generator at its program-start state, no input.
#pragma once

#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "game/files/StartSettings.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "platform/script/script_platform.h"

#include <gtest/gtest.h>

#include <memory>

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script::ResetDisplayAndInput();
    script::SetEchoBoxes(false);
    KGraphic::SetScreenSize(800, 600, 16);
    gameRecord = InitialGameRecord();
    play = InitialPlayState();
    ResetLevelData();
    GameRandSetState(1);
    gamepadEnabled = 0;
    gravity = 0.03f;
    maxBallSpeed = 5.5f;
    bounceSpeedStep = 0.2f;
    const float batWidths[4] = {60, 80, 100, 80};
    for (int k = 0; k < 4; ++k) play.batFrameW[k] = batWidths[k];
    gameSprites.ballPicture = Sheet(0, 100, 20);
    gameSprites.evilBallPicture = Sheet(1, 135, 26);
    gameSprites.explosionPicture = Sheet(2, 100, 90);
    for (Ball& b : play.balls) b.kind = kBallNormal;
    script::SetPointer(400, 300);
  }
  void TearDown() override {
    gameSprites.ballPicture = gameSprites.evilBallPicture = gameSprites.explosionPicture = nullptr;
    script::ResetDisplayAndInput();
  }

  static Ball& Flying(int slot, float x, float y, float vx, float vy, int kind = kBallNormal) {
    spawnBall(slot, x, y, vx, vy, kind);
    return play.balls[slot];
  }
  // A standing 44 x 22 brick.
  static Brick& Place(int k, float left, float top, int strength = 1, int bonus = -1) {
    Brick& r = bricks[k] = Brick{};
    r.left = left;
    r.top = top;
    r.right = left + 44;
    r.bottom = top + 22;
    r.centreOffsetX = 22;
    r.centreOffsetY = 11;
    r.alive = r.present = 1;
    r.strength = static_cast<std::int16_t>(strength);
    r.dropBonus = static_cast<std::int16_t>(bonus);
    return r;
  }
  static int Kind(BonusKind k) { return static_cast<int>(k); }
  // How many values the generator gave since it stood at `from`.
  static long DrawsSince(std::uint32_t from) {
    long n = 0;
    for (std::uint32_t s = from; s != GameRandState() && n < 100000000; ++n) s = s * 1103515245u + 12345u;
    return n;
  }
  // Sets the generator to a state whose next value v satisfies want(v), and returns it.
  template <class Want>
  static std::uint32_t StateGiving(Want want) {
    for (std::uint32_t s = 1;; ++s) {
      GameRandSetState(s);
      if (!want(GameRand())) continue;
      GameRandSetState(s);
      return s;
    }
  }
  KGraphic* Sheet(int i, float w, float h) {  // a picture's size, no pixels
    sheets[i] = std::make_unique<KGraphic>();
    sheets[i]->width = w;
    sheets[i]->height = h;
    return sheets[i].get();
  }
  std::unique_ptr<KGraphic> sheets[3];
};
