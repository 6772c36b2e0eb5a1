// The reader checks in the normal suite: every input kept under inputs/<reader>/ (the
// fuzzers' finds, each once a crash or a broken rule) and every seed of zindo-fuzz-seeds
// goes through its reader again, so a fault found once stays found.
#include "tests/fuzz/ReaderChecks.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Runs one reader over every file of dir; returns how many there were and how many the
// game took.
struct Count {
  int files = 0;
  int accepted = 0;
};
Count RunAll(const readers::Reader& reader, const fs::path& dir) {
  Count n;
  for (const fs::path& file : FilesIn(dir)) {
    const std::string bytes = ReadFileBytes(file.string());
    const readers::Outcome outcome =
        reader.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(outcome.failure, "") << reader.name << " on " << file;
    ++n.files;
    if (outcome.accepted) ++n.accepted;
  }
  return n;
}

TEST(ReaderInputs, EveryKeptInputPassesItsReader) {
  int total = 0;
  for (const auto& e : fs::directory_iterator(ZR_READER_INPUTS)) {
    if (!e.is_directory()) continue;
    const std::string name = e.path().filename().string();
    const readers::Reader* reader = readers::Find(name);
    ASSERT_NE(reader, nullptr) << "inputs/" << name << " names no reader";
    total += RunAll(*reader, e.path()).files;
  }
  EXPECT_GT(total, 0);
}

TEST(ReaderInputs, EverySeedPassesItsReader) {
  TempDir seeds;
  const std::string cmd = std::string(ZR_FUZZ_SEEDS) + " " + seeds.Path() + " >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const readers::Reader& reader : readers::All()) {
    const Count n = RunAll(reader, fs::path(seeds.Path()) / reader.name);
    EXPECT_GT(n.files, 0) << "no seeds for " << reader.name;
    // The seeds are files the game takes (but for the WAVE layouts it refuses by design and
    // the raw files cut short), so the fuzzers start deep inside every decoder.
    const std::string name = reader.name;
    if (name == "picture" || name == "ogg_sample" || name == "ogg_stream" || name == "ini" ||
        name == "high_scores" || name == "start_settings")
      EXPECT_EQ(n.accepted, n.files) << name;
    else
      EXPECT_GT(n.accepted, 0) << name;
  }
}

TEST(ReaderInputs, EmptyAndOneByteFilesPassEveryReader) {
  const std::uint8_t one[1] = {0xff};
  for (const readers::Reader& reader : readers::All()) {
    EXPECT_EQ(reader.check(one, 0).failure, "") << reader.name;
    EXPECT_EQ(reader.check(one, 1).failure, "") << reader.name;
  }
}

}  // namespace
