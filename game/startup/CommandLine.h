// The game's command line: what it asks for before anything starts.
#pragma once

#include <cstdio>

// Reads the arguments. Answers --help and --version on out and says what is wrong with a
// bad argument on err (then the usage hint); --level and --levels choose the player's own
// levels (game/files/LevelSet.h), a faulty one said on err. Returns -1 when the game is to start, otherwise
// the exit code to end with at once: 0 after --help or --version, 2 after a bad argument.
int ReadCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
// --level FILE was given: the game plays that level without the welcome dialog and the menu,
// and ends.
bool LevelAloneAsked();
