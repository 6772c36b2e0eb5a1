// The level being edited: a level source (game/files/LevelSource.h) with undo and redo, read
// from a source or a map, checked as the game checks it and written back as both.
#pragma once

#include "game/files/LevelSource.h"

#include <string>
#include <vector>

// A new level: island 1, the first track, middling physics, no crate.
LevelSource EmptyLevel();
// A level source (.txt) or a map (.map) into a level; false with the reason.
bool LoadLevelDocument(const std::string& path, LevelSource& level, std::string& error);

// The strength every level gives a picture (docs/level-format.md).
short StrengthOfPicture(const BrickPicture* picture);

// The text source of a level (the format of levels/*.txt). False, with the reason, for a level
// the game would refuse or cull: a crate outside the field or off the grid, crates
// overlapping, more than the map holds, nothing to clear (no crate at all), sealed crates
// without a way to break them. The text is read back by the game's own reader and must give the same crates.
// *offGrid tells when that was the only fault: the level can still be saved as a map.
bool WriteLevelSource(const LevelSource& level, std::string& text, std::string& why, bool* offGrid = nullptr);
// The checks of a map (no grid): inside the field, no overlap, at most 200, something to
// clear, a way to break sealed crates. False with the reason.
bool CheckLevelPlaces(const LevelSource& level, std::string& why);

// Every change goes through here, so that it can be undone.
class LevelHistory {
 public:
  explicit LevelHistory(const LevelSource& level) : level_(level) {}
  const LevelSource& Level() const { return level_; }
  // The level as it will be after a change; Commit keeps the change (and the level before it).
  LevelSource& Edit() {
    before_ = level_;
    return level_;
  }
  void Commit() {
    undo_.push_back(before_);
    redo_.clear();
  }
  void Cancel() { level_ = before_; }
  bool Undo() { return Step(undo_, redo_); }
  bool Redo() { return Step(redo_, undo_); }

 private:
  bool Step(std::vector<LevelSource>& from, std::vector<LevelSource>& to) {
    if (from.empty()) return false;
    to.push_back(level_);
    level_ = from.back();
    from.pop_back();
    return true;
  }
  LevelSource level_, before_;
  std::vector<LevelSource> undo_, redo_;
};
