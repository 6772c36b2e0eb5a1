#include "engine/services/KIniFile.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <sys/stat.h>

namespace {

// First occurrence of pattern in text[from, size), or -1. Never reads past size.
std::int64_t FindBytes(const char* text, std::int64_t size, std::int64_t from, const char* pattern) {
  const std::int64_t n = static_cast<std::int64_t>(std::strlen(pattern));
  if (n == 0 || from < 0 || size - from < n) return -1;
  const char first = pattern[0];
  const std::int64_t last = size - n;
  for (std::int64_t i = from; i <= last;) {
    const void* hit = std::memchr(text + i, first, static_cast<std::size_t>(last - i + 1));
    if (!hit) return -1;
    i = static_cast<const char*>(hit) - text;
    if (std::memcmp(text + i, pattern, static_cast<std::size_t>(n)) == 0) return i;
    ++i;
  }
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

KIniFile::~KIniFile() { FreeText(); }

void KIniFile::FreeText() {
  delete[] text_;
  text_ = nullptr;
  textSize_ = 0;
}

bool KIniFile::Load(const char* path) {
  std::snprintf(path_, sizeof path_, "%s", path);
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  FreeText();
  // Mended: a folder opened as the file used to give a garbage size. Only a regular file has a
  // size worth reading.
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
      st.st_size > std::numeric_limits<std::int32_t>::max()) {
    std::fclose(f);
    return false;
  }
  const std::size_t size = static_cast<std::size_t>(st.st_size);
  char* text = new (std::nothrow) char[size];
  if (!text) {
    std::fclose(f);
    return false;
  }
  const std::size_t got = std::fread(text, 1, size, f);
  std::fclose(f);
  if (got == 0) {
    delete[] text;
    return false;
  }
  // A file that shrank while being read keeps the bytes that were really there.
  text_ = text;
  textSize_ = static_cast<std::int32_t>(got);
  return true;
}

bool KIniFile::GetString(const char* section, const char* key, char* buffer, int bufferSize) const {
  if (bufferSize <= 1) return false;
  std::memset(buffer, 0, static_cast<std::size_t>(bufferSize));
  if (!text_ || textSize_ <= 0) return false;

  char pattern[256];
  std::snprintf(pattern, sizeof pattern, "[%s]", section);
  const std::int64_t sectionAt = FindBytes(text_, textSize_, 0, pattern);
  if (sectionAt < 0) return false;

  std::snprintf(pattern, sizeof pattern, "%s=", key);
  // Kept as designed: the key search starts at the section header and runs on to the end
  // of the text, so a key of a later section answers for this one.
  const std::int64_t keyAt = FindBytes(text_, textSize_, sectionAt, pattern);
  if (keyAt < 0) return false;

  const std::int64_t valueAt = keyAt + static_cast<std::int64_t>(std::strlen(pattern));
  std::int64_t valueEnd = valueAt;
  while (valueEnd < textSize_ && text_[valueEnd] != '\r') ++valueEnd;

  std::int64_t n = valueEnd - valueAt;
  if (n > bufferSize - 1) n = bufferSize - 1;
  std::memcpy(buffer, text_ + valueAt, static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return true;
}

std::int32_t KIniFile::GetInt(const char* section, const char* key) const {
  char value[256];
  if (!GetString(section, key, value, sizeof value)) return 0;
  const char* p = value;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  // Mended: an absurd number in a data file used to overflow; it now saturates.
  std::int64_t n = 0;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  for (; *p >= '0' && *p <= '9'; ++p) {
    n = n * 10 + (*p - '0');
    if (n > limit) n = limit;
  }
  return static_cast<std::int32_t>(negative ? -n : n);
}
