// The replay script: input and events for the scripted platform, each at a frame or a time.
//
//   WHEN ACTION [ARGS]        WHEN = fN (after the N-th presented frame; f0 = at the start)
//                                    tN (once the virtual clock reads N ms or more)
//   mouse X Y | down | up | click X Y | key NAME down|up | tap NAME
//   joy X [Y] | joybuttons MASK|NAME+NAME.. | joytap NAME | joyplug on|off
//   focus off|on | close | shot FILE
//   dialog play|quit [fullscreen=0|1] [gamepad=0|1] [help]      (no WHEN)
// '#' starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplayAction {
  enum Kind { kMouse, kDown, kUp, kClick, kKey, kTap, kJoy, kJoyButtons, kJoyTap, kJoyPlug, kFocus, kClose, kShot };
  Kind kind = kMouse;
  bool atFrame = true;      // fN, else tN
  std::uint64_t when = 0;   // frame number or milliseconds
  int x = 0, y = 0;         // mouse, click; joy: the stick
  int key = 0;              // key id
  bool on = false;          // key down, focus on, pad plugged in
  std::uint32_t bits = 0;   // joybuttons, joytap
  std::string file;         // shot: full path
  int line = 0;
};

struct ReplayDialog {
  bool given = false;
  bool play = true;
  int fullScreen = -1;
  int gamepad = -1;
  bool help = false;
};

struct ReplayScript {
  std::vector<ReplayAction> actions;  // in file order
  ReplayDialog dialog;
};

// Parses script text; shot files are taken relative to baseFolder. On error returns false
// with *error = "line N: what".
bool ParseReplayScript(const std::string& text, const std::string& baseFolder, ReplayScript* script,
                       std::string* error);
