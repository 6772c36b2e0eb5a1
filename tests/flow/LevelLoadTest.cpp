// Level maps read into the live tables: culling, arming, the level bonus, refused files,
// damaged names and numbers, and the level's pictures and their failure boxes.
#include "FlowTest.h"
#include "KSound.h"
#include "OggEncoder.h"

#include <cmath>
#include <limits>

namespace {

class LevelLoadTest : public FlowTest {
 protected:
  int Present() const {
    int n = 0;
    for (const Brick& b : bricks) n += b.present != 0;
    return n;
  }
};

TEST_F(LevelLoadTest, CullingAtTheEdgesOfTheScreenArea) {
  WriteLevelPictures();
  MapBytes map;
  map.Brick(0, 0.0f, 100.0f);    // left 0: out
  map.Brick(1, 200.0f, 598.0f);  // top 598: out
  map.Brick(2, 200.0f, 0.0f);    // top 0: stays
  map.Brick(3, 0.5f, 50.0f);     // just inside on the left: stays
  map.Brick(4, 300.0f, 560.0f);  // bottom 582 < 598: stays
  map.Brick(5, 300.0f, 577.0f);  // bottom 599: out
  map.Brick(6, 754.0f, 50.0f);   // right 798: out
  map.Brick(7, 400.0f, 50.0f);
  map.BrickFloat(7, kBrickCentreOffsetXAt, -1.0f);  // negative centre: out
  map.Brick(8, 400.0f, 80.0f);
  map.BrickFloat(8, kBrickReserved44At, -0.5f);  // negative reserved value: out
  map.Brick(9, 0.0f, 700.0f);
  map.BrickByte(9, kBrickAliveAt, 0);  // stored fallen: escapes the test and stands once armed
  map.Brick(10, 400.0f, 120.0f);
  map.BrickByte(10, kBrickPresentAt, 0);  // no brick in this slot
  ASSERT_TRUE(ReadLevelFile(WriteMap("edges.map", map).c_str()));
  const bool kept[] = {false, false, true, true, true, false, false, false, false, true, false};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(bricks[i].present != 0, kept[i]) << "brick " << i;
    EXPECT_EQ(bricks[i].alive, kept[i] ? 1 : 0) << "brick " << i;
  }
  EXPECT_EQ(bricks[9].left, 0.0f);
  EXPECT_EQ(gameRecord.levelBonus, 8);
}

TEST_F(LevelLoadTest, ArmingCountsUnbreakableBricksAndResetsRunTimeFields) {
  WriteLevelPictures();
  MapBytes map;
  const std::int16_t strengths[] = {1, 999, 0, 950, 3};
  for (int i = 0; i < 5; ++i) {
    map.Brick(i * 3, 180.0f + 50 * i, 40.0f, strengths[i]);
    map.BrickInt16(i * 3, kBrickHitsAt, 4);             // run-time fields a map should not hold
    map.BrickInt16(i * 3, kBrickExplosionTimerAt, 3);
  }
  play.idleFrames = 500;
  for (Fruit& f : play.fruits) f.active = true;
  ASSERT_TRUE(ReadLevelFile(WriteMap("arm.map", map).c_str()));
  EXPECT_EQ(gameRecord.levelBonus, 10);
  EXPECT_EQ(play.idleFrames, 0);
  for (int i = 0; i < kBrickCount; ++i) {
    EXPECT_FALSE(play.fruits[i].active);
    EXPECT_EQ(bricks[i].hits, 0);
    EXPECT_EQ(bricks[i].explosionTimer, 0);
  }
  // The level record keeps the map as read; the live table is the one that changed.
  EXPECT_EQ(levelMap.bricks[0].hits, 4);
  EXPECT_EQ(bricks[3].strength, 999);
  // Arming again after play: broken bricks stand again, the bonus is recomputed.
  bricks[0].alive = 0;
  bricks[3].hits = 2;
  gameRecord.levelBonus = 1;
  ArmBricks();
  EXPECT_EQ(bricks[0].alive, 1);
  EXPECT_EQ(bricks[3].hits, 0);
  EXPECT_EQ(gameRecord.levelBonus, 10);
}

TEST_F(LevelLoadTest, PhysicsAndNamesComeFromTheMap) {
  WriteLevelPictures();
  MapBytes map;
  map.Physics(0.07f, 8.5f, 0.375f);
  map.Brick(0, 200.0f, 40.0f);
  ASSERT_TRUE(ReadLevelFile(WriteMap("p.map", map).c_str()));
  EXPECT_EQ(gravity, 0.07f);
  EXPECT_EQ(maxBallSpeed, 8.5f);
  EXPECT_EQ(bounceSpeedStep, 0.375f);
  EXPECT_STREQ(levelMap.islandImage, "island1.bmp");
  EXPECT_STREQ(levelMap.brickSetName, "briks1.bmp");
  EXPECT_STREQ(levelMap.grassOverlay, "herbe.bmp");  // whatever the map names
  ASSERT_NE(islandPicture, nullptr);
  ASSERT_NE(grassPicture, nullptr);
  EXPECT_TRUE(brickPicturesLoaded);
  for (KGraphic* p : brickPictures) EXPECT_NE(p, nullptr);
  EXPECT_TRUE(script::Boxes().empty());
}

