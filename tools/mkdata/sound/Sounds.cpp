#include "MkData.h"

// Not written yet: this part of the data arrives with its own work.
bool WriteSoundsAndMusic(const std::string&) { return true; }
