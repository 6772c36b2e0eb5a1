#include "game/files/DataConfig.h"

#include "engine/services/Services.h"

KIniFile dataConfig;

bool LoadDataConfig() { return dataConfig.Load(KPath::MakeAbsolute("zindo.ini")); }

bool GetConfigString(const char* section, const char* key, char* buffer, int bufferSize) {
  return dataConfig.GetString(section, key, buffer, bufferSize);
}

std::int32_t GetDataInt(const char* key) { return dataConfig.GetInt("DATA", key); }
