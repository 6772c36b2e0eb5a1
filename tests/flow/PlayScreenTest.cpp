// The play screen drawn from the play state, with every picture a plain colour of its own:
// which picture lies on top where, the frame rules of the bat, gun, bricks and explosions,
// the track strips, the side panel, and the closing panel at the end of a game.
#include "FlowTest.h"
#include "KDisplayWindow.h"
#include "KSound.h"
#include "PlaySheet.h"
#include "RawFiles.h"

#include <functional>

namespace {

constexpr Rgb kCasing{16, 16, 16}, kBullet{248, 248, 248}, kTrackA{96, 48, 0}, kTrackB{96, 96, 0};
constexpr Rgb kMonkey{120, 0, 120}, kDrummer{0, 120, 120}, kWin{248, 200, 200}, kWin2{248, 160, 160};
constexpr Rgb kLose{200, 200, 248}, kBall{248, 0, 0}, kFruit{0, 248, 0}, kCapsule{248, 248, 0};
constexpr Rgb kCaption{0, 248, 248}, kExplosion{248, 128, 0}, kDigit{128, 128, 128}, kGun{64, 0, 64};
constexpr Rgb kPanel{72, 72, 72}, kKey{0, 0, 255};
constexpr Rgb kBat[4] = {{8, 64, 200}, {8, 96, 200}, {8, 128, 200}, {8, 160, 200}};
constexpr Rgb kBatFrame7{8, 200, 200};  // frame 7 of the medium bat

struct Region {
  int left, top, right, bottom;
  Rgb colour;
};

class PlayScreenTest : public FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    WriteLevelPictures(70);  // a tall overlay, y 530..599
    // The shared sheet: every region a colour of its own on the transparent key.
    std::vector<Region> sheet = {
        {0, kCasingTop, kCasingColumns * kCasingFrameSize, kCasingTop + kCasingRows * kCasingFrameSize, kCasing},
        {kBulletRect.left, kBulletRect.top, kBulletRect.right, kBulletRect.bottom, kBullet},
        {kTrackPieceRect.left, kTrackPieceRect.top, 200, kTrackPieceRect.bottom, kTrackA},
        {200, kTrackPieceRect.top, kTrackPieceRect.right, kTrackPieceRect.bottom, kTrackB},
        {kCaptionLeft, 0, kCaptionRight, 336, kCaption},
        {290, 0, 290 + 2 * kCapsuleWidth, 252, kCapsule},
        {155, kDigitTop, 155 + 112, kDigitBottom, kDigit},
    };
    for (const FruitKind& f : kFruitKinds) sheet.push_back({f.firstX, f.firstY, f.endX, f.endY, kFruit});
    WriteRegions("data/sprites/bigplanche.bmp", 512, 420, kKey, sheet);
    WritePicture("data/sprites/singeA.bmp", 500, 400, kMonkey);
    WritePicture("data/sprites/balle.bmp", 100, 100, kBall);
    WritePicture("data/sprites/evilball.bmp", 135, 130, kBall);
    WritePicture("data/sprites/explosion.bmp", 60, 90, kExplosion);
    WritePicture("data/levels/islands/bpanel.bmp", 800, 600, kPanel);
    WriteRegions("data/sprites/win.bmp", 462, 675, kWin, {{77, 0, 154, 75, kWin2}});
    WritePicture("data/sprites/lose.bmp", 468, 621, kLose);
    WritePicture("data/sprites/batteur.bmp", 923, 400, kDrummer);
    const char* bats[4] = {"batteS", "batteM", "batteL", "gunbat"};
    for (int k = 0; k < 4; ++k)
      WriteRegions(std::string("data/sprites/") + bats[k] + ".bmp", 5 * 60, 13 * 90, kBat[k],
                   {{120, 90, 180, 180, k == 1 ? kBatFrame7 : kBat[k]}});
    WritePicture("data/sprites/gunshoot.bmp", 560, 400, kGun);

