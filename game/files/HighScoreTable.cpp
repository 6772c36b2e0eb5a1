#include "game/files/HighScoreTable.h"

#include "engine/services/Services.h"
#include "game/files/LevelSet.h"
#include "game/files/RawFiles.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

HighScoreTable highScores;

namespace {

// Mended: a name without its terminating zero used to be read past its record. A name kept
// or shown is now at most its first 255 bytes, zero-terminated, whatever a file held.
void TerminateName(HighScoreEntry& e) { e.name[sizeof e.name - 1] = '\0'; }

}  // namespace

void HighScoreTable::Reset(std::int32_t capacity) {
  if (capacity < 3) capacity = 3;
  entries_.assign(static_cast<std::size_t>(capacity), HighScoreEntry{});
}

std::int32_t HighScoreTable::Insert(const char* name, std::int32_t score) {
  if (entries_.empty() || score < entries_.back().score) return -1;
  std::size_t at = 0;
  while (at < entries_.size() && entries_[at].score >= score) ++at;
  if (at == entries_.size()) return -1;  // equal to the last: does not enter
  for (std::size_t i = entries_.size() - 1; i > at; --i) entries_[i] = entries_[i - 1];
  HighScoreEntry& e = entries_[at];
  std::memset(e.name, 0, sizeof e.name);
  std::strncpy(e.name, name, sizeof e.name - 1);
  e.score = score;
  return static_cast<std::int32_t>(at);
}

void HighScoreTable::SetName(std::int32_t index, const char* name) {
  HighScoreEntry* e = GetEntry(index);
  if (!e) return;
  std::memset(e->name, 0, sizeof e->name);
  std::strncpy(e->name, name, sizeof e->name - 1);
}

HighScoreEntry* HighScoreTable::GetEntry(std::int32_t index) {
  if (index < 0 || index >= Capacity()) return nullptr;
  return &entries_[static_cast<std::size_t>(index)];
}

void HighScoreTable::Load(std::int32_t count) {
  if (count > Capacity() || count <= 0) count = Capacity();
  std::FILE* f = nullptr;
  try {
    f = std::fopen(KPath::MakeSavePath(SaveFileOfSet("highscores.raw").c_str()), "rb");
    if (!f) throw std::runtime_error("No highscore File");
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (size <= 0) throw std::runtime_error("Highscore File is empty");
    // Up to count records, byte for byte: a shorter file changes only what it holds.
    const std::size_t got = std::fread(entries_.data(), 1, static_cast<std::size_t>(count) * sizeof(HighScoreEntry), f);
    std::fclose(f);
    f = nullptr;
    const std::size_t touched = (got + sizeof(HighScoreEntry) - 1) / sizeof(HighScoreEntry);
    for (std::size_t i = 0; i < touched; ++i) TerminateName(entries_[i]);
  } catch (const std::exception&) {
    if (f) std::fclose(f);
  }
}

bool HighScoreTable::Save() const {
  try {
    if (!ReplaceFile(KPath::MakeSavePath(SaveFileOfSet("highscores.raw").c_str()), entries_.data(), entries_.size() * sizeof(HighScoreEntry)))
      throw std::runtime_error("can not write highscore");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ResetHighScores() {
  static const HighScoreEntry kDefaults[] = {{"ZIG", 9}, {"OOK", 8}, {"BOP", 7}, {"TAM", 6}, {"KIP", 5},
                                             {"LUA", 4}, {"BUY", 3}, {"Z.R", 2}, {"NOW", 1}};
  highScores.Reset(kHighScoreRows);
  for (const HighScoreEntry& e : kDefaults) highScores.Insert(e.name, e.score);
}

void SaveHighScores() { highScores.Save(); }
