// The data generator's parts. Each writes its files under the game folder `out` and returns
// false (after printing why on standard error) when it could not.
#pragma once

#include <string>

bool WritePictures(const std::string& out);        // art/: every picture, the help page
bool WriteSoundsAndMusic(const std::string& out);  // sound/: effects and music (Ogg Vorbis)
bool WriteLevels(const std::string& out);          // levels/: maps and zindo.ini
