#include "tools/mkdata/sound/Music.h"

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

const Song kSongs[8] = {
    // Title: bright and inviting.
    {"monkey2.ogg", 112, true, false, Groove::Son,
     {{{"C", "F", "G", "C"},
       {"E5 G5 C6 - B5 C6 A5 G5", "A5 - F5 A5 C6 - A5 F5", "G5 B5 D6 - B5 G5 A5 B5", "C6 - G5 E5 C5 - . ."}},
      {{"Am", "Dm", "G7", "C"},
       {"A5 C6 E6 - D6 C6 B5 A5", "F5 A5 D6 - C6 A5 F5 D5", "G5 - B5 D6 G6 - F6 D6", "E6 - C6 G5 E5 G5 C6 ."}},
      {}},
     "ABAB"},
    // High-score entry: relaxed.
    {"monkey5.ogg", 100, false, false, Groove::Calypso,
     {{{"Bb", "Gm", "Eb", "F7"},
       {"D5 F5 Bb5 - A5 F5 D5 F5", "G5 - Bb5 D6 - Bb5 G5 D5", "Eb5 G5 Bb5 - G5 Eb5 G5 Bb5", "A5 - C6 - F5 - . ."}},
      {{"Bb", "Eb", "Bb", "F"},
       {"F5 - Bb5 D6 F6 - D6 Bb5", "G5 Bb5 Eb6 - D6 C6 Bb5 G5", "F5 D5 F5 Bb5 D6 - C6 Bb5", "A5 - C6 - F5 . . ."}},
      {}},
     "ABAB"},
    // End: triumphant.
    {"monkey4.ogg", 120, true, false, Groove::Mambo,
     {{{"D", "G", "A", "D"},
       {"D5 F#5 A5 D6 - A5 F#5 A5", "B5 - D6 G6 - D6 B5 G5", "A5 C#6 E6 - C#6 A5 E5 A5", "D6 - A5 F#5 D5 . . ."}},
      {{"Bm", "G", "E7", "A7"},
       {"B5 - D6 F#6 - D6 B5 F#5", "G5 B5 D6 - G6 - D6 B5", "G#5 B5 E6 - D6 B5 G#5 E5", "A5 C#6 E6 - G6 - E6 C#6"}},
      {}},
     "ABAB"},
    // Game over: slow and a little sad.
    {"gov.ogg", 84, false, true, Groove::Son,
     {{{"Am", "Dm", "E7", "Am"},
       {"E5 - A5 - C6 - B5 A5", "F5 - A5 - D6 - C6 A5", "G#5 - B5 - E6 - D6 B5", "A5 - - - E5 - . ."}},
      {{"F", "C", "Dm", "E"},
       {"F5 - A5 C6 - A5 F5 .", "E5 - G5 C6 - G5 E5 .", "D5 - F5 A5 - F5 D5 F5", "E5 - G#5 - B5 - . ."}},
      {}},
     "ABA"},
    // Level tracks.
    {"rumba1.ogg", 120, false, false, Groove::Son,
     {{{"G", "C", "D", "G"},
       {"D5 G5 B5 G5 D5 G5 B5 D6", "E6 - C6 E6 G5 - C6 .", "F#5 A5 D6 - C6 A5 F#5 D5", "G5 - B5 - G5 . . ."}},
      {{"Em", "C", "Am", "D7"},
       {"B5 - E6 - D6 B5 G5 E5", "E5 G5 C6 - B5 G5 E5 C5", "A5 C6 E6 - D6 C6 A5 .", "D6 - F#5 A5 D6 - . ."}},
      {{"C", "G", "Am", "D7"},
       {"E6 - D6 C6 G5 - E5 G5", "D6 - B5 G5 D5 - G5 B5", "C6 - A5 E5 C6 - E6 D6", "C6 B5 A5 F#5 D5 - . ."}}},
     "ABACAB"},
    {"rumba2.ogg", 116, true, false, Groove::Mambo,
     {{{"Dm", "Gm", "A7", "Dm"},
       {"D5 F5 A5 - G5 F5 E5 F5", "G5 - Bb5 D6 - Bb5 A5 G5", "A5 C#6 E6 - C#6 A5 G5 E5", "F5 - D5 - A4 . . ."}},
      {{"Bb", "C", "F", "A7"},
       {"F5 Bb5 D6 - C6 Bb5 A5 Bb5", "C6 - E5 G5 C6 - Bb5 A5", "A5 - F5 C6 A5 - F5 .", "E5 G5 A5 C#6 E6 - . ."}},
      {{"Gm", "Dm", "Bb", "A7"},
       {"G5 Bb5 D6 - Bb5 G5 D5 G5", "F5 A5 D6 - A5 F5 D5 F5", "Bb5 - D6 F6 - D6 Bb5 F5", "E5 - C#6 - A5 - . ."}}},
     "ABACAB"},
    {"rumba3.ogg", 128, false, false, Groove::Son,
     {{{"Am", "Am", "Dm", "E7"},
       {"A5 . C6 A5 E6 - C6 A5", "B5 C6 B5 A5 G#5 - E5 .", "D5 F5 A5 D6 - A5 F5 D5", "E5 G#5 B5 - D6 - B5 G#5"}},
      {{"F", "G", "C", "E7"},
       {"A5 C6 F6 - E6 C6 A5 F5", "G5 B5 D6 - C6 B5 G5 D5", "E5 G5 C6 - B5 C6 E6 -", "D6 - B5 G#5 E5 - . ."}},
      {{"Dm", "Am", "Dm", "E"},
       {"F5 - A5 D6 F6 - E6 D6", "C6 - A5 E5 A5 - C6 E6", "D6 F6 D6 A5 F5 - D5 F5", "E5 - G#5 B5 E6 - . ."}}},
     "ABACB"},
    {"rumba4.ogg", 120, true, false, Groove::Calypso,
     {{{"F", "Bb", "C7", "F"},
       {"C5 F5 A5 - C6 A5 F5 A5", "Bb5 - D6 Bb5 F5 - D5 F5", "E5 G5 C6 - Bb5 G5 E5 C5", "F5 - A5 - F5 . . ."}},
      {{"Dm", "Gm", "C", "F"},
       {"D6 - A5 F5 D5 F5 A5 D6", "D6 - Bb5 G5 D5 G5 Bb5 D6", "C6 - G5 E5 C6 - E6 G6", "F6 - C6 A5 F5 - . ."}},
      {{"Bb", "F", "G7", "C7"},
       {"D6 - F6 D6 Bb5 - F5 Bb5", "A5 - C6 F6 - C6 A5 F5", "G5 B5 D6 F6 - D6 B5 G5", "E5 G5 Bb5 C6 - E6 - ."}}},
     "ABACAB"},
};

