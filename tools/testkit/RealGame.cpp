#include "tools/testkit/RealGame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <set>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

#ifndef ZR_XVFB
#define ZR_XVFB "Xvfb"
#endif

namespace realgame {

double MillisecondsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Windows come and go while they are looked at: a request on one that just went is no fault.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// In a child just forked: it gets `sig` should the test end without ending it (killed at its
// time limit, say), so that no server or game is left behind.
void DieWithParent(int sig, pid_t parent) {
  prctl(PR_SET_PDEATHSIG, sig);
  if (getppid() != parent) _exit(1);
}

// Ends a child: the signal first, SIGKILL when it has not ended within the grace.
void Stop(pid_t pid, int sig, int graceMs) {
  if (pid <= 0) return;
  kill(pid, sig);
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(graceMs);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return;
    }
    SleepMs(2);
  }
}

}  // namespace

// ---- Xvfb -------------------------------------------------------------------------------

Xvfb::Xvfb(bool resetWhenIdle, int width, int height, int display) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error_ = std::string("pipe: ") + std::strerror(errno);
    return;
  }
  const std::string fd = std::to_string(fds[1]);
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  const std::string number0 = display >= 0 ? ":" + std::to_string(display) : std::string();
  // Made before the fork: the child of a threaded test may not allocate.
  std::vector<const char*> args = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-br"};
  if (!number0.empty()) args.insert(args.begin() + 1, number0.c_str());
  if (!resetWhenIdle) args.push_back("-noreset");
  args.push_back(nullptr);
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    DieWithParent(SIGTERM, parent);
    fcntl(fds[1], F_SETFD, 0);  // the one descriptor Xvfb is to keep: it writes its number there
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execv(ZR_XVFB, const_cast<char* const*>(args.data()));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    error_ = std::string("fork: ") + std::strerror(errno);
    return;
  }
  // Xvfb writes the display number it took once it accepts clients.
  std::string number;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(20);
  for (;;) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, MsLeft(deadline)) <= 0) break;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
    error_ = "Xvfb (" ZR_XVFB ") did not start";
    Stop(pid_, SIGTERM, 3000);
    pid_ = -1;
    return;
  }
  name_ = ":" + number;
}

Xvfb::~Xvfb() { Stop(pid_, SIGTERM, 3000); }

// ---- XWatcher ---------------------------------------------------------------------------

XWatcher::XWatcher(const std::string& display) : name_(display) {
  // Watchers may run on threads side by side, each with its own connection.
  static const bool threadsReady = XInitThreads() != 0;
  (void)threadsReady;
  XSetErrorHandler(IgnoreXErrors);
  Connect(Clock::now() + std::chrono::seconds(10));
}

XWatcher::~XWatcher() { Disconnect(); }

bool XWatcher::Connect(Clock::time_point deadline) {
  if (display_) return true;
  // A server that lost its last client resets and refuses connections for a moment.
  while (!(display_ = XOpenDisplay(name_.c_str()))) {
    if (Clock::now() >= deadline) return false;
    SleepMs(5);
  }
  root_ = DefaultRootWindow(display_);
  // Told when top-level windows appear: the waits wake at once instead of polling slowly.
  XSelectInput(display_, root_, SubstructureNotifyMask);
  XSync(display_, False);
  return true;
}

// libXext keeps the XTest extension's per-connection records in one list for the whole process,
// and closing a connection removes its record: with two lanes of starts sending keys and closing
// connections side by side, the list was now and then freed twice (a core showed it in
// XCloseDisplay). Key sending and closing go one thread at a time.
std::mutex& ExtensionListLock() {
  static std::mutex lock;
  return lock;
}

void XWatcher::Disconnect() {
  if (!display_) return;
  if (own_) XDestroyWindow(display_, own_);
  own_ = 0;
  {
    std::lock_guard<std::mutex> hold(ExtensionListLock());
    XCloseDisplay(display_);
  }
  display_ = nullptr;
}

void XWatcher::Drain() {
  while (XPending(display_) > 0) {
    XEvent e;
    XNextEvent(display_, &e);
  }
}

