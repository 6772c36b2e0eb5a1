#include "game/files/LevelSet.h"

#include "game/files/DataConfig.h"
#include "game/files/LevelMapFormat.h"
#include "game/files/LevelSource.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

CustomLevelSet customSet;
bool customInUse = false;

bool ReadWhole(const std::string& path, std::string& text) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  text = s.str();
  return static_cast<bool>(in) || in.eof();
}

bool EndsWith(const std::string& s, const char* end) {
  const std::size_t n = std::strlen(end);
  return s.size() >= n && s.compare(s.size() - n, n, end) == 0;
}

float LeFloat(const std::string& m, std::size_t at) {
  return MapLeFloat(reinterpret_cast<const unsigned char*>(m.data()) + at);
}
short Le16(const std::string& m, std::size_t at) {
  return MapLeInt16(reinterpret_cast<const unsigned char*>(m.data()) + at);
}

// A map as the game's loader takes it: its size, finite physics, and at least one brick to
// clear that the loader keeps (inside the screen, offsets not negative).
bool CheckMap(const std::string& m, std::string& why) {
  if (m.size() != static_cast<std::size_t>(kLevelMapSize))
    return why = "a map is " + std::to_string(kLevelMapSize) + " bytes, this one " + std::to_string(m.size()), false;
  for (int at : {kMapGravityAt, kMapMaxBallSpeedAt, kMapBounceSpeedStepAt})
    if (!std::isfinite(LeFloat(m, at))) return why = "its physics are not numbers", false;
  int toClear = 0;
  for (int i = 0; i < kBrickCount; ++i) {
    const std::size_t b = kMapBricksAt + static_cast<std::size_t>(i) * kBrickRecordSize;
    if (!m[b + kBrickPresentAt] || !m[b + kBrickAliveAt]) continue;
    const float l = LeFloat(m, b + kBrickLeftAt), t = LeFloat(m, b + kBrickTopAt), r = LeFloat(m, b + kBrickRightAt),
                bo = LeFloat(m, b + kBrickBottomAt);
    const bool inside = 0 < l && l < 798 && 0 <= t && t < 598 && 0 < r && r < 798 && 0 <= bo && bo < 598;
    const short s = Le16(m, b + kBrickStrengthAt);
    if (inside && s >= 1 && s < 100) ++toClear;
  }
  if (toClear == 0) return why = "no brick of strength 1..99 inside the screen: the level would end at once", false;
  return true;
}

std::string SetName(const fs::path& p) {
  std::string name;
  for (char c : p.stem().string())
    name += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  return name.empty() ? "custom" : name;
}

// The maps of the set, made once when it is chosen: a file changed or removed later does not
// change the game being played.
std::vector<std::string> customMaps;

bool CheckAll(CustomLevelSet& set, std::string& error) {
  std::vector<std::string> maps(set.files.size());
  for (std::size_t i = 0; i < set.files.size(); ++i)
    if (!ReadLevelAsMap(set.files[i], maps[i], error)) return false;
  customSet = set;
  customMaps = maps;
  customInUse = true;
  return true;
}

}  // namespace

bool ReadLevelAsMap(const std::string& path, std::string& bytes, std::string& error) {
  std::string text;
  if (!ReadWhole(path, text)) return error = path + ": cannot be read", false;
  std::string why;
  if (EndsWith(path, ".txt")) {
    LevelSource level;
    if (!ParseLevelSource(text, level, why)) return error = path + ": " + why, false;
    bytes = BuildLevelMap(level);
    return true;
  }
  if (!CheckMap(text, why)) return error = path + ": " + why, false;
  bytes = text;
  return true;
}

bool UseLevelFile(const std::string& file, std::string& error) {
  if (!EndsWith(file, ".txt") && !EndsWith(file, ".map"))
    return error = file + ": a level is a source (.txt) or a map (.map)", false;
  CustomLevelSet set;
  set.name = SetName(file);
  set.files.push_back(file);
  return CheckAll(set, error);
}

bool UseLevelFolder(const std::string& folder, std::string& error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return error = folder + ": not a folder", false;
  CustomLevelSet set;
  fs::path dir(folder);
  set.name = SetName(dir.filename().empty() ? dir.parent_path() : dir);
  std::string list;
  const fs::path listPath = dir / "order.txt";
  if (ReadWhole(listPath.string(), list)) {
    std::istringstream in(list);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
      ++lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t hash = line.find('#');
      if (hash != std::string::npos) line.erase(hash);
      line.erase(0, line.find_first_not_of(" \t"));
      line.erase(line.find_last_not_of(" \t") + 1);
      if (line.empty()) continue;
      if (line.find('/') != std::string::npos || line == "order.txt")
        return error = listPath.string() + ": line " + std::to_string(lineNo) + ": a level's file name, in this folder",
               false;
      if (!fs::is_regular_file(dir / line, ec))
        return error = listPath.string() + ": line " + std::to_string(lineNo) + ": no file '" + line + "'", false;
      set.files.push_back((dir / line).string());
    }
  } else {
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name != "order.txt" && (EndsWith(name, ".txt") || EndsWith(name, ".map"))) set.files.push_back(it->path().string());
    }
    std::sort(set.files.begin(), set.files.end());
  }
  if (set.files.empty()) return error = folder + ": no levels here (level sources .txt or maps .map)", false;
  return CheckAll(set, error);
}

const CustomLevelSet* CustomLevels() { return customInUse ? &customSet : nullptr; }

std::int32_t LevelCountOfSet() {
  return customInUse ? static_cast<std::int32_t>(customSet.files.size()) : GetDataInt("levelcount");
}

bool CustomLevelMapBytes(std::int32_t n, std::string& bytes) {
  if (!customInUse || n < 1 || n > static_cast<std::int32_t>(customMaps.size())) return false;
  bytes = customMaps[static_cast<std::size_t>(n - 1)];
  return true;
}

std::string SaveFileOfSet(const char* name) {
  if (!customInUse) return name;
  std::string base = name;
  const std::size_t dot = base.rfind('.');
  return base.substr(0, dot) + "-" + customSet.name + (dot == std::string::npos ? "" : base.substr(dot));
}
