// zindo-replay run as a program on a data folder built here.
#include "tests/support/GameFolder.h"

#include <string>

namespace {

class ReplayTest : public GameFolderTest {
 protected:
  void SetUp() override { folder::Build(root, 10); }
};

TEST_F(ReplayTest, DrawsThePicturesOfTheFolderAndWritesTheSameScreenshotsEachTime) {
  const std::string script =
      "# the pointer, the menu, the close box\n"
      "f0 mouse 100 50\n"
      "f4 shot first.png\n"
      "t200 mouse 420 225   # over Play\n"
      "t200 shot second.png\n"
      "f30 close\n";
  const ReplayRun r = Replay(script, "");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out.rfind("frames: 30 time_ms: ", 0), 0u) << r.out;
  const std::vector<std::uint32_t> a = Shot("first.png");
  ASSERT_EQ(a.size(), 800u * 600u);
  EXPECT_EQ(At(a, 100, 50), folder::kPointer);
  EXPECT_EQ(At(a, 103, 53), folder::kPointer);
  EXPECT_EQ(At(a, 104, 54), folder::kMenuBackground);  // blue around it is transparent
  EXPECT_EQ(At(a, 0, 0), folder::kMenuBackground);
  EXPECT_EQ(At(a, 799, 599), folder::kMenuBackground);
  EXPECT_EQ(At(a, 400, 225), folder::kPlayLit);  // lit for the keys as the menu opens
  EXPECT_EQ(folder::ReadNumber(a, 424, 313), 1);
  const std::vector<std::uint32_t> b = Shot("second.png");
  ASSERT_EQ(b.size(), 800u * 600u);
  EXPECT_EQ(At(b, 420, 225), folder::kPointer);
  EXPECT_EQ(At(b, 400, 225), folder::kPlayLit);
  EXPECT_EQ(At(b, 100, 50), folder::kMenuBackground);
  // The same script gives the same output and screenshots, byte for byte.
  const std::string firstShot = File("first.png");
  EXPECT_EQ(Replay(script, "").out, r.out);
  EXPECT_EQ(File("first.png"), firstShot);
}

TEST_F(ReplayTest, LimitsCloseAndFocus) {
  const struct {
    const char* script;
    const char* extra;
    int code;
    std::string start, inside;
  } cases[] = {
      // A limit stops the program as if closed.
      {"", "--max-frames 10", 3, "frames: 10 time_ms: ", ""},
      {"", "--max-time 500", 3, "frames: ", " time_ms: 5"},
      // A program that does not end after the close box (here: Options held down, the options
      // screen waiting for the button to go up, which reads no window events) is stopped after
      // the grace of 1000 frame times.
      {"f2 mouse 420 400\nf3 down\n", "--max-time 300", 3, "frames: ", " time_ms: 14300\n"},
      // Waiting in the background, a close request (the limit's, or from a taskbar) ends the
      // program at once, without the focus coming back.
      {"f4 focus off\n", "--max-time 300", 3, "frames: 4 time_ms: 300\n", ""},
      {"f4 focus off\nt500 close\n", "--max-time 5000", 0, "frames: 4 time_ms: 500\n", ""},
      // Four frames, the wait until the focus is back at 1000 ms, then frames every 14 ms.
      {"f4 focus off\nt1000 focus on\nt1100 close\n", "", 0, "frames: 1", "time_ms: 11"},
  };
  for (const auto& c : cases) {
    const ReplayRun r = Replay(c.script, c.extra);
    EXPECT_EQ(r.code, c.code) << c.script << c.extra;
    EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << r.out;
    if (c.start.back() == '\n') {
      EXPECT_EQ(r.out, c.start);
    }
    EXPECT_NE(r.out.find(c.inside), std::string::npos) << r.out;
  }
}

TEST_F(ReplayTest, BadScriptsAndArguments) {
  const struct {
    const char* script;
    const char* extra;
    const char* message;
  } cases[] = {{"# fine\n\nf1 mouse 1\n", "", "line 3: mouse wants X Y"},
               {"f1 key NOSUCHKEY down\n", "", "line 1: unknown key"},
               {"f1 close extra\n", "", "line 1: close takes nothing"},
               {"dialog play\ndialog play\n", "", ""},
               {"f 1 close\n", "", ""},
               {"f99999999999999999999999 close\n", "", ""},
               {"x5 close\n", "", ""},
               {"f1 joy 70000\n", "", ""},
               {"f1 joytap NOPE\n", "", "joytap wants"},
               {"dialog maybe\n", "", ""},
               {"f1 close\n", "--max-frames x", ""},
               {"f1 close\n", "--bogus", ""},
               {"f1 close\n", "--screen highscores:x", ""}};
  for (const auto& c : cases) {
    const ReplayRun r = Replay(c.script, c.extra);
    EXPECT_EQ(r.code, 2) << c.script << c.extra;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  }
}

}  // namespace
