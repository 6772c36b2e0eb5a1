// The high-score screen: the table from the menus, or the name entry after a game.
#pragma once

#include <cstdint>

#include "game/files/HighScoreTable.h"

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
