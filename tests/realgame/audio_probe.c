/* Preloaded into the real game by its tests: counts the openings and closings of SDL's audio
   device, and when main has returned writes "opened=N closed=M" to the file named by
   ZR_AUDIO_PROBE. The report is an exit handler registered at the first opening, so it runs
   before the destructors of every global made earlier: a device closed only by one of those
   is still counted open. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

typedef uint32_t DeviceId; /* SDL_AudioDeviceID */

static int opened, closed;

static void Report(void) {
  const char* path = getenv("ZR_AUDIO_PROBE");
  FILE* f = path ? fopen(path, "w") : NULL;
  if (!f) return;
  fprintf(f, "opened=%d closed=%d\n", opened, closed);
  fclose(f);
}

DeviceId SDL_OpenAudioDevice(const char* device, int capture, const void* want, void* have, int changes) {
  DeviceId (*real)(const char*, int, const void*, void*, int) =
      (DeviceId(*)(const char*, int, const void*, void*, int))dlsym(RTLD_NEXT, "SDL_OpenAudioDevice");
  const DeviceId id = real(device, capture, want, have, changes);
  if (id != 0 && opened++ == 0) atexit(Report);
  return id;
}

void SDL_CloseAudioDevice(DeviceId id) {
  void (*real)(DeviceId) = (void (*)(DeviceId))dlsym(RTLD_NEXT, "SDL_CloseAudioDevice");
  real(id);
  ++closed;
}
