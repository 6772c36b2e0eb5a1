// Small synthesizer for the game's sounds: percussion and tuned mallet voices rendered as
// mono float samples, and a stereo mix buffer that can wrap note tails around its end so a
// piece loops without a seam. Everything is deterministic (own noise generator).
#pragma once

#include <cstdint>
#include <vector>

using Samples = std::vector<float>;

constexpr int kSoundRate = 44100;

// xorshift noise, -1..1; the same seed gives the same sequence.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
  float Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
  }

 private:
  std::uint32_t state_;
};

// Second-order filter (low pass, high pass or band pass), direct form I.
class Biquad {
 public:
  enum Kind { LowPass, HighPass, BandPass };
  Biquad(Kind kind, float freq, float q, int rate = kSoundRate);
  float Run(float x) {
    const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_, x1_ = x, y2_ = y1_, y1_ = y;
    return y;
  }

 private:
  float b0_, b1_, b2_, a1_, a2_;
  float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

float MidiToHz(float note);
int Frames(float seconds);

// Voices: a mono note from its start; its length is where it has died away.
// Hand drums: f0 the head's pitch; slap adds the bright crack of a slapped hit.
Samples Drum(float f0, float decay, float slap, std::uint32_t seed);
Samples Kick(float f0, float decay);
Samples WoodBlock(float f, float decay, std::uint32_t seed);
Samples Clave(float f);
// Cowbell: two inharmonic partials, a short clang.
Samples Cowbell(float f);
Samples Marimba(float f, float length);
Samples SteelDrum(float f, float length);
Samples Bass(float f, float length);
Samples Shaker(float length, float brightness, std::uint32_t seed);

// Peak of the absolute value.
float Peak(const Samples& s);
// Scales so that the peak is `target` (no change for silence).
void Normalize(Samples& s, float target);
// Short linear fade-in and fade-out against clicks at the ends of an effect.
void FadeEnds(Samples& s, int fadeIn, int fadeOut);

// Stereo mix of a fixed length. Added notes whose tails run past the end wrap to the start
// when `loop` is set (the piece then joins its end to its start), else are cut.
class Mix {
 public:
  Mix(int frames, bool loop) : left_(frames), right_(frames), loop_(loop) {}
  void Add(int at, const Samples& note, float gain, float pan);  // pan -1 left .. 1 right
  int Frames() const { return static_cast<int>(left_.size()); }
  // Interleaved stereo scaled to the peak `target`.
  Samples Interleaved(float target) const;

 private:
  Samples left_, right_;
  bool loop_;
};
