// The game as a Debian package: make package's script writes the .deb into a temporary
// folder, dpkg-deb -x unpacks it into a temporary root; its fields, files and checks
// (lintian, appstreamcli, desktop-file-validate), the command line, uninstall's script on its
// file list, then the unpacked install made read-only (a read-only bind mount in a mount
// namespace of the run's own) and played with a temporary XDG_DATA_HOME: the options and a
// high score are saved in the player's folder and read back on the next start, the install
// left as it was; and the real game started from it to the main menu under Xvfb.
#include "tests/support/GameFolder.h"
#include "tools/testkit/RealGame.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <csignal>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kPrefix = "/usr";

using Cmd = CommandRun;

// Every file and link under a folder, with its size (links: their target).
std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string rel = e.path().lexically_relative(folder).string();
    if (e.is_symlink())
      files[rel] = "-> " + fs::read_symlink(e.path()).string();
    else if (e.is_regular_file())
      files[rel] = std::to_string(e.file_size());
  }
  return files;
}

std::map<std::string, std::string> DesktopKeys(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream in(text);
  std::string line;
  bool inEntry = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') inEntry = line == "[Desktop Entry]";
    const std::size_t eq = line.find('=');
    if (inEntry && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

std::uint32_t Be32(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8 |
         static_cast<unsigned char>(s[at + 3]);
}

class PackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stage_ = new TempDir;
    debs_ = new TempDir;
    const std::string make = std::string(ZR_SOURCE_DIR) + "/tools/package/make-deb.sh " + ZR_BUILD_DIR + " " +
                             ZR_VERSION + " " + ZR_RELEASE_DATE + " '" + debs_->Path() + "'";
    made_ = new Cmd(RunCommand(make));
    deb_ = made_->out.substr(0, made_->out.find('\n'));
    if (made_->code == 0) *made_ = RunCommand("dpkg-deb -x '" + deb_ + "' '" + stage_->Path() + "'");
  }
  static void TearDownTestSuite() {
    delete made_;
    delete stage_;
    delete debs_;
    made_ = nullptr;
    stage_ = debs_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(made_->code, 0) << made_->out; }

  static std::string Staged(const std::string& path) { return stage_->Path() + kPrefix + "/" + path; }
  static std::string Field(const std::string& name) {
    const Cmd f = RunCommand("dpkg-deb -f '" + deb_ + "' " + name);
    return f.code == 0 ? f.out : "(" + f.out + ")";
  }

  // A shell start under which the unpacked install is read-only to everyone (root
  // included); "" where no mount namespace can be had.
  static std::string ReadOnlyInstall() {
    if (RunCommand("unshare --mount true").code != 0) return "";
    const std::string at = "'" + stage_->Path() + "'";
    return "unshare --mount sh -c \"mount --make-rprivate / && mount --bind " + at + " " + at +
           " && mount -o remount,bind,ro " + at + " && ";
  }

  // zindo-replay on the installed game folder, read-only, with the player's folder under
  // xdg; the script and screenshots in a folder of their own.
  Cmd Replay(const std::string& shell, const std::string& script, const std::string& extra = "") {
    scratch.Write("script.txt", script);
    return RunCommand("XDG_DATA_HOME='" + xdg.Path() + "' " + shell + "exec " + ZINDO_REPLAY + " --root '" + Staged("games") +
                 "' --script " + scratch.File("script.txt") + " --max-time 60000 " + extra + "\"");
  }

  std::string Saved(const std::string& name) { return ReadFileBytes(xdg.Path() + "/zindorumba/" + name); }

  std::vector<std::pair<std::string, std::int32_t>> Table() { return folder::ReadTable(xdg.Path() + "/zindorumba/highscores.raw"); }

  static TempDir* stage_;
  static TempDir* debs_;
  static Cmd* made_;
  static std::string deb_;
  TempDir xdg;
  TempDir scratch;
};