// The map of the level before, its bricks and physics stay when the next one cannot be read.
class RefusedMapTest : public LevelLoadTest {
 protected:
  void SetUp() override {
    LevelLoadTest::SetUp();
    WriteLevelPictures();
    MapBytes first;
    first.Physics(0.04f, 7.0f, 0.5f);
    first.Brick(0, 200.0f, 40.0f);
    first.Brick(1, 300.0f, 40.0f);
    WriteIni("L1=first.map\r\nL2=gone.map\r\nL3=bad.map\r\n");
    WriteMap("first.map", first);
    ASSERT_TRUE(LoadLevelMap(1));
    bricks[0].alive = 0;  // broken in play
    script::ClearRecords();
  }
  void ExpectFirstLevelKept() {
    EXPECT_EQ(gravity, 0.04f);
    EXPECT_EQ(maxBallSpeed, 7.0f);
    EXPECT_EQ(Present(), 2);
    EXPECT_EQ(bricks[0].alive, 0);
    EXPECT_EQ(bricks[1].left, 300.0f);
    EXPECT_TRUE(script::Boxes().empty());
  }
};

TEST_F(RefusedMapTest, MissingFileOrKey) {
  EXPECT_FALSE(LoadLevelMap(2));  // named but not there
  ExpectFirstLevelKept();
  EXPECT_FALSE(LoadLevelMap(7));  // no key: the maps folder itself is not a map
  ExpectFirstLevelKept();
  // The level is then played again with its bricks re-armed.
  ArmBricks();
  EXPECT_EQ(bricks[0].alive, 1);
}

TEST_F(RefusedMapTest, ShortMap) {
  MapBytes bad;
  bad.Brick(5, 400.0f, 40.0f);
  bad.Bytes().resize(kLevelMapSize - 1);
  WriteMap("bad.map", bad);
  EXPECT_FALSE(LoadLevelMap(3));
  ExpectFirstLevelKept();
  dir.Write("data/levels/maps/bad.map", "");
  EXPECT_FALSE(LoadLevelMap(3));
  ExpectFirstLevelKept();
}

TEST_F(RefusedMapTest, PhysicsThatAreNotNumbers) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const float cases[][3] = {{nan, 6, 0.5f}, {0.05f, inf, 0.5f}, {0.05f, 6, -inf}};
  for (const auto& c : cases) {
    MapBytes bad;
    bad.Physics(c[0], c[1], c[2]);
    bad.Brick(5, 400.0f, 40.0f);
    WriteMap("bad.map", bad);
    EXPECT_FALSE(LoadLevelMap(3));
    ExpectFirstLevelKept();
  }
}

TEST_F(RefusedMapTest, LongerMapIsReadForItsFirstBytes) {
  MapBytes longer;
  longer.Brick(5, 400.0f, 40.0f);
  longer.Bytes() += std::string(500, '\x7f');
  WriteMap("bad.map", longer);
  EXPECT_TRUE(LoadLevelMap(3));
  EXPECT_EQ(Present(), 1);
  EXPECT_EQ(bricks[5].left, 400.0f);
}

TEST_F(LevelLoadTest, BricksWithFloatsThatAreNotNumbersAreTakenOut) {
  WriteLevelPictures();
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  MapBytes map;
  const int fields[] = {kBrickLeftAt,          kBrickTopAt,        kBrickRightAt,      kBrickBottomAt,
                        kBrickCentreOffsetXAt, kBrickCentreOffsetYAt, kBrickReserved40At, kBrickReserved44At};
  int slot = 0;
  for (int field : fields)
    for (float v : {nan, inf}) {
      map.Brick(slot, 200.0f, 40.0f);
      map.BrickFloat(slot, field, v);
      ++slot;
    }
  map.Brick(slot, 200.0f, 40.0f);
  map.BrickFloat(slot, kBrickLeftAt, nan);
  map.BrickByte(slot, kBrickAliveAt, 0);  // not even the fallen brick's escape keeps it
  map.Brick(slot + 1, 250.0f, 40.0f);     // one sound brick
  ASSERT_TRUE(ReadLevelFile(WriteMap("nan.map", map).c_str()));
  EXPECT_EQ(Present(), 1);
  EXPECT_EQ(bricks[slot + 1].alive, 1);
  EXPECT_EQ(gameRecord.levelBonus, 2);
}

