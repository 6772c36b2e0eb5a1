#include "tests/support/EngineTest.h"

#include "platform/platform.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

class LoadPictureTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    MakeBackBuffer();
  }
  // Loads a file and returns the boxes it raised.
  std::vector<std::string> Load(KGraphic* g, const std::string& file) {
    script::ClearRecords();
    EXPECT_TRUE(g->LoadPicture(file.c_str(), 1, 0, 31, 31));  // true whatever happened
    return script::Boxes();
  }
  void ExpectFailedPicture(const KGraphic& g) {
    EXPECT_EQ(g.width, 0.0f);
    EXPECT_EQ(g.height, 0.0f);
    EXPECT_EQ(g.Surface(), nullptr);
  }
  // Loads the bytes as a picture file and expects the first box to be `box` followed by the
  // file's name, and nothing made.
  void ExpectRefused(const std::string& bytes, const std::string& box, const std::string& name = "bad.bmp") {
    KGraphic g;
    const std::string file = dir.Write(name, bytes);
    const auto boxes = Load(&g, file);
    ASSERT_FALSE(boxes.empty()) << name;
    EXPECT_EQ(boxes[0], box + " | " + file);
    ExpectFailedPicture(g);
  }
};

TEST_F(LoadPictureTest, BitmapsOfEveryDepthDecodeUprightAtTheirSize) {
  std::vector<Rgb> px(640 * 480, Rgb{0, 0, 0});
  px[0] = Rgb{255, 0, 0};              // top-left
  px[640 * 479 + 639] = Rgb{0, 0, 255};  // bottom-right
  KGraphic g;
  EXPECT_TRUE(Load(&g, dir.Write("big.bmp", EncodeBmp24(640, 480, px))).empty());
  EXPECT_EQ(g.width, 640.0f);
  EXPECT_EQ(g.height, 480.0f);
  EXPECT_EQ(g.pixelWidth, 640);
  EXPECT_EQ(g.depth, 16);
  EXPECT_EQ(g.Surface()->pixels[0], 0xf800);
  EXPECT_EQ(g.Surface()->pixels[640 * 480 - 1], 31);

  // An 8-bit palette bitmap of odd width (padded rows).
  KGraphic p8;
  std::vector<Rgb> palette = {Rgb{0, 0, 255}, Rgb{0, 255, 0}, Rgb{255, 255, 255}};
  std::vector<std::uint8_t> idx = {0, 1, 2, 2, 1, 0, 1, 1, 1};
  EXPECT_TRUE(Load(&p8, dir.Write("p8.bmp", EncodeBmp8(3, 3, palette, idx))).empty());
  ASSERT_EQ(p8.pixelWidth, 3);
  EXPECT_EQ(p8.Surface()->pixels[0], 31);
  EXPECT_EQ(p8.Surface()->pixels[2], 0xffff);
  EXPECT_EQ(p8.Surface()->pixels[7], 0x07e0);
  EXPECT_EQ(std::string(p8.path), dir.File("p8.bmp"));

  // Game code names files with backslashes.
  KGraphic slashed;
  std::string name = dir.File("sub/x.bmp");
  dir.Write("sub/x.bmp", EncodeBmp24(2, 2, std::vector<Rgb>(4, Rgb{1, 2, 3})));
  name[name.rfind('/')] = '\\';
  EXPECT_TRUE(Load(&slashed, name).empty());
  EXPECT_EQ(slashed.pixelWidth, 2);
}

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
  EXPECT_FALSE(plat::DecodeImage(nullptr, 0, &out, &w, &h));
}

TEST_F(LoadPictureTest, JpegDecodes) {
  // 16 x 8: the left half red, the right half blue (made for this test).
  KGraphic g;
  EXPECT_TRUE(Load(&g, ZR_TEST_DATA "/halves.jpg").empty());
  ASSERT_EQ(g.pixelWidth, 16);
  ASSERT_EQ(g.pixelHeight, 8);
  std::vector<std::uint32_t> px;
  int w = 0, h = 0;
  ASSERT_TRUE(DecodePictureFile(ZR_TEST_DATA "/halves.jpg", &px, &w, &h));
  auto near = [](std::uint32_t px, int r, int gr, int b) {
    return std::abs(static_cast<int>(px >> 16) - r) < 24 && std::abs(static_cast<int>((px >> 8) & 255) - gr) < 24 &&
           std::abs(static_cast<int>(px & 255) - b) < 24;
  };
  EXPECT_TRUE(near(px[2 * 16 + 1], 255, 0, 0));
  EXPECT_TRUE(near(px[5 * 16 + 14], 0, 0, 255));
  EXPECT_EQ(g.Surface()->pixels[2 * 16 + 1] & 0xf800, 0xf800);
}