    ASSERT_TRUE(LoadGameSprites());
    ASSERT_TRUE(LoadBatSprites());
    ASSERT_TRUE(LoadIsland());
    ASSERT_TRUE(LoadBrickImages());
    bigPlancheSheet = LoadSprite(Absolute("data\\sprites\\bigplanche.bmp").c_str());
    ASSERT_NE(bigPlancheSheet, nullptr);
    gameRecord.batKind = 1;
    gameRecord.monkeyHappy = true;
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
  static constexpr int kDigitTop = 189, kDigitBottom = 202;

  // Objects of the play state placed with their top-left corner a little above and left of (x, y).
  void PutBall(int slot, int x, int y) {
    ::Ball& b = play.balls[slot];
    b = {};
    b.active = true;
    b.picture = ballPicture;
    b.width = b.height = 20;
    b.x = static_cast<float>(x - 5);
    b.y = static_cast<float>(y - 5);
  }
  void PutBrick(int i, int x, int y, std::int16_t hits = 0) {
    Brick& b = bricks[i];
    b = {};
    b.srcRight = 44;
    b.srcBottom = 22;
    b.left = static_cast<float>(x - 5);
    b.top = static_cast<float>(y - 5);
    b.right = b.left + 44;
    b.bottom = b.top + 22;
    b.alive = b.present = 1;
    b.hits = hits;
  }
  // An explosion frame covering (x, y) (its brick already gone, past the first two rows).
  void PutExplosion(int i, int x, int y) {
    Brick& b = bricks[i];
    b = {};
    b.srcRight = 44;
    b.srcBottom = 22;
    b.left = static_cast<float>(x);
    b.top = static_cast<float>(y);
    b.explosionTimer = 1;
    b.explosionSrcY = 60;
  }
  void PutFruit(int i, int x, int y) {
    ::Fruit& f = play.fruits[i];
    f = {};
    f.active = true;
    f.frameW = 31;
    f.frameH = 45;
    f.x = static_cast<float>(x - 5);
    f.y = static_cast<float>(y - 5);
  }
  void PutCapsule(int i, int x, int y) {
    BonusDrop& d = play.bonusDrops[i];
    d = {};
    d.active = true;
    d.iconX = 290;
    d.x = static_cast<float>(x - 5);
    d.y = static_cast<float>(y - 5);
  }
  void Shots(int x, int y) {
    play.shellCasings[0] = {static_cast<float>(x - 5), static_cast<float>(y - 5), 0, 0, true};
    play.bullets[0] = {static_cast<float>(x - 2), static_cast<float>(y - 2), 0, 0, true};
  }

  struct Layer {
    const char* name;
    Rgb colour;
    std::function<void()> remove;
  };
  // Layers bottom to top at (x, y): each in turn is the one seen there, from the top down,
  // until only the backdrop is left.
  void Peel(int x, int y, const std::vector<Layer>& layers) {
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
      EXPECT_EQ(At(x, y), C565(it->colour)) << it->name << " should be seen at " << x << ", " << y;
      it->remove();
    }
    EXPECT_EQ(At(x, y), C565(kIsland)) << "the backdrop at " << x << ", " << y;
  }
  std::vector<Layer> Shared(int x, int y) {
    Shots(x, y);
    PutBall(0, x, y);
    PutBrick(0, x, y);
    PutFruit(0, x, y);
    PutCapsule(0, x, y);
    PutExplosion(1, x, y);
    return {
        {"casing", kCasing, [] { play.shellCasings[0].active = false; }},
        {"bullet", kBullet, [] { play.bullets[0].active = false; }},
        {"ball", kBall, [] { play.balls[0].active = false; }},
        {"brick", kStage[0], [] { bricks[0].alive = 0; }},
        {"fruit", kFruit, [] { play.fruits[0].active = false; }},
        {"capsule", kCapsule, [] { play.bonusDrops[0].active = false; }},
        {"explosion", kExplosion, [] { bricks[1].explosionTimer = 0; }},
    };
  }
  // Hides a picture for the rest of a peel (the fixture frees what it loaded).
  std::function<void()> Hide(KGraphic*& slot) {
    return [this, &slot] {
      hidden.push_back(slot);
      slot = nullptr;
    };
  }
  void TearDown() override {
    for (KGraphic* g : hidden) delete g;
    FlowTest::TearDown();
  }
  std::vector<KGraphic*> hidden;
};

