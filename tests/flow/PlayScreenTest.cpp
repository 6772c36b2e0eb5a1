// The play screen drawn from the play state, every picture a plain colour of its own: which
// picture lies on top where, the shots and the gun frame, the brick and explosion frame rules,
// positions off the screen, and the closing panel at the end of a game. (The track strips and
// the bat's frames show in the pictures of the golden runs: Scenario.Golden*.)
#include "engine/audio/KSound.h"
#include "engine/graphics/KDisplayWindow.h"
#include "game/files/RawFiles.h"
#include "game/layout/PlaySheet.h"
#include "tests/flow/FlowTest.h"

#include <functional>
#include <limits>

namespace {

constexpr Rgb kCasing{16, 16, 16}, kBullet{248, 248, 248}, kTrackA{96, 48, 0}, kTrackB{96, 96, 0};
constexpr Rgb kMonkey{120, 0, 120}, kDrummer{0, 120, 120}, kMascot{200, 200, 248}, kBall{248, 0, 0};
constexpr Rgb kFruit{0, 248, 0}, kCapsule{248, 248, 0}, kCaption{0, 248, 248}, kExplosion{248, 128, 0};
constexpr Rgb kDigit{128, 128, 128}, kGun{64, 0, 64}, kPanel{72, 72, 72}, kKey{0, 0, 255};
constexpr Rgb kBat[4] = {{8, 64, 200}, {8, 96, 200}, {8, 128, 200}, {8, 160, 200}};
constexpr Rgb kBatFrame7{8, 200, 200};  // frame 7 of the medium bat

class PlayScreenTest : public FlowTest {
 protected:
  struct Region {
    int left, top, right, bottom;
    Rgb colour;
  };
  void SetUp() override {
    FlowTest::SetUp();
    WriteLevelPictures(70);  // a tall overlay, y 530..599
    std::vector<Region> sheet = {  // the shared sheet: each region in its colour on the key
        {0, kCasingTop, kCasingColumns * kCasingFrameSize, kCasingTop + kCasingRows * kCasingFrameSize, kCasing},
        {kBulletRect.left, kBulletRect.top, kBulletRect.right, kBulletRect.bottom, kBullet},
        {kTrackPieceRect.left, kTrackPieceRect.top, 200, kTrackPieceRect.bottom, kTrackA},
        {200, kTrackPieceRect.top, kTrackPieceRect.right, kTrackPieceRect.bottom, kTrackB},
        {kCaptionLeft, 0, kCaptionRight, 336, kCaption},
        {290, 0, 290 + 2 * kCapsuleWidth, 252, kCapsule},
        {155, 189, 155 + 112, 202, kDigit}};
    for (const FruitKind& f : kFruitKinds) sheet.push_back({f.firstX, f.firstY, f.endX, f.endY, kFruit});
    WriteRegions("data/sprites/bigplanche.bmp", 512, 420, kKey, sheet);
    const struct {
      const char* name;
      int w, h;
      Rgb colour;
    } pictures[] = {{"singeA", 500, 400, kMonkey},       {"balle", 100, 100, kBall},
                    {"evilball", 135, 130, kBall},       {"explosion", 60, 90, kExplosion},  // 30 x 30 frames
                    {"win", 462, 675, kMascot},          {"lose", 468, 621, kMascot},
                    {"batteur", 923, 400, kDrummer},     {"gunshoot", 560, 400, kGun}};  // 80 x 100 frames
    for (const auto& p : pictures)
      WritePicture(std::string("data/sprites/") + p.name + ".bmp", p.w, p.h, p.colour);
    WritePicture("data/levels/islands/bpanel.bmp", 800, 600, kPanel);
    const char* bats[4] = {"batteS", "batteM", "batteL", "gunbat"};  // 60 x 90 frames
    for (int k = 0; k < 4; ++k)
      WriteRegions(std::string("data/sprites/") + bats[k] + ".bmp", 300, 1170, kBat[k],
                   {{120, 90, 180, 180, k == 1 ? kBatFrame7 : kBat[k]}});
    ASSERT_TRUE(LoadGameSprites() && LoadBatSprites() && LoadIsland() && LoadBrickImages());
    bigPlancheSheet = LoadSprite(Absolute("data\\sprites\\bigplanche.bmp").c_str());
    gameRecord.batKind = 1;
  }
  void WriteRegions(const std::string& relative, int w, int h, Rgb base, const std::vector<Region>& regions) {
    std::vector<Rgb> px(static_cast<std::size_t>(w) * h, base);
    for (const Region& r : regions)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) px[static_cast<std::size_t>(y) * w + x] = r.colour;
    dir.Write(relative, EncodeBmp24(w, h, px));
  }
  std::uint16_t At(int x, int y) {
    DrawPlayScreen();
    return BackPixel(x, y);
  }
  // A standing brick with its top-left corner 5 pixels above and left of (x, y).
  void PutBrick(int i, int x, int y, int hits = 0) {
    bricks[i] = {};
    bricks[i].srcRight = 44;
    bricks[i].srcBottom = 22;
    bricks[i].left = static_cast<float>(x - 5);
    bricks[i].top = static_cast<float>(y - 5);
    bricks[i].alive = bricks[i].present = 1;
    bricks[i].hits = static_cast<std::int16_t>(hits);
  }

};

