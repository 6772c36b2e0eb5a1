#include "tools/testkit/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "zr-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& relative) const {
  fs::path p = fs::path(path_) / relative;
  fs::create_directories(p.parent_path());
  return p.string();
}

std::string TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const std::string p = File(relative);
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

EnvVar::EnvVar(const char* name) : name_(name) {
  const char* v = std::getenv(name);
  had_ = v != nullptr;
  if (had_) old_ = v;
}

EnvVar::~EnvVar() {
  if (had_)
    setenv(name_, old_.c_str(), 1);
  else
    unsetenv(name_);
}

void EnvVar::Set(const std::string& value) const { setenv(name_, value.c_str(), 1); }
void EnvVar::Clear() const { unsetenv(name_); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool FileExists(const std::string& path) { return fs::exists(path); }

CommandRun RunCommand(const std::string& cmd) {
  CommandRun r;
  FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}
