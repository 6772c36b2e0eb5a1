// Reader for INI-like text files. The whole file is held in memory and every lookup is a
// plain substring search: "[SECTION]" anywhere in the text, then the first "KEY=" at or
// after it (even in a later section), the value running to the next carriage return.
// Level authors rely on exactly these rules; docs/ini-format.md spells them out.
#pragma once

#include <cstdint>

class KIniFile {
 public:
  KIniFile() = default;
  ~KIniFile();
  KIniFile(const KIniFile&) = delete;
  KIniFile& operator=(const KIniFile&) = delete;

  // Reads the whole file. A file that cannot be opened leaves the text loaded before in
  // place; an empty or unreadable one leaves no text.
  bool Load(const char* path);
  // Copies the value into buffer (zero-terminated, cut to bufferSize - 1 bytes). With
  // bufferSize of 1 or less nothing is written; a failed lookup leaves the buffer all zero.
  bool GetString(const char* section, const char* key, char* buffer, int bufferSize) const;
  // The value as a decimal integer (blanks skipped, optional sign); 0 when not found.
  std::int32_t GetInt(const char* section, const char* key) const;

  const char* Path() const { return path_; }
  std::int32_t TextSize() const { return textSize_; }

 private:
  void FreeText();

  char path_[260] = {};
  char* text_ = nullptr;
  std::int32_t textSize_ = 0;
};
