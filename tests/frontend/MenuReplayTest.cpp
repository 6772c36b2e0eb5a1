// The welcome dialog and the main menu, played through zindo-replay on a folder built here.
#include "tests/support/GameFolder.h"

#include <cstdio>
#include <string>

namespace {

class MenuTest : public GameFolderTest {
 protected:
  void SetUp() override { folder::Build(root, 10); }
  static int Frames(const ReplayRun& r) {
    const std::size_t at = r.out.rfind("frames: ");
    return at == std::string::npos ? -1 : std::stoi(r.out.substr(at + 8));
  }
};

TEST_F(MenuTest, DialogSettingFilesAreReadBeforeAndWrittenAfter) {
  // First start: Play with the boxes as they were (a window, no gamepad).
  ReplayRun r = Replay("f5 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(File("data/fullscreen.stt"), std::string(1, '\x01'));
  EXPECT_EQ(File("data/gamepad.stt"), std::string(1, '\x00'));
  // Full screen ticked and the gamepad: 00 and 01.
  r = Replay("dialog play fullscreen=1 gamepad=1\nf5 close\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(File("data/fullscreen.stt"), std::string(1, '\x00'));
  EXPECT_EQ(File("data/gamepad.stt"), std::string(1, '\x01'));
  // A 02 survives Quit, whatever was ticked; Quit opens no window.
  root.Write("data/fullscreen.stt", std::string(1, '\x02'));
  r = Replay("dialog quit fullscreen=1 gamepad=0 help\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "open: " + root.Path() + "/data/help/english/index.html\nframes: 0 time_ms: 0\n");
  EXPECT_EQ(File("data/fullscreen.stt"), std::string(1, '\x02'));
  EXPECT_EQ(File("data/gamepad.stt"), std::string(1, '\x01'));
  // 02 plays in a window: the untouched box stays unticked, Play writes 01.
  r = Replay("dialog play\nf5 close\n");
  EXPECT_EQ(File("data/fullscreen.stt"), std::string(1, '\x01'));
}

TEST_F(MenuTest, HoverLightsAButtonAndAClickNeedsThePressPoint) {
  // Hovering Quit lights it; pressing elsewhere and sliding onto it does not click.
  ReplayRun r = Replay("f3 mouse 200 200\nf5 down\nf8 mouse 400 490\nf12 shot lit.png\nf20 up\nf40 close\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(Frames(r), 40) << r.out;
  const auto lit = Shot("lit.png");
  EXPECT_EQ(At(lit, 345, 470), folder::kQuitLit);
  EXPECT_EQ(At(lit, 400, 225), folder::kMenuBackground);
  // Pressing on Quit itself ends the program at once.
  r = Replay("f3 mouse 400 490\nf5 down\nt2000 up\nf40 close\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(Frames(r), 6) << r.out;  // the frame that sees the press is the last
  // So does the close box.
  r = Replay("f7 close\n");
  EXPECT_EQ(Frames(r), 7);
}

TEST_F(MenuTest, PointerBlinksAndGivesWayToTheSystemPointerOutside) {
  // One pointer drawing a frame, after the window's three opening frames: frame 0 for the
  // first 205 drawings, then frames 1..4 for six each, then frame 0 again.
  const ReplayRun r = Replay(
      "f0 mouse 100 50\nf200 shot a.png\nf211 shot b.png\nf217 shot c.png\nf223 shot d.png\nf229 shot e.png\n"
      "f235 shot f.png\nf236 mouse 801 600\nf245 shot out.png\nf246 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(folder::PointerFrame(Shot(std::string(1, static_cast<char>('a' + i)) + ".png"), 100, 50), i % 5) << i;
  // Outside the screen the sprite is not drawn: nothing of it is left anywhere.
  EXPECT_EQ(At(Shot("out.png"), 100, 50), folder::kMenuBackground);
  EXPECT_EQ(At(Shot("out.png"), 799, 599), folder::kMenuBackground);
}

TEST_F(MenuTest, LevelSelectorIsBoundByProgressAndLevelCount) {
  // Reached 3 of 10: the up arrow stops at 3, the down arrow at 1.
  folder::WriteInt32File(root, "al.raw", {3});
  std::string script = "f2 mouse 440 320\n";
  for (int i = 0; i < 4; ++i) script += "t" + std::to_string(1000 + 1000 * i) + " click 440 320\n";
  script += "t5000 shot up.png\nt5100 mouse 360 320\n";
  for (int i = 0; i < 5; ++i) script += "t" + std::to_string(6000 + 1000 * i) + " click 360 320\n";
  script += "t11500 shot down.png\nt11600 close\n";
  ReplayRun r = Replay(script);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(folder::ReadNumber(Shot("up.png"), 424, 313), 3);
  EXPECT_EQ(folder::ReadNumber(Shot("down.png"), 424, 313), 1);
  // Reached 50 of 5: the selector shows 5. Reached 500 of 1000: 209 on entry, and up to 210.
  folder::WriteInt32File(root, "al.raw", {50});
  folder::WriteZindoIni(root, 5);
  r = Replay("f5 shot a.png\nf6 close\n");
  EXPECT_EQ(folder::ReadNumber(Shot("a.png"), 424, 313), 5);
  folder::WriteInt32File(root, "al.raw", {500});
  folder::WriteZindoIni(root, 1000);
  r = Replay("f5 shot a.png\nt1000 click 440 320\nt2000 shot b.png\nt2100 close\n");
  EXPECT_EQ(folder::ReadNumber(Shot("a.png"), 424, 313), 209);
  EXPECT_EQ(folder::ReadNumber(Shot("b.png"), 424, 313), 210);
  // No zindo.ini: a level count of 0 and the selector shows 0 (the clamp to the count comes last).
  std::remove(root.File("zindo.ini").c_str());
  r = Replay("f5 shot a.png\nf6 close\n");
  EXPECT_EQ(folder::ReadNumber(Shot("a.png"), 424, 313), 0);
}

TEST_F(MenuTest, HeldArrowRepeatsFaster) {
  // Held as the menu opens, an arrow steps at once, again after 500 ms, then after 490 ms, ...
  // A frame without the button sets the delay to 100 ms: a later hold repeats after 100, 90, ...
  folder::WriteInt32File(root, "al.raw", {200});
  folder::WriteZindoIni(root, 300);
  const ReplayRun r = Replay(
      "f0 mouse 360 320\nf0 down\n"
      "t1400 up\nt1600 shot a.png\n"               // steps at the first frame, +500, +990
      "t3000 down\nt3250 up\nt3350 shot b.png\n"  // at 3000, 3100, 3190
      "t4000 down\nt4150 up\nt4250 shot c.png\n"  // at 4000, 4100
      "t5000 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(folder::ReadNumber(Shot("a.png"), 424, 313), 197);
  EXPECT_EQ(folder::ReadNumber(Shot("b.png"), 424, 313), 194);
  EXPECT_EQ(folder::ReadNumber(Shot("c.png"), 424, 313), 192);
}

TEST_F(MenuTest, LongHoldSettlesAtTheFrameRate) {
  // The delay shrinks by 10 ms a step, to 4 ms at least; below a frame's 14 ms the frame
  // spacing sets the pace. Nine steps take the delays 100 down to 20 (540 ms), then one step
  // a frame.
  folder::WriteInt32File(root, "al.raw", {1000});
  folder::WriteZindoIni(root, 1000);
  const ReplayRun r = Replay("f2 mouse 360 320\nt1000 down\nt3000 shot a.png\nt3100 up\nt3200 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  const int steps = 209 - folder::ReadNumber(Shot("a.png"), 424, 313);  // the menu opens at 209 at most
  EXPECT_GE(steps, 9 + (2000 - 540) / 15);
  EXPECT_LE(steps, 9 + (2000 - 540) / 14 + 2);
}

TEST_F(MenuTest, EightIdleSecondsStartTheAttractModeKeysAndThePadCount) {
  // Idle: the demonstration at 8 s (doors close over the menu and open on its level for 62
  // frames, then 2125 frames of play), back to the menu, the table 8 s later.
  folder::BuildGame(root, 10);
  ReplayRun r = Replay("f1 mouse 700 100\nt7900 shot menu.png\nt9000 shot demo.png\n"
                       "t42000 shot back.png\nt47800 shot table.png\nt47900 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground);
  EXPECT_EQ(At(Shot("demo.png"), 400, 300), folder::kIsland);
  EXPECT_NE(r.out.find("game-end frame=2762 level=1 "), std::string::npos) << r.out;
  EXPECT_EQ(At(Shot("back.png"), 10, 10), folder::kMenuBackground);
  EXPECT_EQ(At(Shot("table.png"), 10, 10), folder::kHighScoreBackground);
  // A pointer move, any key, or the chosen gamepad at 5 s puts the demonstration off by 5 s.
  for (const char* activity : {"t5000 mouse 710 100\n", "t5000 tap A\n", "dialog play gamepad=1\nt5000 joytap X\n"}) {
    r = Replay(std::string(activity) + "f1 mouse 700 100\nt12900 shot menu.png\nt14000 shot demo.png\nt14100 close\n");
    EXPECT_EQ(At(Shot("menu.png"), 10, 10), folder::kMenuBackground) << activity;
    EXPECT_EQ(At(Shot("demo.png"), 400, 300), folder::kIsland) << activity;
  }
}

TEST_F(MenuTest, MissingPicturesNeverCrash) {
  // A missing menu picture: the loader's box, and the menu runs without it.
  std::remove(root.File("data/general/ENGLISH/menu/playon.bmp").c_str());
  ReplayRun r = Replay("f3 mouse 400 225\nf10 shot a.png\nf12 close\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("box: file not found | " + root.Path() + "/data/general/ENGLISH/menu/playon.bmp\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(Frames(r), 12);
  EXPECT_EQ(At(Shot("a.png"), 420, 230), folder::kMenuBackground);
  // A missing sheet or pointer ends the menu, and with it the program (after the window
  // opened), no limit hit.
  for (const char* file : {"data/sprites/bigplanche.bmp", "data/general/curseur.bmp"}) {
    folder::Build(root, 10);
    std::remove(root.File(file).c_str());
    r = Replay("f100 close\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("box: file not found | " + root.Path() + "/" + file + "\n"), std::string::npos) << r.out;
    EXPECT_LT(Frames(r), 100) << r.out;
  }
  // Random bytes where the pictures and the settings should be.
  folder::Build(root, 10);
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise += static_cast<char>((i * 7919) ^ (i >> 3));
  root.Write("data/general/ENGLISH/menu/menuplayoff.bmp", noise);
  root.Write("data/general/curseur.bmp", noise.substr(0, 54));
  root.Write("data/fullscreen.stt", noise);
  r = Replay("f100 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
}

}  // namespace
