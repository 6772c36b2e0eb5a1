// The loading of every level of a game folder as StartLevel does it between the closing and
// the opening doors: the previous level's pictures freed, the map read (with the island,
// brick sheets and the level's music stream started), the island loaded again, the brick
// sheets. Prints the wall time of each level and the slowest; a frame lasts 14 ms.
//
//   build/obj/bench/flow/level_load_time [GAME_FOLDER] [ROUNDS]   (default build/game, 5)
//
// Runs on the scripted platform: its sound device plays nothing but the stream is opened,
// decoded and its refill thread started as on the real one.
#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/playscreen/Levels.h"
#include "game/rules/GameRecord.h"
#include "game/sound/SoundCues.h"
#include "platform/script/script_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <time.h>

namespace {
// CPU time of the calling thread: the machine may be shared, so wall time alone can mislead.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : ZR_GAME_DIR;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  script::SetEchoBoxes(true);
  script::SetRoot(root);
  InitEngineServices();
  if (!LoadDataConfig()) {
    std::fprintf(stderr, "level_load_time: no zindo.ini in %s\n", root.c_str());
    return 2;
  }
  KGraphic::SetScreenSize(800, 600, 16);
  KGraphic back;
  back.CreatePrimarySurface(800, 600, 16, false);
  KGraphic::SetBackBuffer(&back);
  const int levels = GetDataInt("levelcount");
  std::vector<double> all, cpu;
  for (int round = 0; round < rounds; ++round) {
    for (int n = 1; n <= levels; ++n) {
      const auto t0 = std::chrono::steady_clock::now();
      const double c0 = ThreadCpuMs();
      FreeLevelImages();
      LoadLevelMap(n);
      LoadIslandAgain();
      LoadBrickImages();
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      const double cpuMs = ThreadCpuMs() - c0;
      all.push_back(ms);
      cpu.push_back(cpuMs);
      if (round == rounds - 1) std::printf("level %2d: %6.2f ms (CPU %.2f ms)\n", n, ms, cpuMs);
    }
  }
  if (all.size() < 2) return 2;
  // The very first load also finds the decoders and the loader's buffers cold; in the game the
  // menu's pictures were loaded before it.
  std::printf("first load: %.2f ms (CPU %.2f ms)\n", all[0], cpu[0]);
  all.erase(all.begin());
  cpu.erase(cpu.begin());
  std::sort(all.begin(), all.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf("%zu loads after it: median %.2f ms, slowest %.2f ms; CPU of the loading thread median %.2f ms, most"
              " %.2f ms (a frame: 14 ms)\n",
              all.size(), all[all.size() / 2], all.back(), cpu[cpu.size() / 2], cpu.back());

  // The pieces, on level 1's files: medians of the rounds.
  std::vector<double> island, bricks, music;
  auto since = [](std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  };
  for (int round = 0; round < rounds; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    LoadIsland();
    island.push_back(since(t0));
    FreeBrickImages();
    t0 = std::chrono::steady_clock::now();
    LoadBrickImages();
    bricks.push_back(since(t0));
    t0 = std::chrono::steady_clock::now();
    playMusic(KPath::MakeAbsolute("data\\audio\\rumba1.ogg"));
    music.push_back(since(t0));
  }
  for (auto* v : {&island, &bricks, &music}) std::sort(v->begin(), v->end());
  std::printf("pieces (medians): island and overlay %.2f ms, brick sheets %.2f ms, music start %.2f ms\n",
              island[island.size() / 2], bricks[bricks.size() / 2], music[music.size() / 2]);
  stopMusic();
  FreeLevelImages();
  KGraphic::ResetClassState();
  return 0;
}