TempDir* PackageTest::stage_ = nullptr;
TempDir* PackageTest::debs_ = nullptr;
Cmd* PackageTest::made_ = nullptr;
std::string PackageTest::deb_;

TEST_F(PackageTest, FieldsFilesChecksAndCommandLine) {
  EXPECT_EQ(Field("Version"), std::string(ZR_VERSION) + "\n");
  EXPECT_EQ(Field("Section"), "games\n");
  // Depends come from the linked libraries.
  for (const char* lib : {"libc6 (", "libsdl2-2.0-0 (", "libsdl2-image-2.0-0 (", "libvorbisfile3 ("})
    EXPECT_NE(Field("Depends").find(lib), std::string::npos) << Field("Depends");
  const Cmd lintian = RunCommand("lintian --fail-on error '" + deb_ + "' 2>&1 | grep -v 'root privileges'");
  EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
  EXPECT_EQ(RunCommand("lintian --fail-on error '" + deb_ + "' >/dev/null 2>&1").code, 0);
  for (const std::string& check :
       {"appstreamcli validate --no-net '" + Staged("share/metainfo/io.github.zindorumba.zindorumba.metainfo.xml") + "'",
        "desktop-file-validate '" + Staged("share/applications/zindorumba.desktop") + "'"}) {
    const Cmd v = RunCommand(check);
    EXPECT_EQ(v.code, 0) << check << "\n" << v.out;
  }

  // The executable in games/, its data under share/games/zindorumba, nothing a game writes.
  EXPECT_EQ(access(Staged("games/zindorumba").c_str(), X_OK), 0);
  for (const char* data : {"zindo.ini", "data/general/dialog.bmp", "data/help/english/index.html",
                           "data/levels/maps/level01.map", "data/audio/gov.ogg", "screenshot.png"})
    EXPECT_TRUE(fs::is_regular_file(Staged(std::string("share/games/zindorumba/") + data))) << data;
  for (const char* file : {"share/man/man6/zindorumba.6.gz", "share/doc/zindorumba/copyright",
                           "share/icons/hicolor/scalable/apps/zindorumba.svg"})
    EXPECT_TRUE(fs::is_regular_file(Staged(file))) << file;
  for (const auto& [rel, size] : Listing(stage_->Path())) {
    EXPECT_TRUE(rel.find(".raw") == std::string::npos && rel.find(".stt") == std::string::npos &&
                rel.find(".new") == std::string::npos && rel.find("/data/icons") == std::string::npos)
        << rel;
  }
  EXPECT_EQ(ReadFileBytes(Staged("share/icons/hicolor/scalable/apps/zindorumba.svg")).find("<svg"), 39u);

  const auto keys = DesktopKeys(ReadFileBytes(Staged("share/applications/zindorumba.desktop")));
  const auto key = [&keys](const char* k) { return keys.count(k) ? keys.at(k) : ""; };
  EXPECT_EQ(key("Name"), "ZindoRumba");
  EXPECT_EQ(key("Categories"), "Game;ArcadeGame;");
  EXPECT_EQ(key("Exec"), std::string(kPrefix) + "/games/zindorumba");
  // The icon is found by its name in the theme, at each size it is drawn at.
  for (int size : {48, 128, 256}) {
    const std::string dims = std::to_string(size) + "x" + std::to_string(size);
    const std::string png = ReadFileBytes(Staged("share/icons/hicolor/" + dims + "/apps/" + key("Icon") + ".png"));
    ASSERT_GT(png.size(), 33u) << dims;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << dims;
    EXPECT_EQ(Be32(png, 16), static_cast<std::uint32_t>(size)) << dims;
    EXPECT_EQ(png[25], 6) << dims << ": colour with alpha";
  }

  // The command line: help and version on standard output, a bad argument refused on
  // standard error. (RunCommand gathers both outputs; the braces keep one of them.)
  const std::string game = "{ '" + Staged("games/zindorumba") + "'";
  EXPECT_EQ(RunCommand(game + " --version; }").out, std::string("zindorumba ") + ZR_VERSION + "\n");
  const Cmd help = RunCommand(game + " --help 2>/dev/null; }");
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("Usage: zindorumba", 0), 0u) << help.out;
  const Cmd bad = RunCommand(game + " --fast 2>&1 >/dev/null; }");
  EXPECT_EQ(bad.code, 2);
  EXPECT_EQ(bad.out.rfind("zindorumba: unknown option '--fast'\n", 0), 0u) << bad.out;
  EXPECT_EQ(RunCommand(game + " --fast 2>/dev/null; }").out, "");
}

