// startup_bench [--runs N] [--game DIR] [--mode window|full|both] [--settle MS]
// Starts the real game (a copy of DIR, by default the build's game folder) under an Xvfb of
// its own N times per mode, answers the welcome dialog with Return as soon as it shows its
// picture, and prints for each run and as medians:
//   dialog   from exec to the welcome dialog showing its picture, and the processor time the
//            game had by then (which a busy machine does not stretch)
//   window   from Play (the Return key) to the game window being on the screen
//   menu     from Play to the main menu's first picture in it
//   rss      the process's peak resident memory (VmHWM) after SETTLE ms in the main menu
//   quit     from SIGTERM to the process's end
// and which OpenGL libraries the process had mapped.
#include "tools/testkit/RealGame.h"
#include "tools/testkit/TestFiles.h"

#include <X11/keysym.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using realgame::Clock;
using realgame::MillisecondsSince;

struct Run {
  double dialog = -1, dialogCpu = -1, window = -1, menu = -1, quit = -1;
  long rssKiB = -1;
  std::string gl;
};

bool OneRun(const std::string& exe, realgame::Xvfb& x, realgame::XWatcher& watcher, const std::string& log,
            int settleMs, Run* r) {
  const auto patience = std::chrono::seconds(10);
  realgame::GameProcess game(exe, x.Name(), log);
  const unsigned long dialog = watcher.WaitShown("Welcome to ZindoRumba !", Clock::now() + patience);
  if (!dialog || !watcher.WaitDrawn("Welcome to ZindoRumba !", Clock::now() + patience)) {
    std::fprintf(stderr, "no welcome dialog\n%s\n", game.LogTail().c_str());
    return false;
  }
  r->dialog = MillisecondsSince(game.StartTime());
  r->dialogCpu = game.CpuMs();
  const Clock::time_point play = Clock::now();
  watcher.TapKey(XK_Return);
  const unsigned long window = watcher.WaitShown("ZindoRumba", Clock::now() + patience);
  if (!window) {
    std::fprintf(stderr, "no game window\n%s\n", game.LogTail().c_str());
    return false;
  }
  r->window = MillisecondsSince(play);
  if (!watcher.WaitDrawn("ZindoRumba", Clock::now() + patience)) {
    std::fprintf(stderr, "the main menu was never drawn\n");
    return false;
  }
  r->menu = MillisecondsSince(play);
  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  r->rssKiB = game.PeakRssKiB();
  for (const std::string& lib : game.MappedGlLibraries()) r->gl += (r->gl.empty() ? "" : " ") + lib;
  const Clock::time_point term = Clock::now();
  game.Signal(SIGTERM);
  if (!game.WaitExit(Clock::now() + patience)) {
    std::fprintf(stderr, "SIGTERM did not end the game\n");
    return false;
  }
  r->quit = MillisecondsSince(term);
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: startup_bench [--runs N] [--game DIR] [--mode window|full|both] [--settle MS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5, settleMs = 1000;
  std::string gameDir = ZR_GAME_DIR, mode = "both";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string v = argv[++i];
    if (a == "--runs") runs = std::atoi(v.c_str());
    else if (a == "--game") gameDir = v;
    else if (a == "--mode") mode = v;
    else if (a == "--settle") settleMs = std::atoi(v.c_str());
    else return Usage();
  }
  if (runs <= 0 || settleMs < 0 || (mode != "window" && mode != "full" && mode != "both")) return Usage();

  // A copy of the game folder, so that the full-screen setting written here stays here.
  TempDir copy;
  std::error_code ec;
  std::filesystem::copy(gameDir, copy.Path(), std::filesystem::copy_options::recursive, ec);
  const std::string exe = copy.File("zindorumba");
  if (ec || !FileExists(exe)) {
    std::fprintf(stderr, "startup_bench: cannot copy the game folder %s\n", gameDir.c_str());
    return 1;
  }
  realgame::Xvfb x;
  if (!x.Ok()) {
    std::fprintf(stderr, "startup_bench: %s\n", x.Error().c_str());
    return 1;
  }
  realgame::XWatcher watcher(x.Name());
  std::printf("game folder %s, Xvfb %s 1024x768x24, %d runs per mode\n", gameDir.c_str(), x.Name().c_str(), runs);
  for (const bool full : {false, true}) {
    if ((full && mode == "window") || (!full && mode == "full")) continue;
    copy.Write("data/fullscreen.stt", std::string(1, full ? '\0' : '\1'));  // the byte is "windowed"
    std::vector<double> dialog, dialogCpu, window, menu, quit, rss;
    std::string gl;
    for (int i = 0; i < runs; ++i) {
      Run r;
      if (!OneRun(exe, x, watcher, copy.File("game.log"), settleMs, &r)) return 1;
      std::printf("%-11s run %d: dialog %6.1f ms (cpu %5.1f ms)  window %6.1f ms  menu %6.1f ms  rss %6.1f MiB  "
                  "quit %5.1f ms  GL: %s\n",
                  full ? "full screen" : "windowed", i + 1, r.dialog, r.dialogCpu, r.window, r.menu, r.rssKiB / 1024.0,
                  r.quit, r.gl.empty() ? "none" : r.gl.c_str());
      dialog.push_back(r.dialog);
      dialogCpu.push_back(r.dialogCpu);
      window.push_back(r.window);
      menu.push_back(r.menu);
      quit.push_back(r.quit);
      rss.push_back(r.rssKiB / 1024.0);
      gl = r.gl;
    }
    std::printf("%-11s median: exec->dialog %.1f ms (processor %.1f ms), Play->game window %.1f ms, Play->menu %.1f ms, "
                "peak RSS in the menu %.1f MiB, SIGTERM->end %.1f ms, OpenGL loaded: %s\n",
                full ? "full screen" : "windowed", realgame::Median(dialog), realgame::Median(dialogCpu),
                realgame::Median(window),
                realgame::Median(menu), realgame::Median(rss), realgame::Median(quit), gl.empty() ? "no" : "yes");
  }
  return 0;
}
