// The set of levels a game plays: the shipped one (zindo.ini's [LEVELS]) or a player's own,
// a folder of level sources and maps (--levels FOLDER) or one level alone (--level FILE).
// A set of the player's own keeps its progress and high scores in files of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CustomLevelSet {
  std::string name;                // from the folder's or the file's name; names its save files
  std::vector<std::string> files;  // in playing order: level sources (.txt) or maps (.map)
};

// Reads and checks every level of a folder (in the order of its list file "order.txt",
// or else of the names of its .txt and .map files) or a single level file, and makes it the
// set the game plays. False, with the reason in error (the file, the line and what is
// wrong), when the folder holds no level or any level is one the game would refuse.
bool UseLevelFolder(const std::string& folder, std::string& error);
bool UseLevelFile(const std::string& file, std::string& error);
// The player's set in use, or null for the shipped levels.
const CustomLevelSet* CustomLevels();

// The number of levels in the set in use.
std::int32_t LevelCountOfSet();
// Level n (from 1) of the player's set as map bytes; false when there is none.
bool CustomLevelMapBytes(std::int32_t n, std::string& bytes);
// Checks one level file (source or map) and gives its map bytes; false with the reason.
bool ReadLevelAsMap(const std::string& path, std::string& bytes, std::string& error);
// A save file's name for the set in use: "al.raw" for the shipped levels, "al-NAME.raw" for
// a player's set NAME.
std::string SaveFileOfSet(const char* name);
