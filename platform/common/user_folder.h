// The player's data folder by the XDG rules, shared by both platforms.
#pragma once

#include <string>

namespace platcommon {

// The base of per-user data, without trailing separators: XDG_DATA_HOME when it is an
// absolute path, otherwise HOME/.local/share when HOME is one. False when neither is;
// fromXdg tells which was taken.
bool DataHome(std::string* base, bool* fromXdg);

// Creates the folder and any missing parents (mode 0700, as the player's own). True when
// it exists afterwards as a folder.
bool MakeFolders(const std::string& path);

// Copies text into buf (zero-terminated) when it fits whole; a cut path would name another
// folder, so a text too long gives false and an empty buf.
bool CopyWhole(const std::string& text, char* buf, std::size_t size);

}  // namespace platcommon
