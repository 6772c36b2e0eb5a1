// The audio device of the real game: one SDL2 output in the engine's fixed format.
#include "platform/platform.h"

#include <SDL.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdio>

namespace {
// 512 frames is 11.6 ms at 44100 Hz: with SDL's own double buffering a sound started
// between two callbacks reaches the speaker within about two blocks.
constexpr Uint16 kDeviceFrames = 512;

SDL_AudioDeviceID deviceId = 0;
plat::AudioMixCallback mixCallback = nullptr;
void* mixUser = nullptr;

// alsa-lib writes every failed step of finding a device to standard error through an error
// handler of its own: on a machine without a sound card that is a screenful before the game goes
// on silently. SDL's ALSA driver uses the system's libasound.so.2 (linked in or loaded at run
// time, as SDL was built); opening it here by that name gives the very same library, kept open,
// and its handler becomes one that drops the reports. Without the library there is nothing to
// quieten.
void DropAlsaReport(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                    const char* /*fmt*/, ...) {}

void QuietenAlsa() {
  static const bool once = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return false;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* set = dlsym(alsa, "snd_lib_error_set_handler");
    if (set) reinterpret_cast<SetHandler>(set)(DropAlsaReport);
    return set != nullptr;
  }();
  (void)once;
}

// The one line a player without sound sees, once however often the device is tried.
void SayNoSound() {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr, "ZindoRumba: no sound device (%s), playing without sound\n", SDL_GetError());
}

void SDLCALL FillBlock(void* /*userdata*/, Uint8* stream, int len) {
  const int frames = len / static_cast<int>(sizeof(std::int16_t) * plat::kAudioChannels);
  mixCallback(reinterpret_cast<std::int16_t*>(stream), frames, mixUser);
}
}  // namespace

namespace plat {

bool OpenAudioDevice(AudioMixCallback mix, void* user) {
  if (deviceId != 0 || !mix) return false;
  QuietenAlsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SayNoSound();
    return false;
  }
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
    SayNoSound();
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