// make uninstall's script on a list like the one make install leaves, with the folders the
// install made: every file and those folders go, but no folder that was there before.
TEST_F(PackageTest, UninstallRemovesEveryFileAndEveryFolderItMade) {
  TempDir stage;
  fs::copy(stage_->Path(), stage.Path(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  std::string manifest;
  int listed = 0;
  for (const auto& [rel, what] : Listing(stage.Path())) {
    manifest += "/" + rel + "\n";  // as installed: DESTDIR is not part of the list
    ++listed;
  }
  ASSERT_GT(listed, 50);
  // What make install lists: the folders made, found from the folders there before (the
  // stage and share/applications, which holds another program's entry).
  scratch.Write("manifest.txt", manifest);
  scratch.Write("before.txt", stage.Path() + "\n" + stage.Path() + "/usr/share/applications\n");
  const std::string lists = "cmake -DMANIFEST='" + scratch.File("manifest.txt") + "' -DFOLDERS='" +
                            scratch.File("folders.txt") + "' -DDESTDIR='" + stage.Path() + "' ";
  ASSERT_EQ(RunCommand(lists + "-DBEFORE='" + scratch.File("before.txt") + "' -P '" + ZR_SOURCE_DIR +
                       "/tools/install-folders.cmake'").out, "");
  stage.Write("usr/share/applications/other.desktop", "[Desktop Entry]\n");
  const Cmd u = RunCommand(lists + "-P '" + ZR_SOURCE_DIR + "/tools/uninstall.cmake'");
  EXPECT_EQ(u.code, 0) << u.out;
  EXPECT_NE(u.out.find("uninstalled " + std::to_string(listed) + " of the " + std::to_string(listed)), std::string::npos)
      << u.out;
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(stage.Path())) left.push_back(e.path().lexically_relative(stage.Path()));
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"usr", "usr/share", "usr/share/applications",
                                            "usr/share/applications/other.desktop"}));
  // Without a list there is nothing to go by: it says so and fails.
  const Cmd none = RunCommand(std::string("cmake -DMANIFEST=") + scratch.File("none.txt") + " -P '" + ZR_SOURCE_DIR +
                              "/tools/uninstall.cmake'");
  EXPECT_NE(none.code, 0);
  EXPECT_NE(none.out.find("not found"), std::string::npos) << none.out;
}

// The options screen: music down one step, then Back (which saves the volumes); then Quit.
const char* kMusicDown =
    "dialog play fullscreen=1 gamepad=1\n"
    "f3 mouse 400 400\nf5 down\nt300 up\n"
    "t500 mouse 494 178\nt600 click 494 178\n"
    "t1300 mouse 396 507\nt1400 down\nt1600 up\nt2200 close\n";