TEST_F(LevelLoadTest, NamesWithoutAZeroAreCutTo259Characters) {
  WriteLevelPictures();
  WritePicture("data/levels/islands/beach.bmp", 800, 600, {8, 8, 8});
  MapBytes map;
  for (int at : {kMapIslandImageAt, kMapBrickSetNameAt, kMapMusicFileAt, kMapGrassOverlayAt})
    map.Name(at, std::string(kMapNameSize, 'x'));
  map.Brick(0, 200.0f, 40.0f);
  ASSERT_TRUE(ReadLevelFile(WriteMap("long.map", map).c_str()));
  EXPECT_EQ(std::strlen(levelMap.islandImage), 259u);
  EXPECT_EQ(std::strlen(levelMap.brickSetName), 259u);
  EXPECT_EQ(std::strlen(levelMap.musicFile), 259u);
  EXPECT_STREQ(levelMap.grassOverlay, "herbe.bmp");
  // No such island: the beach stands in.
  ASSERT_NE(islandPicture, nullptr);
  EXPECT_STREQ(islandPicture->path, Absolute("data\\levels\\islands\\beach.bmp").c_str());
}

TEST_F(LevelLoadTest, IslandNameTakesTheExtensionBmpOnTheWholePath) {
  WriteLevelPictures();
  WritePicture("data/levels/islands/cove.bmp", 800, 600, {8, 16, 24});
  std::strcpy(levelMap.islandImage, "cove.jpg");
  ASSERT_TRUE(LoadIsland());
  EXPECT_STREQ(islandPicture->path, Absolute("data\\levels\\islands\\cove.bmp").c_str());
  // A name of two characters also loses the folder's last separator.
  WritePicture("data/levels/islandsbmp", 800, 600, {8, 16, 24});
  std::strcpy(levelMap.islandImage, "ab");
  ASSERT_TRUE(LoadIsland());
  EXPECT_STREQ(islandPicture->path, Absolute("data\\levels\\islandsbmp").c_str());
}

TEST_F(LevelLoadTest, MissingIslandFallsBackToTheBeachThenFails) {
  WritePicture("data/levels/islands/herbe.bmp", 800, 40, kGrass);
  WritePicture("data/levels/islands/beach.bmp", 800, 600, {8, 8, 8});
  std::strcpy(levelMap.islandImage, "lost.bmp");
  ASSERT_TRUE(LoadIsland());
  EXPECT_STREQ(islandPicture->path, Absolute("data\\levels\\islands\\beach.bmp").c_str());
  EXPECT_NE(grassPicture, nullptr);

  std::remove(dir.File("data/levels/islands/beach.bmp").c_str());
  script::ClearRecords();
  EXPECT_FALSE(LoadIsland());
  EXPECT_EQ(islandPicture, nullptr);
  EXPECT_EQ(grassPicture, nullptr);
  EXPECT_TRUE(HasBox(Absolute("data\\levels\\islands\\beach.bmp") + " | Could not load Island"));
}

TEST_F(LevelLoadTest, MissingOverlay) {
  WritePicture("data/levels/islands/island1.bmp", 800, 600, kIsland);
  EXPECT_FALSE(LoadIsland());
  EXPECT_NE(islandPicture, nullptr);
  EXPECT_EQ(grassPicture, nullptr);
  EXPECT_TRUE(HasBox(Absolute("data\\levels\\islands\\herbe.bmp") + " | Could not load grass overlay"));
  // A record without an overlay name loads none and asks for none.
  levelMap.grassOverlay[0] = '\0';
  script::ClearRecords();
  EXPECT_TRUE(LoadIsland());
  EXPECT_TRUE(script::Boxes().empty());
}

TEST_F(LevelLoadTest, MissingBrickPictureStopsTheLoadingOnceUntilFreed) {
  WriteLevelPictures();
  std::remove(dir.File("data/levels/bricks/planche3.bmp").c_str());
  EXPECT_FALSE(LoadBrickImages());
  EXPECT_TRUE(HasBox("Error | Could not load bricks  "));
  EXPECT_NE(brickPictures[1], nullptr);
  for (int k = 2; k < kBrickPictureCount; ++k) EXPECT_EQ(brickPictures[k], nullptr);
  EXPECT_TRUE(brickPicturesLoaded);
  script::ClearRecords();
  EXPECT_TRUE(LoadBrickImages());  // not tried again
  EXPECT_TRUE(script::Boxes().empty());
  FreeBrickImages();
  EXPECT_FALSE(brickPicturesLoaded);
  WritePicture("data/levels/bricks/planche3.bmp", 360, 112, kStage[2]);
  EXPECT_TRUE(LoadBrickImages());
  for (KGraphic* p : brickPictures) EXPECT_NE(p, nullptr);
}

