// A small game folder for replay tests: every picture the menus need, each a plain colour
// (so screenshots tell which picture is where), and the digit glyphs of the shared sheet in
// colours that say which digit they are.
#pragma once

#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace folder {

// Colours (0x00RRGGBB) as a 16-bit screen shows them: every channel a multiple of 8.
constexpr std::uint32_t kMenuBackground = 0x305080;
constexpr std::uint32_t kPlayLit = 0xF80000;
constexpr std::uint32_t kQuitLit = 0xF8F800;
constexpr std::uint32_t kOptionsBackground = 0x404040;
constexpr std::uint32_t kVolumeBar = 0xF88000;
constexpr std::uint32_t kHighScoreBackground = 0x202020;
constexpr std::uint32_t kPointer = 0xF8F8F8;  // the pointer's 4 x 4 corner square
// The game's pictures (BuildGame).
constexpr std::uint32_t kIsland = 0x285078;
constexpr std::uint32_t kPanel = 0x784828;
constexpr std::uint32_t kGameOverBackground = 0x500000;
constexpr std::uint32_t kEndPicture = 0x005050;

// Writes the pictures the welcome dialog, the main menu, the options and the high-score
// screen load, and zindo.ini with levelcount.
void Build(const TempDir& root, int levelCount);
void WriteZindoIni(const TempDir& root, int levelCount);
// Build, and what a game loads: the sprites, the panel, a level's island, overlay and brick
// sheets, the game-over and end pictures, and the map "l.map" every level of zindo.ini names
// (WriteLevelMap with strength 1). No sounds: the music stays silent.
void BuildGame(const TempDir& root, int levelCount);
// The game folder `from` (the real data) copied into root, without the executable and
// without the files the game writes beside itself (progress, scores, settings).
void CopyGame(const std::string& from, const TempDir& root);
// A map of ten 44 x 22 crates in a row at y 100 (x 200..640), each of that strength (999:
// unbreakable), on island1.bmp.
void WriteLevelMap(const TempDir& root, const std::string& name, int strength);
void WriteInt32File(const TempDir& root, const std::string& name, const std::vector<std::int32_t>& values);

// The entries (name, score) of a saved high-score table.
std::vector<std::pair<std::string, std::int32_t>> ReadTable(const std::string& path);

}  // namespace folder

// zindo-replay run on a folder: its exit code and what it printed.
using ReplayRun = CommandRun;
ReplayRun RunReplay(const TempDir& root, const std::string& script, const std::string& extra = "");
// A screenshot's pixels as 0x00RRGGBB at the screen's 5-6-5 precision (low bits cleared),
// 800 x 600 (empty when it cannot be read).
std::vector<std::uint32_t> ReadShot(const std::string& path);
inline std::uint32_t At(const std::vector<std::uint32_t>& shot, int x, int y) {
  return shot.empty() ? 0xFFFFFFFFu : shot[static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x)];
}

// A test on a game folder of its own, played through zindo-replay.
class GameFolderTest : public ::testing::Test {
 protected:
  ReplayRun Replay(const std::string& script, const std::string& extra = "--max-time 60000") const {
    return RunReplay(root, script, extra);
  }
  std::vector<std::uint32_t> Shot(const std::string& name) const { return ReadShot(root.File(name)); }
  std::string File(const std::string& name) const { return ReadFileBytes(root.File(name)); }
  TempDir root;
};