TEST_F(PackageTest, ReadOnlyInstallSavesInThePlayersFolderAndReadsThemBack) {
  const std::string shell = ReadOnlyInstall();
  if (shell.empty()) GTEST_SKIP() << "no mount namespace here (unshare) to make the install read-only";
  const auto before = Listing(stage_->Path());

  Cmd r = Replay(shell, kMusicDown);
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out.find("box:"), std::string::npos) << r.out;
  EXPECT_EQ(Saved("prefvol.raw"), std::string("\x05\0\0\0\x07\0\0\0", 8));  // effects 5, music 8 - 1
  EXPECT_EQ(Saved("data/fullscreen.stt"), std::string(1, '\0'));         // full screen ticked
  EXPECT_EQ(Saved("data/gamepad.stt"), std::string(1, '\x01'));
  // A name on the high-score screen, saved with Return.
  r = Replay(shell, "f40 mouse 700 100\nt1000 tap Z\nt1200 tap R\nt1400 tap RETURN\n", "--screen highscores:5000");
  ASSERT_EQ(r.code, 0) << r.out;
  ASSERT_FALSE(Table().empty());
  EXPECT_EQ(Table()[0], std::make_pair(std::string("ZR"), 5000));

  // The next start reads them from there: the music goes down from 7, the boxes start as
  // saved (Play without answers keeps them), and the table still holds ZR above a new name.
  r = Replay(shell, std::string(kMusicDown).replace(0, std::strlen("dialog play fullscreen=1 gamepad=1"), "dialog play"));
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(Saved("prefvol.raw"), std::string("\x05\0\0\0\x06\0\0\0", 8));
  EXPECT_EQ(Saved("data/fullscreen.stt"), std::string(1, '\0'));
  EXPECT_EQ(Saved("data/gamepad.stt"), std::string(1, '\x01'));
  r = Replay(shell, "f40 mouse 700 100\nt1000 tap Q\nt1400 tap RETURN\n", "--screen highscores:4000");
  ASSERT_EQ(r.code, 0) << r.out;
  const auto table = Table();
  ASSERT_EQ(table.size(), 9u);
  EXPECT_EQ(table[0], std::make_pair(std::string("ZR"), 5000));
  EXPECT_EQ(table[1], std::make_pair(std::string("Q"), 4000));

  // The install is as it was: nothing written, nothing left beside.
  EXPECT_EQ(Listing(stage_->Path()), before);
  // And nothing but the game's saved files in the player's folder.
  const std::set<std::string> kSavedNames = {"zindorumba/prefvol.raw", "zindorumba/al.raw",
                                             "zindorumba/highscores.raw", "zindorumba/data/fullscreen.stt",
                                             "zindorumba/data/gamepad.stt"};
  for (const auto& [rel, size] : Listing(xdg.Path())) EXPECT_EQ(kSavedNames.count(rel), 1u) << rel;
}

// The real game, started from the unpacked package on a display of its own, to the main
// menu: Play in the welcome dialog, then the menu drawn in the game window. The dialog's
// choices land in the player's folder, not in the install.
TEST_F(PackageTest, UnpackedGameStartsToTheMainMenu) {
  realgame::Xvfb x;
  ASSERT_TRUE(x.Ok()) << x.Error();
  realgame::XWatcher watcher(x.Name());
  ASSERT_TRUE(watcher.Ok());
  realgame::GameProcess game(Staged("games/zindorumba"), x.Name(), scratch.File("game.log"),
                             {"XDG_DATA_HOME=" + xdg.Path(), "ASAN_OPTIONS=detect_leaks=0"});
  const auto patience = [] { return realgame::Clock::now() + std::chrono::seconds(10); };
  ASSERT_TRUE(watcher.WaitDrawn("Welcome to ZindoRumba !", patience())) << game.LogTail();
  watcher.TapKey(XK_Return);
  EXPECT_NE(watcher.WaitDrawn("ZindoRumba", patience()), 0u) << game.LogTail();
  game.Signal(SIGTERM);
  EXPECT_TRUE(game.WaitExit(patience()));
  EXPECT_EQ(game.ExitCode(), 0) << game.LogTail();
  EXPECT_EQ(Saved("data/fullscreen.stt"), std::string(1, '\x01')) << game.LogTail();
  EXPECT_FALSE(fs::exists(Staged("share/games/zindorumba/data/fullscreen.stt")));
  EXPECT_FALSE(fs::exists(Staged("games/data")));
}

}  // namespace
