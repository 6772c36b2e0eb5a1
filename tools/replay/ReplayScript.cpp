#include "tools/replay/ReplayScript.h"

#include "engine/services/KInputState.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseInt(const std::string& s, long long lo, long long hi, long long* out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ParseWhen(const std::string& w, ReplayAction* a) {
  if (w.size() < 2 || (w[0] != 'f' && w[0] != 't')) return false;
  for (std::size_t i = 1; i < w.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(w[i]))) return false;
  long long v = 0;
  if (!ParseInt(w.substr(1), 0, LLONG_MAX / 1000, &v)) return false;
  a->atFrame = w[0] == 'f';
  a->when = static_cast<std::uint64_t>(v);
  return true;
}

// Pad buttons by name (A, B, X, Y, BACK, GUIDE, START, LSTICK, RSTICK, LSHOULDER,
// RSHOULDER, UP, DOWN, LEFT, RIGHT) joined by '+', or a decimal mask of their bits.
bool ParsePadButtons(const std::string& s, std::uint32_t* bits) {
  static const char* const kNames[] = {"A", "B", "X", "Y", "BACK", "GUIDE", "START", "LSTICK",
                                       "RSTICK", "LSHOULDER", "RSHOULDER", "UP", "DOWN", "LEFT", "RIGHT"};
  long long v = 0;
  if (ParseInt(s, 0, UINT32_MAX, &v)) {
    *bits = static_cast<std::uint32_t>(v);
    return true;
  }
  *bits = 0;
  std::istringstream parts(s);
  for (std::string part; std::getline(parts, part, '+');) {
    for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::uint32_t bit = 0;
    for (std::size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i)
      if (part == kNames[i]) bit = 1u << i;
    if (bit == 0) return false;
    *bits |= bit;
  }
  return *bits != 0;
}

int KeyFromName(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return KInputState::KeyIdFromName(name.c_str());
}

}  // namespace

bool ParseReplayScript(const std::string& text, const std::string& baseFolder, ReplayScript* script,
                       std::string* error) {
  *script = ReplayScript{};
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  auto fail = [&](const std::string& what) {
    *error = "line " + std::to_string(lineNo) + ": " + what;
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.erase(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;

    if (w[0] == "dialog") {
      if (script->dialog.given) return fail("a second dialog line");
      ReplayDialog d;
      d.given = true;
      if (w.size() < 2 || (w[1] != "play" && w[1] != "quit")) return fail("dialog wants play or quit");
      d.play = w[1] == "play";
      for (std::size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "help") d.help = true;
        else if (w[i] == "fullscreen=0" || w[i] == "fullscreen=1") d.fullScreen = w[i].back() - '0';
        else if (w[i] == "gamepad=0" || w[i] == "gamepad=1") d.gamepad = w[i].back() - '0';
        else return fail("unknown dialog setting '" + w[i] + "'");
      }
      script->dialog = d;
      continue;
    }

    ReplayAction a;
    a.line = lineNo;
    if (!ParseWhen(w[0], &a)) return fail("'" + w[0] + "' is not fN or tN");
    if (w.size() < 2) return fail("no action");
    const std::string& act = w[1];
    const std::size_t args = w.size() - 2;
    long long v1 = 0, v2 = 0;
    auto wantArgs = [&](std::size_t n) { return args == n; };
    if (act == "mouse" || act == "click") {
      if (!wantArgs(2) || !ParseInt(w[2], INT_MIN, INT_MAX, &v1) || !ParseInt(w[3], INT_MIN, INT_MAX, &v2))
        return fail(act + " wants X Y");
      a.kind = act == "mouse" ? ReplayAction::kMouse : ReplayAction::kClick;
      a.x = static_cast<int>(v1);
      a.y = static_cast<int>(v2);
    } else if (act == "down" || act == "up" || act == "close") {
      if (!wantArgs(0)) return fail(act + " takes nothing");
      a.kind = act == "down" ? ReplayAction::kDown : act == "up" ? ReplayAction::kUp : ReplayAction::kClose;
    } else if (act == "key") {
      if (!wantArgs(2) || (w[3] != "down" && w[3] != "up")) return fail("key wants NAME down|up");
      a.kind = ReplayAction::kKey;
      a.key = KeyFromName(w[2]);
      if (a.key < 0) return fail("unknown key '" + w[2] + "'");
      a.on = w[3] == "down";
    } else if (act == "tap") {
      if (!wantArgs(1)) return fail("tap wants NAME");
      a.kind = ReplayAction::kTap;
      a.key = KeyFromName(w[2]);
      if (a.key < 0) return fail("unknown key '" + w[2] + "'");
    } else if (act == "joy") {
      v2 = 32768;
      if ((!wantArgs(1) && !wantArgs(2)) || !ParseInt(w[2], 0, 65535, &v1) ||
          (args == 2 && !ParseInt(w[3], 0, 65535, &v2)))
        return fail("joy wants X [Y] in 0..65535");
      a.kind = ReplayAction::kJoy;
      a.x = static_cast<int>(v1);
      a.y = static_cast<int>(v2);
    } else if (act == "joybuttons" || act == "joytap") {
      if (!wantArgs(1) || !ParsePadButtons(w[2], &a.bits) || (act == "joytap" && a.bits == 0))
        return fail(act + " wants a decimal mask or button names joined by '+'");
      a.kind = act == "joytap" ? ReplayAction::kJoyTap : ReplayAction::kJoyButtons;
    } else if (act == "joyplug") {
      if (!wantArgs(1) || (w[2] != "on" && w[2] != "off")) return fail("joyplug wants on or off");
      a.kind = ReplayAction::kJoyPlug;
      a.on = w[2] == "on";
    } else if (act == "focus") {
      if (!wantArgs(1) || (w[2] != "on" && w[2] != "off")) return fail("focus wants on or off");
      a.kind = ReplayAction::kFocus;
      a.on = w[2] == "on";
    } else if (act == "shot") {
      if (!wantArgs(1)) return fail("shot wants FILE");
      a.kind = ReplayAction::kShot;
      a.file = (w[2][0] == '/' || baseFolder.empty()) ? w[2] : baseFolder + "/" + w[2];
    } else {
      return fail("unknown action '" + act + "'");
    }
    script->actions.push_back(a);
  }
  return true;
}
