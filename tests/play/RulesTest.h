// A fresh game state for rule tests: medium bat at 400, a level's physics, sized pictures
// (no pixels), the generator at its program-start state, no input.
#pragma once

#include "GameRecord.h"
#include "KGraphic.h"
#include "KInputState.h"
#include "PlayRules.h"
#include "PlayState.h"
#include "Random.h"
#include "SoundCues.h"
#include "StartSettings.h"
#include "script_platform.h"

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
    const float frameW[4] = {60, 80, 100, 80};
    for (int k = 0; k < 4; ++k) play.batFrameW[k] = frameW[k];
    play.gunFrameW = 40;
    play.gunFrameH = 50;
    play.gunSheetW = 280;
    play.gunSheetH = 200;
    ballPicture = Sheet(ballSheet, 100, 20);
    evilBallPicture = Sheet(evilSheet, 135, 26);
    explosionPicture = Sheet(blast, 100, 90);
    for (Ball& b : play.balls) b.kind = kBallNormal;
    script::SetPointer(400, 300);
  }
  void TearDown() override {
    ballPicture = evilBallPicture = explosionPicture = nullptr;
    script::ResetDisplayAndInput();
  }

  static Ball& Flying(int slot, float x, float y, float vx, float vy, int kind = kBallNormal) {
    spawnBall(slot, x, y, vx, vy, kind);
    return play.balls[slot];
  }
  // A standing brick of the level: 44 x 22 unless told otherwise.
  static Brick& Place(int k, float left, float top, int strength = 1, int bonus = -1, float w = 44, float h = 22) {
    Brick& r = bricks[k];
    r = Brick{};
    r.left = left;
    r.top = top;
    r.right = left + w;
    r.bottom = top + h;
    r.centreOffsetX = w / 2;
    r.centreOffsetY = h / 2;
    r.alive = r.present = 1;
    r.strength = static_cast<std::int16_t>(strength);
    r.dropBonus = static_cast<std::int16_t>(bonus);
    return r;
  }
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

  // A picture of the given size, no pixels.
  static KGraphic* Sheet(std::unique_ptr<KGraphic>& g, float w, float h) {
    g = std::make_unique<KGraphic>();
    g->width = w;
    g->height = h;
    return g.get();
  }

  std::unique_ptr<KGraphic> ballSheet, evilSheet, blast;
};