// A bitmap header alone (no pixels) declaring width x height at 32 bits.
std::string BitmapHeader(std::int32_t width, std::int32_t height) {
  std::string s = "BM";
  PutLe32(s, 14 + 40 + 16);
  PutLe32(s, 0);
  PutLe32(s, 14 + 40);
  PutLe32(s, 40);
  PutLe32(s, static_cast<std::uint32_t>(width));
  PutLe32(s, static_cast<std::uint32_t>(height));
  PutLe16(s, 1);
  PutLe16(s, 32);
  for (int i = 0; i < 6; ++i) PutLe32(s, 0);
  return s + std::string(16, '\0');
}

// The test JPEG with its frame header declaring width x height, cut short right after the
// header of its scan: the decoder makes a whole picture of it, grey where data is missing.
std::string JpegCutShort(int width, int height) {
  std::string s = ReadFileBytes(ZR_TEST_DATA "/halves.jpg");
  const std::size_t frame = s.find("\xFF\xC0");
  const std::size_t scan = s.find("\xFF\xDA");
  if (frame == std::string::npos || scan == std::string::npos) return "";
  s[frame + 5] = static_cast<char>(height >> 8);
  s[frame + 6] = static_cast<char>(height & 255);
  s[frame + 7] = static_cast<char>(width >> 8);
  s[frame + 8] = static_cast<char>(width & 255);
  const std::size_t scanLength = (static_cast<unsigned char>(s[scan + 2]) << 8) | static_cast<unsigned char>(s[scan + 3]);
  return s.substr(0, scan + 2 + scanLength + 4);
}

TEST_F(LoadPictureTest, AbsurdSizesInAHeaderAreRefusedBeforeDecoding) {
  // A 70-byte bitmap declaring 40000 x 40000 pixels used to have the decoder clear 6 GB for
  // 46 s before it failed; a JPEG of 300 bytes declaring 8192 x 8192 pixels decodes, short as
  // it is, to 64 M pixels of grey. Both are refused from their header now, at once.
  ASSERT_FALSE(JpegCutShort(16, 8).empty());
  ASSERT_LT(JpegCutShort(16, 8).size(), ReadFileBytes(ZR_TEST_DATA "/halves.jpg").size());
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& bytes : {BitmapHeader(40000, 40000), BitmapHeader(16385, 1), BitmapHeader(1, -16385),
                                   BitmapHeader(4097, 4096), BitmapHeader(0, 5), BitmapHeader(-5, 5),
                                   JpegCutShort(8192, 8192), JpegCutShort(16385, 8), JpegCutShort(8, 0)})
    ExpectRefused(bytes, "File is corrupted");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // Cut short but within the limits, a JPEG still gives its picture, grey where data is missing.
  KGraphic grey;
  EXPECT_TRUE(Load(&grey, dir.Write("cut.jpg", JpegCutShort(64, 32))).empty());
  EXPECT_EQ(grey.pixelWidth, 64);
  // Pictures may still be large, wide or upside down within the limits.
  KGraphic wide;
  EXPECT_TRUE(Load(&wide, dir.Write("wide.bmp", EncodeBmp24(16384, 1, std::vector<Rgb>(16384, Rgb{1, 2, 3})))).empty());
  EXPECT_EQ(wide.pixelWidth, 16384);
  std::string topDown = EncodeBmp24(2, 2, {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{255, 255, 255}});
  topDown[22] = static_cast<char>(0xFE);  // height -2: rows from the top
  for (int i = 23; i < 26; ++i) topDown[static_cast<std::size_t>(i)] = static_cast<char>(0xFF);
  KGraphic flipped;
  EXPECT_TRUE(Load(&flipped, dir.Write("topdown.bmp", topDown)).empty());
  ASSERT_EQ(flipped.pixelHeight, 2);
  EXPECT_EQ(flipped.Surface()->pixels[0], 31);  // the file's first row (blue) is now the top one
}

TEST_F(LoadPictureTest, TgaBranchIsCaseSensitive) {
  const std::string bmp = EncodeBmp24(4, 2, std::vector<Rgb>(8, Rgb{255, 255, 255}));
  // ".TGA" in capitals is decoded like any other file.
  KGraphic upper;
  EXPECT_TRUE(Load(&upper, dir.Write("shot.TGA", bmp)).empty());
  EXPECT_EQ(upper.pixelWidth, 4);
  // ".tga" is read but nothing is made of it; the surface step reports.
  KGraphic lower;
  const std::string tga = dir.Write("shot.tga", "pihs" + bmp);
  EXPECT_EQ(Load(&lower, tga), (std::vector<std::string>{"Impossible to create surface | dx surface",
                                                          "Could not create surface | directx error"}));
  ExpectFailedPicture(lower);
  KGraphic missing;
  const std::string none = dir.File("none.tga");
  EXPECT_EQ(Load(&missing, none)[0], "Could not open file | " + none);
  ExpectRefused("", "file is 0 byte", "zero.tga");
}

}  // namespace
