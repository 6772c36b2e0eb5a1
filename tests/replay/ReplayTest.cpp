// zindo-replay run as a program on a data folder built here.
#include "BmpWriter.h"
#include "ReplayScript.h"
#include "TestFiles.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

struct Outcome {
  int code = -1;
  std::string out;
};

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The backdrop: red = x / 4, green = y / 4, blue 64 (never the key).
    std::vector<Rgb> beach;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        beach.push_back(Rgb{static_cast<std::uint8_t>(x / 4), static_cast<std::uint8_t>(y / 4), 64});
    WriteFileBytes(root.File("data/levels/islands/beach.bmp"), EncodeBmp24(800, 600, beach));
    // The pointer strip: five 21 x 34 frames on pure blue; the first holds a white 4 x 4 square.
    std::vector<Rgb> strip(105 * 34, Rgb{0, 0, 255});
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) strip[y * 105 + x] = Rgb{255, 255, 255};
    WriteFileBytes(root.File("data/general/curseur.bmp"), EncodeBmp24(105, 34, strip));
  }

  Outcome Replay(const std::string& script, const std::string& extra = "") {
    root.Write("script.txt", script);
    const std::string cmd = std::string(ZINDO_REPLAY) + " --root " + root.Path() + " --script " +
                            root.File("script.txt") + " " + extra + " 2>&1";
    Outcome r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
  }

  // A screenshot's pixels as 0x00RRGGBB.
  std::vector<std::uint32_t> Shot(const std::string& name) {
    const std::string bytes = ReadFileBytes(root.File(name));
    std::vector<std::uint32_t> px;
    int w = 0, h = 0;
    EXPECT_TRUE(plat::DecodeImage(bytes.data(), bytes.size(), &px, &w, &h)) << name;
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    return px;
  }

  TempDir root;
};

// The backdrop pixel at (x, y) as the 565 screen shows it, widened again.
std::uint32_t Beach(int x, int y) {
  const std::uint32_t r = (x / 4) >> 3, g = (y / 4) >> 2, b = 64 >> 3;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

TEST_F(ReplayTest, DrawsThePicturesOfTheFolderAndWritesScreenshots) {
  const Outcome r = Replay("# the pointer, a picture, the close box\n"
                       "f0 mouse 100 50\n"
                       "f4 shot first.png\n"
                       "t60 mouse 700 500   # comes due during frame 6\n"
                       "t60 shot second.png\n"
                       "f8 close\n");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "frames: 8 time_ms: 98\n");
  const std::vector<std::uint32_t> a = Shot("first.png");
  ASSERT_EQ(a.size(), 800u * 600u);
  EXPECT_EQ(a[50 * 800 + 100], 0xffffffu);  // the pointer's square
  EXPECT_EQ(a[53 * 800 + 103], 0xffffffu);
  EXPECT_EQ(a[54 * 800 + 104], Beach(104, 54));  // blue around it is transparent
  EXPECT_EQ(a[0], Beach(0, 0));
  EXPECT_EQ(a[599 * 800 + 799], Beach(799, 599));
  EXPECT_EQ(a[300 * 800 + 400], Beach(400, 300));
  const std::vector<std::uint32_t> b = Shot("second.png");
  ASSERT_EQ(b.size(), 800u * 600u);
  EXPECT_EQ(b[500 * 800 + 700], 0xffffffu);
  EXPECT_EQ(b[50 * 800 + 100], Beach(100, 50));
}

TEST_F(ReplayTest, SameScriptSameOutputByteForByte) {
  const std::string script = "f0 mouse 10 10\nf2 mouse 300 200\nf5 shot s.png\nt120 tap ESCAPE\n";
  const Outcome a = Replay(script);
  const std::string shotA = ReadFileBytes(root.File("s.png"));
  const Outcome b = Replay(script);
  EXPECT_EQ(a.code, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_FALSE(shotA.empty());
  EXPECT_EQ(shotA, ReadFileBytes(root.File("s.png")));
  // Escape held from 120 ms ends the program at the next frame.
  EXPECT_EQ(a.out, "frames: 10 time_ms: 126\n");
}

TEST_F(ReplayTest, MissingPicturesAreReportedAsBoxes) {
  std::remove(root.File("data/general/curseur.bmp").c_str());
  const Outcome r = Replay("f4 close\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("box: file not found | " + root.Path() + "/data/general/curseur.bmp\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("box: Could not create surface | directx error\n"), std::string::npos);
}

TEST_F(ReplayTest, LimitsStopTheProgramAsIfClosed) {
  Outcome r = Replay("", "--max-frames 10");
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out, "frames: 10 time_ms: 126\n");
  r = Replay("", "--max-time 500");
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out.rfind("frames: 37 time_ms: 5", 0), 0u) << r.out;
  // A program that does not end after the close box (here: waiting in the background)
  // is stopped after the grace of 1000 frame times.
  r = Replay("f4 focus off\n", "--max-time 300");
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out, "frames: 4 time_ms: 14300\n");
}

TEST_F(ReplayTest, FocusLossStopsTheGameUntilItIsBack) {
  const Outcome r = Replay("f4 focus off\nt1000 focus on\nt1100 close\n");
  EXPECT_EQ(r.code, 0);
  // Four frames, the wait until 1000 ms, one frame at once (it was due long ago), then one
  // every 14 ms until the close box at 1100 ms comes due in the wait of the frame ending at 1112.
  EXPECT_EQ(r.out, "frames: 13 time_ms: 1112\n");
}

TEST_F(ReplayTest, BadScriptsAndArguments) {
  Outcome r = Replay("# fine\n\nf1 mouse 1\n");
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
