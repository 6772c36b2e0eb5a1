// The table of the nine greatest players, kept in "highscores.raw" (nine 260-byte records:
// a 256-byte zero-terminated name, then the score as a little-endian int32), and its screen.
#pragma once

#include <cstdint>
#include <vector>

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

// newScore -1 shows the table; a score of 0 or more is inserted and, when it qualifies, named
// by the player. False only for a score that does not qualify (nothing is shown then).
bool RunHighScores(std::int32_t newScore);

// Pieces of the screen.
std::int32_t GlyphIndex(char c);  // the blank for characters the fonts lack
bool IsGlyphCharacter(char c);
void DrawScoreText(const char* text, int x, int y);    // plain font, glyph by glyph
void DrawScoreDigits(const char* text, int x, int y);  // plain font, 16 pixels a character
void DrawEntryName(const HighScoreEntry& entry, int x, int y);  // highlight font
char ReadNameKey();    // '+' for Return, ' ' for Space, a letter, or 0; waits for the keys to go up
char HandleNameKey();  // types the key read into the new entry's name; '+' when Return ends it
void DrawHighScoreRows();
