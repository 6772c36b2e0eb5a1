// zindo-replay --root DIR --script FILE [--max-frames N] [--max-time MS] [--screen highscores:SCORE|demos:N]
//              [--level FILE | --levels FOLDER | --my-levels | --editor FILE] [--trace N]
// Runs the game on the scripted platform: DIR plays the executable's folder, the script
// gives the input. Prints each message box as it is shown and "frames: N time_ms: T" at the
// end; with --trace N, a line of the game's state every N frames. Exit 0, or 3 when a limit
// was hit, or 2 for a bad script or bad arguments.
#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Random.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/LevelSet.h"
#include "game/files/RawFiles.h"
#include "game/playscreen/PlayGame.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/scores/HighScoreScreen.h"
#include "game/menus/MainMenu.h"
#include "game/startup/CommandLine.h"
#include "game/startup/GameMain.h"
#include "game/ui/Screen.h"
#include "platform/script/script_audio.h"
#include "platform/script/script_platform.h"
#include "tools/editor/Editor.h"
#include "tools/replay/ReplayScript.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <queue>
#include <sstream>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of the bytes its allocator has handed out (its header is not
// installed everywhere).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

constexpr std::uint64_t kReleaseAfterMs = 30;
constexpr std::uint64_t kFramesAfterLimit = 1000;

struct Timed {
  std::uint64_t dueUs;
  std::uint64_t order;  // file order among equal times
  ReplayAction action;
  // For the queue: the earliest due (then the first in order) comes out first.
  bool operator<(const Timed& o) const { return dueUs != o.dueUs ? dueUs > o.dueUs : order > o.order; }
};

std::multimap<std::uint64_t, ReplayAction> byFrame;  // frame -> actions, file order kept
std::priority_queue<Timed> byTime;
std::uint64_t nextOrder = 0;
std::vector<std::string> pendingShots;
std::uint64_t maxFrames = 0;  // 0: none
std::uint64_t maxTimeUs = 600000ull * 1000;
bool limitHit = false;
std::uint64_t traceEvery = 0;  // --trace N; 0: no trace
std::uint64_t limitFrame = 0, limitTimeUs = 0;

void Finish(int code) {
  std::printf("frames: %llu time_ms: %llu\n", static_cast<unsigned long long>(script::FramesPresented()),
              static_cast<unsigned long long>(script::Now() / 1000));
  std::fflush(stdout);
  std::exit(code);
}

// The sound card: while a device is open, the mixed sound is taken from it as the virtual
// clock moves on, 44100 frames a second, so the music's refill threads work as in the game.
bool audioWasOpen = false;
std::uint64_t audioOpenedUs = 0;
constexpr std::uint64_t kMostFramesAtOnce = 44100;

void PullAudioToNow() {
  const bool open = script::AudioDeviceOpen();
  if (open && !audioWasOpen) audioOpenedUs = script::Now();
  audioWasOpen = open;
  if (!open) return;
  const std::uint64_t due = (script::Now() - audioOpenedUs) * 44100 / 1000000;
  const std::uint64_t pulled = script::PulledFrames();
  if (due >= pulled + script::kAudioStepFrames)
    script::PullAudio(static_cast<int>(std::min(due - pulled, kMostFramesAtOnce)));
}

std::uint32_t padButtons = 0;  // the pad's buttons held now

