// The software mixer behind every KSound: one voice per sound, each with its own volume,
// summed with saturation into the platform's 44100 Hz stereo 16-bit output.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace mixer {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

// An event that wakes one waiter and clears itself when the wait returns.
class AutoResetEvent {
 public:
  void Set();
  void Reset();
  // True when the event was set (now or within the timeout).
  bool Wait(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool set_ = false;
};

// A voice is read by the mixing thread: every field is touched only with Lock() held.
struct Voice {
  // Sample voices: device-format frames (stereo, 44100 Hz), `frames` of them.
  // Stream voices: a looping ring of two halves of kHalfBytes each, in the stream's own
  // channel count and rate; `halfFrames` frames in each half.
  std::vector<std::int16_t> pcm;
  int channels = kChannels;
  std::uint32_t frames = 0;
  std::uint32_t halfFrames = 0;  // 0 for samples
  std::uint64_t position = 0;    // in frames, 32.32 fixed point
  std::uint64_t step = std::uint64_t{1} << 32;
  std::int32_t gain = 0;       // amplitude in 1/65536
  std::int32_t hundredths = 0; // the volume in hundredths of a decibel, 0 or below
  bool playing = false;
  bool looping = false;
  // Streams: set when the play cursor enters the first (0) or second (1) half.
  AutoResetEvent* halfEvents[2] = {nullptr, nullptr};
};

// Stream rings: two halves of 16384 bytes.
constexpr std::uint32_t kHalfBytes = 16384;
constexpr std::uint32_t kHalfValues = kHalfBytes / 2;

// The mixer's lock, held by the mixing thread while it mixes.
std::mutex& Lock();

// Opens the output device when the first sound appears; false when there is none (sounds
// then load and play unheard). Close releases it with the last sound.
bool Open();
void Close();
bool HasDevice();

// Adds or removes a voice from the mixed set (takes the lock).
void Attach(Voice* voice);
void Detach(Voice* voice);

// With the lock held: volume in hundredths of a decibel (0 is the recorded level,
// -10000 silence).
void SetVolumeLocked(Voice& voice, std::int32_t hundredths);
// With the lock held: starts the voice at its current position; a stream voice signals
// the half its cursor is in.
void StartLocked(Voice& voice);

// Mixes `frames` frames of every playing voice into out (takes the lock). This is what the
// device calls.
void Mix(std::int16_t* out, int frames);

// Amplitude factor of a volume in hundredths of a decibel, in 1/65536.
std::int32_t GainOf(std::int32_t hundredths);

}  // namespace mixer
