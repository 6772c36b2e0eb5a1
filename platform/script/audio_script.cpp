// The scripted platform's audio device: no sound card, the tests pull the mixed frames.
#include "platform/platform.h"
#include "platform/script/script_audio.h"

#include <mutex>

namespace {
std::mutex deviceMutex;  // open, close and pulls may come from different threads
bool present = true;
bool open = false;
plat::AudioMixCallback mixCallback = nullptr;
void* mixUser = nullptr;
std::uint64_t pulled = 0;
}  // namespace

namespace script {

void SetAudioDevicePresent(bool on) {
  std::lock_guard<std::mutex> hold(deviceMutex);
  present = on;
}

bool AudioDeviceOpen() {
  std::lock_guard<std::mutex> hold(deviceMutex);
  return open;
}

std::vector<std::int16_t> PullAudio(int frames) {
  std::lock_guard<std::mutex> hold(deviceMutex);
  std::vector<std::int16_t> out;
  if (!open || frames <= 0) return out;
  const int steps = (frames + kAudioStepFrames - 1) / kAudioStepFrames;
  out.resize(static_cast<std::size_t>(steps) * kAudioStepFrames * plat::kAudioChannels);
  for (int s = 0; s < steps; ++s) {
    mixCallback(out.data() + static_cast<std::size_t>(s) * kAudioStepFrames * plat::kAudioChannels,
                kAudioStepFrames, mixUser);
    pulled += kAudioStepFrames;
  }
  return out;
}

std::uint64_t PulledFrames() {
  std::lock_guard<std::mutex> hold(deviceMutex);
  return pulled;
}

}  // namespace script

namespace plat {

bool OpenAudioDevice(AudioMixCallback mix, void* user) {
  std::lock_guard<std::mutex> hold(deviceMutex);
  if (!present || open || !mix) return false;
  open = true;
  mixCallback = mix;
  mixUser = user;
  pulled = 0;
  return true;
}

void CloseAudioDevice() {
  std::lock_guard<std::mutex> hold(deviceMutex);
  open = false;
  mixCallback = nullptr;
  mixUser = nullptr;
}

}  // namespace plat
