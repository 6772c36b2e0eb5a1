// The saved files survive the program being killed at any moment: a child saving every one
// of them in a loop, through the game's own save functions, is killed a few hundred times at
// random moments; each file is then either its old or its new complete content.
#include "engine/services/Services.h"
#include "game/files/RawFiles.h"
#include "game/files/StartSettings.h"
#include "game/scores/HighScoreScreen.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const std::vector<std::string> kSaved = {"prefvol.raw", "al.raw", "highscores.raw", "data/fullscreen.stt",
                                         "data/gamepad.stt"};

// Content a or b of every file the game saves, saved as the game saves it.
void SaveAll(bool b) {
  effectsLevel = b ? 9 : 2;
  musicLevel = b ? 0 : 7;
  SaveVolumePrefs();
  WriteHighestLevel(b ? 0x01020304 : 3);
  ResetHighScores();
  if (b) highScores.Insert("KIL", 1000);
  SaveHighScores();
  windowed = b ? 1 : 0;
  gamepadEnabled = b ? 0 : 1;
  SaveWindowedFlag();
  SaveGamepadFlag();
}

// A child saving a, b, a, b, ... until it is killed; it writes a byte to the pipe once it
// has saved both. Returns its process id and the pipe's reading end.
pid_t StartSaving(int* ready) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    for (unsigned long round = 0;; ++round) {
      SaveAll(round % 2 == 1);
      if (round == 1 && write(fds[1], "r", 1) != 1) _exit(1);
    }
  }
  close(fds[1]);
  *ready = fds[0];
  return child;
}

TEST(KillTest, EverySavedFileIsOldOrNewAfterAKill) {
  // On a memory file system a save takes some tens of microseconds, so the kills fall on
  // every step of it (open, write, flush, close, rename); on a disk the flush to the disk
  // takes nearly all of its time (about 20 ms here) and would take nearly every kill.
  if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  TempDir root;
  root.Write("data/.keep", "");
  script::SetRoot(root.Path());
  InitEngineServices();
  std::map<std::string, std::string> a, b;
  SaveAll(true);
  for (const std::string& f : kSaved) b[f] = ReadFileBytes(root.File(f));
  SaveAll(false);
  for (const std::string& f : kSaved) {
    a[f] = ReadFileBytes(root.File(f));
    ASSERT_FALSE(a[f].empty()) << f;
    ASSERT_NE(a[f], b[f]) << f;
  }

  // Kills between 0 and 3 ms into the loop, once it has saved both contents.
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delayUs(0, 3000);
  const int kills = 300;
  std::map<std::string, int> sawA, sawB;
  int leftovers = 0;
  for (int k = 0; k < kills; ++k) {
    int ready = -1;
    const pid_t child = StartSaving(&ready);
    ASSERT_GT(child, 0);
    char c;
    const bool started = read(ready, &c, 1) == 1;
    if (started) std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(ready);
    ASSERT_TRUE(started) << "the child ended before saving";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "kill " << k;
    for (const std::string& f : kSaved) {
      const std::string now = ReadFileBytes(root.File(f));
      ASSERT_TRUE(now == a[f] || now == b[f]) << f << " after kill " << k << ": " << now.size() << " bytes";
      ++(now == a[f] ? sawA : sawB)[f];
      if (FileExists(root.File(f) + ".new")) ++leftovers;
    }
  }
  // The kills fell at different points of the loop: both contents were found for every file.
  for (const std::string& f : kSaved) {
    EXPECT_GT(sawA[f], 0) << f;
    EXPECT_GT(sawB[f], 0) << f;
  }
  std::printf("kills survived: %d (a file left half written beside its own %d times)\n", kills, leftovers);
  // Such a file beside its own is replaced by the next save, and then gone.
  SaveAll(true);
  for (const std::string& f : kSaved) {
    EXPECT_EQ(ReadFileBytes(root.File(f)), b[f]) << f;
    EXPECT_FALSE(FileExists(root.File(f) + ".new")) << f;
  }
}

}  // namespace
