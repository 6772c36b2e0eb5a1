#include "tools/editor/EditorLevel.h"

#include "game/files/LevelMapFormat.h"
#include "game/files/LevelSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace {

short Le16(const std::string& m, std::size_t at) {
  return MapLeInt16(reinterpret_cast<const unsigned char*>(m.data()) + at);
}
float LeFloat(const std::string& m, std::size_t at) {
  return MapLeFloat(reinterpret_cast<const unsigned char*>(m.data()) + at);
}
std::string Name(const std::string& m, std::size_t at) { return std::string(m.c_str() + at, strnlen(m.c_str() + at, kMapNameSize - 1)); }

std::string Number(float v) {
  char b[32];
  std::snprintf(b, sizeof b, "%g", static_cast<double>(v));
  return b;
}

bool SameBricks(const std::vector<LevelBrick>& a, const std::vector<LevelBrick>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::strcmp(a[i].picture->name, b[i].picture->name) != 0 || a[i].left != b[i].left || a[i].top != b[i].top ||
        a[i].strength != b[i].strength || a[i].bonus != b[i].bonus)
      return false;
  return true;
}

}  // namespace

LevelSource EmptyLevel() {
  LevelSource level;
  level.name = "New level";
  level.island = kIslandNames[0];
  level.music = kLevelTrackNames[0];
  level.gravity = 0.04f;
  level.maxBallSpeed = 6;
  level.bounceSpeedStep = 0.25f;
  return level;
}

short StrengthOfPicture(const BrickPicture* p) {
  static const std::map<std::string, short> kStrength = {
      {"crate_dark", 2}, {"plank_dark", 2},   {"big_pale", 2},   {"cube_dark", 2},  {"cube_coconut", 2},
      {"crate_red", 3},  {"big_dark", 3},     {"big_tiki", 4},   {"plank_bamboo", 200},
      {"crate_iron", 950}, {"plank_iron", 950}, {"stone", 999}, {"big_stone", 999}, {"cube_stone", 999},
      {"crate_blue", 0}};
  const auto it = kStrength.find(p->name);
  return it == kStrength.end() ? 1 : it->second;
}

bool LoadLevelDocument(const std::string& path, LevelSource& level, std::string& error) {
  std::string bytes;
  if (!ReadLevelAsMap(path, bytes, error)) return false;
  level = EmptyLevel();
  level.name = path.substr(path.find_last_of('/') + 1);
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return ParseLevelSource(text.str(), level, error);
  }
  level.gravity = LeFloat(bytes, kMapGravityAt);
  level.maxBallSpeed = LeFloat(bytes, kMapMaxBallSpeedAt);
  level.bounceSpeedStep = LeFloat(bytes, kMapBounceSpeedStepAt);
  level.island = Name(bytes, kMapIslandImageAt);
  level.music = Name(bytes, kMapMusicFileAt);
  for (int i = 0; i < kBrickCount; ++i) {
    const std::size_t at = kMapBricksAt + static_cast<std::size_t>(i) * kBrickRecordSize;
    if (!bytes[at + kBrickPresentAt]) continue;
    const short sl = Le16(bytes, at + kBrickSrcLeftAt), st = Le16(bytes, at + kBrickSrcTopAt);
    const BrickPicture* picture = nullptr;
    for (const BrickPicture& p : kBrickPictures)
      if (p.left == sl && p.top == st) picture = &p;
    if (!picture) return error = path + ": crate " + std::to_string(i + 1) + " has no picture of the brick sheets", false;
    level.bricks.push_back(LevelBrick{picture, static_cast<int>(std::lround(LeFloat(bytes, at + kBrickLeftAt))),
                                      static_cast<int>(std::lround(LeFloat(bytes, at + kBrickTopAt))),
                                      Le16(bytes, at + kBrickStrengthAt), Le16(bytes, at + kBrickDropBonusAt)});
  }
  return true;
}