TEST_F(PlayScreenTest, LayersAtTheBottomOfTheScreen) {
  const int x = 60, y = 540;  // left of the track strips
  play.batX = static_cast<float>(x - 10);
  std::vector<Layer> shared = Shared(x, y);
  std::vector<Layer> layers(shared.begin(), shared.begin() + 2);
  layers.push_back({"monkey", kMonkey, Hide(monkeyPicture)});
  layers.push_back({"grass", kGrass, Hide(grassPicture)});
  layers.push_back({"drummer", kDrummer, Hide(batterPicture)});
  layers.push_back({"bat", kBat[1], Hide(batPictures[1])});
  layers.insert(layers.end(), shared.begin() + 2, shared.end());
  Peel(x, y, layers);
}

TEST_F(PlayScreenTest, LayersInTheSidePanel) {
  const int x = 100, y = 150;  // the mascot, sulking (one colour in every frame)
  gameRecord.monkeyHappy = false;
  std::vector<Layer> layers = Shared(x, y);
  layers.insert(layers.begin() + 2, {"mascot", kLose, Hide(losePicture)});
  Peel(x, y, layers);
}

TEST_F(PlayScreenTest, NumbersAreDrawnLast) {
  const int x = 115, y = 218;  // inside the score's last digit "0", not inside a "1"
  std::vector<Layer> layers = Shared(x, y);
  layers.push_back({"score", kDigit, [] { gameRecord.score = 1; }});
  Peel(x, y, layers);
}

TEST_F(PlayScreenTest, CaptionOverCapsulesUnderExplosions) {
  const int x = 200, y = 585;
  play.captionOn = true;
  play.captionIcon = 56;
  play.captionY = 575;
  std::vector<Layer> layers = Shared(x, y);
  layers.insert(layers.begin() + 2, {"grass", kGrass, Hide(grassPicture)});
  layers.insert(layers.end() - 1, {"caption", kCaption, [] { play.captionOn = false; }});
  Peel(x, y, layers);
}

TEST_F(PlayScreenTest, TrackLiesOverTheShotsAndUnderTheMonkey) {
  const int x = 90, y = 540;
  Shots(x, y);
  KGraphic* grass = grassPicture;
  grassPicture = nullptr;
  EXPECT_EQ(At(x, y), C565(kMonkey));
  KGraphic* monkey = monkeyPicture;
  monkeyPicture = nullptr;
  EXPECT_EQ(At(x, y), C565(kTrackA));
  grassPicture = grass;
  monkeyPicture = monkey;
}

TEST_F(PlayScreenTest, TrackStripsScrollAndAreCutAtTheFieldsEdge) {
  delete monkeyPicture;
  monkeyPicture = nullptr;
  delete grassPicture;
  grassPicture = nullptr;
  play.batX = 500;
  play.trackScroll = 0.9f;  // drawn as 0
  EXPECT_EQ(At(80, 540), C565(kTrackB));  // the first piece cut to its last 7 columns
  EXPECT_EQ(BackPixel(79, 540), C565(kIsland));
  EXPECT_EQ(BackPixel(100, 536), C565(kIsland));
  EXPECT_EQ(BackPixel(100, 537), C565(kTrackA));
  EXPECT_EQ(BackPixel(100, 544), C565(kTrackA));
  EXPECT_EQ(BackPixel(100, 545), C565(kIsland));
  // Strip two runs the other way; its last piece starts at 880 - 783.
  EXPECT_EQ(BackPixel(96, 566), C565(kIsland));
  EXPECT_EQ(BackPixel(97, 566), C565(kTrackA));
  EXPECT_EQ(BackPixel(749, 566), C565(kTrackA));  // the piece at 706
  EXPECT_EQ(BackPixel(750, 566), C565(kTrackB));
  play.trackScroll = 50.0f;
  EXPECT_EQ(At(80, 540), C565(kTrackA));  // cut from column 186
  EXPECT_EQ(BackPixel(93, 540), C565(kTrackA));
  EXPECT_EQ(BackPixel(94, 540), C565(kTrackB));
  EXPECT_EQ(BackPixel(80, 566), C565(kTrackA));  // strip two now reaches the edge, from 189
  EXPECT_EQ(BackPixel(91, 566), C565(kTrackB));
}

