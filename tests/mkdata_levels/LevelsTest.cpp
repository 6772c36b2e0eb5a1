// The level maps and zindo.ini as the game reads them: the maps go through the game's own
// loader (placement check included) into the live tables; the brick rectangles of the brick
// sheets, playability, and the level file reader's faults.
#include "engine/graphics/KGraphic.h"
#include "engine/services/KIniFile.h"
#include "engine/services/Services.h"
#include "game/playscreen/Levels.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "platform/script/script_platform.h"
#include "tools/mkdata/levels/LevelSource.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

namespace {

int RunMkData(const std::string& out, const char* part) {
  const std::string cmd = std::string("\"") + ZR_MKDATA + "\" \"" + out + "\" " + part + " 2>/dev/null";
  return std::system(cmd.c_str());
}

std::string Name(const std::string& m, std::size_t at) { return std::string(m.c_str() + at); }

struct Rect {
  float left, top, right, bottom;
};

// One brick as the game's loader keeps it.
struct MapBrick {
  int srcLeft, srcRight, srcTop, srcBottom;
  Rect r;
  int bonus, strength;
};

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool MustClear(int strength) { return strength >= 1 && strength < 100; }
// In practice a wall for the ball: no damage, or hundreds of hits.
bool BlocksBall(int strength) { return strength <= 0 || strength >= 100; }

// Cells (2 pixels) of the ball's top-left corner it can reach from above the bat, flying
// around walls (bricks it cannot break in practice; breakable ones break on the way).
class Reach {
 public:
  static constexpr int kStep = 2, kBall = 20;
  explicit Reach(const std::vector<MapBrick>& bricks) {
    const int w = W(), h = H();
    blocked_.assign(w * h, 0);
    seen_.assign(w * h, 0);
    for (const MapBrick& b : bricks) {
      if (!BlocksBall(b.strength)) continue;
      for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx) {
          const float x = 170.0f + cx * kStep, y = cy * kStep;
          if (Overlap({x, y, x + kBall, y + kBall}, b.r)) blocked_[cy * w + cx] = 1;
        }
    }
    std::vector<int> todo;
    for (int cx = 0; cx < w; ++cx) todo.push_back((h - 1) * w + cx);  // just above the bat
    while (!todo.empty()) {
      const int c = todo.back();
      todo.pop_back();
      if (seen_[c] || blocked_[c]) continue;
      seen_[c] = 1;
      const int cx = c % w, cy = c / w;
      if (cx > 0) todo.push_back(c - 1);
      if (cx < w - 1) todo.push_back(c + 1);
      if (cy > 0) todo.push_back(c - w);
      if (cy < h - 1) todo.push_back(c + w);
    }
  }
  // A reachable ball position touches the brick.
  bool Touches(const Rect& r) const {
    const int x0 = std::max(0, static_cast<int>(r.left - kBall - 2 - 170) / kStep);
    const int x1 = std::min(W() - 1, static_cast<int>(r.right + 2 - 170) / kStep);
    const int y0 = std::max(0, static_cast<int>(r.top - kBall - 2) / kStep);
    const int y1 = std::min(H() - 1, static_cast<int>(r.bottom + 2) / kStep);
    for (int cy = y0; cy <= y1; ++cy)
      for (int cx = x0; cx <= x1; ++cx) {
        const float x = 170.0f + cx * kStep, y = cy * kStep;
        if (seen_[cy * W() + cx] && Overlap({x - 1, y - 1, x + kBall + 1, y + kBall + 1}, r)) return true;
      }
    return false;
  }

 private:
  static int W() { return (786 - kBall - 170) / kStep + 1; }
  static int H() { return 430 / kStep; }
  std::vector<std::uint8_t> blocked_, seen_;
};

