#include "tools/mkdata/sound/Synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kTwoPi = 6.28318530718f;
}

Biquad::Biquad(Kind kind, float freq, float q, int rate) {
  const float w = kTwoPi * freq / static_cast<float>(rate);
  const float cw = std::cos(w), alpha = std::sin(w) / (2 * q);
  const float a0 = 1 + alpha;
  switch (kind) {
    case LowPass:
      b0_ = (1 - cw) / 2, b1_ = 1 - cw, b2_ = (1 - cw) / 2;
      break;
    case HighPass:
      b0_ = (1 + cw) / 2, b1_ = -(1 + cw), b2_ = (1 + cw) / 2;
      break;
    case BandPass:
    default:
      b0_ = alpha, b1_ = 0, b2_ = -alpha;
      break;
  }
  a1_ = -2 * cw, a2_ = 1 - alpha;
  b0_ /= a0, b1_ /= a0, b2_ /= a0, a1_ /= a0, a2_ /= a0;
}

float MidiToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }
int Frames(float seconds) { return static_cast<int>(seconds * kSoundRate + 0.5f); }

namespace {

// One decaying partial: amplitude a, frequency f (with an optional falling pitch bend of
// `bend` times f that dies with time constant bendTime), decay time constant `decay`.
void AddPartial(Samples& s, float a, float f, float decay, float bend = 0, float bendTime = 0.01f) {
  const float dt = 1.0f / kSoundRate;
  const float fall = std::exp(-dt / decay);
  const float bendFall = std::exp(-dt / bendTime);
  float env = a, b = bend, phase = 0;
  for (float& x : s) {
    x += env * std::sin(phase);
    phase += kTwoPi * f * (1 + b) * dt;
    if (phase > kTwoPi) phase -= kTwoPi;
    env *= fall;
    b *= bendFall;
  }
}

// Mallet or hand click: a few milliseconds of filtered noise.
void AddClick(Samples& s, float a, float freq, float length, std::uint32_t seed) {
  Noise n(seed);
  Biquad bp(Biquad::BandPass, freq, 1.2f);
  const int len = std::min(static_cast<int>(s.size()), Frames(length));
  for (int i = 0; i < len; ++i) {
    const float env = 1.0f - static_cast<float>(i) / len;
    s[i] += a * env * env * bp.Run(n.Next());
  }
}

// Soft start over a few samples so a note never begins with a step.
void Attack(Samples& s, int frames) {
  for (int i = 0; i < frames && i < static_cast<int>(s.size()); ++i) s[i] *= static_cast<float>(i) / frames;
}

}  // namespace

Samples Drum(float f0, float decay, float slap, std::uint32_t seed) {
  Samples s(Frames(decay * 6));
  AddPartial(s, 0.8f, f0, decay, 0.6f, 0.012f);
  AddPartial(s, 0.3f, f0 * 1.59f, decay * 0.5f, 0.4f, 0.01f);
  AddPartial(s, 0.15f, f0 * 2.14f, decay * 0.35f);
  AddClick(s, 0.5f + slap, 1500 + slap * 2500, 0.012f + slap * 0.02f, seed);
  Attack(s, 16);
  return s;
}

Samples Kick(float f0, float decay) {
  Samples s(Frames(decay * 6));
  AddPartial(s, 1.0f, f0, decay, 1.5f, 0.02f);
  AddClick(s, 0.2f, 900, 0.006f, 7);
  Attack(s, 16);
  return s;
}

Samples WoodBlock(float f, float decay, std::uint32_t seed) {
  Samples s(Frames(decay * 7));
  AddPartial(s, 0.8f, f, decay);
  AddPartial(s, 0.35f, f * 2.71f, decay * 0.6f);
  AddPartial(s, 0.15f, f * 4.9f, decay * 0.3f);
  AddClick(s, 0.4f, f * 2, 0.004f, seed);
  Attack(s, 8);
  return s;
}

Samples Clave(float f) {
  Samples s(Frames(0.18f));
  AddPartial(s, 0.9f, f, 0.035f);
  AddPartial(s, 0.2f, f * 2.4f, 0.015f);
  Attack(s, 8);
  return s;
}

Samples Cowbell(float f) {
  Samples s(Frames(0.35f));
  AddPartial(s, 0.7f, f, 0.06f);
  AddPartial(s, 0.5f, f * 1.48f, 0.045f);
  AddPartial(s, 0.15f, f * 2.9f, 0.02f);
  AddClick(s, 0.3f, 3000, 0.004f, 11);
  Attack(s, 8);
  return s;
}

