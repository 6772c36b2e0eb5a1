#include "tests/fuzz/ReaderChecks.h"

#include "engine/audio/KSound.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/RawFiles.h"
#include "game/files/StartSettings.h"
#include "game/playscreen/Levels.h"
#include "game/playscreen/PlayScreen.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayRules.h"
#include "game/rules/PlayState.h"
#include "game/scores/HighScoreScreen.h"
#include "platform/script/script_audio.h"
#include "platform/script/script_platform.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

namespace readers {

namespace {

std::string folder;

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

float LeFloat(const std::uint8_t* p) {
  const std::uint32_t u = Le32(p);
  float f;
  std::memcpy(&f, &u, sizeof f);
  return f;
}

std::string Le32Bytes(std::int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
  return s;
}

std::string ReadGameFile(const std::string& name) {
  std::string bytes;
  std::FILE* f = std::fopen((folder + "/" + name).c_str(), "rb");
  if (!f) return "<missing>";
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

// Collects the first broken rule of a check.
struct Verdict : Outcome {
  void Require(bool holds, const std::string& what) {
    if (!holds && failure.empty()) failure = what;
  }
};

// ---- zindo.ini ---------------------------------------------------------------------------

// The lookup rules written out plainly on a string: the first "[SECTION]", the first
// "KEY=" at or after it, the value up to the next carriage return, cut to the buffer.
bool ExpectedIniValue(const std::string& text, const std::string& section, const std::string& key,
                      std::size_t bufferSize, std::string* value) {
  value->clear();
  const std::size_t sectionAt = text.find("[" + section + "]");
  if (sectionAt == std::string::npos) return false;
  const std::size_t keyAt = text.find(key + "=", sectionAt);
  if (keyAt == std::string::npos) return false;
  const std::size_t from = keyAt + key.size() + 1;
  std::size_t to = text.find('\r', from);
  if (to == std::string::npos) to = text.size();
  *value = text.substr(from, std::min(to - from, bufferSize - 1));
  return true;
}

void LookUp(Verdict& v, const std::string& text, const char* section, const char* key, std::size_t bufferSize) {
  std::vector<char> buffer(bufferSize + 8, '\x55');  // the bytes past the buffer must stay
  const bool found = GetConfigString(section, key, buffer.data(), static_cast<int>(bufferSize));
  std::string expected;
  const bool expectFound = text.empty() ? false : ExpectedIniValue(text, section, key, bufferSize, &expected);
  const std::string where = std::string("[") + section + "] " + key + " in " + std::to_string(bufferSize);
  v.Require(found == expectFound, "found or not: " + where);
  v.Require(std::memcmp(buffer.data(), expected.data(), expected.size()) == 0, "value: " + where);
  // Zero from the end of the value to the end of the buffer, untouched after it.
  for (std::size_t i = expected.size(); i < bufferSize; ++i) v.Require(buffer[i] == '\0', "not zero-filled: " + where);
  for (std::size_t i = bufferSize; i < buffer.size(); ++i) v.Require(buffer[i] == '\x55', "written past: " + where);
}

Outcome CheckIni(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("zindo.ini", bytes, size);
  LoadDataConfig();
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  v.Require(dataConfig.TextSize() == static_cast<std::int32_t>(size), "text size");
  v.accepted = dataConfig.TextSize() > 0;

  // [DATA] levelcount as the main menu reads it, against strtoll clamped to 32 bits.
  const std::int32_t count = GetDataInt("levelcount");
  std::string value;
  long long expected = 0;
  if (ExpectedIniValue(text, "DATA", "levelcount", 256, &value)) {
    expected = std::strtoll(value.c_str(), nullptr, 10);
    expected = std::clamp<long long>(expected, INT32_MIN, INT32_MAX);
  }
  v.Require(count == expected, "levelcount " + std::to_string(count) + " instead of " + std::to_string(expected));

  // The level names as the level loader looks them up, and the cut of a short buffer.
  char key[16];
  for (int level : {1, 2, 9, 10, 11, 209}) {
    std::snprintf(key, sizeof key, "L%d", level);
    LookUp(v, text, "LEVELS", key, 260);
  }
  LookUp(v, text, "LEVELS", "L1", 2);
  LookUp(v, text, "DATA", "levelcount", 5);
  return v;
}

// ---- Pictures ----------------------------------------------------------------------------

Outcome CheckPicture(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("data/sprites/fuzz.bmp", bytes, size);
  KGraphic g;
  g.LoadPicture(KPath::MakeAbsolute("data\\sprites\\fuzz.bmp"), 1, 0, 31, 31);
  const int w = g.pixelWidth, h = g.pixelHeight;
  if (w == 0 || h == 0) {
    // A failed load: nothing to draw, and the size that tells the game so.
    v.Require(g.width == 0.0f && g.height == 0.0f, "failed picture with a size");
    v.Require(g.Surface() == nullptr, "failed picture with a surface");
  } else {
    v.accepted = true;
    v.Require(w > 0 && h > 0 && w <= 16384 && h <= 16384, "picture size out of range");
    v.Require(g.width == static_cast<float>(w) && g.height == static_cast<float>(h), "float size");
    const KSurface* s = g.Surface();
    v.Require(s && s->width == w && s->height == h &&
                  s->pixels.size() == static_cast<std::size_t>(w) * static_cast<std::size_t>(h),
              "surface size");
    if (v.failure.empty()) {
      // Drawn as the game draws pictures: whole, keyed, partly off every edge.
      g.BlitRect(0, 0, -1, -1, 0, 0);
      g.BlitRectKeyed(0, 0, -1, -1, 800 - w / 2, 600 - h / 2);
      g.BlitRect(-3, -3, w + 3, h + 3, -w / 2, -h / 2);
      g.BlitRectKeyed(w / 3, h / 3, w, h, 397, 1);
    }
  }
  script::ClearRecords();
  return v;
}

// ---- Sounds ------------------------------------------------------------------------------

Outcome CheckSample(const char* name, const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile(std::string("data/audio/") + name, bytes, size);
  KSound s;
  const bool loaded = s.LoadSample(KPath::MakeAbsolute((std::string("data\\audio\\") + name).c_str()), 80, false);
  v.Require(loaded == s.HasBuffer(), "load result and buffer disagree");
  v.accepted = s.HasBuffer();
  if (s.HasBuffer()) {
    v.Require(s.Format() != nullptr && IsPlayableFormat(*s.Format()), "a buffer in a format the mixer refuses");
    v.Require(s.DataSize() > 0, "a buffer without data");
    // A WAVE file's sound is its own bytes, after at least a "data" tag and its size.
    v.Require(!std::strstr(name, ".wav") || s.DataSize() + 8 <= size, "sound data from beyond the file");
    s.Play();
    v.Require(s.IsPlaying(), "loaded sample does not play");
    script::PullAudio(1024);
    s.Stop();
  } else {
    v.Require(!s.IsPlaying(), "playing without a buffer");
    s.Play();  // as the game does whatever the load gave
    script::PullAudio(256);
  }
  return v;
}

Outcome CheckWaveSample(const std::uint8_t* bytes, std::size_t size) { return CheckSample("fuzz.wav", bytes, size); }
Outcome CheckOggSample(const std::uint8_t* bytes, std::size_t size) { return CheckSample("fuzz.ogg", bytes, size); }

Outcome CheckOggStream(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("data/audio/fuzzmusic.ogg", bytes, size);
  KSound m;
  const bool loaded = m.LoadStream(KPath::MakeAbsolute("data\\audio\\fuzzmusic.ogg"));
  v.Require(loaded == m.HasBuffer(), "load result and buffer disagree");
  v.accepted = loaded;
  if (loaded) v.Require(m.Format() != nullptr && IsPlayableFormat(*m.Format()), "stream in a format the mixer refuses");
  // Played looping, as the game plays music, for three halves of the ring: each pull takes
  // the play cursor over the next half, and the refill thread decodes behind it.
  m.PlayStream(true);
  if (loaded) {
    v.Require(m.RefillThreadRunning(), "loaded stream without its refill thread");
    const WaveFormat& f = *m.Format();
    const std::uint64_t streamFrames = KSound::kStreamHalfBytes / (2u * f.channels);
    const std::uint64_t deviceFrames =
        std::min<std::uint64_t>(streamFrames * 44100 / std::max<std::uint32_t>(f.samplesPerSec, 1) + 256, 1u << 18);
    for (int half = 0; half < 3; ++half) {
      const std::uint32_t before = m.RefillCount();
      script::PullAudio(static_cast<int>(deviceFrames));
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
      while (m.RefillCount() == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  script::ClearRecords();
  return v;
}

// ---- prefvol.raw, al.raw -------------------------------------------------------------------

Outcome CheckVolumePrefs(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("prefvol.raw", bytes, size);
  musicLevel = 8;
  effectsLevel = 5;
  LoadVolumePrefs();
  // Effects first, then music; a level the file does not hold whole is kept.
  const std::int32_t effects = size >= 4 ? static_cast<std::int32_t>(Le32(bytes)) : 5;
  const std::int32_t music = size >= 8 ? static_cast<std::int32_t>(Le32(bytes + 4)) : 8;
  v.Require(effectsLevel == effects && musicLevel == music, "levels read");
  v.accepted = size >= 8;
  SaveVolumePrefs();
  v.Require(ReadGameFile("prefvol.raw") == Le32Bytes(effects) + Le32Bytes(music), "levels saved");
  musicLevel = effectsLevel = 0;
  LoadVolumePrefs();
  v.Require(effectsLevel == effects && musicLevel == music, "levels read back");
  return v;
}

Outcome CheckHighestLevel(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("al.raw", bytes, size);
  const std::int32_t level = ReadHighestLevel();
  const std::int32_t expected = size >= 4 ? static_cast<std::int32_t>(Le32(bytes)) : 1;
  v.Require(level == expected, "level read");
  v.accepted = size >= 4;
  WriteHighestLevel(level);
  v.Require(ReadGameFile("al.raw") == Le32Bytes(level), "level saved");
  v.Require(ReadHighestLevel() == level, "level read back");
  return v;
}

// ---- highscores.raw ----------------------------------------------------------------------

std::string TableBytes() {
  std::string t;
  for (int i = 0; i < highScores.Capacity(); ++i)
    t.append(reinterpret_cast<const char*>(highScores.GetEntry(i)), sizeof(HighScoreEntry));
  return t;
}

Outcome CheckHighScores(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("highscores.raw", bytes, size);
  // As the main menu does: the default table, then the file over it.
  ResetHighScores();
  std::string expected = TableBytes();
  highScores.Load(9);
  // The file's bytes over the first records, each record touched ending its name with a zero.
  const std::size_t used = std::min(size, expected.size());
  std::memcpy(&expected[0], bytes, used);
  for (std::size_t r = 0; r * sizeof(HighScoreEntry) < used; ++r) expected[r * sizeof(HighScoreEntry) + 255] = '\0';
  v.Require(TableBytes() == expected, "table read");
  v.accepted = size > 0;
  for (int i = 0; i < 9; ++i) {
    const HighScoreEntry* e = highScores.GetEntry(i);
    v.Require(e && std::memchr(e->name, 0, sizeof e->name) != nullptr, "name without its end");
  }
  DrawHighScoreRows();  // the rows as the screen draws them (fonts or not)
  SaveHighScores();
  v.Require(ReadGameFile("highscores.raw") == expected, "table saved");
  // A score entered into whatever order the file gave, as at the end of a game.
  const std::int32_t score = size >= 4 ? static_cast<std::int32_t>(Le32(bytes + size - 4)) : 0;
  const std::int32_t at = highScores.Insert("ZR", score);
  v.Require(at >= -1 && at < 9, "entry index");
  if (at >= 0) {
    highScores.SetName(at, "ABC");
    v.Require(std::strcmp(highScores.GetEntry(at)->name, "ABC") == 0 && highScores.GetEntry(at)->score == score,
              "new entry");
  }
  return v;
}

// ---- The start settings ------------------------------------------------------------------

Outcome CheckStartSettings(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("data/fullscreen.stt", bytes, size);
  WriteGameFile("data/gamepad.stt", bytes, size);
  windowed = 1;
  gamepadEnabled = 0;
  LoadWindowedFlag();
  LoadGamepadFlag();
  v.Require(windowed == (size > 0 ? bytes[0] : 1) && gamepadEnabled == (size > 0 ? bytes[0] : 0), "settings read");
  v.Require(GamepadChosen() == (gamepadEnabled == 1), "gamepad choice");
  v.accepted = size > 0;
  SaveWindowedFlag();
  SaveGamepadFlag();
  v.Require(ReadGameFile("data/fullscreen.stt") == std::string(1, static_cast<char>(windowed)) &&
                ReadGameFile("data/gamepad.stt") == std::string(1, static_cast<char>(gamepadEnabled)),
            "settings saved");
  return v;
}

// ---- The level maps ----------------------------------------------------------------------

bool Finite(const Brick& b) {
  for (float f : {b.left, b.top, b.right, b.bottom, b.centreOffsetX, b.centreOffsetY, b.reserved40, b.reserved44})
    if (!std::isfinite(f)) return false;
  return true;
}

Outcome CheckLevelMap(const std::uint8_t* bytes, std::size_t size) {
  Verdict v;
  WriteGameFile("data/levels/maps/fuzz.map", bytes, size);
  // A level played before, to be kept when the file is refused.
  ResetLevelData();
  bricks[3].present = bricks[3].alive = 1;
  bricks[3].left = 300;
  const LevelMap mapBefore = levelMap;
  Brick bricksBefore[kBrickCount];
  std::memcpy(bricksBefore, bricks, sizeof bricks);
  const float physicsBefore[3] = {gravity, maxBallSpeed, bounceSpeedStep};

  v.accepted = ReadLevelFile(KPath::MakeAbsolute("data\\levels\\maps\\fuzz.map"));
  const bool finitePhysics = size >= 12 && std::isfinite(LeFloat(bytes)) && std::isfinite(LeFloat(bytes + 4)) &&
                             std::isfinite(LeFloat(bytes + 8));
  v.Require(v.accepted == (size >= static_cast<std::size_t>(kLevelMapSize) && finitePhysics), "map accepted");
  if (!v.accepted) {
    v.Require(std::memcmp(&levelMap, &mapBefore, sizeof levelMap) == 0 &&
                  std::memcmp(bricks, bricksBefore, sizeof bricks) == 0 && gravity == physicsBefore[0] &&
                  maxBallSpeed == physicsBefore[1] && bounceSpeedStep == physicsBefore[2],
              "refused map kept the previous level");
  } else {
    v.Require(gravity == LeFloat(bytes) && maxBallSpeed == LeFloat(bytes + 4) && bounceSpeedStep == LeFloat(bytes + 8),
              "physics read");
    for (const char* name : {levelMap.islandImage, levelMap.brickSetName, levelMap.musicFile, levelMap.grassOverlay})
      v.Require(std::memchr(name, 0, kMapNameSize) != nullptr, "name without its end");
    int present = 0;
    for (const Brick& b : bricks) {
      present += b.present ? 1 : 0;
      v.Require(b.alive == (b.present ? 1 : 0), "armed brick");
      v.Require(!b.alive || Finite(b), "standing brick that is not a number");
      v.Require(b.explosionTimer == 0 && (!b.present || b.hits == 0), "fresh brick");
    }
    v.Require(gameRecord.levelBonus == 2 * present, "level bonus");
    // The level is played a little: a ball in flight, the rules and the drawing.
    play = InitialPlayState();
    for (int i = 0; i < 4; ++i) play.batFrameW[i] = 70;
    spawnBall(0, 400, 300, 3.5f, -4.0f, kBallNormal);
    spawnBall(1, 200, 100, -2.0f, 5.0f, kBallEvil);
    for (int frame = 0; frame < 40; ++frame) {
      updatePlay();
      DrawPlayScreen();
      collideBallsWithBricks();
    }
  }
  script::ClearRecords();
  return v;
}

}  // namespace

const std::vector<Reader>& All() {
  static const std::vector<Reader> all = {
      {"ini", CheckIni},
      {"picture", CheckPicture},
      {"wave_sample", CheckWaveSample},
      {"ogg_sample", CheckOggSample},
      {"ogg_stream", CheckOggStream},
      {"volume_prefs", CheckVolumePrefs},
      {"highest_level", CheckHighestLevel},
      {"high_scores", CheckHighScores},
      {"start_settings", CheckStartSettings},
      {"level_map", CheckLevelMap},
  };
  return all;
}

const Reader* Find(const std::string& name) {
  for (const Reader& r : All())
    if (name == r.name) return &r;
  return nullptr;
}

const std::string& GameFolder() { return folder; }

void Prepare() {
  if (!folder.empty()) return;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zr-readers-XXXXXX";
  if (!mkdtemp(&pattern[0])) {
    std::perror("mkdtemp");
    std::abort();
  }
  folder = pattern;
  for (const char* sub : {"data/sprites", "data/audio", "data/levels/maps"})
    std::filesystem::create_directories(folder + "/" + sub);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  script::SetRoot(folder);
  script::SetEchoBoxes(false);
  InitEngineServices();
  KGraphic::SetScreenSize(800, 600, 16);
  static KGraphic back;
  back.CreatePrimarySurface(800, 600, 16, false);
  KGraphic::SetBackBuffer(&back);
}

bool WriteGameFile(const std::string& name, const std::uint8_t* bytes, std::size_t size) {
  Prepare();
  std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace readers
