// The audio device of the real game: one SDL2 output in the engine's fixed format.
#include "platform.h"

#include <SDL.h>

namespace {
// 512 frames is 11.6 ms at 44100 Hz: with SDL's own double buffering a sound started
// between two callbacks reaches the speaker within about two blocks.
constexpr Uint16 kDeviceFrames = 512;

SDL_AudioDeviceID deviceId = 0;
plat::AudioMixCallback mixCallback = nullptr;
void* mixUser = nullptr;

void SDLCALL FillBlock(void* /*userdata*/, Uint8* stream, int len) {
  const int frames = len / static_cast<int>(sizeof(std::int16_t) * plat::kAudioChannels);
  mixCallback(reinterpret_cast<std::int16_t*>(stream), frames, mixUser);
}
}  // namespace

namespace plat {

bool OpenAudioDevice(AudioMixCallback mix, void* user) {
  if (deviceId != 0 || !mix) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  mixCallback = mix;
  mixUser = user;
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = kAudioChannels;
  want.samples = kDeviceFrames;
  want.callback = FillBlock;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts if the card wants another format.
  deviceId = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (deviceId == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixCallback = nullptr;
    mixUser = nullptr;
    return false;
  }
  SDL_PauseAudioDevice(deviceId, 0);
  return true;
}

void CloseAudioDevice() {
  if (deviceId == 0) return;
  SDL_CloseAudioDevice(deviceId);  // returns once the callback has finished
  deviceId = 0;
  mixCallback = nullptr;
  mixUser = nullptr;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat
