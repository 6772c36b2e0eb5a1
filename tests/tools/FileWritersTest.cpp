#include "BmpWriter.h"
#include "OggEncoder.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>

namespace {

std::uint32_t U32(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
         static_cast<std::uint8_t>(s[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}

TEST(BmpWriterTest, BottomUpRowsPaddedToFourBytes) {
  // 3 x 2: top row red, green, blue; bottom row white, black, pure blue.
  const std::vector<Rgb> px = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {0, 0, 255}};
  const std::string bmp = EncodeBmp24(3, 2, px);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // 9 bytes a row padded to 12
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);
  EXPECT_EQ(U32(bmp, 18), 3u);
  EXPECT_EQ(U32(bmp, 22), 2u);
  // First stored row is the bottom one, in blue-green-red order.
  EXPECT_EQ(bmp.substr(54, 3), std::string("\xff\xff\xff", 3));
  EXPECT_EQ(bmp.substr(60, 3), std::string("\xff\x00\x00", 3));
  EXPECT_EQ(bmp.substr(66, 3), std::string("\x00\x00\xff", 3));  // top-left red

  const std::string pal = EncodeBmp8(5, 1, {{1, 2, 3}, {4, 5, 6}}, {0, 1, 1, 0, 1});
  ASSERT_EQ(pal.size(), 54u + 8 + 8);
  EXPECT_EQ(U32(pal, 10), 62u);
  EXPECT_EQ(U32(pal, 46), 2u);
  EXPECT_EQ(pal.substr(54, 4), std::string("\x03\x02\x01\x00", 4));
  EXPECT_EQ(pal.substr(62, 5), std::string("\x00\x01\x01\x00\x01", 5));
}

struct Mem {
  const std::string* data;
  std::size_t pos;
};
size_t Read(void* p, size_t s, size_t n, void* m) {
  auto* mem = static_cast<Mem*>(m);
  const std::size_t want = s * n;
  const std::size_t got = std::min(want, mem->data->size() - mem->pos);
  std::memcpy(p, mem->data->data() + mem->pos, got);
  mem->pos += got;
  return s ? got / s : 0;
}

TEST(OggEncoderTest, EncodedToneDecodesBackWithItsLengthAndLoudness) {
  const int rate = 22050;
  std::vector<float> pcm(2 * rate / 2);  // half a second, stereo
  for (std::size_t i = 0; i < pcm.size() / 2; ++i) {
    const float v = 0.5f * std::sin(2 * 3.14159265f * 440.0f * static_cast<float>(i) / rate);
    pcm[2 * i] = v;
    pcm[2 * i + 1] = -v;
  }
  const std::string ogg = EncodeOggVorbis(pcm, 2, rate);
  ASSERT_GT(ogg.size(), 100u);
  EXPECT_EQ(ogg, EncodeOggVorbis(pcm, 2, rate));  // deterministic

  Mem mem{&ogg, 0};
  OggVorbis_File vf;
  ov_callbacks cb = {Read, nullptr, nullptr, nullptr};
  ASSERT_EQ(ov_open_callbacks(&mem, &vf, nullptr, 0, cb), 0);
  vorbis_info* vi = ov_info(&vf, -1);
  EXPECT_EQ(vi->channels, 2);
  EXPECT_EQ(vi->rate, rate);
  std::vector<short> out;
  char buf[4096];
  int section = 0;
  long n;
  while ((n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0) {
    const short* s = reinterpret_cast<const short*>(buf);
    out.insert(out.end(), s, s + n / 2);
  }
  ov_clear(&vf);
  EXPECT_EQ(out.size(), pcm.size());
  double peak = 0;
  for (short v : out) peak = std::max(peak, std::abs(v) / 32768.0);
  EXPECT_NEAR(peak, 0.5, 0.05);
}

}  // namespace