namespace {

// Semitone of a note letter in the octave.
int Letter(char c) {
  static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  return (c >= 'A' && c <= 'G') ? kSemis[c - 'A'] : -1;
}

// "F#5" -> MIDI note (66 + 12 = 78), or -1.
int ParseNote(const std::string& t) {
  if (t.empty() || Letter(t[0]) < 0) return -1;
  int semi = Letter(t[0]);
  std::size_t i = 1;
  if (i < t.size() && t[i] == '#') ++semi, ++i;
  else if (i < t.size() && t[i] == 'b') --semi, ++i;
  if (i + 1 != t.size() || t[i] < '0' || t[i] > '9') return -1;
  return 12 * (t[i] - '0' + 1) + semi;
}

struct Chord {
  int root;  // semitone 0..11
  bool minor, seventh;
};

Chord ParseChord(const char* s) {
  Chord c{Letter(s[0]), false, false};
  int i = 1;
  if (s[i] == '#') ++c.root, ++i;
  else if (s[i] == 'b') --c.root, ++i;
  c.root = (c.root + 12) % 12;
  if (s[i] == 'm') c.minor = true, ++i;
  if (s[i] == '7') c.seventh = true;
  return c;
}

enum Voice { kMarimba, kSteel, kBass, kSlap, kOpenTone, kHeelToe, kBongo, kClave, kKick, kShaker, kCowbell };

// Rendered voices are reused: the same note at the same length sounds the same each time.
class Voices {
 public:
  const Samples& Get(Voice voice, int note, int eighths, float eighth) {
    auto key = std::make_tuple(static_cast<int>(voice), note, eighths);
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    const float f = MidiToHz(static_cast<float>(note)), len = eighths * eighth;
    Samples s;
    switch (voice) {
      case kMarimba: s = Marimba(f, len); break;
      case kSteel: s = SteelDrum(f, len); break;
      case kBass: s = Bass(f, len); break;
      case kSlap: s = Drum(f, 0.05f, 0.8f, 300 + note); break;
      case kOpenTone: s = Drum(f, 0.15f, 0.05f, 400 + note); break;
      case kHeelToe: s = Drum(f, 0.035f, 0.0f, 500 + note); break;
      case kBongo: s = Drum(f, 0.07f, 0.3f, 600 + note); break;
      case kClave: s = Clave(f); break;
      case kKick: s = Kick(f, 0.12f); break;
      case kShaker: s = Shaker(0.07f + 0.01f * (note % 3), 0.5f, 700 + note); break;  // note: which shake
      case kCowbell: s = Cowbell(f); break;
    }
    return cache_.emplace(key, std::move(s)).first->second;
  }

