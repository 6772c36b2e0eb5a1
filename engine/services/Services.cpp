#include "Services.h"

#include "platform.h"

#include <cstring>
#include <initializer_list>

namespace {
constexpr int kMaxPath = 260;
char exeFolder[kMaxPath];
char pathBuffer[kMaxPath];
std::int64_t counterFrequency = 0;
bool hasCounter = false;
}  // namespace

void InitEngineServices() {
  if (!plat::ExecutableFolder(exeFolder, sizeof exeFolder)) exeFolder[0] = '\0';
  KClock::Init();
}

const char* ExeFolder() { return exeFolder; }

const char* KPath::MakeAbsolute(const char* name) {
  std::memset(pathBuffer, 0, sizeof pathBuffer);
  if (exeFolder[0] == '\0') InitEngineServices();
  if (name[0] == '\\' || name[0] == ':' || name[0] == '/') ++name;
  std::snprintf(pathBuffer, sizeof pathBuffer, "%s/%s", exeFolder, name);
  for (char* p = pathBuffer; *p; ++p) {
    if (*p == '\\') *p = '/';
  }
  return pathBuffer;
}

void KClock::Init() {
  // The platform clock counts microseconds and always exists.
  counterFrequency = 1000000;
  hasCounter = true;
}

std::uint32_t KClock::GetMilliseconds() {
  if (!hasCounter) Init();
  const std::int64_t counter = static_cast<std::int64_t>(plat::ClockMicroseconds());
  return static_cast<std::uint32_t>(counter * 1000 / counterFrequency);
}

void ShowMessageBox(const char* caption, const char* text) { plat::ShowMessageBox(caption, text); }

KLogger::KLogger(unsigned char mode) : mode_(mode) {
  if (mode_ == 1) {
    infos_ = std::fopen("infos.log", "w");
    errors_ = std::fopen("errors.log", "w");
    fatals_ = std::fopen("fatals.log", "w");
    debug_ = std::fopen("debug.log", "w");
  }
}

KLogger::~KLogger() {
  for (std::FILE* f : {infos_, errors_, fatals_, debug_}) {
    if (f) std::fclose(f);
  }
}

void Trace(const char*) {}
