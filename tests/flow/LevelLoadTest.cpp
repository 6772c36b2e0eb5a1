// Level maps read into the live tables: culling, arming, the level bonus, refused files,
// damaged names and numbers, and the level's pictures and their failure boxes.
#include "tests/flow/FlowTest.h"

#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();

using LevelLoadTest = FlowTest;

TEST_F(LevelLoadTest, CullingArmingAndTheLevelBonus) {
  WriteLevelPictures();
  MapBytes map;
  struct Case {
    float left, top;
    int field = -1;  // a field set to value afterwards
    float value = 0;
    bool fileAlive = true, kept = false;
  };
  std::vector<Case> cases = {
      {0.0f, 100}, {200, 598}, {300, 577} /* bottom 599 */, {754, 50} /* right 798 */,
      {400, 50, kBrickCentreOffsetXAt, -1}, {400, 80, kBrickReserved44At, -0.5f},
      {200, 0, -1, 0, true, true}, {0.5f, 50, -1, 0, true, true}, {300, 560, -1, 0, true, true},
      {0.0f, 700, -1, 0, false, true},  // stored fallen: escapes the test, stands once armed
      {200, 40, kBrickLeftAt, kNaN, false},  // not even that escape keeps a brick that is not a number
  };
  for (int f = kBrickLeftAt; f <= kBrickReserved44At; f += 4)
    if (f != kBrickAliveAt) cases.push_back({200, 40, f, f % 8 ? kNaN : kInf});
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    map.Brick(static_cast<int>(i), c.left, c.top, i % 2 ? 999 : 0);  // unbreakable ones count too
    if (c.field >= 0) map.F32(MapBytes::At(static_cast<int>(i), c.field), c.value);
    map.bytes[MapBytes::At(static_cast<int>(i), kBrickAliveAt)] = c.fileAlive;
    map.I16(MapBytes::At(static_cast<int>(i), kBrickHitsAt), 4);  // run-time fields a map should not hold
    map.I16(MapBytes::At(static_cast<int>(i), kBrickExplosionTimerAt), 3);
  }
  play.idleFrames = 500;
  for (Fruit& f : play.fruits) f.active = true;
  ASSERT_TRUE(ReadLevelFile(WriteMap("edges.map", map).c_str()));
  for (std::size_t i = 0; i < kBrickCount; ++i) {
    const bool kept = i < cases.size() && cases[i].kept;
    EXPECT_EQ(bricks[i].present != 0, kept) << "brick " << i;
    EXPECT_EQ(bricks[i].alive, kept ? 1 : 0) << "brick " << i;
    EXPECT_EQ(bricks[i].explosionTimer, 0);
    EXPECT_FALSE(play.fruits[i].active);
    EXPECT_TRUE(!kept || bricks[i].hits == 0) << "brick " << i;
  }
  EXPECT_EQ(gameRecord.levelBonus, 8);
  EXPECT_EQ(play.idleFrames, 0);
  EXPECT_EQ(levelMap.bricks[0].hits, 4);  // the level record keeps the map as read
  // Armed again after play: broken bricks stand again, the bonus is counted afresh.
  bricks[6].alive = 0;
  gameRecord.levelBonus = 1;
  ArmBricks();
  EXPECT_EQ(bricks[6].alive, 1);
  EXPECT_EQ(gameRecord.levelBonus, 8);
}

TEST_F(LevelLoadTest, AMissingMapOrKeyLeavesThePreviousLevel) {
  // (Short maps and maps whose physics are not numbers: the reader checks, tests/fuzz.)
  WriteLevelPictures();
  MapBytes first;
  first.F32(kMapGravityAt, 0.04f);
  first.Brick(0, 200, 40);
  first.Brick(1, 300, 40);
  dir.Write("zindo.ini", "[LEVELS]\r\nL1=first.map\r\nL2=gone.map\r\n");
  ASSERT_TRUE(LoadDataConfig());
  WriteMap("first.map", first);
  ASSERT_TRUE(LoadLevelMap(1));
  bricks[0].alive = 0;  // broken in play
  script::ClearRecords();
  for (int level : {2, 7}) {  // no file; no key (the maps folder itself is no map)
    EXPECT_FALSE(LoadLevelMap(level));
    EXPECT_EQ(gravity, 0.04f) << level;
    EXPECT_EQ(bricks[0].alive, 0) << level;
    EXPECT_EQ(bricks[1].present, 1) << level;
    EXPECT_TRUE(script::Boxes().empty()) << level;
  }
}