class GeneratedLevels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ASSERT_EQ(RunMkData(dir_->Path(), "levels"), 0);
    // The game's loader looks beside the executable; the pictures and music it then asks for
    // are not generated here, and the boxes saying so are not shown.
    script::SetRoot(dir_->Path());
    script::SetEchoBoxes(false);
    InitEngineServices();
    KGraphic::SetScreenSize(800, 600, 16);
    ASSERT_TRUE(ini_.Load((dir_->Path() + "/zindo.ini").c_str()));
    count_ = ini_.GetInt("DATA", "levelcount");
    for (int n = 1; n <= count_; ++n) {
      char name[260];
      ASSERT_TRUE(ini_.GetString("LEVELS", ("L" + std::to_string(n)).c_str(), name, sizeof name)) << n;
      names_.push_back(name);
    }
  }
  static void TearDownTestSuite() {
    FreeLevelImages();
    stopMusic();
    delete dir_;
    dir_ = nullptr;
  }
  static std::string MapPath(int n) { return dir_->Path() + "/data/levels/maps/" + names_[n - 1]; }
  static std::string Map(int n) { return ReadFileBytes(MapPath(n)); }
  // Level n read by the game's loader: the bricks it keeps standing, in slot order.
  static std::vector<MapBrick> Load(int n) {
    std::vector<MapBrick> kept;
    EXPECT_TRUE(ReadLevelFile(MapPath(n).c_str())) << names_[n - 1];
    for (const Brick& b : bricks) {
      if (!b.present) continue;
      EXPECT_EQ(b.alive, 1);
      kept.push_back({b.srcLeft, b.srcRight, b.srcTop, b.srcBottom, {b.left, b.top, b.right, b.bottom}, b.dropBonus,
                      b.strength});
    }
    return kept;
  }
  static LevelSource Source(int n) {
    LevelSource level;
    std::string error;
    const std::string stem = names_[n - 1].substr(0, names_[n - 1].size() - 4);
    EXPECT_TRUE(ParseLevelSource(ReadFileBytes(std::string(ZR_LEVELS_DIR) + "/" + stem + ".txt"), level, error))
        << error;
    return level;
  }

  static TempDir* dir_;
  static KIniFile ini_;
  static int count_;
  static std::vector<std::string> names_;
};
TempDir* GeneratedLevels::dir_ = nullptr;
KIniFile GeneratedLevels::ini_;
int GeneratedLevels::count_ = 0;
std::vector<std::string> GeneratedLevels::names_;

TEST_F(GeneratedLevels, IniNamesEveryLevelWithCrLfLines) {
  EXPECT_GE(count_, 30);
  EXPECT_EQ(std::set<std::string>(names_.begin(), names_.end()).size(), names_.size());
  const std::string ini = ReadFileBytes(dir_->Path() + "/zindo.ini");
  for (std::size_t i = 0; i < ini.size(); ++i)
    if (ini[i] == '\n') {
      ASSERT_TRUE(i > 0 && ini[i - 1] == '\r') << "bare line feed at " << i;
    }
  char none[260];
  EXPECT_FALSE(ini_.GetString("LEVELS", ("L" + std::to_string(count_ + 1)).c_str(), none, sizeof none));
  for (int n = 1; n <= count_; ++n) EXPECT_EQ(Map(n).size(), 13052u) << names_[n - 1];
}

TEST_F(GeneratedLevels, LoaderKeepsExactlyTheBricksOfTheSource) {
  for (int n = 1; n <= count_; ++n) {
    SCOPED_TRACE(names_[n - 1]);
    const LevelSource src = Source(n);
    const std::vector<MapBrick> kept = Load(n);
    ASSERT_EQ(kept.size(), src.bricks.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
      const LevelBrick& want = src.bricks[i];
      const MapBrick& got = kept[i];
      EXPECT_EQ(std::make_tuple(got.srcLeft, got.srcTop, got.r.left, got.r.top, got.strength, got.bonus),
                std::make_tuple(want.picture->left, want.picture->top, static_cast<float>(want.left),
                                static_cast<float>(want.top), want.strength, want.bonus))
          << "brick " << i;
    }
    // Physics that suit the ball rules, and names of real data files.
    EXPECT_EQ(gravity, src.gravity);
    EXPECT_EQ(maxBallSpeed, src.maxBallSpeed);
    EXPECT_EQ(bounceSpeedStep, src.bounceSpeedStep);
    EXPECT_TRUE(gravity > 0.0f && gravity <= 0.1f) << gravity;
    EXPECT_TRUE(maxBallSpeed >= 4.0f && maxBallSpeed <= 9.0f) << maxBallSpeed;
    EXPECT_TRUE(bounceSpeedStep > 0.0f && bounceSpeedStep < 1.0f) << bounceSpeedStep;
    const std::set<std::string> islands = {"island1.bmp", "island2.bmp", "island3.bmp", "island4.bmp", "island5.bmp"};
    const std::set<std::string> tracks = {"rumba1.ogg", "rumba2.ogg", "rumba3.ogg", "rumba4.ogg"};
    EXPECT_TRUE(islands.count(levelMap.islandImage)) << levelMap.islandImage;
    EXPECT_TRUE(tracks.count(levelMap.musicFile)) << levelMap.musicFile;
    EXPECT_EQ(Name(Map(n), kMapGrassOverlayAt), "herbe.bmp");  // as stored; the loader sets it anyway
    // Run-time fields start at zero (the level record holds the map as read).
    for (const Brick& b : levelMap.bricks) {
      EXPECT_EQ(b.hits, 0);
      EXPECT_EQ(b.explosionTimer, 0);
      EXPECT_EQ(b.explosionSrcX, 0);
      EXPECT_EQ(b.explosionSrcY, 0);
    }
  }
}

