// The scripted platform's sound card: tests decide whether one exists and pull the mixed
// sound from it themselves, in fixed steps, on whatever thread they like.
#pragma once

#include <cstdint>
#include <vector>

namespace script {

// Whether the scripted machine has a sound card (it has one by default). Takes effect at the
// next plat::OpenAudioDevice.
void SetAudioDevicePresent(bool present);

// Whether a device is open now (between plat::OpenAudioDevice and plat::CloseAudioDevice).
bool AudioDeviceOpen();

// The device asks its mixer for this many frames at a time.
constexpr int kAudioStepFrames = 256;

// Mixes `frames` frames, rounded up to whole steps, and returns them interleaved left,
// right. Returns nothing when no device is open. Never waits for anything but the mixer.
std::vector<std::int16_t> PullAudio(int frames);

// Frames pulled since the device was opened.
std::uint64_t PulledFrames();

}  // namespace script
