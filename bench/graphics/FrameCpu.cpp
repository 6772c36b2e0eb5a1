// frame_cpu menu|play [SECONDS] [full]: opens the real window and draws idle-menu-like or play-like
// frames for SECONDS (default 20), in a window or full screen, at the game's pace, then prints the process's CPU time
// (all threads, user + system) as a share of one core.
#include "bench/graphics/FrameScenes.h"
#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <time.h>

namespace {
double Seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }
double Wall() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "menu") != 0 && std::strcmp(argv[1], "play") != 0)) {
    std::fprintf(stderr, "usage: frame_cpu menu|play [SECONDS] [full]\n");
    return 2;
  }
  const bool play = std::strcmp(argv[1], "play") == 0;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
  const bool full = argc > 3 && std::strcmp(argv[3], "full") == 0;
  KDisplayWindow display;
  if (!display.Create(800, 600, 16, !full, "frame_cpu")) return 1;
  FrameScenes scenes;
  rusage before;
  getrusage(RUSAGE_SELF, &before);
  const double start = Wall();
  int frames = 0;
  while (Wall() - start < seconds && !KDisplayWindow::IsQuitRequested()) {
    if (play)
      scenes.DrawPlay(frames);
    else
      scenes.DrawMenu(frames);
    display.Flip();
    ++frames;
  }
  rusage after;
  getrusage(RUSAGE_SELF, &after);
  const double wall = Wall() - start;
  const double cpu = Seconds(after.ru_utime) - Seconds(before.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_stime);
  std::printf("%s: %d frames in %.1f s (%.1f fps), CPU %.2f s = %.1f %% of one core\n", play ? "play" : "menu", frames,
              wall, frames / wall, cpu, 100.0 * cpu / wall);
  return 0;
}
