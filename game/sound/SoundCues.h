// The named sound cues the play rules call, the effect table behind them and the one
// music stream. Nothing else in the game touches KSound for effects or music.
#pragma once

class KSound;

constexpr int kPlaySoundCount = 31;

// The effect table in slot order (the rotations depend on it); null where nothing is loaded.
extern KSound* playSounds[kPlaySoundCount];
// The file of each slot, beside the executable.
extern const char* const playSoundFiles[kPlaySoundCount];
// The one current music, null when none.
extern KSound* music;

// At start-up: every effect file into its slot (a file that fails to load leaves a silent
// sound in its slot), then the master volumes 80, 80.
void loadPlaySounds();
// At shutdown: every effect destroyed, every slot null.
void freePlaySounds();
// The way out: the music stopped (its refill thread ended), every effect freed, the sound
// device closed. Nothing plays after it.
void releaseAllSound();

// Cues. Each plays one effect from its start; rotations advance their own counter, which
// runs on across games.
void playHitSound();        // a ball hits a brick, or two balls collide
void playBatSound();        // a normal ball bounces on the bat
void playHeavyBatSound();   // an evil ball bounces on the bat
void playHopSound();        // the held ball hops on the bat
void playWallSound();       // a ball rebounds from a side wall or the ceiling
void playBreakSound();      // a brick is destroyed
void playMetalSound();      // a bullet hits an unbreakable brick
void playFruitSound();      // a fruit is caught
void playBonusSound();      // most bonus capsules caught
void playExtraLifeSound();  // extra life caught
void playLargerSound();     // large-bat or grow-bat capsule caught
void playLowerSound();      // small-bat or shrink-bat capsule caught
void playQuakeSound();      // quake capsule caught
void playShootSound();      // the gun bat fires: restarts the shot even if it still sounds

// How many times each cue was asked for since start-up, sound loaded or not (read by tests).
enum PlayCue { kCueHit, kCueBat, kCueHeavyBat, kCueHop, kCueWall, kCueBreak, kCueMetal, kCueFruit,
               kCueBonus, kCueExtraLife, kCueLarger, kCueLower, kCueQuake, kCueShoot, kPlayCueCount };
unsigned long CuesPlayed(PlayCue cue);

// Music: a null path does nothing; otherwise the old music goes and the file (a full
// path) starts looping.
void playMusic(const char* path);
void stopMusic();
// Master volumes in percent; ignored while no music exists.
void setVolumes(int musicPercent, int effectsPercent);
