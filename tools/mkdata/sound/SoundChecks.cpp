#include "tools/mkdata/sound/SoundChecks.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Level in dB of full scale of a value or of the root mean square of every `step`-th sample.
double Db(double v) { return 20 * std::log10(std::max(v, 1e-9)); }
double RmsDb(const Samples& s, std::size_t from, std::size_t to, std::size_t step = 1) {
  double sum = 0;
  for (std::size_t i = from; i < to; i += step) sum += double(s[i]) * s[i];
  return Db(std::sqrt(sum * step / std::max<std::size_t>(1, to - from)));
}

std::string Said(const char* format, double a, double b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

std::string CheckEffect(const Samples& s) {
  const double seconds = double(s.size()) / kSoundRate, peak = Db(Peak(s));
  if (peak < -12 || peak > -1) return Said("peaks at %.1f dB (-12 .. -1 dB)", peak);
  if (seconds < 0.05 || seconds > 4) return Said("lasts %.2f s (0.05 .. 4 s)", seconds);
  if (std::fabs(s.front()) > 0.03f || std::fabs(s.back()) > 0.03f)
    return Said("starts at %.3f, ends at %.3f: a click", s.front(), s.back());
  return "";
}

std::string CheckMusic(const Samples& s) {
  const std::size_t n = s.size(), tenth = kSoundRate / 10 * 2;
  const double seconds = double(n) / 2 / kSoundRate, peak = Db(Peak(s));
  if (seconds < 30 || seconds > 90) return Said("lasts %.1f s (30 .. 90 s)", seconds);
  if (peak > -0.5) return Said("peaks at %.1f dB: clipped when encoded", peak);
  for (std::size_t c = 0; c < 2; ++c)
    if (RmsDb(s, c, n, 2) < -26) return Said("channel %.0f is too quiet (%.1f dB)", double(c), RmsDb(s, c, n, 2));
  if (RmsDb(s, 0, tenth) < -40 || RmsDb(s, n - tenth, n) < -40) return "silent at its start or its end";
  // The jump from the last frame back to the first is no bigger than nine steps in ten of the
  // music (notes ringing past the end go on at the start).
  for (std::size_t c = 0; c < 2; ++c) {
    std::vector<float> steps;
    for (std::size_t i = c + 2; i < n; i += 2) steps.push_back(std::fabs(s[i] - s[i - 2]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 9 / 10, steps.end());
    const float seam = std::fabs(s[c] - s[n - 2 + c]), p90 = steps[steps.size() * 9 / 10];
    if (seam > p90) return Said("the loop jumps %.4f at its seam, nine steps in ten are below %.4f", seam, p90);
  }
  return "";
}

std::string CheckOggFile(const std::string& path, int channels, std::size_t frames) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return "not an Ogg Vorbis file";
  const vorbis_info* info = ov_info(&vf, -1);
  const long rate = info->rate, total = static_cast<long>(ov_pcm_total(&vf, -1));
  const int got = info->channels;
  ov_clear(&vf);
  if (got != channels || rate != kSoundRate || total != static_cast<long>(frames))
    return "the file holds " + std::to_string(got) + " channels at " + std::to_string(rate) + " Hz, " +
           std::to_string(total) + " frames, not " + std::to_string(channels) + " at " + std::to_string(kSoundRate) +
           " Hz, " + std::to_string(frames);
  return "";
}