unsigned long XWatcher::FindShown(const std::string& title) {
  if (!display_) return 0;
  Window rootReturn, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable) continue;
    char* name = nullptr;
    if (XFetchName(display_, children[i], &name) && name) {
      if (title == name) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

unsigned long XWatcher::WaitShown(const std::string& title, Clock::time_point deadline) {
  if (!display_) return 0;
  for (;;) {
    Drain();
    if (const unsigned long w = FindShown(title)) return w;
    if (Clock::now() >= deadline) return 0;
    pollfd p{ConnectionNumber(display_), POLLIN, 0};
    poll(&p, 1, std::min(MsLeft(deadline), 5));
  }
}

unsigned long XWatcher::WaitDrawn(const std::string& title, Clock::time_point deadline) {
  if (!display_) return 0;
  for (;;) {
    // Looked for afresh each time: SDL may make the window anew (for a renderer), and a
    // window made full screen without a window manager may be unmapped for a moment.
    XWindowAttributes a;
    const Window window = FindShown(title);
    if (window && XGetWindowAttributes(display_, window, &a)) {
      // The middle row, then the middle column.
      const int boxes[2][4] = {{0, a.height / 2, a.width, 1}, {a.width / 2, 0, 1, a.height}};
      for (const auto& b : boxes) {
        if (b[2] <= 0 || b[3] <= 0) continue;
        XImage* img = XGetImage(display_, window, b[0], b[1], static_cast<unsigned>(b[2]),
                                static_cast<unsigned>(b[3]), AllPlanes, ZPixmap);
        if (!img) continue;
        bool lit = false;
        for (int y = 0; y < b[3] && !lit; ++y)
          for (int x = 0; x < b[2] && !lit; ++x) lit = (XGetPixel(img, x, y) & 0xFFFFFFul) != 0;
        XDestroyImage(img);
        if (lit) return window;
      }
    }
    if (Clock::now() >= deadline) return 0;
    SleepMs(1);
  }
}

void XWatcher::TapKey(unsigned long keysym, unsigned long modifier) {
  if (!display_) return;
  std::lock_guard<std::mutex> hold(ExtensionListLock());
  const KeyCode code = XKeysymToKeycode(display_, keysym);
  const KeyCode mod = modifier ? XKeysymToKeycode(display_, modifier) : 0;
  if (mod) XTestFakeKeyEvent(display_, mod, True, 0);
  XTestFakeKeyEvent(display_, code, True, 0);
  XSync(display_, False);
  SleepMs(20);
  XTestFakeKeyEvent(display_, code, False, 0);
  if (mod) XTestFakeKeyEvent(display_, mod, False, 0);
  XSync(display_, False);
}

bool XWatcher::Size(unsigned long window, int* width, int* height) {
  XWindowAttributes a;
  if (!display_ || !XGetWindowAttributes(display_, window, &a)) return false;
  *width = a.width;
  *height = a.height;
  return true;
}

bool XWatcher::WaitSize(unsigned long window, int width, int height, Clock::time_point deadline) {
  for (;;) {
    int w = 0, h = 0;
    if (Size(window, &w, &h) && w == width && h == height) return true;
    if (Clock::now() >= deadline) return false;
    SleepMs(5);
  }
}

unsigned long XWatcher::Pixel(unsigned long window, int x, int y) {
  if (!display_) return ~0ul;
  XImage* img = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!img) return ~0ul;
  const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFFul;
  XDestroyImage(img);
  return p;
}

void XWatcher::Resize(unsigned long window, int width, int height) {
  if (!display_) return;
  XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(display_, False);
}

bool XWatcher::TakeFocus(Clock::time_point deadline) {
  if (!display_) return false;
  if (!own_) {
    own_ = XCreateSimpleWindow(display_, root_, 0, 0, 64, 64, 0, BlackPixel(display_, 0), WhitePixel(display_, 0));
    XStoreName(display_, own_, "another program");
    XMapRaised(display_, own_);
    XSync(display_, False);
  }
  for (;;) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, own_, &a) && a.map_state == IsViewable) break;
    if (Clock::now() >= deadline) return false;
    SleepMs(2);
  }
  XSetInputFocus(display_, own_, RevertToPointerRoot, CurrentTime);
  XSync(display_, False);
  return Focus() == own_;
}

unsigned long XWatcher::Focus() {
  if (!display_) return 0;
  Window w = 0;
  int revert = 0;
  XGetInputFocus(display_, &w, &revert);
  return w;
}

void XWatcher::RequestClose(unsigned long window) {
  if (!display_) return;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &e);
  XSync(display_, False);
}