TEST_F(PlayScreenTest, ShotsAndTheGunFrameThatReplacesDrummerAndBat) {
  play.shellCasings[0] = {400, 300, 0, 0, true};
  play.bullets[0] = {500, 300, 0, 0, true};
  for (int f = 0; f <= kCasingColumns * kCasingRows; ++f) DrawPlayScreen();  // every casing frame, and round
  EXPECT_EQ(BackPixel(401, 301), C565(kCasing));
  EXPECT_EQ(BackPixel(501, 301), C565(kBullet));
  play.batX = 300;
  gameRecord.batKind = 3;
  play.gunFrameX = 0;
  EXPECT_EQ(At(308, 416), C565(kGun));
  EXPECT_EQ(BackPixel(387, 515), C565(kGun));
  EXPECT_EQ(BackPixel(307, 470), C565(kIsland));  // neither drummer nor bat
  EXPECT_EQ(BackPixel(360, 520), C565(kIsland));
}

TEST_F(PlayScreenTest, BrickPicturesAndExplosions) {
  PutBrick(0, 400, 100, 2);
  PutBrick(1, 500, 100, 7);  // more than four hits: the fifth picture
  PutBrick(2, 600, 100, -3);
  PutBrick(3, 300, 100);
  bricks[3].srcLeft = -5;  // before the picture's left edge: the copy is refused
  PutBrick(4, 300, 200);
  bricks[4].srcLeft = 340;
  bricks[4].srcRight = 30000;  // past its right edge (360): cut there
  EXPECT_EQ(At(400, 100), C565(kStage[2]));
  EXPECT_EQ(BackPixel(500, 100), C565(kStage[4]));
  EXPECT_EQ(BackPixel(600, 100), C565(kStage[0]));
  EXPECT_EQ(BackPixel(300, 100), C565(kIsland));
  EXPECT_EQ(BackPixel(314, 200), C565(kStage[0]));
  EXPECT_EQ(BackPixel(315, 200), C565(kIsland));
  // An exploding brick (centre 322, 211; 30 x 30 frames) shows its worst look under the first
  // two rows of the explosion, then only the explosion.
  bricks[5] = {};
  bricks[5].srcRight = 44;
  bricks[5].srcBottom = 22;
  bricks[5].left = 300.9f;
  bricks[5].top = 320.0f;
  bricks[5].centreOffsetX = 22;
  bricks[5].centreOffsetY = 11;
  bricks[5].explosionTimer = 3;
  bricks[5].explosionSrcY = 30;
  EXPECT_EQ(At(340, 335), C565(kStage[4]));
  EXPECT_EQ(BackPixel(299, 312), C565(kExplosion));  // (322 - 15 - 8, 331 - 15 - 4)
  EXPECT_EQ(BackPixel(328, 341), C565(kExplosion));
  EXPECT_EQ(BackPixel(298, 312), C565(kIsland));
  EXPECT_EQ(BackPixel(299, 311), C565(kIsland));
  bricks[5].explosionSrcY = 60;
  EXPECT_EQ(At(340, 335), C565(kIsland));
  EXPECT_EQ(BackPixel(310, 320), C565(kExplosion));
  // A missing damage picture draws nothing for its bricks.
  delete levelPictures.brickPictures[4];
  levelPictures.brickPictures[4] = nullptr;
  EXPECT_EQ(At(500, 100), C565(kIsland));
}

TEST_F(PlayScreenTest, PositionsFarOffTheScreenDrawNothing) {
  PutBrick(0, 300, 100);
  bricks[0].left = 3e9f;
  bricks[0].explosionTimer = 1;
  bricks[0].centreOffsetX = -1e38f;
  Ball& ball = play.balls[0];
  ball.active = true;
  ball.picture = gameSprites.ballPicture;
  ball.width = ball.height = 20;
  ball.x = -std::numeric_limits<float>::infinity();
  ball.y = std::numeric_limits<float>::quiet_NaN();
  play.batX = 1e20f;
  DrawPlayScreen();
  for (std::uint16_t px : KGraphic::BackBufferSurface()->pixels)
    for (Rgb c : {kBall, kStage[0], kExplosion, kDrummer}) ASSERT_NE(px, C565(c));
  EXPECT_EQ(PixelOf(-2.9f), -2);  // truncation toward zero
  EXPECT_EQ(PixelOf(799.99f), 799);
}

TEST_F(PlayScreenTest, EndGameDoorsCloseWhileTheMusicFades) {
  KDisplayWindow window;
  ASSERT_TRUE(window.Create(800, 600, 16, true, "ZindoRumba"));
  displayWindow = &window;
  script::SetFocus(true);
  playMusic(Absolute("data\\audio\\none.ogg").c_str());  // a music object, silent
  static std::vector<std::int32_t> volumes;              // music volume as each frame was shown
  script::SetTickHook([](bool afterPresent) {
    if (afterPresent) volumes.push_back(KSound::MusicVolume());
  });
  for (int level : {8, 0}) {
    musicLevel = level;
    KSound::SetGlobalVolumes(level * 10, -1);  // the player's setting
    volumes.clear();
    DrawPlayScreen();
    EndGameDoors();
    ASSERT_EQ(volumes.size(), 41u);
    // Set after each frame is shown: the first frame has the volume from before; at 0 it
    // stays 0 throughout.
    for (std::size_t i = 0; i < volumes.size(); ++i)
      EXPECT_EQ(volumes[i], level * 10 - level * static_cast<int>(i) / 4) << level << " " << i;
    EXPECT_EQ(KSound::MusicVolume(), level * 10);  // back at the player's setting
    for (int y : {0, 299, 300, 599}) EXPECT_EQ(script::Screen()[static_cast<std::size_t>(y) * 800], C565(kPanel));
  }
  musicLevel = 2147483647;  // from a damaged preference file: saturates
  EndGameDoors();
  EXPECT_EQ(KSound::MusicVolume(), 2147483647);
  script::SetTickHook(nullptr);
  displayWindow = nullptr;
  musicLevel = 8;
}

}  // namespace
