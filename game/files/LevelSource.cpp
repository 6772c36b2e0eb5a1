#include "game/files/LevelSource.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

const char* const kIslandNames[5] = {"island1.bmp", "island2.bmp", "island3.bmp", "island4.bmp",
                                     "island5.bmp"};
const char* const kLevelTrackNames[4] = {"rumba1.ogg", "rumba2.ogg", "rumba3.ogg", "rumba4.ogg"};

short FindBonusKind(const std::string& name) {
  for (const BonusName& b : kBonusNames)
    if (name == b.name) return b.kind;
  return -1;
}

namespace {

struct BrickKey {
  const BrickPicture* picture = nullptr;
  short strength = 0;
  short bonus = -1;
  bool used = false;
};

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return s.substr(a, b - a);
}

bool ParseFloat(const std::string& s, float& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtof(s.c_str(), &end);
  return *end == '\0';
}

bool ParseInt(const std::string& s, long lo, long hi, long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtol(s.c_str(), &end, 10);
  return *end == '\0' && v >= lo && v <= hi;
}

bool IsBrickChar(char c) { return c > ' ' && c < 127 && c != '.' && c != '#'; }

// "a = crate_pale 1 GunBat"
bool ParseBrickKey(const std::string& value, char& key, BrickKey& out, std::string& why) {
  std::size_t eq = value.find('=');
  if (eq == std::string::npos) return why = "brick needs 'CHAR = PICTURE STRENGTH [BONUS]'", false;
  std::string k = Trim(value.substr(0, eq));
  if (k.size() != 1 || !IsBrickChar(k[0])) return why = "brick key must be one character other than . and #", false;
  key = k[0];
  std::istringstream in(value.substr(eq + 1));
  std::string picture, strength, bonus, extra;
  in >> picture >> strength >> bonus >> extra;
  if (!extra.empty()) return why = "too many words after the brick picture", false;
  out.picture = FindBrickPicture(picture.c_str());
  if (!out.picture) return why = "unknown brick picture '" + picture + "'", false;
  long s = 0;
  if (!ParseInt(strength, 0, 999, s)) return why = "brick strength must be 0..999", false;
  out.strength = static_cast<short>(s);
  if (!bonus.empty()) {
    out.bonus = FindBonusKind(bonus);
    if (out.bonus < 0) return why = "unknown bonus '" + bonus + "'", false;
  }
  return true;
}

void Put16(std::string& m, std::size_t at, int v) {
  m[at] = static_cast<char>(v & 0xff);
  m[at + 1] = static_cast<char>((v >> 8) & 0xff);
}

void PutFloat(std::string& m, std::size_t at, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, 4);
  for (int i = 0; i < 4; ++i) m[at + i] = static_cast<char>((bits >> (8 * i)) & 0xff);
}

void PutName(std::string& m, std::size_t at, const std::string& name) {
  // 260 bytes, zero-terminated: the parser keeps names far shorter.
  m.replace(at, name.size(), name);
}

}  // namespace

