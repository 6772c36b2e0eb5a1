// The data configuration "zindo.ini" beside the executable: the level count ([DATA]
// levelcount) and the level map names ([LEVELS] L1, L2, ...).
#pragma once

#include <cstdint>

#include "engine/services/KIniFile.h"

extern KIniFile dataConfig;

// Loads "zindo.ini" beside the executable. A missing or empty file leaves every lookup failing.
bool LoadDataConfig();
bool GetConfigString(const char* section, const char* key, char* buffer, int bufferSize);
// [DATA] key as a number; 0 when missing.
std::int32_t GetDataInt(const char* key);
