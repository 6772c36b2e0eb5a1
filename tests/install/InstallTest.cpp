// The game as a Linux install: `cmake --install` into a temporary DESTDIR with the prefix
// /usr/local, the layout and the desktop entry checked, then the installed game folder made
// read-only (a read-only bind mount of the staged prefix over /usr/local, in a mount
// namespace of the run's own) and played with a temporary XDG_DATA_HOME: the options and a
// high score are saved in the player's folder and read back on the next start, and the
// install is left as it was.
#include "GameFolder.h"

#include <gtest/gtest.h>

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

const char* const kPrefix = "/usr/local";

using Cmd = CommandRun;
bool Have(const std::string& program) { return RunCommand("command -v " + program + " >/dev/null").code == 0; }

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

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stage_ = new TempDir;
    installed_ = new Cmd(RunCommand("DESTDIR='" + stage_->Path() + "' cmake --install '" + ZR_BUILD_DIR +
                               "' --prefix " + kPrefix + " --component game"));
  }
  static void TearDownTestSuite() {
    delete installed_;
    delete stage_;
    installed_ = nullptr;
    stage_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(installed_->code, 0) << installed_->out; }

  static std::string Staged(const std::string& path) { return stage_->Path() + kPrefix + "/" + path; }

  // A shell start under which /usr/local is the staged install, read-only to everyone
  // (root included); "" where no mount namespace can be had.
  static std::string ReadOnlyInstall() {
    if (RunCommand("unshare --mount true").code != 0) return "";
    return "unshare --mount sh -c \"mount --make-rprivate / && mount --bind '" + stage_->Path() + kPrefix + "' " +
           kPrefix + " && mount -o remount,bind,ro " + kPrefix + " && ";
  }

  // zindo-replay on the installed game folder, read-only, with the player's folder under
  // xdg; the script and screenshots in a folder of their own.
  Cmd Replay(const std::string& shell, const std::string& script, const std::string& extra = "") {
    scratch.Write("script.txt", script);
    return RunCommand("XDG_DATA_HOME='" + xdg.Path() + "' " + shell + "exec " + ZINDO_REPLAY + " --root " + kPrefix +
                 "/lib/zindorumba --script " + scratch.File("script.txt") + " --max-time 60000 " + extra + "\"");
  }

  std::string Saved(const std::string& name) { return ReadFileBytes(xdg.Path() + "/zindorumba/" + name); }

  std::vector<std::pair<std::string, std::int32_t>> Table() { return folder::ReadTable(xdg.Path() + "/zindorumba/highscores.raw"); }

  static TempDir* stage_;
  static Cmd* installed_;
  TempDir xdg;
  TempDir scratch;
};

TempDir* InstallTest::stage_ = nullptr;
Cmd* InstallTest::installed_ = nullptr;

TEST_F(InstallTest, GameFolderCommandMenuEntryAndIconsInTheirPlaces) {
  // The command is a link to the game, which has its data beside it.
  const fs::path command = Staged("bin/zindorumba");
  ASSERT_TRUE(fs::is_symlink(command));
  EXPECT_FALSE(fs::read_symlink(command).is_absolute()) << "a relative link works under any DESTDIR";
  EXPECT_EQ(fs::canonical(command), fs::canonical(Staged("lib/zindorumba/zindorumba")));
  EXPECT_EQ(access(Staged("lib/zindorumba/zindorumba").c_str(), X_OK), 0);
  for (const char* data : {"zindo.ini", "data/general/dialog.bmp", "data/help/english/index.html",
                           "data/levels/maps/level01.map", "data/audio/gov.ogg"})
    EXPECT_TRUE(fs::is_regular_file(Staged(std::string("lib/zindorumba/") + data))) << data;
  // Nothing a game writes comes along, and the desktop icons are not left among the data.
  const auto files = Listing(Staged("lib/zindorumba"));
  for (const auto& [rel, size] : files) {
    EXPECT_EQ(rel.find(".raw"), std::string::npos) << rel;
    EXPECT_EQ(rel.find(".stt"), std::string::npos) << rel;
    EXPECT_EQ(rel.find(".new"), std::string::npos) << rel;
    EXPECT_EQ(rel.rfind("data/icons", 0), std::string::npos) << rel;
  }

  const auto keys = DesktopKeys(ReadFileBytes(Staged("share/applications/zindorumba.desktop")));
  const auto key = [&keys](const char* k) { return keys.count(k) ? keys.at(k) : ""; };
  EXPECT_EQ(key("Name"), "ZindoRumba");
  EXPECT_FALSE(key("Comment").empty());
  EXPECT_EQ(key("Type"), "Application");
  EXPECT_EQ(key("Categories"), "Game;ArcadeGame;");
  EXPECT_EQ(key("Exec"), std::string(kPrefix) + "/bin/zindorumba");
  ASSERT_EQ(keys.count("Icon"), 1u);
  // The icon is found by its name in the theme, at each size it is drawn at.
  for (int size : {48, 128, 256}) {
    const std::string dims = std::to_string(size) + "x" + std::to_string(size);
    const std::string png = ReadFileBytes(Staged("share/icons/hicolor/" + dims + "/apps/" + keys.at("Icon") + ".png"));
    ASSERT_GT(png.size(), 33u) << dims;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << dims;
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Be32(png, 16), static_cast<std::uint32_t>(size)) << dims;
    EXPECT_EQ(Be32(png, 20), static_cast<std::uint32_t>(size)) << dims;
    EXPECT_EQ(png[25], 6) << dims << ": colour with alpha";
  }
  if (Have("desktop-file-validate")) {
    const Cmd v = RunCommand("desktop-file-validate '" + Staged("share/applications/zindorumba.desktop") + "'");
    EXPECT_EQ(v.code, 0) << v.out;
    EXPECT_EQ(v.out, "");
  }
}