TEST_F(LevelLoadTest, NamesWithoutAZeroAreCutTo259Characters) {
  WriteLevelPictures();
  WritePicture("data/levels/islands/beach.bmp", 800, 600, kIsland);
  MapBytes map;
  for (int at : {kMapIslandImageAt, kMapBrickSetNameAt, kMapMusicFileAt, kMapGrassOverlayAt})
    map.Name(at, std::string(kMapNameSize, 'x'));
  ASSERT_TRUE(ReadLevelFile(WriteMap("long.map", map).c_str()));
  for (const char* name : {levelMap.islandImage, levelMap.brickSetName, levelMap.musicFile})
    EXPECT_EQ(std::strlen(name), 259u);
  EXPECT_STREQ(levelMap.grassOverlay, "herbe.bmp");
  ASSERT_NE(levelPictures.islandPicture, nullptr);  // no such island: the beach stands in
  EXPECT_EQ(levelPictures.islandPicture->path, Absolute("data\\levels\\islands\\beach.bmp"));
}

TEST_F(LevelLoadTest, IslandAndOverlayPaths) {
  WritePicture("data/levels/islands/cove.bmp", 800, 600, kIsland);
  WritePicture("data/levels/islandsbmp", 800, 600, kIsland);
  WritePicture("data/levels/islands/beach.bmp", 800, 600, kIsland);
  // The last three characters of the whole path become "bmp": another extension, then a name
  // of two characters, which also loses the folder's separator.
  const struct {
    const char* name;
    const char* loaded;
  } cases[] = {{"cove.jpg", "data\\levels\\islands\\cove.bmp"},
               {"ab", "data\\levels\\islandsbmp"},
               {"lost.bmp", "data\\levels\\islands\\beach.bmp"}};
  for (const auto& c : cases) {
    std::strcpy(levelMap.islandImage, c.name);
    EXPECT_FALSE(LoadIsland()) << c.name;  // no overlay yet
    ASSERT_NE(levelPictures.islandPicture, nullptr) << c.name;
    EXPECT_EQ(levelPictures.islandPicture->path, Absolute(c.loaded));
  }
  EXPECT_TRUE(HasBox(Absolute("data\\levels\\islands\\herbe.bmp") + " | Could not load grass overlay"));
  WritePicture("data/levels/islands/herbe.bmp", 800, 40, kGrass);
  EXPECT_TRUE(LoadIsland());
  EXPECT_NE(levelPictures.grassPicture, nullptr);
  std::remove(dir.File("data/levels/islands/beach.bmp").c_str());
  script::ClearRecords();
  EXPECT_FALSE(LoadIsland());
  EXPECT_EQ(levelPictures.islandPicture, nullptr);
  EXPECT_EQ(levelPictures.grassPicture, nullptr);
  EXPECT_TRUE(HasBox(Absolute("data\\levels\\islands\\beach.bmp") + " | Could not load Island"));
}

TEST_F(LevelLoadTest, MissingBrickPictureStopsTheLoadingOnceUntilFreed) {
  WriteLevelPictures();
  std::remove(dir.File("data/levels/bricks/planche3.bmp").c_str());
  EXPECT_FALSE(LoadBrickImages());
  EXPECT_TRUE(HasBox("Error | Could not load bricks  "));
  EXPECT_NE(levelPictures.brickPictures[1], nullptr);
  EXPECT_EQ(levelPictures.brickPictures[2], nullptr);
  EXPECT_EQ(levelPictures.brickPictures[4], nullptr);
  script::ClearRecords();
  EXPECT_TRUE(LoadBrickImages());  // not tried again
  EXPECT_TRUE(script::Boxes().empty());
  FreeBrickImages();
  WritePicture("data/levels/bricks/planche3.bmp", 360, 112, kStage[2]);
  EXPECT_TRUE(LoadBrickImages());
  EXPECT_NE(levelPictures.brickPictures[4], nullptr);
}

}  // namespace
