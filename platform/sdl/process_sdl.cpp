// Process services of the real game over SDL2.
#include "platform/platform.h"

#include "platform/common/user_folder.h"

#include <SDL.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace plat {

bool ExecutableFolder(char* buf, std::size_t size) {
  if (size == 0) return false;
  buf[0] = '\0';
  char* base = SDL_GetBasePath();  // ends with a separator
  if (!base) return false;
  std::size_t n = std::strlen(base);
  while (n > 1 && base[n - 1] == '/') --n;
  if (n >= size) n = size - 1;
  std::memcpy(buf, base, n);
  buf[n] = '\0';
  SDL_free(base);
  return true;
}

std::uint64_t ClockMicroseconds() {
  static const std::uint64_t freq = SDL_GetPerformanceFrequency();
  const std::uint64_t c = SDL_GetPerformanceCounter();
  // Split so that the multiplication cannot overflow however long the machine has run.
  return (c / freq) * 1000000u + (c % freq) * 1000000u / freq;
}

void ShowMessageBox(const char* caption, const char* text) {
  // Over the game window when there is one (SDL picks the focused window when given none).
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, SDL_GetMouseFocus()) != 0) {
    // No display to show it on: the text must still reach the player.
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
}

namespace {

// The desktop's opener, looked up on PATH as the shell would.
bool OpenerOnPath() {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string all = path;
  for (std::size_t start = 0; start <= all.size();) {
    std::size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    std::string dir = all.substr(start, end - start);
    if (dir.empty()) dir = ".";
    if (access((dir + "/xdg-open").c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// A file path as a file:// address: every byte but the unreserved ones and '/' escaped, so
// that a folder with blanks or '#' in its name still opens.
std::string FileUrl(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

}  // namespace

// Mended: without xdg-open the page used to be "opened" with success and nothing showed;
// the opener is now looked up first, and its absence is reported to the caller. SDL starts
// it in a process of its own and does not wait for it, so the game never blocks on it.
bool OpenDocument(const char* pathOrUrl) {
  if (!OpenerOnPath()) return false;
  std::string url = pathOrUrl;
  if (!url.empty() && url[0] == '/') url = FileUrl(url);
  return SDL_OpenURL(url.c_str()) == 0;
}

bool UserDataFolder(char* buf, std::size_t size) {
  if (size > 0) buf[0] = '\0';
  bool fromXdg = false;
  std::string base;
  if (!platcommon::DataHome(&base, &fromXdg)) return false;
  std::string folder;
  if (fromXdg || !std::getenv("XDG_DATA_HOME")) {
    // SDL's own per-user folder (an empty organisation: no level between); it creates it.
    char* pref = SDL_GetPrefPath("", "zindorumba");
    if (!pref) return false;
    folder = pref;
    SDL_free(pref);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  } else {
    // An empty or relative XDG_DATA_HOME, which SDL would take as it is.
    folder = base + "/zindorumba";
    if (!platcommon::MakeFolders(folder)) return false;
  }
  return platcommon::CopyWhole(folder, buf, size);
}

}  // namespace plat
