#include "engine/services/ReplaceFile.h"

#include <cstdio>
#include <string>
#include <unistd.h>

// Mended: a write that failed half way (disk full, a crash) used to leave the old file
// destroyed; the bytes now go to a file beside it, renamed over it once complete.
// Mended: the bytes reach the disk before the rename, so a power cut right after a save
// cannot leave an empty file under the old name.
bool ReplaceFile(const char* path, const void* bytes, std::size_t size) {
  const std::string temp = std::string(path) + ".new";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes, 1, size, f) == size;
  ok = std::fflush(f) == 0 && ok;
  ok = fsync(fileno(f)) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
