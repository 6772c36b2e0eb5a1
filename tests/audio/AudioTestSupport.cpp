#include "AudioTestSupport.h"

#include "OggEncoder.h"
#include "platform.h"

#include <cmath>
#include <thread>

#ifdef ZR_SCRIPT_AUDIO
#include "script_audio.h"
#endif

namespace {
void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>((v >> 8) & 0xff);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xffff);
  Put16(s, v >> 16);
}
}  // namespace

std::string MakeWave(const WaveSpec& spec) {
  std::string fmt = "fmt ";
  Put32(fmt, 16);
  Put16(fmt, 1);
  Put16(fmt, static_cast<std::uint32_t>(spec.channels));
  Put32(fmt, static_cast<std::uint32_t>(spec.rate));
  const int block = spec.channels * spec.bits / 8;
  Put32(fmt, static_cast<std::uint32_t>(spec.rate * block));
  Put16(fmt, static_cast<std::uint32_t>(block));
  Put16(fmt, static_cast<std::uint32_t>(spec.bits));
  std::string data = "data";
  Put32(data, static_cast<std::uint32_t>(spec.declaredDataSize < 0 ? static_cast<std::int64_t>(spec.data.size())
                                                                    : spec.declaredDataSize));
  data += spec.data;
  std::string body = "WAVE";
  if (spec.dataBeforeFmt) {
    if (spec.withData) body += data;
    if (spec.withFmt) body += fmt;
  } else {
    if (spec.withFmt) body += fmt;
    if (spec.withData) body += data;
  }
  std::string file = "RIFF";
  Put32(file, static_cast<std::uint32_t>(body.size()));
  return file + body;
}

std::string Pcm16Bytes(const std::vector<std::int16_t>& samples) {
  std::string s;
  for (std::int16_t v : samples) Put16(s, static_cast<std::uint16_t>(v));
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