// make uninstall's script on a list like the one make install leaves: every file goes, and
// the game's own folders with them, but no folder that others share.
TEST_F(InstallTest, UninstallRemovesWhatWasInstalledAndTheGameFolder) {
  TempDir stage;
  fs::copy(stage_->Path(), stage.Path(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  std::string manifest;
  int listed = 0;
  for (const auto& [rel, what] : Listing(stage.Path())) {
    manifest += "/" + rel + "\n";  // as installed: DESTDIR is not part of the list
    ++listed;
  }
  ASSERT_GT(listed, 50);
  const std::string other = stage.Write("usr/local/share/applications/other.desktop", "[Desktop Entry]\n");
  scratch.Write("manifest.txt", manifest);
  const Cmd u = RunCommand(std::string("cmake -DMANIFEST='") + scratch.File("manifest.txt") + "' -DDESTDIR='" +
                      stage.Path() + "' -P '" + ZR_SOURCE_DIR + "/tools/uninstall.cmake'");
  EXPECT_EQ(u.code, 0) << u.out;
  EXPECT_NE(u.out.find("uninstalled " + std::to_string(listed) + " of the " + std::to_string(listed)), std::string::npos)
      << u.out;
  const auto left = Listing(stage.Path());
  EXPECT_EQ(left.size(), 1u) << (left.empty() ? "" : left.begin()->first);
  EXPECT_EQ(left.count("usr/local/share/applications/other.desktop"), 1u);
  EXPECT_FALSE(fs::exists(stage.Path() + "/usr/local/lib/zindorumba"));
  EXPECT_TRUE(fs::is_directory(stage.Path() + "/usr/local/lib"));
  EXPECT_TRUE(fs::is_directory(stage.Path() + "/usr/local/bin"));
  EXPECT_TRUE(fs::exists(other));
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

TEST_F(InstallTest, ReadOnlyInstallSavesInThePlayersFolderAndReadsThemBack) {
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

// The real game, started by the desktop entry's command from the read-only install on a
// display of its own: Escape in the welcome dialog quits, and the two settings it writes on
// the way out land in the player's folder.
TEST_F(InstallTest, DesktopEntryCommandStartsTheGame) {
  const std::string shell = ReadOnlyInstall();
  if (shell.empty()) GTEST_SKIP() << "no mount namespace here (unshare) to make the install read-only";
  if (!Have("xvfb-run") || !Have("xdotool")) GTEST_SKIP() << "needs xvfb-run and xdotool";
  const auto keys = DesktopKeys(ReadFileBytes(Staged("share/applications/zindorumba.desktop")));
  ASSERT_EQ(keys.count("Exec"), 1u);
  scratch.Write("play.sh",
                "#!/bin/sh\n"
                "cd /\n" + keys.at("Exec") + " > '" + scratch.File("game.log") + "' 2>&1 &\n"
                "game=$!\n"
                "timeout 30 xdotool search --sync --name 'Welcome to ZindoRumba' >/dev/null || { kill $game; exit 90; }\n"
                "sleep 0.5\n"
                "xdotool key Escape\n"
                "for i in $(seq 1 300); do kill -0 $game 2>/dev/null || break; sleep 0.1; done\n"
                "kill -0 $game 2>/dev/null && { kill $game; exit 91; }\n"
                "wait $game\n");
  // No leak report from this run under the sanitizers: the X and D-Bus libraries that SDL
  // loads for the dialog and unloads at its close leave blocks whose stacks cannot be named
  // any more (and so not suppressed). The game's own code is leak-checked in the replays.
  const Cmd r = RunCommand("XDG_DATA_HOME='" + xdg.Path() + "' ASAN_OPTIONS=detect_leaks=0 " + shell +
                      "exec xvfb-run -a -s '-screen 0 1024x768x24' sh '" + scratch.File("play.sh") + "'\"");
  EXPECT_EQ(r.code, 0) << r.out << ReadFileBytes(scratch.File("game.log"));
  EXPECT_EQ(Saved("data/fullscreen.stt"), std::string(1, '\x01')) << ReadFileBytes(scratch.File("game.log"));
  EXPECT_EQ(Saved("data/gamepad.stt"), std::string(1, '\0'));
  EXPECT_FALSE(fs::exists(Staged("lib/zindorumba/data/fullscreen.stt")));
}

}  // namespace
