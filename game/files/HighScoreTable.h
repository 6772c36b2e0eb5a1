// The table of the nine greatest players, kept in "highscores.raw" (nine 260-byte records:
// a 256-byte zero-terminated name, then the score as a little-endian int32).
#pragma once

#include <cstdint>
#include <vector>

// The table holds this many players.
constexpr std::int32_t kHighScoreRows = 9;

struct HighScoreEntry {
  char name[256];
  std::int32_t score;
};
static_assert(sizeof(HighScoreEntry) == 260, "the file holds 260-byte records");

class HighScoreTable {
 public:
  // capacity at least 3; every entry zero (empty name, score 0).
  void Reset(std::int32_t capacity);
  // Index of the new entry, or -1 when the score does not beat the last one.
  std::int32_t Insert(const char* name, std::int32_t score);
  void SetName(std::int32_t index, const char* name);
  HighScoreEntry* GetEntry(std::int32_t index);
  // Reads up to count records of "highscores.raw" over the first entries; a missing or
  // empty file changes nothing.
  void Load(std::int32_t count);
  bool Save() const;

  std::int32_t Capacity() const { return static_cast<std::int32_t>(entries_.size()); }

 private:
  std::vector<HighScoreEntry> entries_;
};

extern HighScoreTable highScores;

void ResetHighScores();
void SaveHighScores();
