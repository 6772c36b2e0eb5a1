#include "engine/services/Services.h"

#include "platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMaxPath = 260;
char exeFolder[kMaxPath];
char dataFolder[kMaxPath];
char pathBuffer[kMaxPath];
char saveFolder[kMaxPath];
bool saveFolderChosen = false;
bool savesBeside = true;
std::int64_t counterFrequency = 0;
bool hasCounter = false;
}  // namespace

namespace {
void ChooseDataFolder();
}

void InitEngineServices() {
  if (!plat::ExecutableFolder(exeFolder, sizeof exeFolder)) exeFolder[0] = '\0';
  ChooseDataFolder();
  saveFolderChosen = false;
  KClock::Init();
}

const char* ExeFolder() { return exeFolder; }
const char* DataFolder() { return dataFolder; }
bool DataBesideExecutable() { return std::strcmp(dataFolder, exeFolder) == 0; }

namespace {

// Copies text into a kMaxPath buffer, cut to kMaxPath - 1 characters.
void CopyCut(char* to, const std::string& text) {
  const std::size_t n = text.size() < kMaxPath - 1 ? text.size() : kMaxPath - 1;
  std::memcpy(to, text.data(), n);
  to[n] = '\0';
}

const char* PathIn(const char* folder, const char* name) {
  std::memset(pathBuffer, 0, sizeof pathBuffer);
  if (name[0] == '\\' || name[0] == ':' || name[0] == '/') ++name;
  CopyCut(pathBuffer, std::string(folder) + "/" + name);
  for (char* p = pathBuffer; *p; ++p) {
    if (*p == '\\') *p = '/';
  }
  return pathBuffer;
}

bool HasConfig(const std::string& folder) {
  struct stat st;
  return stat((folder + "/zindo.ini").c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The portable folder (zindo.ini beside the executable) wins; otherwise the installed layout,
// the executable in PREFIX/games and its data in PREFIX/share/games/zindorumba, found from the
// executable's own place so that an install unpacked anywhere finds its data too. With
// neither, the executable's folder, so that what is missing is named there.
void ChooseDataFolder() {
  CopyCut(dataFolder, exeFolder);
  if (exeFolder[0] == '\0' || HasConfig(exeFolder)) return;
  std::string prefix = exeFolder;
  const std::size_t slash = prefix.rfind('/');
  if (slash == std::string::npos) return;
  prefix.resize(slash);
  const std::string installed = prefix + "/share/games/zindorumba";
  if (installed.size() < kMaxPath && HasConfig(installed)) CopyCut(dataFolder, installed);
}

// Whether the folder takes a new file, tried by creating one (and removing it): permission
// bits do not tell, since root writes past them while a read-only mount stops everyone.
// Only a refusal says "not here"; a missing folder or a full disk is no reason to move.
bool RefusesNewFiles(const char* folder) {
  std::string probe = std::string(folder) + "/.zindorumba-write-check-XXXXXX";
  const int fd = mkstemp(&probe[0]);
  if (fd >= 0) {
    close(fd);
    unlink(probe.c_str());
    return false;
  }
  return errno == EROFS || errno == EACCES || errno == EPERM;
}

// Mended: a game folder that takes no file (a read-only mount) used to lose every setting and
// score silently; they now go to the player's own folder, as do those of an installed game
// (its data under share/games), wherever it may write.
void ChooseSaveFolder() {
  if (exeFolder[0] == '\0') InitEngineServices();
  saveFolderChosen = true;
  savesBeside = true;
  CopyCut(saveFolder, exeFolder);
  if (exeFolder[0] == '\0' || (DataBesideExecutable() && !RefusesNewFiles(exeFolder))) return;
  char user[kMaxPath];
  // Without a folder of the player's own the saves stay where they were, and fail there.
  if (!plat::UserDataFolder(user, sizeof user) || user[0] == '\0') return;
  CopyCut(saveFolder, user);
  savesBeside = false;
}

// The folders on the way to a saved file in the player's folder (only data/ today).
void MakeParentFolders(const char* path) {
  const std::size_t base = std::strlen(saveFolder);
  std::string part;
  for (const char* p = path; *p; ++p) {
    if (*p == '/' && static_cast<std::size_t>(p - path) > base) mkdir(part.c_str(), 0700);
    part += *p;
  }
}

}  // namespace

const char* PlayerDataFolder() {
  static char folder[kMaxPath];
  if (!plat::UserDataFolder(folder, sizeof folder) || folder[0] == '\0') return nullptr;
  return folder;
}

const char* KPath::MakeAbsolute(const char* name) {
  if (exeFolder[0] == '\0') InitEngineServices();
  return PathIn(dataFolder, name);
}

const char* KPath::MakeSavePath(const char* name) {
  if (!saveFolderChosen || exeFolder[0] == '\0') ChooseSaveFolder();
  PathIn(saveFolder, name);
  if (!savesBeside) MakeParentFolders(pathBuffer);
  return pathBuffer;
}

const char* SaveFolder() {
  if (!saveFolderChosen) ChooseSaveFolder();
  return saveFolder;
}

bool SavesBesideExecutable() {
  if (!saveFolderChosen) ChooseSaveFolder();
  return savesBeside;
}

void KClock::Init() {
  // The platform clock counts microseconds and always exists.
  counterFrequency = 1000000;
  hasCounter = true;
}

void KClock::Nap(std::uint32_t microseconds) { plat::WaitUntilMicroseconds(plat::ClockMicroseconds() + microseconds); }

std::uint32_t KClock::GetMilliseconds() {
  if (!hasCounter) Init();
  const std::int64_t counter = static_cast<std::int64_t>(plat::ClockMicroseconds());
  return static_cast<std::uint32_t>(counter * 1000 / counterFrequency);
}

void ShowMessageBox(const char* caption, const char* text) { plat::ShowMessageBox(caption, text); }

void Trace(const char*) {}
