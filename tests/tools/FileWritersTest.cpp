// The Ogg encoder the generator uses. (The bitmap writer is checked by the readers of its files:
// the picture decoding tests in tests/graphics and the picture checks in tests/mkdata_art.)
#include "tools/common/OggEncoder.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>

namespace {

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