Samples Marimba(float f, float length) {
  const float decay = std::min(length, 0.2f + 90.0f / f);
  Samples s(Frames(decay * 5));
  AddPartial(s, 0.8f, f, decay);
  AddPartial(s, 0.25f, f * 4.0f, decay * 0.25f);
  AddPartial(s, 0.08f, f * 9.9f, decay * 0.1f);
  AddClick(s, 0.15f, std::min(f * 6, 8000.0f), 0.005f, static_cast<std::uint32_t>(f));
  Attack(s, 24);
  return s;
}

Samples SteelDrum(float f, float length) {
  const float decay = std::min(length, 0.6f);
  Samples s(Frames(decay * 5));
  AddPartial(s, 0.6f, f, decay);
  AddPartial(s, 0.35f, f * 2.0f, decay * 0.7f);
  AddPartial(s, 0.2f, f * 3.0f, decay * 0.45f);
  AddPartial(s, 0.12f, f * 4.02f, decay * 0.2f);
  AddPartial(s, 0.1f, f * 1.003f, decay * 1.2f);  // a slightly detuned note shimmer
  AddClick(s, 0.1f, std::min(f * 5, 8000.0f), 0.004f, static_cast<std::uint32_t>(f) + 3);
  // Steel pans swell a little after the stick hits.
  const int swell = Frames(0.012f);
  for (int i = 0; i < swell && i < static_cast<int>(s.size()); ++i) s[i] *= static_cast<float>(i) / swell;
  return s;
}

Samples Bass(float f, float length) {
  const float decay = std::max(0.12f, length * 0.6f);
  Samples s(Frames(std::min(length * 1.2f + 0.05f, decay * 5)));
  AddPartial(s, 0.9f, f, decay);
  AddPartial(s, 0.35f, f * 2, decay * 0.6f);
  AddPartial(s, 0.1f, f * 3, decay * 0.3f);
  Attack(s, 40);
  FadeEnds(s, 0, Frames(0.03f));
  return s;
}

Samples Shaker(float length, float brightness, std::uint32_t seed) {
  Samples s(Frames(length));
  Noise n(seed);
  Biquad hp(Biquad::HighPass, 3000 + brightness * 3000, 0.7f);
  const int peakAt = static_cast<int>(s.size() / 4);
  for (int i = 0; i < static_cast<int>(s.size()); ++i) {
    const float env = i < peakAt ? static_cast<float>(i) / peakAt
                                 : std::exp(-6.0f * (i - peakAt) / static_cast<float>(s.size()));
    s[i] = 0.5f * env * hp.Run(n.Next());
  }
  return s;
}

float Peak(const Samples& s) {
  float p = 0;
  for (float x : s) p = std::max(p, std::fabs(x));
  return p;
}

void Normalize(Samples& s, float target) {
  const float p = Peak(s);
  if (p <= 0) return;
  for (float& x : s) x *= target / p;
}

void FadeEnds(Samples& s, int fadeIn, int fadeOut) {
  const int n = static_cast<int>(s.size());
  for (int i = 0; i < fadeIn && i < n; ++i) s[i] *= static_cast<float>(i) / fadeIn;
  for (int i = 0; i < fadeOut && i < n; ++i) s[n - 1 - i] *= static_cast<float>(i) / fadeOut;
}

void Mix::Add(int at, const Samples& note, float gain, float pan) {
  const int n = Frames();
  const float gl = gain * std::sqrt(0.5f * (1 - pan)), gr = gain * std::sqrt(0.5f * (1 + pan));
  for (std::size_t i = 0; i < note.size(); ++i) {
    int k = at + static_cast<int>(i);
    if (k >= n) {
      if (!loop_) break;
      k %= n;
    }
    if (k < 0) continue;
    left_[k] += gl * note[i];
    right_[k] += gr * note[i];
  }
}

Samples Mix::Interleaved(float target) const {
  float peak = 0;
  for (int i = 0; i < Frames(); ++i) peak = std::max({peak, std::fabs(left_[i]), std::fabs(right_[i])});
  const float g = peak > 0 ? target / peak : 0;
  Samples out(2 * left_.size());
  for (int i = 0; i < Frames(); ++i) {
    out[2 * i] = left_[i] * g;
    out[2 * i + 1] = right_[i] * g;
  }
  return out;
}