void Run(const ReplayAction& a) {
  switch (a.kind) {
    case ReplayAction::kMouse:
      script::SetPointer(a.x, a.y);
      break;
    case ReplayAction::kDown:
      script::SetButton(true);
      break;
    case ReplayAction::kUp:
      script::SetButton(false);
      break;
    case ReplayAction::kClick: {
      script::SetPointer(a.x, a.y);
      script::SetButton(true);
      ReplayAction up = a;
      up.kind = ReplayAction::kUp;
      byTime.push(Timed{script::Now() + kReleaseAfterMs * 1000, nextOrder++, up});
      break;
    }
    case ReplayAction::kKey:
      script::SetKey(KInputState::KeyCode(a.key), a.on);
      break;
    case ReplayAction::kTap: {
      script::SetKey(KInputState::KeyCode(a.key), true);
      ReplayAction up = a;
      up.kind = ReplayAction::kKey;
      up.on = false;
      byTime.push(Timed{script::Now() + kReleaseAfterMs * 1000, nextOrder++, up});
      break;
    }
    case ReplayAction::kJoy:
      script::SetJoystickAxis(a.x, a.y);
      break;
    case ReplayAction::kJoyButtons:
      padButtons = a.bits;
      script::SetJoystickButtons(padButtons);
      break;
    case ReplayAction::kJoyTap: {
      // The press, then (on = true) its release 30 ms later; other buttons stay as they are.
      if (a.on) {
        padButtons &= ~a.bits;
      } else {
        padButtons |= a.bits;
        ReplayAction up = a;
        up.on = true;
        byTime.push(Timed{script::Now() + kReleaseAfterMs * 1000, nextOrder++, up});
      }
      script::SetJoystickButtons(padButtons);
      break;
    }
    case ReplayAction::kJoyPlug:
      script::SetJoystickPresent(a.on);
      break;
    case ReplayAction::kFocus:
      script::SetFocus(a.on);
      break;
    case ReplayAction::kClose:
      script::PostClose();
      break;
    case ReplayAction::kShot:
      pendingShots.push_back(a.file);
      break;
  }
}

void RunDueTimed() {
  while (!byTime.empty() && byTime.top().dueUs <= script::Now()) {
    const ReplayAction a = byTime.top().action;
    byTime.pop();
    Run(a);  // may queue a release 30 ms later
  }
}

void HitLimit() {
  if (limitHit) return;
  limitHit = true;
  limitFrame = script::FramesPresented();
  limitTimeUs = script::Now();
  script::PostClose();  // as if the close box was clicked
}

// A checksum of the picture as last presented (FNV-1a over its 16-bit pixels).
std::uint32_t PictureSum() {
  std::uint32_t h = 2166136261u;
  for (const std::uint16_t p : script::Screen()) {
    h = (h ^ (p & 0xFFu)) * 16777619u;
    h = (h ^ (p >> 8)) * 16777619u;
  }
  return h;
}

// --trace: what a player sees of the game at this frame, in one line: the level the main menu
// offers, the record of the last
// or current game (level, score, lives, level bonus), the balls in play, the bat's left edge
// and kind, the random generator's state and "pic", the picture shown.
void PrintTrace(std::uint64_t frame) {
  int balls = 0;
  for (const Ball& b : play.balls) balls += b.active ? 1 : 0;
  std::printf("f%llu t=%llu menu=%d level=%d score=%d lives=%d bonus=%d balls=%d bat=%d/%d rand=%u pic=%08x\n",
              static_cast<unsigned long long>(frame), static_cast<unsigned long long>(script::Now() / 1000),
              static_cast<int>(gameRecord.menuLevel), static_cast<int>(gameRecord.level), static_cast<int>(gameRecord.score),
              static_cast<int>(gameRecord.lives), static_cast<int>(gameRecord.levelBonus), balls,
              static_cast<int>(play.batX), static_cast<int>(gameRecord.batKind), static_cast<unsigned>(GameRandState()),
              static_cast<unsigned>(PictureSum()));
  std::fflush(stdout);
}

