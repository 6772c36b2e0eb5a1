#include "game/sound/SoundCues.h"

#include "engine/audio/KSound.h"
#include "engine/services/Services.h"

KSound* playSounds[kPlaySoundCount] = {};
KSound* music = nullptr;

const char* const playSoundFiles[] = {
    "data\\audio\\cassecaisse1.ogg",       // 0
    "data\\audio\\cassecaisse2.ogg",       // 1
    "data\\audio\\ballinaimant.ogg",       // 2 (loaded, never played)
    "data\\audio\\shoot.ogg",              // 3
    "data\\audio\\fruit_1.ogg",            // 4
    "data\\audio\\fruit_2.ogg",            // 5
    "data\\audio\\fruit_3.ogg",            // 6
    "data\\audio\\ballbat1.ogg",           // 7
    "data\\audio\\ballbat2.ogg",           // 8
    "data\\audio\\ballbat3.ogg",           // 9
    "data\\audio\\ballbatlow_2.ogg",       // 10
    "data\\audio\\ballbatlow_3.ogg",       // 11
    "data\\audio\\ballbatlow1.ogg",        // 12
    "data\\audio\\ballbatmedium1.ogg",     // 13
    "data\\audio\\ballbatmedium2.ogg",     // 14
    "data\\audio\\ballbatmedium3.ogg",     // 15
    "data\\audio\\ballbatheavy1.ogg",      // 16
    "data\\audio\\ballbatheavy2.ogg",      // 17
    "data\\audio\\ballbatheavy3.ogg",      // 18
    "data\\audio\\spaceinv.ogg",           // 19
    "data\\audio\\cassecaissemetal1.ogg",  // 20
    "data\\audio\\cassecaissemetal2.ogg",  // 21
    "data\\audio\\cassecaissemetal3.ogg",  // 22
    "data\\audio\\caissewood1.ogg",        // 23 (loaded, never played)
    "data\\audio\\caissewood2.ogg",        // 24 (loaded, never played)
    "data\\audio\\caissewood3.ogg",        // 25 (loaded, never played)
    "data\\audio\\larger.ogg",             // 26
    "data\\audio\\lower.ogg",              // 27
    "data\\audio\\extralife.ogg",          // 28
    "data\\audio\\wall.ogg",               // 29
    "data\\audio\\wall2.ogg",              // 30
};
static_assert(sizeof playSoundFiles / sizeof playSoundFiles[0] == kPlaySoundCount, "one file per slot");

namespace {

// The slots in the order their files are loaded.
constexpr int kLoadOrder[] = {7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 4,  5,  6,  0,
                              1,  2,  3,  26, 27, 28, 20, 21, 22, 23, 24, 25, 19, 29, 30};
static_assert(sizeof kLoadOrder / sizeof kLoadOrder[0] == kPlaySoundCount, "every slot loaded once");

// A cue that cycles through consecutive slots with a counter of its own.
struct Rotation {
  int first;
  int count;
  int next;
};
Rotation hitRotation{7, 12, 0};
Rotation batRotation{7, 8, 0};
Rotation heavyBatRotation{16, 3, 0};
Rotation wallRotation{29, 2, 0};
Rotation breakRotation{0, 2, 0};
Rotation metalRotation{20, 3, 0};
Rotation fruitRotation{4, 3, 0};

unsigned long cueCounts[kPlayCueCount] = {};

// Before loading and after freeing the slots are empty: a cue then plays nothing.
void playSlot(int slot) {
  if (KSound* s = playSounds[slot]) s->Play();
}

void playRotation(Rotation& r) {
  playSlot(r.first + r.next);
  r.next = (r.next + 1) % r.count;
}

}  // namespace

unsigned long CuesPlayed(PlayCue cue) { return cueCounts[cue]; }

void loadPlaySounds() {
  for (int slot : kLoadOrder) {
    KSound* s = new KSound;
    s->LoadSample(KPath::MakeAbsolute(playSoundFiles[slot]), 0, false);  // a failed load leaves a silent sound
    s->SetVolume(100);
    delete playSounds[slot];
    playSounds[slot] = s;
  }
  // A pause of a millisecond before the volumes.
  const std::uint32_t start = KClock::GetMilliseconds();
  while (KClock::GetMilliseconds() - start < 1) {
  }
  // Kept as designed: no music exists yet at start-up, so this changes nothing and both
  // master volumes stay at 100 until the options or a later call set them.
  setVolumes(80, 80);
}

void freePlaySounds() {
  for (KSound*& s : playSounds) {
    delete s;
    s = nullptr;
  }
}

void releaseAllSound() {
  stopMusic();
  freePlaySounds();
  KSound::CloseDevice();
}

void playHitSound() {
  ++cueCounts[kCueHit];
  playRotation(hitRotation);
}
void playBatSound() {
  ++cueCounts[kCueBat];
  playRotation(batRotation);
}
void playHeavyBatSound() {
  ++cueCounts[kCueHeavyBat];
  playRotation(heavyBatRotation);
}
void playHopSound() {
  ++cueCounts[kCueHop];
  playSlot(8);
}
void playWallSound() {
  ++cueCounts[kCueWall];
  playRotation(wallRotation);
}
void playBreakSound() {
  ++cueCounts[kCueBreak];
  playRotation(breakRotation);
}
void playMetalSound() {
  ++cueCounts[kCueMetal];
  playRotation(metalRotation);
}
void playFruitSound() {
  ++cueCounts[kCueFruit];
  playRotation(fruitRotation);
}
void playBonusSound() {
  ++cueCounts[kCueBonus];
  playSlot(6);
}
void playExtraLifeSound() {
  ++cueCounts[kCueExtraLife];
  playSlot(28);
}
void playLargerSound() {
  ++cueCounts[kCueLarger];
  playSlot(26);
}
void playLowerSound() {
  ++cueCounts[kCueLower];
  playSlot(27);
}
void playQuakeSound() {
  ++cueCounts[kCueQuake];
  playSlot(19);
}

void playShootSound() {
  ++cueCounts[kCueShoot];
  if (KSound* s = playSounds[3]) {
    s->Stop();
    s->Play();
  }
}

void playMusic(const char* path) {
  if (!path) return;
  delete music;
  music = new KSound;
  music->LoadStream(path);
  music->PlayStream(true);
}

void stopMusic() {
  delete music;
  music = nullptr;
}

void setVolumes(int musicPercent, int effectsPercent) {
  if (music) KSound::SetGlobalVolumes(musicPercent, effectsPercent);
}
