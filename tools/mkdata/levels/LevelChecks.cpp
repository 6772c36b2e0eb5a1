#include "tools/mkdata/levels/LevelChecks.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

struct Box {
  int left, top, right, bottom;
};
bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
Box BoxOf(const LevelBrick& b) { return {b.left, b.top, b.left + b.Width(), b.top + b.Height()}; }

bool MustClear(int strength) { return strength >= 1 && strength < 100; }
// In practice a wall for the ball: no damage, or hundreds of hits.
bool BlocksBall(int strength) { return strength <= 0 || strength >= 100; }

std::string At(const LevelBrick& b) { return std::to_string(b.left) + ", " + std::to_string(b.top); }

// The cells (2 pixels) of the 20-pixel ball's top-left corner that it reaches from just above
// the bat, flying round the walls (bricks in the way that it can break, break on the way).
class Reach {
 public:
  explicit Reach(const std::vector<LevelBrick>& bricks) : blocked_(kCols * kRows), seen_(kCols * kRows) {
    for (const LevelBrick& b : bricks)
      if (BlocksBall(b.strength))
        ForCellsNear(BoxOf(b), 0, [&](int c, const Box& ball) { blocked_[c] |= Overlap(ball, BoxOf(b)); });
    std::vector<int> todo;
    for (int cx = 0; cx < kCols; ++cx) todo.push_back((kRows - 1) * kCols + cx);
    while (!todo.empty()) {
      const int c = todo.back();
      todo.pop_back();
      if (seen_[c] || blocked_[c]) continue;
      seen_[c] = 1;
      const int cx = c % kCols, cy = c / kCols;
      if (cx > 0) todo.push_back(c - 1);
      if (cx < kCols - 1) todo.push_back(c + 1);
      if (cy > 0) todo.push_back(c - kCols);
      if (cy < kRows - 1) todo.push_back(c + kCols);
    }
  }
  // A reachable ball touches the box.
  bool Touches(const Box& r) const {
    bool touched = false;
    ForCellsNear(r, 1, [&](int c, const Box& ball) { touched = touched || (seen_[c] && Overlap(ball, r)); });
    return touched;
  }

 private:
  static constexpr int kStep = 2, kBall = 20;
  static constexpr int kCols = (kFieldRight - kBall - kFieldLeft) / kStep + 1, kRows = 430 / kStep;
  // Calls f(cell, the ball there grown by `grow`) for every cell whose ball may overlap r.
  template <class F>
  static void ForCellsNear(const Box& r, int grow, F f) {
    const int x0 = std::max(0, (r.left - kBall - grow - kFieldLeft) / kStep);
    const int x1 = std::min(kCols - 1, (r.right + grow - kFieldLeft) / kStep);
    const int y0 = std::max(0, (r.top - kBall - grow) / kStep), y1 = std::min(kRows - 1, (r.bottom + grow) / kStep);
    for (int cy = y0; cy <= y1; ++cy)
      for (int cx = x0; cx <= x1; ++cx) {
        const int x = kFieldLeft + cx * kStep, y = cy * kStep;
        f(cy * kCols + cx, Box{x - grow, y - grow, x + kBall + grow, y + kBall + grow});
      }
  }
  std::vector<char> blocked_, seen_;
};

// Sealed, to clear, hard, iron bands, stone.
int ClassOf(int s) { return s == 0 ? 0 : s < 100 ? 1 : s < 900 ? 2 : s < 999 ? 3 : 4; }

}  // namespace

std::string CheckShippedLevel(const LevelSource& level) {
  if (level.gravity > 0.1f) return "gravity above 0.1: too strong for the ball rules";
  if (level.maxBallSpeed < 4 || level.maxBallSpeed > 9) return "maxspeed outside 4..9";
  if (level.bounceSpeedStep >= 1) return "bouncestep of 1 or more";
  const short gun = FindBonusKind("GunBat"), autoBreaker = FindBonusKind("AutoBreaker");
  const Reach reach(level.bricks);
  int breakers = 0;
  bool sealed = false, anyAutoBreaker = false;
  for (const LevelBrick& b : level.bricks) {
    const std::string name = b.picture->name;
    const int s = b.strength;
    // A player tells the classes apart by their look.
    if ((name.find("stone") != std::string::npos) != (s == 999) ||
        (name.find("iron") != std::string::npos) != (s >= 900 && s < 999) || (name == "crate_blue") != (s == 0))
      return name + " of strength " + std::to_string(s) + ": stone is 999, iron bands 900..998, the blue crate 0";
    if (MustClear(s) && !reach.Touches(BoxOf(b))) return "the ball cannot reach the brick at " + At(b);
    sealed = sealed || s == 0;
    anyAutoBreaker = anyAutoBreaker || b.bonus == autoBreaker;
    breakers += MustClear(s) && (b.bonus == gun || b.bonus == autoBreaker);
  }
  if (!sealed) return "";
  // A capsule missed is gone: a second chance at the gun or the auto-breaker.
  if (breakers < 2) return "strength-0 bricks and fewer than two gun or auto-breaker bricks to clear";
  if (anyAutoBreaker) return "";
  for (const LevelBrick& z : level.bricks) {
    if (z.strength != 0) continue;
    const Box zb = BoxOf(z);
    bool clearShot = false;
    for (int x = zb.left; x <= zb.right && !clearShot; ++x)
      clearShot = std::none_of(level.bricks.begin(), level.bricks.end(), [&](const LevelBrick& o) {
        const Box ob = BoxOf(o);
        return o.strength >= 900 && ob.top >= zb.bottom && ob.left <= x && x <= ob.right;
      });
    if (!clearShot) return "no free line of fire from below to the sealed brick at " + At(z);
  }
  return "";
}

std::string CheckShippedSet(const std::vector<std::pair<std::string, LevelSource>>& levels) {
  std::map<std::string, std::pair<int, std::string>> strengthOf;  // picture: strength, first file
  std::set<int> bonuses, classes;
  auto same = [](const LevelBrick& a, const LevelBrick& b) {
    return a.picture == b.picture && a.left == b.left && a.top == b.top && a.strength == b.strength &&
           a.bonus == b.bonus;
  };
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const auto& [file, level] = levels[i];
    for (const LevelBrick& b : level.bricks) {
      const auto first = strengthOf.emplace(b.picture->name, std::make_pair(b.strength, file)).first->second;
      if (first.first != b.strength)
        return file + ": " + b.picture->name + " of strength " + std::to_string(b.strength) + ", in " + first.second +
               " " + std::to_string(first.first) + ": one strength a picture";
      if (b.bonus >= 0) bonuses.insert(b.bonus);
      classes.insert(ClassOf(b.strength));
    }
    for (std::size_t j = 0; j < i; ++j)
      if (std::equal(level.bricks.begin(), level.bricks.end(), levels[j].second.bricks.begin(),
                     levels[j].second.bricks.end(), same))
        return file + ": the same bricks as " + levels[j].first;
  }
  if (bonuses.size() != static_cast<std::size_t>(kBonusKindCount)) return "a bonus kind that no level drops";
  if (classes.size() != 5) return "a brick class (sealed, to clear, hard, iron, stone) that no level has";
  return "";
}