void Tick(bool afterPresent) {
  RunDueTimed();
  if (afterPresent) {
    PullAudioToNow();
    const std::uint64_t frame = script::FramesPresented();
    if (traceEvery != 0 && frame % traceEvery == 0) PrintTrace(frame);
    auto range = byFrame.equal_range(frame);
    for (auto it = range.first; it != range.second; ++it) Run(it->second);
    RunDueTimed();
    for (const std::string& file : pendingShots) {
      if (!script::WriteScreenshot(file)) std::fprintf(stderr, "zindo-replay: could not write %s\n", file.c_str());
    }
    pendingShots.clear();
    if (maxFrames != 0 && frame >= maxFrames) HitLimit();
  }
  if (script::Now() >= maxTimeUs) HitLimit();
  if (limitHit) {
    // The program gets 1000 frames (or as much time, should it wait without drawing) to end.
    if (script::FramesPresented() >= limitFrame + kFramesAfterLimit ||
        script::Now() >= limitTimeUs + kFramesAfterLimit * 14000)
      Finish(3);
  }
}

bool ParseCount(const char* s, std::uint64_t* out) {
  if (!s || !*s) return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(s, &end, 10);
  if (errno != 0 || *end != '\0' || s[0] == '-') return false;
  *out = v;
  return true;
}

int Usage(const char* why) {
  std::fprintf(stderr,
               "zindo-replay: %s\nusage: zindo-replay --root DIR --script FILE [--max-frames N] [--max-time MS] [--screen highscores:SCORE] [--level FILE | --levels FOLDER | --my-levels | --editor FILE] [--trace N]\n",
               why);
  return 2;
}

// One line at each level start and end and at the end of a game: the golden runs diff them.
void PrintGameEvent(GameEvent e) {
  const char* what = e == GameEvent::kLevelStart ? "level-start" : e == GameEvent::kLevelEnd ? "level-end" : "game-end";
  std::printf("%s frame=%llu level=%d score=%d lives=%d bonus=%d rand=%u%s\n", what,
              static_cast<unsigned long long>(script::FramesPresented()), static_cast<int>(gameRecord.level),
              static_cast<int>(gameRecord.score), static_cast<int>(gameRecord.lives),
              static_cast<int>(gameRecord.levelBonus), static_cast<unsigned>(GameRandState()),
              gameRecord.demoMode ? " demo" : "");
  std::fflush(stdout);
}

bool screenGiven = false;
std::string editorFile;
std::int32_t screenScore = -1;
std::uint64_t demoRuns = 0;  // --screen demos:N

// Bytes of heap in use (the sanitizer's count under AddressSanitizer, whose allocator glibc
// does not see).
std::uint64_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// The attract mode's demonstration N times back to back, as the main menu starts it (its
// sheet loaded, the level count read, from the highest level reached), and the heap in use
// after the first and after the last.
void RunDemos() {
  bigPlancheSheet = LoadSprite(KPath::MakeAbsolute("data\\sprites\\bigplanche.bmp"));
  gameRecord.levelCount = LevelCountOfSet();
  std::uint64_t afterFirst = 0;
  for (std::uint64_t i = 0; i < demoRuns && !KDisplayWindow::IsQuitRequested(); ++i) {
    gameRecord.highestLevel = ReadHighestLevel();
    gameRecord.menuLevel = std::max(1, std::min(gameRecord.highestLevel, gameRecord.levelCount));
    if (!PlayGame(true)) break;
    if (i == 0) afterFirst = HeapInUse();
  }
  delete bigPlancheSheet;
  bigPlancheSheet = nullptr;
  std::printf("heap: after-first=%llu end=%llu\n", static_cast<unsigned long long>(afterFirst),
              static_cast<unsigned long long>(HeapInUse()));
}

