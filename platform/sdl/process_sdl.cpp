// Process services of the real game over SDL2.
#include "platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

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

bool OpenDocument(const char* pathOrUrl) {
  std::string url = pathOrUrl;
  if (!url.empty() && url[0] == '/') url = "file://" + url;
  return SDL_OpenURL(url.c_str()) == 0;
}

}  // namespace plat
