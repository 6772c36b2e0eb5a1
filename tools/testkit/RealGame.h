// The real game as a player starts it, on an X server of its own (Xvfb), watched from the
// outside: its windows through the X server, its memory and libraries through /proc. For
// tests and measurements of the real program; nothing here links the game.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;  // Xlib's Display

namespace realgame {

using Clock = std::chrono::steady_clock;
double MillisecondsSince(Clock::time_point t);

// An Xvfb server on a display number nobody uses (Xvfb picks it), with a black root window,
// stopped when the object goes.
class Xvfb {
 public:
  // resetWhenIdle: as Xvfb runs by default, resetting itself whenever its last client
  // leaves (a client connecting then may be refused); otherwise it never resets.
  // display: the number to take (the server fails when it is taken), or -1 for any free one.
  explicit Xvfb(bool resetWhenIdle = false, int width = 1024, int height = 768, int display = -1);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  bool Ok() const { return !name_.empty(); }
  const std::string& Name() const { return name_; }  // ":N"
  const std::string& Error() const { return error_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
  std::string error_;
};

// A client of the X server that finds the game's windows and acts as the player and the
// desktop would: keys through the XTEST extension, focus given to a window of its own, the
// close request a taskbar sends.
class XWatcher {
 public:
  // Connects (see Connect), allowing ten seconds.
  explicit XWatcher(const std::string& display);
  ~XWatcher();
  XWatcher(const XWatcher&) = delete;
  XWatcher& operator=(const XWatcher&) = delete;
  bool Ok() const { return display_ != nullptr; }
  // Connects to the server unless connected, trying again while it refuses (as it does while
  // it resets after its last client left). False at the deadline.
  bool Connect(Clock::time_point deadline);
  // Leaves the server, as a program that did its work and ended. The window made by
  // TakeFocus goes with it.
  void Disconnect();

  // A top-level window shown on the screen (mapped) with this exact title, or 0.
  unsigned long FindShown(const std::string& title);
  // Waits until FindShown gives one; 0 when none came before the deadline.
  unsigned long WaitShown(const std::string& title, Clock::time_point deadline);
  // Waits until a shown window with this title shows a picture: any pixel of its middle row
  // or column is not black (the root behind a new window is black). Returns that window, or
  // 0 at the deadline.
  unsigned long WaitDrawn(const std::string& title, Clock::time_point deadline);

  // Presses and releases a key (an X keysym, e.g. XK_Return) as the keyboard would, with a
  // modifier (e.g. XK_Alt_L) held around it when one is given.
  void TapKey(unsigned long keysym, unsigned long modifier = 0);
  // A window's size; false when it cannot be read.
  bool Size(unsigned long window, int* width, int* height);
  // Waits until the window has this size; false at the deadline.
  bool WaitSize(unsigned long window, int width, int height, Clock::time_point deadline);
  // The colour shown at a window pixel, 0xRRGGBB (~0ul when it cannot be read).
  unsigned long Pixel(unsigned long window, int x, int y);
  // Asks for a new window size, as a window manager's resize does.
  void Resize(unsigned long window, int width, int height);
  // Maps a small window of its own and gives it the keyboard focus, as when the player
  // turns to another program. True when it has the focus.
  bool TakeFocus(Clock::time_point deadline);
  // The window holding the keyboard focus now.
  unsigned long Focus();
  // Asks the window to close (WM_DELETE_WINDOW), as a taskbar or window manager does.
  void RequestClose(unsigned long window);

 private:
  void Drain();
  std::string name_;
  ::_XDisplay* display_ = nullptr;
  unsigned long root_ = 0;
  unsigned long own_ = 0;
};

// One run of a game executable with DISPLAY set to the given server (and no Wayland display
// or forced video driver from the calling environment). Standard output and error go to a
// log file. Killed when the object goes, should it still run.
class GameProcess {
 public:
  // extraEnv: more NAME=VALUE settings; ASAN_OPTIONS given there are added to the ones set.
  GameProcess(const std::string& executable, const std::string& display, const std::string& logFile,
              const std::vector<std::string>& extraEnv = {});
  ~GameProcess();
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;
  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  Clock::time_point StartTime() const { return start_; }

  // True once the process has ended (then ExitCode() is its exit code, or -signal).
  bool WaitExit(Clock::time_point deadline);
  bool Running();
  int ExitCode() const { return exitCode_; }
  void Signal(int sig);
  void Kill();

  // Processor time all its threads have had so far (schedstat), in ms; -1 when unknown.
  double CpuMs() const;
  // Peak resident memory so far (VmHWM), in KiB; -1 when unknown.
  long PeakRssKiB() const;
  // OpenGL, EGL, GLES and Mesa driver libraries mapped into the process (file names).
  std::vector<std::string> MappedGlLibraries() const;
  // The system call the main thread is blocked in now (-1 running or unknown).
  long MainThreadSyscall() const;
  // The end of the log, for failure messages.
  std::string LogTail(std::size_t bytes = 1500) const;

 private:
  pid_t pid_ = -1;
  int exitCode_ = 0;
  bool exited_ = false;
  Clock::time_point start_;
  std::string log_;
};

// Median of a list (the mean of the two middle values for an even count); 0 when empty.
double Median(std::vector<double> values);

}  // namespace realgame
