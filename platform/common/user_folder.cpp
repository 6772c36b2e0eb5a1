#include "platform/common/user_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace platcommon {

bool DataHome(std::string* base, bool* fromXdg) {
  *fromXdg = false;
  // The XDG rules: a relative or empty XDG_DATA_HOME is ignored.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (xdg && xdg[0] == '/') {
    *fromXdg = true;
    *base = xdg;
  } else if (home && home[0] == '/') {
    *base = std::string(home) + "/.local/share";
  } else {
    return false;
  }
  while (!base->empty() && base->back() == '/') base->pop_back();
  return true;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    const std::string part = at == std::string::npos ? path : path.substr(0, at);
    if (!part.empty() && part.back() != '/' && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (at == std::string::npos) break;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CopyWhole(const std::string& text, char* buf, std::size_t size) {
  if (size == 0) return false;
  buf[0] = '\0';
  if (text.size() >= size) return false;
  std::memcpy(buf, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace platcommon
