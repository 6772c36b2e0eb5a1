// Small services everything leans on: paths beside the executable, the millisecond clock,
// the message box and the trace routine (its texts are discarded).
#pragma once

#include <cstdint>
#include <cstdio>

// Finds the executable's folder and starts the clock. Safe to call more than once; the save
// folder is chosen anew afterwards.
void InitEngineServices();

// The executable's folder (no trailing separator); empty until InitEngineServices ran.
const char* ExeFolder();
// Where the game's data (zindo.ini, data/) is read from, chosen by InitEngineServices: the
// executable's folder when zindo.ini is there (the portable layout), else the installed
// layout's PREFIX/share/games/zindorumba beside PREFIX/games when zindo.ini is there, else
// the executable's folder.
const char* DataFolder();
bool DataBesideExecutable();

class KPath {
 public:
  // The full path of a data file (in DataFolder). The result lives in one shared buffer
  // that the next call overwrites: use or copy it at once. A leading '/', '\' or ':' of
  // name is dropped, the result is cut to 259 characters, and every '\' becomes '/', so
  // game code may name files as "data\levels\maps\%s".
  static const char* MakeAbsolute(const char* name);

  // The full path of a file the game writes and reads back (its settings, volumes, progress
  // and scores), in the same shared buffer and by the same rules as MakeAbsolute, but in the
  // save folder (SaveFolder). In the player's own folder, the folders the name passes
  // through (data/) are created as needed.
  static const char* MakeSavePath(const char* name);
};

// Where the game keeps the files it writes: beside the executable when its data is there too
// (the portable layout) and that folder takes new files, otherwise in the player's own data folder
// (plat::UserDataFolder, created then). Decided on first use after InitEngineServices and
// kept. A folder that refuses files for another reason than permissions or a read-only file
// system (missing, full) stays the save folder, and saves there fail as they always did.
const char* SaveFolder();
// The player's own data folder ($XDG_DATA_HOME/zindorumba, by default
// ~/.local/share/zindorumba; created when missing), whatever SaveFolder is; null without a
// home. The result lives in one buffer, kept until the next call.
const char* PlayerDataFolder();
// True when SaveFolder is the executable's own folder.
bool SavesBesideExecutable();

class KClock {
 public:
  static void Init();
  // Milliseconds from an arbitrary origin; only differences (unsigned 32-bit subtraction)
  // mean anything, and they stay exact across the 32-bit wrap.
  static std::uint32_t GetMilliseconds();
  // Waits about this many microseconds without spinning a core.
  static void Nap(std::uint32_t microseconds);
};

// A modal box with one OK button: caption first, then text.
void ShowMessageBox(const char* caption, const char* text);

// Progress texts of start-up and the menus ("InitialiseCursors OK", ...). They are discarded.
void Trace(const char* text);