TEST_F(GeneratedLevels, BricksAreSheetPicturesInsideTheFieldWithoutOverlap) {
  for (int n = 1; n <= count_; ++n) {
    SCOPED_TRACE(names_[n - 1]);
    const std::vector<MapBrick> kept = Load(n);
    for (std::size_t i = 0; i < kept.size(); ++i) {
      const MapBrick& b = kept[i];
      const bool onSheet = std::any_of(std::begin(kBrickPictures), std::end(kBrickPictures), [&](const BrickPicture& p) {
        return p.left == b.srcLeft && p.right == b.srcRight && p.top == b.srcTop && p.bottom == b.srcBottom;
      });
      EXPECT_TRUE(onSheet) << "brick " << i;
      EXPECT_EQ(b.r.right - b.r.left, b.srcRight - b.srcLeft);
      EXPECT_EQ(b.r.bottom - b.r.top, b.srcBottom - b.srcTop);
      EXPECT_GE(b.r.left, 170.0f);
      EXPECT_LE(b.r.right, 786.0f);
      EXPECT_LE(b.r.bottom, 380.0f);  // far above the bat at 463, even after a quake
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(b.r, kept[j].r)) << i << " and " << j;
    }
  }
}

TEST_F(GeneratedLevels, EveryLevelCanBeCleared) {
  for (int n = 1; n <= count_; ++n) {
    SCOPED_TRACE(names_[n - 1]);
    const std::vector<MapBrick> kept = Load(n);
    const Reach reach(kept);
    int mustClear = 0, sealed = 0, breakers = 0;
    bool autoBreaker = false;
    for (const MapBrick& b : kept) {
      if (MustClear(b.strength)) {
        ++mustClear;
        EXPECT_TRUE(reach.Touches(b.r)) << "unreachable brick at " << b.r.left << ", " << b.r.top;
      }
      sealed += b.strength == 0;
      if ((b.bonus == 8 || b.bonus == 4) && MustClear(b.strength) && reach.Touches(b.r)) ++breakers;
      autoBreaker = autoBreaker || b.bonus == 4;
    }
    EXPECT_GT(mustClear, 0);
    if (sealed == 0) continue;
    // Bricks the ball cannot break: a second chance at the gun or auto-breaker if the first
    // capsule is missed, and without an auto-breaker, a free line of fire from below.
    EXPECT_GE(breakers, 2);
    if (autoBreaker) continue;
    for (const MapBrick& z : kept) {
      if (z.strength != 0) continue;
      bool clearShot = false;
      for (float x = z.r.left; x <= z.r.right && !clearShot; x += 1) {
        clearShot = std::none_of(kept.begin(), kept.end(), [&](const MapBrick& o) {
          return o.strength >= 900 && o.r.top >= z.r.bottom && o.r.left <= x && x <= o.r.right;
        });
      }
      EXPECT_TRUE(clearShot) << "sealed brick at " << z.r.left << ", " << z.r.top;
    }
  }
}

TEST_F(GeneratedLevels, TheSetShowsEveryBrickClassAndBonusAndNoTwoLevelsMatch) {
  std::set<int> bonuses, classes;
  std::set<std::string> layouts;
  for (int n = 1; n <= count_; ++n) {
    const std::string m = Map(n);
    layouts.insert(m.substr(1052));
    for (const MapBrick& b : Load(n)) {
      if (b.bonus >= 0) bonuses.insert(b.bonus);
      classes.insert(b.strength == 0 ? 0 : b.strength < 100 ? 1 : b.strength < 900 ? 2 : b.strength < 999 ? 3 : 4);
    }
  }
  EXPECT_EQ(layouts.size(), static_cast<std::size_t>(count_));
  EXPECT_EQ(classes, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(bonuses, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 13, 14, 15, 16, 20, 21, 22, 23}));
}

// A player tells the brick classes apart by their look: stone never breaks, iron bands stop
// bullets, and blue crates are the sealed ones only a gun or the auto-breaker clears. A
// picture takes the same number of hits in every level.
TEST_F(GeneratedLevels, PicturesShowTheBrickClass) {
  std::map<std::string, int> strengthOf;
  for (int n = 1; n <= count_; ++n) {
    SCOPED_TRACE(names_[n - 1]);
    for (const LevelBrick& b : Source(n).bricks) {
      const std::string name = b.picture->name;
      EXPECT_EQ(strengthOf.emplace(name, b.strength).first->second, b.strength) << name;
      EXPECT_EQ(name.find("stone") != std::string::npos, b.strength == 999) << name << " " << b.strength;
      EXPECT_EQ(name.find("iron") != std::string::npos, b.strength >= 900 && b.strength < 999) << name;
      EXPECT_EQ(name == "crate_blue", b.strength == 0) << name << " " << b.strength;
    }
  }
}

