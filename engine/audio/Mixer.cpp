#include "engine/audio/Mixer.h"

#include "platform/platform.h"

#include <algorithm>
#include <cmath>

static_assert(mixer::kRate == plat::kAudioRate && mixer::kChannels == plat::kAudioChannels,
              "the mixer writes the device's own format");

namespace mixer {

void AutoResetEvent::Set() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    set_ = true;
  }
  cv_.notify_one();
}

void AutoResetEvent::Reset() {
  std::lock_guard<std::mutex> hold(mutex_);
  set_ = false;
}

bool AutoResetEvent::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> hold(mutex_);
  if (!cv_.wait_for(hold, timeout, [this] { return set_; })) return false;
  set_ = false;
  return true;
}

namespace {

// What the device's thread reads. Made once and never destroyed: should a way out ever
// leave the device open, the device's thread still finds it whole while the program's
// globals are destroyed at exit.
struct Shared {
  std::mutex lock;
  std::vector<Voice*> voices;      // under lock
  std::vector<std::int32_t> sums;  // under lock
};
Shared& shared = *new Shared;
std::mutex& mixLock = shared.lock;
std::vector<Voice*>& voices = shared.voices;
std::vector<std::int32_t>& sums = shared.sums;
bool deviceOpen = false;           // main thread only

void DeviceCallback(std::int16_t* out, int frames, void* /*user*/) { Mix(out, frames); }

inline std::int32_t Scaled(std::int32_t sample, std::int32_t gain) { return (sample * gain) >> 16; }

// Device-format frames, one step per output frame.
void MixSample(Voice& v, std::int32_t* sum, int frames) {
  std::uint32_t pos = static_cast<std::uint32_t>(v.position >> 32);
  const std::int32_t g = v.gain;
  int done = 0;
  while (done < frames) {
    if (pos >= v.frames) {
      if (v.looping && v.frames > 0) {
        pos = 0;
      } else {
        v.playing = false;
        break;
      }
    }
    const std::uint32_t n = std::min<std::uint32_t>(static_cast<std::uint32_t>(frames - done), v.frames - pos);
    const std::int16_t* src = v.pcm.data() + static_cast<std::size_t>(pos) * kChannels;
    std::int32_t* dst = sum + static_cast<std::size_t>(done) * kChannels;
    if (g != 0) {
      for (std::uint32_t k = 0; k < 2 * n; ++k) dst[k] += Scaled(src[k], g);
    }
    done += static_cast<int>(n);
    pos += n;
  }
  if (pos >= v.frames && !v.looping) v.playing = false;
  v.position = static_cast<std::uint64_t>(pos) << 32;
}

inline const std::int16_t* RingFrame(const Voice& v, std::uint32_t f) {
  const std::uint32_t half = f >= v.halfFrames ? 1u : 0u;
  return v.pcm.data() + half * kHalfValues + static_cast<std::size_t>(f - half * v.halfFrames) * v.channels;
}

// A stream ring in its own format: converted to the device's rate and channels on the way,
// with a wake-up for the refill thread whenever the cursor enters a half.
void MixStream(Voice& v, std::int32_t* sum, int frames) {
  const std::uint32_t ringFrames = 2 * v.halfFrames;
  if (ringFrames == 0) return;
  const std::uint64_t ringEnd = static_cast<std::uint64_t>(ringFrames) << 32;
  std::uint64_t pos = v.position % ringEnd;
  const std::int32_t g = v.gain;
  const bool mono = v.channels == 1;
  for (int j = 0; j < frames; ++j) {
    const std::uint32_t f = static_cast<std::uint32_t>(pos >> 32);
    const std::uint32_t frac = static_cast<std::uint32_t>(pos);
    const std::int16_t* a = RingFrame(v, f);
    std::int32_t left = a[0];
    std::int32_t right = mono ? a[0] : a[1];
    if (frac != 0) {
      const std::int16_t* b = RingFrame(v, f + 1 == ringFrames ? 0 : f + 1);
      const std::int32_t bl = b[0];
      const std::int32_t br = mono ? b[0] : b[1];
      left += static_cast<std::int32_t>((static_cast<std::int64_t>(bl - left) * frac) >> 32);
      right += static_cast<std::int32_t>((static_cast<std::int64_t>(br - right) * frac) >> 32);
    }
    sum[2 * j] += Scaled(left, g);
    sum[2 * j + 1] += Scaled(right, g);
    const bool wasSecond = f >= v.halfFrames;
    pos += v.step;
    if (pos >= ringEnd) pos -= ringEnd;
    const bool isSecond = static_cast<std::uint32_t>(pos >> 32) >= v.halfFrames;
    if (isSecond != wasSecond) {
      if (AutoResetEvent* e = v.halfEvents[isSecond ? 1 : 0]) e->Set();
    }
  }
  v.position = pos;
}

}  // namespace

std::mutex& Lock() { return mixLock; }

bool Open() {
  if (!deviceOpen) deviceOpen = plat::OpenAudioDevice(DeviceCallback, nullptr);
  return deviceOpen;
}

void Close() {
  if (deviceOpen) plat::CloseAudioDevice();
  deviceOpen = false;
}

bool HasDevice() { return deviceOpen; }

void Attach(Voice* voice) {
  std::lock_guard<std::mutex> hold(mixLock);
  voices.push_back(voice);
}

void Detach(Voice* voice) {
  std::lock_guard<std::mutex> hold(mixLock);
  voices.erase(std::remove(voices.begin(), voices.end(), voice), voices.end());
}

std::int32_t GainOf(std::int32_t hundredths) {
  if (hundredths <= -10000) return 0;  // the bottom of the scale is silence
  if (hundredths >= 0) return 65536;
  return static_cast<std::int32_t>(std::lround(65536.0 * std::pow(10.0, hundredths / 2000.0)));
}

void SetVolumeLocked(Voice& voice, std::int32_t hundredths) {
  voice.hundredths = std::min(hundredths, 0);
  voice.gain = GainOf(voice.hundredths);
}

void StartLocked(Voice& voice) {
  voice.playing = true;
  if (voice.halfFrames != 0) {
    const bool second = static_cast<std::uint32_t>(voice.position >> 32) >= voice.halfFrames;
    if (AutoResetEvent* e = voice.halfEvents[second ? 1 : 0]) e->Set();
  }
}

void Mix(std::int16_t* out, int frames) {
  if (frames <= 0) return;
  std::lock_guard<std::mutex> hold(mixLock);
  const std::size_t n = static_cast<std::size_t>(frames) * kChannels;
  sums.assign(n, 0);
  for (Voice* v : voices) {
    if (!v->playing) continue;
    if (v->halfFrames != 0) {
      MixStream(*v, sums.data(), frames);
    } else {
      MixSample(*v, sums.data(), frames);
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    out[k] = static_cast<std::int16_t>(std::clamp<std::int32_t>(sums[k], -32768, 32767));
  }
}

}  // namespace mixer
