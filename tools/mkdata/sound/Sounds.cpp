// The sound effects and the music under data/audio/, synthesized and encoded as Ogg Vorbis.
#include "tools/mkdata/MkData.h"
#include "tools/mkdata/sound/Effects.h"
#include "tools/mkdata/sound/Music.h"

#include "tools/common/BmpWriter.h"
#include "tools/common/OggEncoder.h"

#include <cstdio>

bool WriteSoundsAndMusic(const std::string& out) {
  const std::string dir = out + "/data/audio/";
  bool ok = true;
  for (const Effect& e : kEffects) {
    if (!WriteFileBytes(dir + e.file, EncodeOggVorbis(e.render(), 1, kSoundRate, 0.4f))) {
      std::fprintf(stderr, "zindo-mkdata: cannot write %s%s\n", dir.c_str(), e.file);
      ok = false;
    }
  }
  for (const Song& song : kSongs) {
    if (!WriteFileBytes(dir + song.file, EncodeOggVorbis(RenderSong(song), 2, kSoundRate, 0.3f))) {
      std::fprintf(stderr, "zindo-mkdata: cannot write %s%s\n", dir.c_str(), song.file);
      ok = false;
    }
  }
  return ok;
}