TEST_F(PlayScreenTest, GunFrameReplacesDrummerAndBat) {
  play.batX = 300;
  gameRecord.batKind = 3;
  EXPECT_EQ(At(302, 470), C565(kBat[3]));  // idle gun bat: its sheet with the drummer
  EXPECT_EQ(BackPixel(302, 553), C565(kBat[3]));  // bat frames are 90 high from 464
  EXPECT_EQ(BackPixel(302, 554), C565(kGrass));
  EXPECT_EQ(BackPixel(360, 500), C565(kDrummer));   // drummer is 71 wide, the bat 60
  play.gunFrameX = 0;
  play.gunFrameY = 0;
  EXPECT_EQ(At(308, 416), C565(kGun));
  EXPECT_EQ(BackPixel(387, 515), C565(kGun));
  EXPECT_EQ(BackPixel(388, 515), C565(kIsland));
  EXPECT_EQ(BackPixel(307, 470), C565(kIsland));  // neither drummer nor bat
  EXPECT_EQ(BackPixel(360, 520), C565(kIsland));
  EXPECT_EQ(play.gunFrameW, 80);
  EXPECT_EQ(play.gunSheetH, 400);
}

TEST_F(PlayScreenTest, BatFrameFollowsTheDrummerFrame) {
  play.batX = 300;
  play.batterFrame = 7;  // bat column 2, row 1: source (120, 90) to (180, 180)
  EXPECT_EQ(At(300, 470), C565(kBatFrame7));
  EXPECT_EQ(BackPixel(359, 553), C565(kBatFrame7));
  EXPECT_EQ(BackPixel(360, 470), C565(kDrummer));
  // Small and large bats are shifted by their offsets: 3 and -5 pixels, 2 and 0 down.
  play.batterFrame = 0;
  gameRecord.batKind = 0;
  EXPECT_EQ(At(303, 465), C565(kBat[0]));
  EXPECT_EQ(BackPixel(302, 465), C565(kDrummer));
  EXPECT_EQ(BackPixel(303, 464), C565(kIsland));
  gameRecord.batKind = 2;
  EXPECT_EQ(At(295, 463), C565(kBat[2]));
  EXPECT_EQ(BackPixel(294, 463), C565(kIsland));
}

TEST_F(PlayScreenTest, BrickDamagePictures) {
  PutBrick(0, 400, 100, 2);
  PutBrick(1, 500, 100, 7);
  PutBrick(2, 600, 100, -3);
  EXPECT_EQ(At(400, 100), C565(kStage[2]));
  EXPECT_EQ(BackPixel(500, 100), C565(kStage[4]));  // more than four hits: the fifth picture
  EXPECT_EQ(BackPixel(600, 100), C565(kStage[0]));
  // A missing damage picture draws nothing for its bricks.
  delete brickPictures[4];
  brickPictures[4] = nullptr;
  EXPECT_EQ(At(500, 100), C565(kIsland));
  EXPECT_EQ(BackPixel(400, 100), C565(kStage[2]));
}