 private:
  std::map<std::tuple<int, int, int>, Samples> cache_;
};

// Small deterministic variation of loudness, 0.85 .. 1.0.
float Humanize(int bar, int step, int voice) {
  std::uint32_t h = static_cast<std::uint32_t>(bar * 73856093 ^ step * 19349663 ^ voice * 83492791);
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return 0.85f + 0.15f * static_cast<float>(h & 0xffff) / 65535.0f;
}

}  // namespace

Samples RenderSong(const Song& song) {
  const int bars = static_cast<int>(std::strlen(song.form)) * 4;
  const float sixteenth = 15.0f / song.bpm, eighth = 2 * sixteenth;
  const int frames = Frames(bars * 16 * sixteenth);
  Mix mix(frames, true);
  Voices v;
  auto at = [&](int bar, int step) { return Frames((bar * 16 + step) * sixteenth); };
  const Voice lead = song.steelLead ? kSteel : kMarimba, comp = song.steelLead ? kMarimba : kSteel;

  for (int bar = 0; bar < bars; ++bar) {
    const Phrase& phrase = song.phrases[song.form[bar / 4] - 'A'];
    const Chord chord = ParseChord(phrase.chords[bar % 4]);
    const bool lastBar = bar == bars - 1, secondPass = bar >= bars / 2;

    // Melody, with held notes ringing on.
    std::istringstream in(phrase.melody[bar % 4]);
    std::string tokens[8];
    for (std::string& t : tokens) in >> t;
    for (int e = 0; e < 8; ++e) {
      const int note = ParseNote(tokens[e]);
      if (note < 0) continue;
      int len = 1;
      while (e + len < 8 && tokens[e + len] == "-") ++len;
      const float g = 0.5f * Humanize(bar, e, 1) * (e % 2 == 0 ? 1.0f : 0.85f);
      mix.Add(at(bar, 2 * e), v.Get(lead, note, len, eighth), g, 0.1f);
      // On the second time through the other mallet doubles the tune an octave down.
      if (secondPass) mix.Add(at(bar, 2 * e), v.Get(comp, note - 12, len, eighth), 0.22f * g, -0.2f);
    }

    // Chord tones: root, third, fifth, then the seventh or the octave.
    const int base = 55 + (chord.root + 5) % 12;  // G3 .. F#4, below the tune
    const int tones[4] = {base, base + (chord.minor ? 3 : 4), base + 7, base + (chord.seventh ? 10 : 12)};
    const int root = 36 + chord.root;
    if (song.groove == Groove::Calypso) {
      // Chords on the off-beats; the bass walks root, fifth, root, third.
      for (int e = 1; e < 8; e += 2)
        for (int t = 0; t < 3; ++t)
          mix.Add(at(bar, 2 * e), v.Get(comp, tones[t], 1, eighth), 0.1f * Humanize(bar, e, 2 + t), -0.4f);
      const int walk[4] = {root, root + 7, root + 12, root + (chord.minor ? 3 : 4) + 12};
      for (int q = 0; q < 4; ++q) mix.Add(at(bar, 4 * q), v.Get(kBass, walk[q], 2, eighth), q == 0 ? 0.55f : 0.45f, 0.0f);
    } else {
      // Montuno: a rocking figure over the chord, eighth notes.
      static const int kFigure[8] = {0, 2, 1, 2, 3, 2, 1, 2};
      for (int e = 0; e < 8; ++e) {
        if (song.sparse && e % 2 == 1) continue;
        const float g = (e % 2 == 0 ? 0.2f : 0.15f) * Humanize(bar, e, 2);
        mix.Add(at(bar, 2 * e), v.Get(comp, tones[kFigure[e]], 1, eighth), g, -0.4f);
      }
      // Bass: tumbao, the root on one, the fifth on two-and, the root again on four.
      mix.Add(at(bar, 0), v.Get(kBass, root, 2, eighth), 0.55f, 0.0f);
      mix.Add(at(bar, 6), v.Get(kBass, root + 7, 1, eighth), 0.45f, 0.0f);
      mix.Add(at(bar, 12), v.Get(kBass, root + 12 * (bar % 2), 2, eighth), 0.5f, 0.0f);
    }
    if (song.groove == Groove::Mambo)
      for (int s = 0; s < 16; s += 4)
        mix.Add(at(bar, s), v.Get(kCowbell, 78, 1, eighth), (s % 8 == 0 ? 0.2f : 0.13f) * Humanize(bar, s, 6), 0.45f);

    // Clave 3-2 over two bars.
    static const int kClaveSteps[2][3] = {{0, 6, 12}, {4, 8, -1}};
    for (int s : kClaveSteps[bar % 2])
      if (s >= 0) mix.Add(at(bar, s), v.Get(kClave, 100, 1, eighth), 0.2f, 0.5f);

    // Shaker: sixteenths, accented on the eighths.
    for (int s = 0; s < 16; s += song.sparse ? 2 : 1)
      mix.Add(at(bar, s), v.Get(kShaker, s, 1, eighth), (s % 2 ? 0.13f : 0.22f) * Humanize(bar, s, 3), 0.3f);

    // Congas: open tones on four and four-and, slap on two, heel and toe between.
    mix.Add(at(bar, 12), v.Get(kOpenTone, 55, 1, eighth), 0.32f, -0.3f);
    mix.Add(at(bar, 14), v.Get(kOpenTone, 50, 1, eighth), 0.32f, -0.3f);
    if (!song.sparse) {
      mix.Add(at(bar, 4), v.Get(kSlap, 62, 1, eighth), 0.26f, -0.3f);
      for (int s : {0, 2, 8, 10}) mix.Add(at(bar, s), v.Get(kHeelToe, 57, 1, eighth), 0.12f * Humanize(bar, s, 4), -0.3f);
      // Bongos: martillo, high on the beat, the low drum on two and four; a run to close.
      for (int s = 0; s < 16; s += 2) {
        const bool low = s == 4 || s == 12;
        mix.Add(at(bar, s), v.Get(kBongo, low ? 64 : 69, 1, eighth), (s % 8 == 0 ? 0.22f : 0.15f) * Humanize(bar, s, 5), 0.35f);
      }
      if (lastBar || bar % 8 == 7)
        for (int s = 9; s < 16; s += 2) mix.Add(at(bar, s), v.Get(kBongo, 71 - (s - 9), 1, eighth), 0.16f, 0.35f);
      // Bass drum, soft, on one and three (every beat for calypso).
      for (int s = 0; s < 16; s += song.groove == Groove::Calypso ? 4 : 8)
        mix.Add(at(bar, s), v.Get(kKick, 33, 1, eighth), s == 0 ? 0.4f : 0.3f, 0.0f);
    }
  }
  return mix.Interleaved(0.8f);
}