bool CheckLevelPlaces(const LevelSource& level, std::string& why) {
  const std::vector<LevelBrick>& bricks = level.bricks;
  if (bricks.size() > static_cast<std::size_t>(kBrickCount))
    return why = "more than " + std::to_string(kBrickCount) + " crates: a map holds " + std::to_string(kBrickCount), false;
  bool mustClear = false, sealed = false, breaker = false;
  for (const LevelBrick& b : bricks) {
    if (b.left < kFieldLeft || b.left + b.Width() > kFieldRight || b.top < kFieldTop || b.top + b.Height() > kFieldBottom)
      return why = std::string("a ") + b.picture->name + " at x " + std::to_string(b.left) + ", y " +
                   std::to_string(b.top) + " is outside the field",
             false;
    mustClear = mustClear || (b.strength >= 1 && b.strength < 100);
    sealed = sealed || b.strength == 0;
    breaker = breaker || b.bonus == FindBonusKind("GunBat") || b.bonus == FindBonusKind("AutoBreaker");
  }
  for (std::size_t i = 0; i < bricks.size(); ++i)
    for (std::size_t j = i + 1; j < bricks.size(); ++j) {
      const LevelBrick &a = bricks[i], &b = bricks[j];
      if (a.left < b.left + b.Width() && b.left < a.left + a.Width() && a.top < b.top + b.Height() &&
          b.top < a.top + a.Height())
        return why = std::string("a ") + a.picture->name + " at x " + std::to_string(a.left) + ", y " +
                     std::to_string(a.top) + " and a " + b.picture->name + " at x " + std::to_string(b.left) +
                     ", y " + std::to_string(b.top) + " overlap",
               false;
    }
  if (!mustClear) return why = "no crate of strength 1..99: the level would end at once", false;
  if (sealed && !breaker) return why = "sealed crates (strength 0) need a GunBat or AutoBreaker in the level", false;
  return true;
}

bool WriteLevelSource(const LevelSource& level, std::string& text, std::string& why, bool* offGrid) {
  if (offGrid) *offGrid = false;
  if (!CheckLevelPlaces(level, why)) return false;
  std::vector<LevelBrick> bricks = level.bricks;
  std::sort(bricks.begin(), bricks.end(),
            [](const LevelBrick& a, const LevelBrick& b) { return std::tie(a.top, a.left) < std::tie(b.top, b.left); });
  const int top = bricks.front().top;
  int rows = 0;
  for (const LevelBrick& b : bricks) {
    if ((b.left - kFieldLeft) % kCell || (b.top - top) % kCell) {
      if (offGrid) *offGrid = true;
      return why = std::string("a ") + b.picture->name + " at x " + std::to_string(b.left) + ", y " +
                   std::to_string(b.top) + " is off the grid (a source holds grid places only)",
             false;
    }
    rows = std::max(rows, (b.top - top + b.Height()) / kCell);
  }
  // One character a kind of crate (picture, strength, bonus).
  static const char kKeys[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::map<std::tuple<std::string, short, short>, char> keys;
  std::string keyLines;
  std::vector<std::string> grid(static_cast<std::size_t>(rows), std::string(kGridColumns, '.'));
  for (const LevelBrick& b : bricks) {
    const auto kind = std::make_tuple(std::string(b.picture->name), b.strength, b.bonus);
    if (!keys.count(kind)) {
      if (keys.size() + 1 >= sizeof kKeys) return why = "too many kinds of crate for one level", false;
      const char c = kKeys[keys.size()];
      keys[kind] = c;
      keyLines += std::string("brick ") + c + " = " + b.picture->name + " " + std::to_string(b.strength);
      for (const BonusName& n : kBonusNames)
        if (n.kind == b.bonus) keyLines += std::string(" ") + n.name;
      keyLines += "\n";
    }
    const char c = keys[kind];
    for (int dy = 0; dy < b.Height() / kCell; ++dy)
      for (int dx = 0; dx < b.Width() / kCell; ++dx)
        grid[static_cast<std::size_t>((b.top - top) / kCell + dy)][static_cast<std::size_t>((b.left - kFieldLeft) / kCell + dx)] = c;
  }
  text = "# Made with zindo-editor.\nname: " + level.name + "\nisland: " + level.island + "\nmusic: " + level.music +
         "\ngravity: " + Number(level.gravity) + "\nmaxspeed: " + Number(level.maxBallSpeed) +
         "\nbouncestep: " + Number(level.bounceSpeedStep) + "\ntop: " + std::to_string(top) + "\n\n" + keyLines +
         "\ngrid:\n";
  for (const std::string& row : grid) text += row + "\n";
  // The game's own reader decides: what it refuses is refused here, with its reason.
  LevelSource back;
  std::string error;
  if (!ParseLevelSource(text, back, error)) return why = error.substr(error.find(": ") + 2), false;
  if (!SameBricks(back.bricks, bricks))
    return why = "crates of one kind touch in a way the text cannot tell apart; give one another kind", false;
  return true;
}