TEST_F(PlayScreenTest, SourceRectanglesOutsideTheBrickPictureReadNothingOutsideIt) {
  PutBrick(0, 300, 100);
  bricks[0].srcLeft = -5;  // before the picture: the copy is refused
  PutBrick(1, 300, 200);
  bricks[1].srcLeft = 340;
  bricks[1].srcRight = 30000;  // past its right edge (360): cut there
  PutBrick(2, 300, 300);
  bricks[2].srcTop = 100;
  bricks[2].srcBottom = 130;  // past its bottom (112)
  EXPECT_EQ(At(300, 100), C565(kIsland));
  EXPECT_EQ(BackPixel(295 + 19, 200), C565(kStage[0]));
  EXPECT_EQ(BackPixel(295 + 20, 200), C565(kIsland));
  EXPECT_EQ(BackPixel(300, 295 + 11), C565(kStage[0]));
  EXPECT_EQ(BackPixel(300, 295 + 12), C565(kIsland));
}

TEST_F(PlayScreenTest, ExplodingBrickShowsItsWorstLookForTwoRows) {
  // Explosion frames are 30 x 30 here; the brick's centre is (322, 211).
  Brick& b = bricks[0];
  b = {};
  b.srcRight = 44;
  b.srcBottom = 22;
  b.left = 300.9f;
  b.top = 200.0f;
  b.centreOffsetX = 22.0f;
  b.centreOffsetY = 11.0f;
  b.explosionTimer = 3;
  b.explosionSrcY = 30;  // second row
  b.hits = 1;
  EXPECT_EQ(At(340, 215), C565(kStage[4]));
  EXPECT_EQ(BackPixel(299, 192), C565(kExplosion));  // (322 - 15 - 8, 211 - 15 - 4)
  EXPECT_EQ(BackPixel(328, 221), C565(kExplosion));
  EXPECT_EQ(BackPixel(298, 192), C565(kIsland));
  EXPECT_EQ(BackPixel(299, 191), C565(kIsland));
  EXPECT_EQ(BackPixel(329, 195), C565(kIsland));
  b.explosionSrcY = 60;  // third row: the brick is gone
  EXPECT_EQ(At(340, 215), C565(kIsland));
  EXPECT_EQ(BackPixel(310, 200), C565(kExplosion));
}

TEST_F(PlayScreenTest, SidePanelNumbers) {
  gameRecord.score = 12345;  // glyphs 7 + 8 + 11 + 10 + 9 = 45 pixels wide
  gameRecord.lives = 3;
  gameRecord.levelBonus = 88;
  gameRecord.level = 20;
  EXPECT_EQ(At(125, 213), C565(kDigit));
  EXPECT_EQ(BackPixel(81, 225), C565(kDigit));
  EXPECT_EQ(BackPixel(80, 225), C565(kIsland));
  EXPECT_EQ(BackPixel(126, 213), C565(kIsland));
  EXPECT_EQ(BackPixel(125, 212), C565(kIsland));
  for (int y : {300, 389, 480}) {
    EXPECT_EQ(BackPixel(125, y), C565(kDigit)) << y;
    EXPECT_EQ(BackPixel(125, y - 1), C565(kIsland)) << y;
  }
  EXPECT_EQ(BackPixel(126 - 11, 300), C565(kDigit));  // "3" is 11 wide
  EXPECT_EQ(BackPixel(126 - 12, 300), C565(kIsland));
}

TEST_F(PlayScreenTest, MascotDancesOneFrameEveryThirdFrameThroughFiftyFour) {
  EXPECT_EQ(At(60, 100), C565(kWin));
  EXPECT_EQ(At(60, 100), C565(kWin));
  EXPECT_EQ(At(60, 100), C565(kWin2));  // column 1
  for (int i = 3; i < 3 * 54; ++i) DrawPlayScreen();
  EXPECT_EQ(play.moodTick, 0);
  EXPECT_EQ(play.moodColumn, 0);
  EXPECT_EQ(play.moodRow, 0);
  gameRecord.monkeyHappy = false;
  EXPECT_EQ(At(60, 110), C565(kLose));
  EXPECT_EQ(BackPixel(51, 104), C565(kLose));
  EXPECT_EQ(BackPixel(128, 172), C565(kLose));
  EXPECT_EQ(BackPixel(129, 172), C565(kIsland));
  EXPECT_EQ(BackPixel(60, 100), C565(kIsland));
}

