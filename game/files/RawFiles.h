// The small raw files the game keeps in its save folder (KPath::MakeSavePath: beside the
// executable, or the player's own folder when that one is read-only): volumes
// ("prefvol.raw"), the highest level reached ("al.raw"). Little-endian images of the values,
// no header.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/services/ReplaceFile.h"  // ReplaceFile, which every save here goes through

extern std::int32_t musicLevel;    // 0..9, applied as x 10 per cent
extern std::int32_t effectsLevel;  // 0..9

// Reads "prefvol.raw" (effects first, then music; defaults 5 and 8 when missing) and applies
// the volumes. Values are taken as read; the options screen clamps them.
void LoadVolumePrefs();
void SaveVolumePrefs();

// "al.raw": 1 when missing or short.
std::int32_t ReadHighestLevel();
void WriteHighestLevel(std::int32_t level);