bool ParseSigned(const std::string& text, std::int32_t* out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || v < -1 || v > 2147483647L) return false;
  *out = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, scriptPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--root" && value) {
      root = value;
    } else if (arg == "--script" && value) {
      scriptPath = value;
    } else if (arg == "--max-frames" && value) {
      if (!ParseCount(value, &maxFrames) || maxFrames == 0) return Usage("--max-frames wants a count above 0");
    } else if (arg == "--screen" && value) {
      // A test entry point: "highscores:SCORE" opens the high-score screen at start-up
      // instead of the main menu (as the end of a game with that score does).
      // "demos:N" runs the demonstration N times back to back instead (the soak test).
      const std::string v = value;
      if (v.rfind("demos:", 0) == 0) {
        if (!ParseCount(v.c_str() + 6, &demoRuns) || demoRuns == 0) return Usage("--screen demos: wants a count above 0");
      } else if (v.rfind("highscores:", 0) != 0 || !ParseSigned(v.substr(11), &screenScore)) {
        return Usage("--screen wants highscores:SCORE or demos:N");
      }
      screenGiven = true;
    } else if ((arg == "--level" || arg == "--levels") && value) {
      // The game's own options, read as the game reads them (its messages and all).
      const char* const gameArgs[] = {"zindorumba", argv[i], value};
      const int code = ReadCommandLine(3, gameArgs, stdout, stderr);
      if (code >= 0) return code;
    } else if (arg == "--editor" && value) {
      editorFile = value;  // the level editor on this level instead of the game
    } else if (arg == "--my-levels") {
      const char* const gameArgs[] = {"zindorumba", argv[i]};
      const int code = ReadCommandLine(2, gameArgs, stdout, stderr);
      if (code >= 0) return code;
      continue;
    } else if (arg == "--trace" && value) {
      if (!ParseCount(value, &traceEvery) || traceEvery == 0) return Usage("--trace wants a count of frames above 0");
    } else if (arg == "--max-time" && value) {
      std::uint64_t ms = 0;
      if (!ParseCount(value, &ms) || ms > UINT64_MAX / 1000) return Usage("--max-time wants milliseconds");
      maxTimeUs = ms * 1000;
    } else {
      return Usage(("unknown or incomplete argument '" + arg + "'").c_str());
    }
    ++i;
  }
  if (root.empty() || scriptPath.empty()) return Usage("--root and --script are needed");

  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "zindo-replay: cannot read %s\n", scriptPath.c_str());
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  const std::size_t slash = scriptPath.find_last_of('/');
  const std::string base = slash == std::string::npos ? "." : scriptPath.substr(0, slash);
  ReplayScript parsed;
  std::string error;
  if (!ParseReplayScript(text.str(), base, &parsed, &error)) {
    std::fprintf(stderr, "zindo-replay: %s: %s\n", scriptPath.c_str(), error.c_str());
    return 2;
  }

  script::SetRoot(root);
  script::SetEchoBoxes(true);
  script::SetJoystickPresent(true);
  script::DialogAnswer answer;
  answer.given = parsed.dialog.given;
  answer.play = parsed.dialog.play;
  answer.fullScreen = parsed.dialog.fullScreen;
  answer.gamepad = parsed.dialog.gamepad;
  answer.help = parsed.dialog.help;
  script::SetDialogAnswer(answer);
  for (const ReplayAction& a : parsed.actions) {
    if (a.atFrame)
      byFrame.emplace(a.when, a);
    else
      byTime.push(Timed{a.when * 1000, nextOrder++, a});
  }
  // f0: from the start.
  auto range = byFrame.equal_range(0);
  for (auto it = range.first; it != range.second; ++it) Run(it->second);
  RunDueTimed();
  script::SetTickHook(Tick);
  SetGameEventHook(PrintGameEvent);

  if (!editorFile.empty())
    RunEditor(editorFile, "false");
  else if (demoRuns > 0)
    GameMainWith(RunDemos);
  else if (screenGiven)
    GameMainWith([] {
      // The table as the main menu prepares it, then the screen as a game's end opens it.
      ResetHighScores();
      highScores.Load(kHighScoreRows);
      RunHighScores(screenScore);
    });
  else if (LevelAloneAsked())
    GameMainWith([] { PlayLevelAlone(); });
  else
    GameMain();
  script::SetTickHook(nullptr);
  Finish(limitHit ? 3 : 0);
}
