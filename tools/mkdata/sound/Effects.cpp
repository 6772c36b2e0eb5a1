#include "tools/mkdata/sound/Effects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318530718f;

// Adds `b` into `a` at `at` (frames), times gain; `a` grows as needed.
void MixInto(Samples& a, const Samples& b, int at, float gain) {
  if (a.size() < b.size() + at) a.resize(b.size() + at);
  for (std::size_t i = 0; i < b.size(); ++i) a[at + i] += gain * b[i];
}

// Scaled to its peak, cut where it has died away (below -54 dB), ends faded.
Samples Finish(Samples s, float peak) {
  Normalize(s, peak);
  std::size_t end = s.size();
  while (end > 0 && std::fabs(s[end - 1]) < 0.002f) --end;
  s.resize(std::min(s.size(), end + Frames(0.01f)));
  FadeEnds(s, Frames(0.001f), Frames(0.02f));
  // Two milliseconds of silence first: the codec then keeps the very first samples quiet.
  s.insert(s.begin(), Frames(0.002f), 0.0f);
  return s;
}

// Bat and brick hits: hand drums at several pitches.
Samples Bongo(float f, std::uint32_t seed) { return Finish(Drum(f, 0.075f, 0.35f, seed), 0.7f); }
Samples Conga(float f, std::uint32_t seed) { return Finish(Drum(f, 0.14f, 0.1f, seed), 0.72f); }
Samples Tom(float f, std::uint32_t seed) { return Finish(Drum(f, 0.1f, 0.2f, seed), 0.7f); }
Samples Heavy(float f, std::uint32_t seed) {
  Samples s = Drum(f, 0.2f, 0.6f, seed);
  MixInto(s, Kick(f * 0.5f, 0.16f), 0, 0.8f);
  return Finish(s, 0.78f);
}

// A crate splintering: a wooden knock, then a spray of cracking bursts.
Samples CrateBreak(std::uint32_t seed, float pitch) {
  Samples s = WoodBlock(pitch, 0.06f, seed);
  MixInto(s, Drum(pitch * 0.35f, 0.08f, 0.2f, seed + 1), 0, 0.6f);
  Noise n(seed * 77 + 5);
  int at = Frames(0.01f);
  for (int k = 0; k < 9; ++k) {
    const float centre = 900 + 1800 * (0.5f + 0.5f * n.Next());
    Biquad bp(Biquad::BandPass, centre, 2.5f);
    Samples crack(Frames(0.03f + 0.03f * (0.5f + 0.5f * n.Next())));
    for (std::size_t i = 0; i < crack.size(); ++i) {
      const float env = std::exp(-8.0f * i / crack.size());
      crack[i] = env * bp.Run(n.Next()) * 3;
    }
    MixInto(s, crack, at, 0.9f - 0.07f * k);
    at += Frames(0.018f + 0.03f * (0.5f + 0.5f * n.Next()));
  }
  return Finish(s, 0.75f);
}

Samples Knock(float f, std::uint32_t seed) {
  Samples s = WoodBlock(f, 0.05f, seed);
  MixInto(s, WoodBlock(f * 1.12f, 0.04f, seed + 9), Frames(0.07f), 0.6f);
  return Finish(s, 0.65f);
}

// Metal clank: inharmonic ringing partials over a hard click.
Samples Clank(float f, std::uint32_t seed) {
  Samples s(Frames(0.7f));
  const float ratios[] = {1.0f, 2.76f, 5.40f, 8.93f, 1.41f};
  const float amps[] = {0.6f, 0.5f, 0.35f, 0.2f, 0.3f};
  const float decays[] = {0.25f, 0.15f, 0.09f, 0.05f, 0.2f};
  static_assert(sizeof(ratios) == sizeof(amps) && sizeof(amps) == sizeof(decays), "one row per partial");
  for (int p = 0; p < 5; ++p) {
    float phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      s[i] += amps[p] * std::exp(-static_cast<float>(i) / kSoundRate / decays[p]) * std::sin(phase);
      phase = std::fmod(phase + kTwoPi * f * ratios[p] / kSoundRate, kTwoPi);
    }
  }
  MixInto(s, Clave(f * 4), 0, 0.5f);
  Noise n(seed);
  for (int i = 0; i < Frames(0.006f); ++i) s[i] += 0.5f * n.Next() * (1 - i / static_cast<float>(Frames(0.006f)));
  return Finish(s, 0.6f);
}

// Pop gun: a noise burst and a falling tone.
Samples Shot() {
  Samples s(Frames(0.22f));
  Noise n(1234);
  Biquad lp(Biquad::LowPass, 3000, 0.8f);
  float phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const float t = static_cast<float>(i) / kSoundRate;
    const float f = 150 + 1100 * std::exp(-t / 0.035f);
    phase = std::fmod(phase + kTwoPi * f / kSoundRate, kTwoPi);
    s[i] = 0.7f * std::exp(-t / 0.05f) * std::sin(phase) + 0.8f * std::exp(-t / 0.018f) * lp.Run(n.Next());
  }
  return Finish(s, 0.7f);
}

// Magnet hum: a rising, wobbling tone.
Samples Magnet() {
  Samples s(Frames(0.45f));
  float phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const float t = static_cast<float>(i) / kSoundRate;
    const float f = 220 + 700 * t / 0.45f;
    phase = std::fmod(phase + kTwoPi * f / kSoundRate, kTwoPi);
    const float wobble = 0.6f + 0.4f * std::sin(kTwoPi * 18 * t);
    s[i] = wobble * (std::sin(phase) + 0.3f * std::sin(2 * phase)) * std::sin(3.14159f * t / 0.45f);
  }
  return Finish(s, 0.5f);
}