TEST_F(PlayScreenTest, CasingFramesAdvanceOnlyForFlyingCasings) {
  play.shellCasings[0] = {300, 300, 0, 0, true};
  play.casingFrameX[0] = 154;
  play.casingFrameY[0] = 70;
  play.casingFrameX[1] = 28;
  DrawPlayScreen();
  EXPECT_EQ(play.casingFrameX[0], 0);
  EXPECT_EQ(play.casingFrameY[0], 0);
  EXPECT_EQ(play.casingFrameX[1], 28);
  DrawPlayScreen();
  EXPECT_EQ(play.casingFrameX[0], 14);
  EXPECT_EQ(BackPixel(300, 300), C565(kCasing));
  EXPECT_EQ(BackPixel(313, 313), C565(kCasing));
  EXPECT_EQ(BackPixel(314, 313), C565(kIsland));
}

TEST_F(PlayScreenTest, ShakeCountsDownForTheFirstShakingBallOnly) {
  PutBall(1, 300, 300);
  PutBall(2, 300, 300);
  PutBall(5, 300, 300);
  play.balls[2].shaking = true;
  play.balls[2].shakeTimer = 4;
  play.balls[5].shaking = true;
  play.balls[5].shakeTimer = 16;
  play.balls[0].shaking = true;  // not flying: not counted
  play.balls[0].shakeTimer = 9;
  DrawPlayScreen();
  EXPECT_EQ(play.balls[2].shakeTimer, 3);
  EXPECT_TRUE(play.balls[2].shaking);
  DrawPlayScreen();
  EXPECT_EQ(play.balls[2].shakeTimer, 2);
  EXPECT_FALSE(play.balls[2].shaking);
  EXPECT_EQ(play.balls[5].shakeTimer, 16);
  DrawPlayScreen();
  EXPECT_EQ(play.balls[5].shakeTimer, 15);
  EXPECT_EQ(play.balls[0].shakeTimer, 9);
}

TEST_F(PlayScreenTest, PositionsFarOffTheScreenDrawNothing) {
  PutBrick(0, 300, 100);
  bricks[0].left = 3e9f;
  bricks[0].explosionTimer = 1;
  bricks[0].centreOffsetX = -1e38f;
  PutBall(0, 100, 100);
  play.balls[0].x = -std::numeric_limits<float>::infinity();
  play.balls[0].y = std::numeric_limits<float>::quiet_NaN();
  play.batX = 1e20f;
  DrawPlayScreen();
  const KSurface* screen = KGraphic::BackBufferSurface();
  for (std::uint16_t px : screen->pixels) {
    ASSERT_NE(px, C565(kBall));
    ASSERT_NE(px, C565(kStage[0]));
    ASSERT_NE(px, C565(kExplosion));
    ASSERT_NE(px, C565(kDrummer));
  }
  EXPECT_EQ(PixelOf(3e9f), PixelOf(1e20f));
  EXPECT_GT(PixelOf(3e9f), 800);
  EXPECT_LT(PixelOf(-1e38f), -800);
  EXPECT_LT(PixelOf(std::numeric_limits<float>::quiet_NaN()), -800);
  EXPECT_EQ(PixelOf(-2.9f), -2);  // truncation toward zero
  EXPECT_EQ(PixelOf(799.99f), 799);
}

