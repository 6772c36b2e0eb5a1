// zindo-replay run as a program on a data folder built here.
#include "GameFolder.h"
#include "ReplayScript.h"
#include "TestFiles.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override { folder::Build(root, 10); }
  ReplayRun Replay(const std::string& script, const std::string& extra = "") { return RunReplay(root, script, extra); }
  TempDir root;
};

TEST_F(ReplayTest, DrawsThePicturesOfTheFolderAndWritesScreenshots) {
  const ReplayRun r = Replay("# the pointer, the menu, the close box\n"
                             "f0 mouse 100 50\n"
                             "f4 shot first.png\n"
                             "t200 mouse 420 225   # over Play\n"
                             "t200 shot second.png\n"
                             "f30 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out.rfind("frames: 30 time_ms: ", 0), 0u) << r.out;
  const std::vector<std::uint32_t> a = ReadShot(root.File("first.png"));
  ASSERT_EQ(a.size(), 800u * 600u);
  EXPECT_EQ(At(a, 100, 50), folder::kPointer);
  EXPECT_EQ(At(a, 103, 53), folder::kPointer);
  EXPECT_EQ(At(a, 104, 54), folder::kMenuBackground);  // blue around it is transparent
  EXPECT_EQ(At(a, 0, 0), folder::kMenuBackground);
  EXPECT_EQ(At(a, 799, 599), folder::kMenuBackground);
  EXPECT_EQ(At(a, 400, 225), folder::kMenuBackground);  // Play not lit yet
  EXPECT_EQ(folder::ReadNumber(a, 424, 313), 1);
  const std::vector<std::uint32_t> b = ReadShot(root.File("second.png"));
  ASSERT_EQ(b.size(), 800u * 600u);
  EXPECT_EQ(At(b, 420, 225), folder::kPointer);
  EXPECT_EQ(At(b, 400, 225), folder::kPlayLit);
  EXPECT_EQ(At(b, 100, 50), folder::kMenuBackground);
}

TEST_F(ReplayTest, SameScriptSameOutputByteForByte) {
  const std::string script = "f0 mouse 10 10\nf2 mouse 300 200\nf5 shot s.png\nt300 close\n";
  const ReplayRun a = Replay(script);
  const std::string shotA = ReadFileBytes(root.File("s.png"));
  const ReplayRun b = Replay(script);
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_FALSE(shotA.empty());
  EXPECT_EQ(shotA, ReadFileBytes(root.File("s.png")));
}

TEST_F(ReplayTest, MissingPointerEndsTheProgramAfterTheWindowOpened) {
  std::remove(root.File("data/general/curseur.bmp").c_str());
  const ReplayRun r = Replay("f100 close\n");
  EXPECT_EQ(r.code, 0);
  // The loader says what is missing; the program then ends on its own, no limit hit.
  EXPECT_NE(r.out.find("box: file not found | " + root.Path() + "/data/general/curseur.bmp\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("frames: 100"), std::string::npos) << r.out;
}

TEST_F(ReplayTest, LimitsStopTheProgramAsIfClosed) {
  ReplayRun r = Replay("", "--max-frames 10");
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out.rfind("frames: 10 time_ms: ", 0), 0u) << r.out;
  r = Replay("", "--max-time 500");
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.out.find(" time_ms: 5"), std::string::npos) << r.out;
  // A program that does not end after the close box (here: Options held down, the options
  // screen waiting for the button to go up, which reads no window events) is stopped after
  // the grace of 1000 frame times.
  r = Replay("f2 mouse 420 400\nf3 down\n", "--max-time 300");
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.out.find(" time_ms: 14300\n"), std::string::npos) << r.out;
  // Waiting in the background, the limit's close request ends the program at once.
  r = Replay("f4 focus off\n", "--max-time 300");
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out, "frames: 4 time_ms: 300\n");
}

TEST_F(ReplayTest, CloseInTheBackgroundEndsTheGame) {
  // The window loses the focus after four frames; the close box (from a taskbar) half a
  // second later ends the program at once, without the focus coming back.
  const ReplayRun r = Replay("f4 focus off\nt500 close\n", "--max-time 5000");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "frames: 4 time_ms: 500\n");
}

TEST_F(ReplayTest, FocusLossStopsTheGameUntilItIsBack) {
  const ReplayRun r = Replay("f4 focus off\nt1000 focus on\nt1100 close\n");
  EXPECT_EQ(r.code, 0);
  // Four frames, the wait until 1000 ms, then frames every 14 ms until the close box.
  EXPECT_EQ(r.out.rfind("frames: 1", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("time_ms: 11"), std::string::npos) << r.out;
}

TEST_F(ReplayTest, BadScriptsAndArguments) {
  ReplayRun r = Replay("# fine\n\nf1 mouse 1\n");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("line 3: mouse wants X Y"), std::string::npos) << r.out;
  r = Replay("f1 key NOSUCHKEY down\n");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.out.find("line 1: unknown key"), std::string::npos);
  r = Replay("x5 close\n");
  EXPECT_EQ(r.code, 2);
  r = Replay("f1 joy 70000\n");
  EXPECT_EQ(r.code, 2);
  r = Replay("dialog maybe\n");
  EXPECT_EQ(r.code, 2);
  r = Replay("f1 close\n", "--max-frames x");
  EXPECT_EQ(r.code, 2);
  r = Replay("f1 close\n", "--bogus");
  EXPECT_EQ(r.code, 2);
  r = Replay("f1 close\n", "--screen highscores:x");
  EXPECT_EQ(r.code, 2);
}

TEST(ReplayScriptTest, ParsesEveryAction) {
  ReplayScript s;
  std::string error;
  ASSERT_TRUE(ParseReplayScript("f0 mouse -5 70000\nt30 down\nt40 up\nf2 click 3 4\nf2 key left down\n"
                                "f3 tap F4\nf3 joy 65535\nf3 joybuttons 5\nf4 focus off\nf4 close\nf5 shot a/b.png\n"
                                "dialog quit fullscreen=1 gamepad=0 help\n",
                                "/base", &s, &error))
      << error;
  ASSERT_EQ(s.actions.size(), 11u);
  EXPECT_EQ(s.actions[0].x, -5);
  EXPECT_EQ(s.actions[0].y, 70000);
  EXPECT_FALSE(s.actions[1].atFrame);
  EXPECT_EQ(s.actions[1].when, 30u);
  EXPECT_EQ(s.actions[4].kind, ReplayAction::kKey);
  EXPECT_TRUE(s.actions[4].on);
  EXPECT_EQ(s.actions[7].bits, 5u);
  EXPECT_EQ(s.actions[10].file, "/base/a/b.png");
  EXPECT_TRUE(s.dialog.given);
  EXPECT_FALSE(s.dialog.play);
  EXPECT_EQ(s.dialog.fullScreen, 1);
  EXPECT_EQ(s.dialog.gamepad, 0);
  EXPECT_TRUE(s.dialog.help);
  EXPECT_FALSE(ParseReplayScript("f1 close extra\n", "", &s, &error));
  EXPECT_EQ(error, "line 1: close takes nothing");
  EXPECT_FALSE(ParseReplayScript("dialog play\ndialog play\n", "", &s, &error));
  EXPECT_FALSE(ParseReplayScript("f 1 close\n", "", &s, &error));
  EXPECT_FALSE(ParseReplayScript("f99999999999999999999999 close\n", "", &s, &error));
}

}  // namespace
