// Saving into a game folder that takes nothing: the welcome dialog, the options screen and
// the name entry all save and fail; the game goes on, and every old file stays whole.
// Played through zindo-replay in a shell made for the fault:
// - a read-only folder where the player's own folder cannot be had either (no home, or one
//   inside the read-only folder): chmod where that stops writes; as root, a read-only bind
//   mount of the folder over itself in a mount namespace of the run's own (unshare);
// - a full disk: ulimit -f (SIGXFSZ ignored), 0 for no byte at all, or 512 bytes, which
//   lets the small files be saved and cuts the 2340-byte score table in the middle.
#include "tests/support/GameFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kSaved = {"prefvol.raw", "al.raw", "highscores.raw", "data/fullscreen.stt",
                                         "data/gamepad.stt"};

// The options screen: music up once, reset scores, Back; then the menu, then the table.
const char* kOptionsThenTable =
    "dialog play fullscreen=1 gamepad=0\n"
    "f3 mouse 400 400\nf5 down\nt300 up\n"
    "t500 mouse 630 178\nt600 click 630 178\n"
    "t900 mouse 550 378\nt1000 down\nt1100 up\n"
    "t1300 mouse 396 507\nt1400 down\nt1600 up\n"
    "t2200 shot menu.png\nt2300 tap SPACE\nt4000 shot table.png\nt4100 close\n";

class FaultyFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder::Build(root, 10);
    folder::WriteInt32File(root, "prefvol.raw", {3, 7});
    folder::WriteInt32File(root, "al.raw", {5});
    std::string table;
    for (int i = 0; i < 9; ++i) {
      std::string name = "OLD" + std::to_string(i);
      name.resize(256, '\0');
      table += name + std::string(1, static_cast<char>(90 - i)) + std::string(3, '\0');
    }
    root.Write("highscores.raw", table);
    root.Write("data/fullscreen.stt", std::string(1, '\x02'));
    root.Write("data/gamepad.stt", std::string(1, '\x01'));
    for (const std::string& f : kSaved) before[f] = ReadFileBytes(root.File(f));
  }

  // zindo-replay on the folder, started by `shell` (a shell command ending in "exec"); its
  // script and screenshots are in a folder of their own, which stays writable.
  ReplayRun Run(const std::string& shell, const std::string& script, const std::string& extra = "") {
    scratch.Write("script.txt", script);
    return RunCommand("sh -c '" + shell + " " + ZINDO_REPLAY + " --root " + root.Path() + " --script " +
                      scratch.File("script.txt") + " --max-time 60000 " + extra + "'");
  }

  // The shell start that makes the folder read-only for the run, or "" when none can.
  std::string ReadOnlyShell() {
    if (geteuid() != 0) {
      for (const char* dir : {"", "data"}) chmod(root.File(dir).c_str(), 0555);
      restoreModes = true;
      if (access(root.File("").c_str(), W_OK) != 0) return "exec";
    }
    if (std::system("unshare --mount true >/dev/null 2>&1") == 0)
      return "exec unshare --mount sh -c \"mount -o bind,ro " + root.Path() + " " + root.Path() + " && exec";
    return "";
  }
  static std::string ReadOnlyEnd(const std::string& shell) { return shell == "exec" ? "" : "\""; }

  void TearDown() override {
    if (restoreModes)
      for (const char* dir : {"", "data"}) chmod(root.File(dir).c_str(), 0755);
  }

  // Whether the run went through its script: exit 0 and the time of its last line reached.
  static void ExpectWentOn(const ReplayRun& r, int lastMs) {
    EXPECT_EQ(r.code, 0) << r.out;
    const std::size_t at = r.out.rfind("time_ms: ");
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_GE(std::stoi(r.out.substr(at + 9)), lastMs) << r.out;
  }
  void ExpectUnchanged(const std::vector<std::string>& files) {
    for (const std::string& f : files) EXPECT_EQ(ReadFileBytes(root.File(f)), before[f]) << f;
  }
  void ExpectNothingBeside() {
    for (const auto& e : fs::recursive_directory_iterator(root.Path()))
      EXPECT_NE(e.path().extension(), ".new") << e.path();
  }

  TempDir root;
  TempDir scratch;
  std::map<std::string, std::string> before;
  bool restoreModes = false;
};

TEST_F(FaultyFolderTest, ReadOnlyFolderKeepsEveryFileAndTheGameGoesOn) {
  const std::string shell = ReadOnlyShell();
  if (shell.empty()) GTEST_SKIP() << "no way to make a read-only folder here (chmod is not obeyed, no unshare)";
  // No home at all: no folder of the player's own.
  const ReplayRun r = Run("unset HOME XDG_DATA_HOME; " + shell, kOptionsThenTable, ReadOnlyEnd(shell));
  ExpectWentOn(r, 4100);
  EXPECT_EQ(r.out.find("box:"), std::string::npos) << "a failed save is silent: " << r.out;
  // Back on the menu after the failed saves, then the table from the menu.
  EXPECT_EQ(At(ReadShot(scratch.File("menu.png")), 10, 10), folder::kMenuBackground);
  EXPECT_EQ(At(ReadShot(scratch.File("table.png")), 10, 10), folder::kHighScoreBackground);
  ExpectUnchanged(kSaved);
  ExpectNothingBeside();

  // A name entered on the high-score screen, saved with Return; the player's folder would be
  // inside the read-only one and cannot be made.
  const ReplayRun n = Run("export XDG_DATA_HOME=" + root.File("player") + "; " + shell,
                          "f40 mouse 700 100\nt1000 tap A\nt1200 tap RETURN\n",
                          "--screen highscores:1000" + ReadOnlyEnd(shell));
  ExpectWentOn(n, 1200);
  ExpectUnchanged(kSaved);
  EXPECT_FALSE(fs::exists(root.File("player") + "/zindorumba"));
}

TEST_F(FaultyFolderTest, FullDiskKeepsEveryOldFileAndTheGameGoesOn) {
  // No byte at all: every save fails (the start settings used to be left empty here).
  const std::string full = "ulimit -f 0; trap \"\" XFSZ; exec";
  ExpectWentOn(Run(full, kOptionsThenTable), 4100);
  ExpectUnchanged(kSaved);
  ExpectNothingBeside();
  ExpectWentOn(Run(full, "f40 mouse 700 100\nt1000 tap A\nt1200 tap RETURN\n", "--screen highscores:1000"), 1200);
  ExpectUnchanged(kSaved);

  // 512 bytes a file: the small files are saved, the table breaks off in its second record.
  ExpectWentOn(Run("ulimit -f 1; trap \"\" XFSZ; exec", kOptionsThenTable), 4100);
  ExpectUnchanged({"highscores.raw"});
  EXPECT_EQ(ReadFileBytes(root.File("prefvol.raw")), std::string("\x03\0\0\0\x08\0\0\0", 8));  // music up
  EXPECT_EQ(ReadFileBytes(root.File("al.raw")), std::string("\x01\0\0\0", 4));                // reset
  EXPECT_EQ(ReadFileBytes(root.File("data/fullscreen.stt")), std::string(1, '\0'));
  EXPECT_EQ(ReadFileBytes(root.File("data/gamepad.stt")), std::string(1, '\0'));
  ExpectNothingBeside();
}

}  // namespace