TEST_F(PlayScreenTest, SpritesLoadTheirFrameSizesAndFreeAllButThePanel) {
  EXPECT_EQ(play.batFrameW[0], 60.0f);
  EXPECT_EQ(play.batFrameH[3], 90.0f);
  EXPECT_EQ(play.gunFrameX, -1);
  EXPECT_EQ(play.gunFrameH, 100);
  EXPECT_EQ(play.gunSheetW, 560);
  FreeGameSprites();
  for (KGraphic* g : {monkeyPicture, ballPicture, evilBallPicture, explosionPicture, winPicture, losePicture,
                      batterPicture, gunPicture, batPictures[0], batPictures[3]})
    EXPECT_EQ(g, nullptr);
  EXPECT_NE(panelPicture, nullptr);
  // A missing picture stops the loading; what was loaded stays until freed.
  std::remove(dir.File("data/sprites/batteL.bmp").c_str());
  EXPECT_FALSE(LoadBatSprites());
  EXPECT_NE(batPictures[1], nullptr);
  EXPECT_EQ(batPictures[2], nullptr);
  EXPECT_EQ(gunPicture, nullptr);
  std::remove(dir.File("data/sprites/balle.bmp").c_str());
  EXPECT_FALSE(LoadGameSprites());
  EXPECT_NE(monkeyPicture, nullptr);
  EXPECT_EQ(evilBallPicture, nullptr);
}

// The panel closes over the last frame in 41 frames while the music fades.
class EndGameDoorsTest : public PlayScreenTest {
 protected:
  void SetUp() override {
    PlayScreenTest::SetUp();
    window = std::make_unique<KDisplayWindow>();
    ASSERT_TRUE(window->Create(800, 600, 16, true, "ZindoRumba"));
    displayWindow = window.get();
    script::SetFocus(true);
    playMusic(Absolute("data\\audio\\none.ogg").c_str());  // a music object, silent
    volumes.clear();
    script::SetTickHook([](bool afterPresent) {
      if (afterPresent) volumes.push_back(KSound::MusicVolume());
    });
  }
  void TearDown() override {
    script::SetTickHook(nullptr);
    displayWindow = nullptr;
    window.reset();
    musicLevel = 8;
    PlayScreenTest::TearDown();
  }
  std::unique_ptr<KDisplayWindow> window;
  static std::vector<std::int32_t> volumes;  // music volume as each frame was shown
};
std::vector<std::int32_t> EndGameDoorsTest::volumes;

TEST_F(EndGameDoorsTest, MusicFadesOverTheWholeSequence) {
  musicLevel = 8;
  DrawPlayScreen();
  const std::uint64_t frames = script::FramesPresented();
  EndGameDoors();
  EXPECT_EQ(script::FramesPresented() - frames, 41u);
  // The volume is set after each frame is shown: the first frame still has the old one.
  ASSERT_EQ(volumes.size(), 41u);
  for (std::size_t i = 1; i < volumes.size(); ++i) EXPECT_EQ(volumes[i], 80 - 2 * static_cast<int>(i)) << i;
  EXPECT_EQ(KSound::MusicVolume(), 80);  // back at the player's setting
  // Closed: both halves of the panel over the screen.
  const std::vector<std::uint16_t>& screen = script::Screen();
  for (int y : {0, 299, 300, 599}) EXPECT_EQ(screen[static_cast<std::size_t>(y) * 800 + 400], C565(kPanel)) << y;
}

TEST_F(EndGameDoorsTest, MusicAtZeroStaysAtZero) {
  musicLevel = 0;
  KSound::SetGlobalVolumes(0, -1);
  EndGameDoors();
  ASSERT_EQ(volumes.size(), 41u);
  for (std::int32_t v : volumes) EXPECT_EQ(v, 0);
  EXPECT_EQ(KSound::MusicVolume(), 0);
}

TEST_F(EndGameDoorsTest, DamagedMusicLevelSaturates) {
  musicLevel = 2147483647;
  EndGameDoors();
  EXPECT_EQ(KSound::MusicVolume(), 2147483647);
}

}  // namespace
