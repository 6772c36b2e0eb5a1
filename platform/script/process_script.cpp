// Process services of the scripted platform: a virtual clock and recorded message boxes.
#include "platform/platform.h"
#include "platform/script/script_platform.h"

#include "platform/common/user_folder.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
std::string root;
bool rootSet = false;
std::uint64_t nowUs = 0;
bool echoBoxes = true;
std::vector<std::string> boxes;
std::vector<std::string> documents;
bool openerPresent = true;
}  // namespace

namespace script {

void SetRoot(const std::string& folder) {
  root = folder;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  rootSet = true;
}
std::uint64_t Now() { return nowUs; }
void SetNow(std::uint64_t microseconds) { nowUs = microseconds; }
void Advance(std::uint64_t microseconds) { nowUs += microseconds; }
const std::vector<std::string>& Boxes() { return boxes; }
const std::vector<std::string>& OpenedDocuments() { return documents; }
void SetEchoBoxes(bool on) { echoBoxes = on; }
void SetDocumentOpener(bool present) { openerPresent = present; }
void ClearRecords() {
  boxes.clear();
  documents.clear();
}

}  // namespace script

namespace plat {

bool ExecutableFolder(char* buf, std::size_t size) {
  if (size == 0) return false;
  buf[0] = '\0';
  std::string folder = root;
  if (!rootSet) {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return false;
    folder = cwd;
  }
  std::snprintf(buf, size, "%s", folder.c_str());
  return true;
}

std::uint64_t ClockMicroseconds() {
  const std::uint64_t t = nowUs;
  nowUs += script::kClockStepMicroseconds;
  script::RunTickHook(false);
  return t;
}

void ShowMessageBox(const char* caption, const char* text) {
  std::string line = std::string(caption ? caption : "") + " | " + (text ? text : "");
  boxes.push_back(line);
  if (echoBoxes) {
    std::printf("box: %s\n", line.c_str());
    std::fflush(stdout);
  }
}

bool OpenDocument(const char* pathOrUrl) {
  if (!openerPresent) return false;
  documents.push_back(pathOrUrl ? pathOrUrl : "");
  if (echoBoxes) {
    std::printf("open: %s\n", pathOrUrl ? pathOrUrl : "");
    std::fflush(stdout);
  }
  return true;
}

// The same folder as the game's, by the same rules, so that tests steer it with
// XDG_DATA_HOME and HOME.
bool UserDataFolder(char* buf, std::size_t size) {
  if (size > 0) buf[0] = '\0';
  bool fromXdg = false;
  std::string base;
  if (!platcommon::DataHome(&base, &fromXdg)) return false;
  const std::string folder = base + "/zindorumba";
  if (!platcommon::MakeFolders(folder)) return false;
  return platcommon::CopyWhole(folder, buf, size);
}

}  // namespace plat
