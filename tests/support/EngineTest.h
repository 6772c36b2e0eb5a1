// Shared set-up of tests that draw: a clean scripted platform and engine state, a back
// buffer, pictures made in the test. (Link zr_graphics and zr_filewriters.)
#pragma once

#include "engine/graphics/KGraphic.h"
#include "platform/script/script_platform.h"
#include "tools/common/BmpWriter.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A small repeatable generator for randomised drawing tests: Next(n) is in 0..n-1.
struct TestRandom {
  std::uint32_t seed;
  int Next(int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  }
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script::ResetDisplayAndInput();
    script::SetEchoBoxes(false);
    script::ClearRecords();
    script::SetNow(0);
    KGraphic::ResetClassState();
  }
  void TearDown() override {
    script::ResetDisplayAndInput();
    KGraphic::ResetClassState();
  }
  // A back buffer of the given size registered as the target of every blit.
  KGraphic* MakeBackBuffer(int w = 800, int h = 600) {
    KGraphic::SetScreenSize(static_cast<std::int16_t>(w), static_cast<std::int16_t>(h), 16);
    back = std::make_unique<KGraphic>();
    back->CreatePrimarySurface(static_cast<std::int16_t>(w), static_cast<std::int16_t>(h), 16, false);
    KGraphic::SetBackBuffer(back.get());
    return back.get();
  }
  // A picture loaded from a 24-bit bitmap written for the test.
  std::unique_ptr<KGraphic> Picture(int w, int h, const std::vector<Rgb>& pixels, const std::string& name = "p.bmp") {
    const std::string file = dir.Write(name, EncodeBmp24(w, h, pixels));
    auto g = std::make_unique<KGraphic>();
    g->LoadPicture(file.c_str(), 1, 0, 31, 31);
    return g;
  }
  std::uint16_t BackPixel(int x, int y) const {
    const KSurface* s = KGraphic::BackBufferSurface();
    return s->pixels[static_cast<std::size_t>(y) * s->width + x];
  }
  TempDir dir;
  std::unique_ptr<KGraphic> back;
};