bool ParseLevelSource(const std::string& text, LevelSource& level, std::string& error) {
  level = LevelSource();
  std::map<char, BrickKey> keys;
  std::vector<std::string> grid;
  int gridLine = 0, top = 44;
  bool inGrid = false, haveGravity = false, haveSpeed = false, haveStep = false;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNo) + ": " + why;
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.erase(hash);
    if (inGrid) {
      grid.push_back(raw);
      continue;
    }
    std::string line = Trim(raw);
    if (line.empty()) continue;
    if (line == "grid:") {
      inGrid = true;
      gridLine = lineNo + 1;
      continue;
    }
    if (line.compare(0, 6, "brick ") == 0 || line.compare(0, 6, "brick\t") == 0) {
      char key = 0;
      BrickKey b;
      std::string why;
      if (!ParseBrickKey(line.substr(6), key, b, why)) return fail(why);
      if (keys.count(key)) return fail(std::string("brick '") + key + "' defined twice");
      keys[key] = b;
      continue;
    }
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) return fail("expected 'setting: value', 'brick ...' or 'grid:'");
    const std::string name = Trim(line.substr(0, colon)), value = Trim(line.substr(colon + 1));
    if (name == "name") {
      level.name = value;
    } else if (name == "island") {
      bool known = false;
      for (const char* island : kIslandNames) known = known || value == island;
      if (!known) return fail("unknown island '" + value + "' (island1.bmp .. island5.bmp)");
      level.island = value;
    } else if (name == "music") {
      bool known = false;
      for (const char* track : kLevelTrackNames) known = known || value == track;
      if (!known) return fail("unknown level track '" + value + "'");
      level.music = value;
    } else if (name == "gravity") {
      if (!ParseFloat(value, level.gravity) || !(level.gravity > 0 && level.gravity <= 0.2f))
        return fail("gravity must be a number above 0, at most 0.2");
      haveGravity = true;
    } else if (name == "maxspeed") {
      if (!ParseFloat(value, level.maxBallSpeed) || !(level.maxBallSpeed >= 2 && level.maxBallSpeed <= 12))
        return fail("maxspeed must be a number from 2 to 12");
      haveSpeed = true;
    } else if (name == "bouncestep") {
      if (!ParseFloat(value, level.bounceSpeedStep) || !(level.bounceSpeedStep > 0 && level.bounceSpeedStep <= 2))
        return fail("bouncestep must be a number above 0, at most 2");
      haveStep = true;
    } else if (name == "top") {
      long t = 0;
      if (!ParseInt(value, kFieldTop, kFieldBottom - kCell, t)) return fail("top must be a whole number 0..358");
      top = static_cast<int>(t);
    } else {
      return fail("unknown setting '" + name + "'");
    }
  }
  lineNo = 0;
  if (level.name.empty() || level.island.empty() || level.music.empty() || !haveGravity || !haveSpeed || !haveStep)
    return fail("name, island, music, gravity, maxspeed and bouncestep are all needed");
  if (!inGrid) return fail("no 'grid:' line");
  while (!grid.empty() && Trim(grid.back()).empty()) grid.pop_back();

  // Each brick fills its cells with its character; a cell not yet taken starts a new brick.
  std::vector<std::string> taken(grid.size(), std::string(kGridColumns, 0));
  for (std::size_t r = 0; r < grid.size(); ++r) {
    lineNo = gridLine + static_cast<int>(r);
    const std::string& row = grid[r];
    for (std::size_t c = 0; c < row.size(); ++c) {
      const char ch = row[c];
      if (ch == ' ' || ch == '.' || ch == '\t') continue;
      if (c >= static_cast<std::size_t>(kGridColumns)) return fail("row wider than 28 cells");
      if (taken[r][c]) continue;
      auto it = keys.find(ch);
      if (it == keys.end()) return fail(std::string("no brick '") + ch + "' defined");
      BrickKey& key = it->second;
      key.used = true;
      const int w = (key.picture->right - key.picture->left) / kCell;
      const int h = (key.picture->bottom - key.picture->top) / kCell;
      for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx) {
          const std::size_t rr = r + dy, cc = c + dx;
          if (rr >= grid.size() || cc >= grid[rr].size() || cc >= static_cast<std::size_t>(kGridColumns) ||
              grid[rr][cc] != ch || taken[rr][cc])
            return fail(std::string("brick '") + ch + "' at column " + std::to_string(c + 1) + " needs " +
                        std::to_string(w) + " x " + std::to_string(h) + " cells of '" + ch + "'");
          taken[rr][cc] = 1;
        }
      LevelBrick b{key.picture, kFieldLeft + static_cast<int>(c) * kCell, top + static_cast<int>(r) * kCell,
                   key.strength, key.bonus};
      if (b.top + b.Height() > kFieldBottom) return fail("brick below the lowest allowed row (y 380)");
      level.bricks.push_back(b);
    }
  }
  lineNo = 0;
  if (level.bricks.size() > static_cast<std::size_t>(kBrickCount)) return fail("more than 200 bricks");
  for (const auto& k : keys)
    if (!k.second.used) return fail(std::string("brick '") + k.first + "' is defined but not placed");
  bool mustClear = false, blocked = false, breaker = false;
  for (const LevelBrick& b : level.bricks) {
    mustClear = mustClear || (b.strength >= 1 && b.strength < 100);
    blocked = blocked || b.strength == 0;
    breaker = breaker || b.bonus == FindBonusKind("GunBat") || b.bonus == FindBonusKind("AutoBreaker");
  }
  if (!mustClear) return fail("no brick of strength 1..99: the level would end at once");
  if (blocked && !breaker) return fail("strength-0 bricks need a GunBat or AutoBreaker bonus in the level");
  return true;
}

std::string BuildLevelMap(const LevelSource& level) {
  std::string m(kLevelMapSize, '\0');
  PutFloat(m, kMapGravityAt, level.gravity);
  PutFloat(m, kMapMaxBallSpeedAt, level.maxBallSpeed);
  PutFloat(m, kMapBounceSpeedStepAt, level.bounceSpeedStep);
  PutName(m, kMapIslandImageAt, level.island);
  PutName(m, kMapBrickSetNameAt, "planche1.bmp");
  PutName(m, kMapMusicFileAt, level.music);
  PutName(m, kMapGrassOverlayAt, "herbe.bmp");
  for (std::size_t i = 0; i < level.bricks.size() && i < static_cast<std::size_t>(kBrickCount); ++i) {
    const LevelBrick& b = level.bricks[i];
    const std::size_t at = kMapBricksAt + i * kBrickRecordSize;
    Put16(m, at + kBrickSrcLeftAt, b.picture->left);
    Put16(m, at + kBrickSrcRightAt, b.picture->right);
    Put16(m, at + kBrickSrcTopAt, b.picture->top);
    Put16(m, at + kBrickSrcBottomAt, b.picture->bottom);
    PutFloat(m, at + kBrickLeftAt, static_cast<float>(b.left));
    PutFloat(m, at + kBrickTopAt, static_cast<float>(b.top));
    PutFloat(m, at + kBrickRightAt, static_cast<float>(b.left + b.Width()));
    PutFloat(m, at + kBrickBottomAt, static_cast<float>(b.top + b.Height()));
    m[at + kBrickAliveAt] = 1;  // alive: the loader's placement check applies to it
    m[at + kBrickPresentAt] = 1;
    PutFloat(m, at + kBrickCentreOffsetXAt, b.Width() / 2.0f);
    PutFloat(m, at + kBrickCentreOffsetYAt, b.Height() / 2.0f);
    Put16(m, at + kBrickDropBonusAt, b.bonus);
    Put16(m, at + kBrickStrengthAt, b.strength);
  }
  return m;
}