TEST_F(GeneratedLevels, GenerationIsRepeatable) {
  TempDir again;
  ASSERT_EQ(RunMkData(again.Path(), "levels"), 0);
  EXPECT_EQ(ReadFileBytes(again.Path() + "/zindo.ini"), ReadFileBytes(dir_->Path() + "/zindo.ini"));
  for (int n = 1; n <= count_; ++n)
    EXPECT_EQ(ReadFileBytes(again.Path() + "/data/levels/maps/" + names_[n - 1]), Map(n)) << names_[n - 1];
}

TEST(LevelGenerator, UnwritableOutputFails) {
  TempDir dir;
  const std::string blocker = dir.Write("file", "x");  // a file where a folder must go
  EXPECT_NE(RunMkData(blocker, "levels"), 0);
}

const char* const kHeader =
    "name: Test\nisland: island1.bmp\nmusic: rumba1.ogg\ngravity: 0.03\nmaxspeed: 6\nbouncestep: 0.2\n";

TEST(LevelSourceReader, ReadsBricksByTheirCells) {
  LevelSource level;
  std::string error;
  const std::string text = std::string(kHeader) +
                           "top: 100\r\nbrick a = crate_pale 1  # comment\nbrick B = big_stone 999\n"
                           "brick g = plank_pale 2 GunBat\nbrick z = cube_blue 0\ngrid:\n"
                           "aaaaBB..gggg\n..z.BB\n\n";
  ASSERT_TRUE(ParseLevelSource(text, level, error)) << error;
  ASSERT_EQ(level.bricks.size(), 5u);
  EXPECT_EQ(level.bricks[0].left, 170);
  EXPECT_EQ(level.bricks[0].top, 100);
  EXPECT_EQ(level.bricks[1].left, 214);
  EXPECT_STREQ(level.bricks[2].picture->name, "big_stone");
  EXPECT_EQ(level.bricks[3].bonus, 8);
  EXPECT_EQ(level.bricks[3].left, 170 + 8 * 22);
  EXPECT_EQ(level.bricks[4].top, 122);
  EXPECT_EQ(level.bricks[4].strength, 0);
  EXPECT_FLOAT_EQ(level.gravity, 0.03f);
  const std::string map = BuildLevelMap(level);
  ASSERT_EQ(map.size(), 13052u);
  EXPECT_EQ(Name(map, 12), "island1.bmp");
  EXPECT_EQ(Name(map, 532), "rumba1.ogg");
  EXPECT_EQ(map[1052 + 60 * 5 + 29], 0);  // slot after the last brick is empty
}

TEST(LevelSourceReader, RejectsFaultsWithTheLine) {
  const std::string h = kHeader;
  const struct {
    std::string text, says;
  } cases[] = {
      {h + "brick a = crate_pale 1\ngrid:\naaa.\n", "line 9"},                       // half a crate
      {h + "brick a = crate_pale 1\ngrid:\nb\n", "no brick 'b'"},                     // undefined
      {h + "brick a = barrel 1\ngrid:\naa\n", "unknown brick picture"},               //
      {h + "brick a = crate_pale 1000\ngrid:\naa\n", "strength"},                     //
      {h + "brick a = crate_pale 1 Magnet\ngrid:\naa\n", "unknown bonus"},            //
      {h + "brick a = big_pale 1\ngrid:\naa\n", "2 x 2 cells"},                       // cut off at the end
      {h + "brick a = crate_pale 1\ngrid:\n" + std::string(30, 'a') + "\n", "28"},    // too wide
      {h + "brick a = stone 999\ngrid:\naa\n", "strength 1..99"},                     // nothing to clear
      {h + "brick a = crate_pale 1\nbrick z = stone 0\ngrid:\naazz\n", "GunBat"},     // sealed, no key
      {h + "brick a = crate_pale 1\nbrick b = crate_red 1\ngrid:\naa\n", "not placed"},
      {h + "brick a = crate_pale 1\ngrid:\n" + std::string(16, '\n') + "aa\n", "y 380"},
      {h + "brick a = cube_pale 1\ngrid:\n" + [] {
         std::string g;
         for (int r = 0; r < 8; ++r) g += std::string(28, 'a') + "\n";
         return g;
       }(), "200"},
      {h + "gravity: -0.05\nbrick a = crate_pale 1\ngrid:\naa\n", "gravity"},
      {"name: X\nbrick a = crate_pale 1\ngrid:\naa\n", "needed"},
      {h + "island: volcano.bmp\n", "unknown island"},
      {h + "brick a = crate_pale 1\n", "grid"},
      {h + "colour: red\ngrid:\n", "unknown setting"},
      {std::string("\x01\xff\x7f garbage \x00 bytes", 20), "line 1"},
      {"", "needed"},
  };
  for (const auto& c : cases) {
    LevelSource level;
    std::string error;
    EXPECT_FALSE(ParseLevelSource(c.text, level, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << "error '" << error << "' for:\n" << c.text;
  }
}

}  // namespace
