// Whole runs without the mouse, with the keyboard alone and with the gamepad alone: the menu,
// the options, a game given up (game over), a game through the last level (end screen, name
// entry), the table and Quit. Level 1 has ten crates; level 2 only unbreakable ones, so it
// counts as cleared at once. Nine scores of 10 in the table: the first game's score stays
// below them, the second's bonus enters.
#include "tests/support/GameFolder.h"
#include "tests/support/Golden.h"

#include <string>

namespace {

class NoMouseTest : public GameFolderTest {
 protected:
  void SetUp() override {
    folder::BuildGame(root, 2);
    folder::WriteLevelMap(root, "u.map", 999);
    root.Write("zindo.ini", "[DATA]\r\nlevelcount=2\r\n[LEVELS]\r\nL1=l.map\r\nL2=u.map\r\n");
    folder::WriteInt32File(root, "al.raw", {2});
    std::string table;
    for (int i = 0; i < 9; ++i) table += std::string("TEN") + std::string(253, '\0') + std::string("\x0a\0\0\0", 4);
    root.Write("highscores.raw", table);
  }
  // The run ends by itself (Quit); its output is kept in golden/, and the screens it passed.
  void Check(const std::string& script, const std::string& golden, const std::string& name) {
    const ReplayRun r = Replay(script);
    EXPECT_EQ(r.code, 0) << r.out;
    ExpectGolden(std::string(ZR_GOLDEN_DIR) + "/" + golden, r.out);
    EXPECT_EQ(At(Shot("menu.png"), 400, 225), folder::kPlayLit);  // lit as the menu opens
    EXPECT_EQ(At(Shot("options-lit.png"), 400, 400), 0x00F800u);
    EXPECT_EQ(At(Shot("menu.png"), 400, 400), folder::kMenuBackground);
    EXPECT_EQ(At(Shot("gameover.png"), 10, 10), folder::kGameOverBackground);
    EXPECT_EQ(At(Shot("table.png"), 10, 10), folder::kHighScoreBackground);
    EXPECT_EQ(At(Shot("end.png"), 10, 10), folder::kEndPicture);
    EXPECT_EQ(File("prefvol.raw"), std::string("\x04\0\0\0\x09\0\0\0", 8));  // effects 4, music 9
    const auto t = folder::ReadTable(root.File("highscores.raw"));
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[0].first, name);
    EXPECT_GT(t[0].second, 10);
  }
};

TEST_F(NoMouseTest, AWholeRunWithTheKeyboard) {
  Check("t500 shot menu.png\nt600 tap DOWN\nt800 shot options-lit.png\nt900 tap RETURN\n"
        "t1500 tap RIGHT\nt1700 tap DOWN\nt1900 tap LEFT\nt2100 tap TAB\nt2300 tap TAB\nt2500 tap RETURN\n"  // options
        "t3000 tap UP\nt3100 tap LEFT\nt3200 tap RETURN\n"       // level 1
        "t5000 tap SPACE\nt6000 tap P\nt8000 tap P\nt16000 tap ESCAPE\n"  // launch, pause, give up
        "t19500 shot gameover.png\nt19600 tap SPACE\n"
        "t20500 tap SPACE\nt21500 shot table.png\nt21600 tap ESCAPE\n"
        "t22500 tap RETURN\nt24500 shot end.png\nt24600 tap RETURN\n"  // level 2
        "t26000 tap K\nt26200 tap RETURN\nt27000 tap ESCAPE\n",
        "nomouse-keyboard.txt", "K");
}

TEST_F(NoMouseTest, AWholeRunWithTheGamepad) {
  Check("dialog play gamepad=1\n"
        "t500 shot menu.png\nt600 joytap DOWN\nt800 shot options-lit.png\nt900 joytap A\n"
        "t1500 joytap RIGHT\nt1700 joy 32768 65535\nt1750 joy 32768 32768\nt1900 joytap LEFT\nt2100 joytap B\n"
        "t3000 joytap UP\nt3100 joy 0 32768\nt3150 joy 32768 32768\nt3200 joytap START\n"
        "t4000 joy 65535\nt4300 joy 0\nt4600 joy 32768\nt5000 joytap A\nt6000 joytap START\nt8000 joytap START\n"
        "t16000 joytap BACK\n"
        "t19500 shot gameover.png\nt19600 joytap X\n"
        "t20500 joytap Y\nt21500 shot table.png\nt21600 joytap B\n"
        "t22500 joytap START\nt24500 shot end.png\nt24600 joytap A\n"
        "t26200 joytap START\nt27000 joytap BACK\n",
        "nomouse-gamepad.txt", "");
}

TEST_F(NoMouseTest, APadPluggedInLaterWorksAtOnceOnePulledOutPausesTheGame) {
  const std::string start = "dialog play gamepad=1\nf0 joyplug off\nt1000 joyplug on\nt1100 joytap DOWN\n"
                            "t1300 shot options-lit.png\nt1400 joytap UP\nt1500 joytap LEFT\nt1600 joytap START\n";
  const auto frames = [](const ReplayRun& r) { return std::stoi(r.out.substr(r.out.rfind("frames: ") + 8)); };
  const ReplayRun plugged = Replay(start + "t9000 close\n");
  EXPECT_EQ(At(Shot("options-lit.png"), 400, 400), 0x00F800u);
  // Out at 4 s, in again at 6 s, Start at 7 s: three seconds without a frame.
  const ReplayRun pulled = Replay(start + "t4000 joyplug off\nt6000 joyplug on\nt7000 joytap START\nt9000 close\n");
  EXPECT_EQ(pulled.code, 0) << pulled.out;
  EXPECT_NEAR(frames(plugged) - frames(pulled), 3000 / 14, 3) << plugged.out << pulled.out;
}

}  // namespace
