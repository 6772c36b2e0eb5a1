#include "tests/support/GameFolder.h"

#include "tools/common/BmpWriter.h"

#include <cstring>
#include <filesystem>

namespace folder {
namespace {

constexpr Rgb kKey = {0, 0, 255};

Rgb ToRgb(std::uint32_t c) {
  return Rgb{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)};
}

void Solid(const TempDir& root, const std::string& name, int w, int h, std::uint32_t colour) {
  WriteFileBytes(root.File(name), EncodeBmp24(w, h, std::vector<Rgb>(static_cast<std::size_t>(w) * h, ToRgb(colour))));
}

// Digit glyph ranges of the shared sheet (x from 155 + start to 155 + end, y 189..202).
struct Glyph {
  int start, end;
};
constexpr Glyph kDigits[10] = {{92, 105}, {1, 8},   {8, 16},  {16, 27}, {27, 37},
                               {38, 47},  {47, 57}, {58, 68}, {68, 81}, {81, 92}};

// The colour of a digit's glyph says which digit it is.
std::uint32_t DigitColour(int digit) { return 0x800000u | static_cast<std::uint32_t>(digit * 16 + 8) << 8 | 0x40u; }

}  // namespace

void WriteZindoIni(const TempDir& root, int levelCount) {
  std::string ini = "[DATA]\r\nlevelcount=" + std::to_string(levelCount) + "\r\n[LEVELS]\r\n";
  for (int i = 1; i <= levelCount && i <= 30; ++i) ini += "L" + std::to_string(i) + "=l.map\r\n";
  root.Write("zindo.ini", ini);
}

void Build(const TempDir& root, int levelCount) {
  // The pointer: five 21 x 34 frames on the key colour; frame f holds a 4 x 4 square at its
  // top-left corner and another at (4 + 3 f, 10), which tells the frames apart.
  std::vector<Rgb> strip(105 * 34, kKey);
  for (int f = 0; f < 5; ++f)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        strip[static_cast<std::size_t>(y) * 105 + static_cast<std::size_t>(f * 21 + x)] = ToRgb(kPointer);
        strip[static_cast<std::size_t>(10 + y) * 105 + static_cast<std::size_t>(f * 21 + 4 + 3 * f + x)] = ToRgb(kPointer);
      }
  WriteFileBytes(root.File("data/general/curseur.bmp"), EncodeBmp24(105, 34, strip));

  std::vector<Rgb> sheet(512 * 420, kKey);
  for (int d = 0; d < 10; ++d)
    for (int y = 189; y < 202; ++y)
      for (int x = 155 + kDigits[d].start; x < 155 + kDigits[d].end; ++x)
        sheet[static_cast<std::size_t>(y) * 512 + static_cast<std::size_t>(x)] = ToRgb(DigitColour(d));
  WriteFileBytes(root.File("data/sprites/bigplanche.bmp"), EncodeBmp24(512, 420, sheet));

  const std::string menu = "data/general/ENGLISH/menu/";
  Solid(root, menu + "menuplayoff.bmp", 800, 600, kMenuBackground);
  Solid(root, menu + "playon.bmp", 110, 52, kPlayLit);
  Solid(root, menu + "optionson.bmp", 140, 50, 0x00F800);
  Solid(root, menu + "quiton.bmp", 150, 60, kQuitLit);
  Solid(root, "data/sprites/righton.bmp", 31, 31, 0x00F8F8);
  Solid(root, "data/sprites/lefton.bmp", 41, 31, 0xF800F8);

  Solid(root, menu + "optionsoff.bmp", 800, 600, kOptionsBackground);
  Solid(root, menu + "backon.bmp", 92, 42, 0x808000);
  Solid(root, menu + "resetscore.bmp", 143, 25, 0x008080);
  for (const char* arrow : {"vlefton", "vrighton", "sleft", "sright"})
    Solid(root, std::string("data/sprites/") + arrow + ".bmp", 21, 25, 0x800080);
  Solid(root, "data/sprites/progress.bmp", 94, 12, kVolumeBar);

  Solid(root, menu + "highscores.bmp", 800, 600, kHighScoreBackground);
  Solid(root, menu + "backhson.bmp", 90, 45, 0x008000);
  Solid(root, "data/sprites/policeoff.bmp", 300, 100, 0xC0C0C0);
  Solid(root, "data/sprites/policeon.bmp", 300, 100, 0xF0F000);
  WriteZindoIni(root, levelCount);
}

void CopyGame(const std::string& from, const TempDir& root) {
  namespace fs = std::filesystem;
  fs::copy(fs::path(from) / "data", fs::path(root.Path()) / "data", fs::copy_options::recursive);
  fs::copy(fs::path(from) / "zindo.ini", fs::path(root.Path()) / "zindo.ini");
  for (const char* written : {"data/fullscreen.stt", "data/gamepad.stt"}) fs::remove(fs::path(root.Path()) / written);
}

std::vector<std::pair<std::string, std::int32_t>> ReadTable(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  std::vector<std::pair<std::string, std::int32_t>> table;
  for (std::size_t at = 0; at + 260 <= bytes.size(); at += 260) {
    std::int32_t score;
    std::memcpy(&score, bytes.data() + at + 256, 4);
    table.emplace_back(std::string(bytes.c_str() + at), score);
  }
  return table;
}

}  // namespace folder

ReplayRun RunReplay(const TempDir& root, const std::string& script, const std::string& extra) {
  root.Write("script.txt", script);
  return RunCommand(std::string(ZINDO_REPLAY) + " --root " + root.Path() + " --script " + root.File("script.txt") +
                    " " + extra);
}
