// Picture files. What any bytes at all do to the loader is the reader checks' (tests/fuzz,
// with their kept inputs: every bitmap depth, JPEG kinds, absurd sizes refused); here, the
// pixels of the bitmaps read without SDL_image, and the ".tga" branch.
#include "tests/support/EngineTest.h"

#include "platform/platform.h"

#include <cstring>

namespace {

class LoadPictureTest : public EngineTest {
 protected:
  // Loads a file and returns the boxes it raised.
  std::vector<std::string> Load(KGraphic* g, const std::string& file) {
    script::ClearRecords();
    EXPECT_TRUE(g->LoadPicture(file.c_str(), 1, 0, 31, 31));  // true whatever happened
    return script::Boxes();
  }
};

TEST_F(LoadPictureTest, PlainBitmapsReadDirectlyMatchTheirPixels) {
  // 3 x 2 at 24 bits (rows padded to 12 bytes) and the same at 32 bits stored top-down.
  const std::vector<Rgb> px = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {1, 2, 3}, {250, 128, 7}, {9, 9, 9}};
  std::string top = EncodeBmp24(3, 2, px);
  std::string b32 = top.substr(0, 54);
  b32[2] = static_cast<char>(54 + 24);
  const std::int32_t negative = -2;
  std::memcpy(&b32[22], &negative, 4);
  b32[28] = 32;
  for (const Rgb& c : px) b32 += std::string{static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r), '\x7f'};
  std::vector<std::uint32_t> out;
  int w = 0, h = 0;
  for (const std::string& bytes : {top, b32}) {
    ASSERT_TRUE(plat::DecodeImage(bytes.data(), bytes.size(), &out, &w, &h));
    ASSERT_EQ(w, 3);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0xff0000, 0x00ff00, 0x0000ff, 0x010203, 0xfa8007, 0x090909}));
    // Cut short, it is refused rather than read past its end, and nothing is handed back.
    EXPECT_FALSE(plat::DecodeImage(bytes.data(), bytes.size() - 1, &out, &w, &h));
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(out.empty());
  }
}

TEST_F(LoadPictureTest, TgaBranchIsCaseSensitive) {
  MakeBackBuffer();
  const std::string bmp = EncodeBmp24(4, 2, std::vector<Rgb>(8, Rgb{255, 255, 255}));
  // ".TGA" in capitals is decoded like any other file.
  KGraphic upper;
  EXPECT_TRUE(Load(&upper, dir.Write("shot.TGA", bmp)).empty());
  EXPECT_EQ(upper.pixelWidth, 4);
  // ".tga" is read but nothing is made of it; the surface step reports.
  KGraphic lower;
  EXPECT_EQ(Load(&lower, dir.Write("shot.tga", "pihs" + bmp)),
            (std::vector<std::string>{"Impossible to create surface | dx surface", "Could not create surface | directx error"}));
  EXPECT_EQ(lower.width, 0.0f);
  EXPECT_EQ(lower.Surface(), nullptr);
  const std::string none = dir.File("none.tga");
  EXPECT_EQ(Load(&lower, none)[0], "Could not open file | " + none);
  const std::string zero = dir.Write("zero.tga", "");
  EXPECT_EQ(Load(&lower, zero)[0], "file is 0 byte | " + zero);
}

}  // namespace
