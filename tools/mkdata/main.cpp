// zindo-mkdata OUTDIR [pictures|sounds|levels ...]: writes the game data beside the executable.
#include "tools/mkdata/MkData.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zindo-mkdata OUTDIR [pictures|sounds|levels ...]\n");
    return 2;
  }
  const std::string out = argv[1];
  auto wanted = [&](const char* part) {
    if (argc == 2) return true;
    for (int i = 2; i < argc; ++i)
      if (std::strcmp(argv[i], part) == 0) return true;
    return false;
  };
  bool ok = true;
  if (wanted("pictures")) ok = WritePictures(out) && ok;
  if (wanted("sounds")) ok = WriteSoundsAndMusic(out) && ok;
  if (wanted("levels")) ok = WriteLevels(out) && ok;
  return ok ? 0 : 1;
}
