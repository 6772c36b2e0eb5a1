// Temporary folders and files for tests.
#pragma once

#include <string>

// A fresh, empty folder under the system's temporary folder, removed with its content
// when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path of a file in the folder; folders on the way are created.
  std::string File(const std::string& relative) const;
  // Writes bytes to a file in the folder and returns its path.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string path_;
};

// An environment variable set or cleared for a test and put back when the object goes.
class EnvVar {
 public:
  explicit EnvVar(const char* name);
  ~EnvVar();
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;
  void Set(const std::string& value) const;
  void Clear() const;
  const std::string& Old() const { return old_; }  // "" when it was not set

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// A shell command run to its end: its exit code (-1 when it did not exit) and what it
// printed on both outputs.
struct CommandRun {
  int code = -1;
  std::string out;
};
CommandRun RunCommand(const std::string& cmd);