TEST_F(LevelLoadTest, EveryLoadStartsTheLevelMusicAgain) {
  WriteLevelPictures();
  std::vector<float> tone(22050);
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * std::sin(0.05f * static_cast<float>(i));
  dir.Write("data/audio/song.ogg", EncodeOggVorbis(tone, 1, 22050));
  MapBytes map;
  map.Brick(0, 200.0f, 40.0f);
  const std::string path = WriteMap("m.map", map);
  ASSERT_TRUE(ReadLevelFile(path.c_str()));
  ASSERT_NE(music, nullptr);
  EXPECT_TRUE(music->HasBuffer());
  const KSound* first = music;
  // The same map again: a new stream, not the old one left running.
  KSound* keep = music;
  music = nullptr;  // held here so the next stream cannot take the same address
  ASSERT_TRUE(ReadLevelFile(path.c_str()));
  EXPECT_NE(music, first);
  EXPECT_TRUE(music->HasBuffer());
  delete keep;
  // Another name: the stream of that file (here none).
  map.Name(kMapMusicFileAt, "other.ogg");
  ASSERT_TRUE(ReadLevelFile(WriteMap("m.map", map).c_str()));
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(music->HasBuffer());
}

// Whatever a damaged map holds goes through the reader, the culling and the drawing.
TEST_F(LevelLoadTest, RandomAndDamagedMapsAreReadAndDrawnSafely) {
  WriteLevelPictures();
  WritePicture("data/levels/islands/beach.bmp", 800, 600, {8, 8, 8});
  WritePicture("data/sprites/explosion.bmp", 60, 90, {248, 248, 0});
  explosionPicture = LoadSprite(Absolute("data\\sprites\\explosion.bmp").c_str());
  TestRandom rnd{2024};
  for (int round = 0; round < 60; ++round) {
    std::string bytes(static_cast<std::size_t>(kLevelMapSize - 40 + rnd.Next(100)), '\0');
    for (char& c : bytes) c = static_cast<char>(rnd.Next(256));
    if (round % 2) {  // mostly sound floats with damaged ones among them
      MapBytes map;
      for (int i = 0; i < kBrickCount; ++i) {
        map.Brick(i, static_cast<float>(rnd.Next(900) - 50), static_cast<float>(rnd.Next(700) - 50));
        const int field = kBrickLeftAt + 4 * rnd.Next(9);
        const float odd[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -1e30f, 3e9f, -0.0f};
        map.BrickFloat(i, field == kBrickLeftAt + 16 ? kBrickReserved40At : field, odd[rnd.Next(5)]);
        map.BrickByte(i, kBrickAliveAt, static_cast<std::uint8_t>(rnd.Next(3)));
        map.BrickInt16(i, kBrickSrcLeftAt, static_cast<std::int16_t>(rnd.Next(800) - 400));
        map.BrickInt16(i, kBrickSrcRightAt, static_cast<std::int16_t>(rnd.Next(65536) - 32768));
        map.BrickInt16(i, kBrickExplosionSrcXAt, static_cast<std::int16_t>(rnd.Next(65536) - 32768));
        map.BrickInt16(i, kBrickExplosionSrcYAt, static_cast<std::int16_t>(rnd.Next(200) - 100));
      }
      bytes = map.Bytes();
    }
    const std::string path = dir.Write("data/levels/maps/r.map", bytes);
    bool sound = bytes.size() >= static_cast<std::size_t>(kLevelMapSize);
    for (int at : {kMapGravityAt, kMapMaxBallSpeedAt, kMapBounceSpeedStepAt}) {
      float f;
      std::memcpy(&f, bytes.data() + at, 4);
      sound = sound && std::isfinite(f);
    }
    ASSERT_EQ(ReadLevelFile(path.c_str()), sound) << "round " << round;
    if (!sound) continue;
    int present = 0;
    for (Brick& b : bricks) {
      present += b.present != 0;
      EXPECT_EQ(b.alive, b.present ? 1 : 0);
      if (b.present) {
        EXPECT_TRUE(std::isfinite(b.left) && std::isfinite(b.top) && std::isfinite(b.centreOffsetX));
      }
      b.explosionTimer = static_cast<std::int16_t>(rnd.Next(2));
      b.hits = static_cast<std::int16_t>(rnd.Next(20) - 10);
    }
    EXPECT_EQ(gameRecord.levelBonus, 2 * present);
    EXPECT_TRUE(std::isfinite(gravity) && std::isfinite(maxBallSpeed) && std::isfinite(bounceSpeedStep));
    DrawPlayScreen();
  }
}

}  // namespace