// ---- GameProcess ------------------------------------------------------------------------

GameProcess::GameProcess(const std::string& executable, const std::string& display, const std::string& logFile,
                         const std::vector<std::string>& extraEnv)
    : log_(logFile) {
  // The environment as a player's, with this display alone: nothing that would send SDL
  // elsewhere. An empty display name means none at all.
  std::vector<std::string> env;
  std::string asan;
  for (char** e = environ; *e; ++e) {
    const std::string v = *e;
    if (v.rfind("DISPLAY=", 0) == 0 || v.rfind("WAYLAND_DISPLAY=", 0) == 0 || v.rfind("SDL_VIDEODRIVER=", 0) == 0)
      continue;
    if (v.rfind("ASAN_OPTIONS=", 0) == 0) {
      asan = v.substr(13);
      continue;
    }
    env.push_back(v);
  }
  for (const std::string& v : extraEnv) {
    if (v.rfind("ASAN_OPTIONS=", 0) == 0)
      asan += (asan.empty() ? "" : ":") + v.substr(13);
    else
      env.push_back(v);
  }
  if (!asan.empty()) env.push_back("ASAN_OPTIONS=" + asan);
  if (!display.empty()) env.push_back("DISPLAY=" + display);
  std::vector<char*> envp;
  for (std::string& v : env) envp.push_back(v.data());
  envp.push_back(nullptr);
  const int out = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const pid_t parent = getpid();
  start_ = Clock::now();
  pid_ = fork();
  if (pid_ == 0) {
    DieWithParent(SIGKILL, parent);  // a game that hangs may not heed anything else
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    char* argv[] = {const_cast<char*>(executable.c_str()), nullptr};
    execve(executable.c_str(), argv, envp.data());
    _exit(127);
  }
  if (out >= 0) close(out);
}

GameProcess::~GameProcess() {
  if (pid_ > 0 && !exited_) Kill();
}

bool GameProcess::WaitExit(Clock::time_point deadline) {
  if (pid_ <= 0) return false;
  while (!exited_) {
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      exited_ = true;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
      break;
    }
    if (r < 0 || Clock::now() >= deadline) return false;
    SleepMs(2);
  }
  return true;
}

bool GameProcess::Running() { return pid_ > 0 && !WaitExit(Clock::now()); }

void GameProcess::Signal(int sig) {
  if (pid_ > 0 && !exited_) kill(pid_, sig);
}

void GameProcess::Kill() {
  if (pid_ <= 0 || exited_) return;
  kill(pid_, SIGKILL);
  WaitExit(Clock::now() + std::chrono::seconds(10));
}

double GameProcess::CpuMs() const {
  const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
  std::error_code ec;
  double ns = 0;
  bool any = false;
  for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
    std::ifstream in(task.path() / "schedstat");
    double onCpu = 0;
    if (in >> onCpu) {
      ns += onCpu;
      any = true;
    }
  }
  return any ? ns / 1e6 : -1;
}

long GameProcess::PeakRssKiB() const {
  std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

std::vector<std::string> GameProcess::MappedGlLibraries() const {
  std::ifstream in("/proc/" + std::to_string(pid_) + "/maps");
  std::set<std::string> found;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t slash = line.rfind('/');
    if (slash == std::string::npos) continue;
    const std::string file = line.substr(slash + 1);
    // libGL, libGLX, libGLdispatch, libGLESv2, libEGL, libOpenGL, the Mesa drivers and the
    // LLVM they compile shaders with. (libwayland-egl is a small window shim, no renderer.)
    static const char* const kPrefixes[] = {"libGL", "libEGL", "libOpenGL", "libglapi", "libgallium", "libLLVM"};
    bool gl = file.find("_dri.so") != std::string::npos;
    for (const char* p : kPrefixes) gl = gl || file.rfind(p, 0) == 0;
    if (gl) found.insert(file);
  }
  return {found.begin(), found.end()};
}

long GameProcess::MainThreadSyscall() const {
  std::ifstream in("/proc/" + std::to_string(pid_) + "/syscall");
  std::string first;
  if (!(in >> first) || first.empty() || first.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::strtol(first.c_str(), nullptr, 10);
}

std::string GameProcess::LogTail(std::size_t bytes) const {
  std::ifstream in(log_, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string all = s.str();
  return all.size() > bytes ? "..." + all.substr(all.size() - bytes) : all;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace realgame