// Mallet phrases: notes (MIDI) one after another every `step` seconds.
Samples Phrase(std::initializer_list<int> notes, float step, bool steel, float tail) {
  Samples s;
  int at = 0;
  for (int note : notes) {
    MixInto(s, steel ? SteelDrum(MidiToHz(note), tail) : Marimba(MidiToHz(note), tail), at, 0.8f);
    at += Frames(step);
  }
  return s;
}

Samples Fruit1() { return Finish(Phrase({84, 88}, 0.06f, false, 0.3f), 0.6f); }
Samples Fruit2() { return Finish(Phrase({88, 91}, 0.06f, false, 0.3f), 0.6f); }
Samples Fruit3() {  // also the bonus stinger
  Samples s = Phrase({79, 84, 88, 91}, 0.055f, true, 0.4f);
  MixInto(s, Phrase({67, 72}, 0.11f, false, 0.4f), 0, 0.5f);
  return Finish(s, 0.65f);
}
Samples Larger() {
  Samples s = Phrase({67, 71, 74, 79, 83}, 0.07f, true, 0.5f);
  MixInto(s, Drum(330, 0.07f, 0.3f, 41), 0, 0.4f);
  return Finish(s, 0.65f);
}
Samples Lower() {
  Samples s = Phrase({83, 79, 74, 71, 67}, 0.08f, true, 0.5f);
  MixInto(s, Drum(160, 0.12f, 0.1f, 43), Frames(0.32f), 0.5f);
  return Finish(s, 0.65f);
}
Samples ExtraLife() {
  Samples s = Phrase({72, 76, 79, 84}, 0.09f, true, 0.5f);
  const int at = Frames(0.36f);
  for (int note : {84, 88, 91}) MixInto(s, SteelDrum(MidiToHz(note), 0.35f), at, 0.5f);
  for (int note : {60, 64, 67}) MixInto(s, Marimba(MidiToHz(note), 0.6f), at, 0.4f);
  MixInto(s, Drum(400, 0.07f, 0.4f, 45), at, 0.5f);
  return Finish(s, 0.7f);
}

// Earthquake: low rumbling noise with rubble knocks, about a second and a half.
Samples Quake() {
  const int n = Frames(1.6f);
  Samples s(n);
  Noise noise(99);
  Biquad lp1(Biquad::LowPass, 110, 0.9f), lp2(Biquad::LowPass, 160, 0.7f);
  float phase = 0;
  for (int i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) / kSoundRate;
    const float env = std::min(1.0f, t / 0.08f) * std::exp(-t / 0.7f);
    const float wobble = 0.7f + 0.3f * std::sin(kTwoPi * 7 * t);
    phase = std::fmod(phase + kTwoPi * (42 - 8 * t) / kSoundRate, kTwoPi);
    s[i] = env * wobble * (6 * lp2.Run(lp1.Run(noise.Next())) + 0.4f * std::sin(phase));
  }
  Noise pick(17);
  for (int k = 0; k < 10; ++k) {
    const int at = static_cast<int>((0.05f + 0.9f * (0.5f + 0.5f * pick.Next())) * kSoundRate);
    MixInto(s, Drum(90 + 60 * (0.5f + 0.5f * pick.Next()), 0.06f, 0.2f, 200 + k), at, 0.25f);
  }
  s.resize(n);
  return Finish(s, 0.8f);
}

Samples Wall() { return Finish(WoodBlock(1250, 0.02f, 61), 0.4f); }
Samples Wall2() {
  Samples s = Clave(1650);
  MixInto(s, WoodBlock(900, 0.015f, 63), 0, 0.5f);
  return Finish(s, 0.4f);
}

}  // namespace

const Effect kEffects[31] = {
    {"cassecaisse1.ogg", [] { return CrateBreak(11, 420); }},
    {"cassecaisse2.ogg", [] { return CrateBreak(12, 380); }},
    {"ballinaimant.ogg", Magnet},
    {"shoot.ogg", Shot},
    {"fruit_1.ogg", Fruit1},
    {"fruit_2.ogg", Fruit2},
    {"fruit_3.ogg", Fruit3},
    {"ballbat1.ogg", [] { return Bongo(392, 1); }},
    {"ballbat2.ogg", [] { return Bongo(440, 2); }},
    {"ballbat3.ogg", [] { return Bongo(494, 3); }},
    {"ballbatlow_2.ogg", [] { return Conga(175, 4); }},
    {"ballbatlow_3.ogg", [] { return Conga(196, 5); }},
    {"ballbatlow1.ogg", [] { return Conga(156, 6); }},
    {"ballbatmedium1.ogg", [] { return Tom(262, 7); }},
    {"ballbatmedium2.ogg", [] { return Tom(294, 8); }},
    {"ballbatmedium3.ogg", [] { return Tom(330, 9); }},
    {"ballbatheavy1.ogg", [] { return Heavy(110, 10); }},
    {"ballbatheavy2.ogg", [] { return Heavy(123, 11); }},
    {"ballbatheavy3.ogg", [] { return Heavy(98, 12); }},
    {"spaceinv.ogg", Quake},
    {"cassecaissemetal1.ogg", [] { return Clank(430, 21); }},
    {"cassecaissemetal2.ogg", [] { return Clank(520, 22); }},
    {"cassecaissemetal3.ogg", [] { return Clank(610, 23); }},
    {"caissewood1.ogg", [] { return Knock(620, 31); }},
    {"caissewood2.ogg", [] { return Knock(720, 32); }},
    {"caissewood3.ogg", [] { return Knock(840, 33); }},
    {"larger.ogg", Larger},
    {"lower.ogg", Lower},
    {"extralife.ogg", ExtraLife},
    {"wall.ogg", Wall},
    {"wall2.ogg", Wall2},
};
