// A small game folder for tests of the real game: every picture the menus need, each a plain
// colour (so screenshots tell which picture is where), and the digit glyphs of the shared sheet
// in colours that say which digit they are; and zindo-replay run on a folder.
#pragma once

#include "tools/testkit/TestFiles.h"

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
// Writes the pictures the welcome dialog, the main menu, the options and the high-score
// screen load, and zindo.ini with levelcount.
void Build(const TempDir& root, int levelCount);
void WriteZindoIni(const TempDir& root, int levelCount);
// The game folder `from` (the real data) copied into root, without the executable and
// without the files the game writes beside itself (progress, scores, settings).
void CopyGame(const std::string& from, const TempDir& root);
// The entries (name, score) of a saved high-score table.
std::vector<std::pair<std::string, std::int32_t>> ReadTable(const std::string& path);

}  // namespace folder

// zindo-replay run on a folder: its exit code and what it printed.
using ReplayRun = CommandRun;
ReplayRun RunReplay(const TempDir& root, const std::string& script, const std::string& extra = "");
