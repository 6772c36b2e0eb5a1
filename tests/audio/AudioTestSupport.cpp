#include "tests/audio/AudioTestSupport.h"

#include "platform/platform.h"
#include "tools/common/BmpWriter.h"
#include "tools/common/OggEncoder.h"

#include <cmath>
#include <thread>

#ifdef ZR_SCRIPT_AUDIO
#include "platform/script/script_audio.h"
#endif

std::string MakeWave(const std::string& data, int channels, int rate, int bits) {
  std::string body = "WAVEfmt ";
  PutLe32(body, 16);
  PutLe16(body, 1);
  PutLe16(body, static_cast<std::uint32_t>(channels));
  PutLe32(body, static_cast<std::uint32_t>(rate));
  PutLe32(body, static_cast<std::uint32_t>(rate * channels * bits / 8));
  PutLe16(body, static_cast<std::uint32_t>(channels * bits / 8));
  PutLe16(body, static_cast<std::uint32_t>(bits));
  body += "data";
  PutLe32(body, static_cast<std::uint32_t>(data.size()));
  std::string file = "RIFF";
  PutLe32(file, static_cast<std::uint32_t>(body.size() + data.size()));
  return file + body + data;
}

std::string Pcm16Bytes(const std::vector<std::int16_t>& samples) {
  std::string s;
  for (std::int16_t v : samples) PutLe16(s, static_cast<std::uint16_t>(v));
  return s;
}

std::string MakeOggTone(int frames, int channels, int rate, double frequency, double amplitude) {
  std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    const float v = static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * i / rate));
    for (int c = 0; c < channels; ++c) samples[static_cast<std::size_t>(i) * channels + c] = v;
  }
  return EncodeOggVorbis(samples, channels, rate, 0.4f);
}

double Rms(const std::vector<std::int16_t>& stereo, int from, int to) {
  double sum = 0;
  for (int i = from; i < to; ++i) sum += static_cast<double>(stereo[2 * i]) * stereo[2 * i];
  return to > from ? std::sqrt(sum / (to - from)) : 0.0;
}

#ifdef ZR_SCRIPT_AUDIO
std::vector<std::int16_t> Pull(int frames) { return script::PullAudio(frames); }
#endif

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
