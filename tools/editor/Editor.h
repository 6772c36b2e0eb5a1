// zindo-editor: the level editor's window and loop, on the game's engine and drawing.
#pragma once

#include <string>

// Opens path (a level source or map; a new level when it does not exist yet), runs the editor
// until the window is closed or Escape, and returns the exit code. gamePath is the game to
// test-play with ("Test": gamePath --level FILE).
int RunEditor(const std::string& path, const std::string& gamePath);
