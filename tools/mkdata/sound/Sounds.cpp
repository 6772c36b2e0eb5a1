// The sound effects and the music under data/audio/, synthesized, checked (SoundChecks.h) and
// encoded as Ogg Vorbis.
#include "tools/mkdata/MkData.h"
#include "tools/mkdata/sound/Effects.h"
#include "tools/mkdata/sound/Music.h"
#include "tools/mkdata/sound/SoundChecks.h"

#include "tools/common/BmpWriter.h"
#include "tools/common/OggEncoder.h"

#include <cstdio>

namespace {

// Writes one sound unless `fault` says what is wrong with it, and checks the file (taken away
// again if wrong); false, and why on standard error, on a fault.
bool WriteSound(const std::string& path, const Samples& pcm, int channels, float quality, std::string fault) {
  if (fault.empty() && !WriteFileBytes(path, EncodeOggVorbis(pcm, channels, kSoundRate, quality)))
    fault = "cannot be written";
  if (fault.empty() && !(fault = CheckOggFile(path, channels, pcm.size() / channels)).empty())
    std::remove(path.c_str());
  if (!fault.empty()) std::fprintf(stderr, "zindo-mkdata: %s: %s\n", path.c_str(), fault.c_str());
  return fault.empty();
}

}  // namespace

bool WriteSoundsAndMusic(const std::string& out) {
  const std::string dir = out + "/data/audio/";
  bool ok = true;
  std::vector<Samples> effects;
  for (const Effect& e : kEffects) {
    effects.push_back(e.render());
    std::string fault = CheckEffect(effects.back());
    for (std::size_t i = 0; i + 1 < effects.size() && fault.empty(); ++i)
      if (effects[i] == effects.back()) fault = std::string("the same sound as ") + kEffects[i].file;
    ok = WriteSound(dir + e.file, effects.back(), 1, 0.4f, fault) && ok;
  }
  for (const Song& song : kSongs) {
    const Samples pcm = RenderSong(song);
    ok = WriteSound(dir + song.file, pcm, 2, 0.3f, CheckMusic(pcm)) && ok;
  }
  return ok;
}
