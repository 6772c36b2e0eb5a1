// The level maps under data/levels/maps/ and zindo.ini, compiled from the level files of
// levels/ (levelNN.txt, played in the order of their names), each checked first (LevelChecks.h).
#include "tools/mkdata/MkData.h"
#include "game/files/LevelSource.h"
#include "tools/mkdata/levels/LevelChecks.h"

#include "tools/common/BmpWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef ZR_LEVELS_DIR
#error "ZR_LEVELS_DIR must name the level sources folder"
#endif

bool WriteLevels(const std::string& out) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(ZR_LEVELS_DIR, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 9 && name.compare(0, 5, "level") == 0 && it->path().extension() == ".txt")
      files.push_back(it->path());
  }
  if (ec || files.empty()) {
    std::fprintf(stderr, "zindo-mkdata: no level files in %s\n", ZR_LEVELS_DIR);
    return false;
  }
  std::sort(files.begin(), files.end());

  // Every level read and checked before any map is written.
  std::vector<std::pair<std::string, LevelSource>> levels;
  bool ok = true;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    LevelSource level;
    std::string error;
    if (!in || !ParseLevelSource(text.str(), level, error) || !(error = CheckShippedLevel(level)).empty()) {
      std::fprintf(stderr, "zindo-mkdata: %s: %s\n", file.string().c_str(), in ? error.c_str() : "cannot be read");
      ok = false;
    }
    levels.emplace_back(file.filename().string(), level);
  }
  const std::string fault = ok ? CheckShippedSet(levels) : "";
  if (!fault.empty()) std::fprintf(stderr, "zindo-mkdata: %s: %s\n", ZR_LEVELS_DIR, fault.c_str());
  if (!ok || !fault.empty()) return false;

  std::string ini = "[DATA]\r\nlevelcount=" + std::to_string(files.size()) + "\r\n\r\n[LEVELS]\r\n";
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string map = files[i].stem().string() + ".map";
    if (!WriteFileBytes(out + "/data/levels/maps/" + map, BuildLevelMap(levels[i].second))) {
      std::fprintf(stderr, "zindo-mkdata: cannot write the map %s\n", map.c_str());
      return false;
    }
    ini += "L" + std::to_string(i + 1) + "=" + map + "\r\n";
  }
  if (!WriteFileBytes(out + "/zindo.ini", ini)) {
    std::fprintf(stderr, "zindo-mkdata: cannot write zindo.ini\n");
    return false;
  }
  return true;
}
