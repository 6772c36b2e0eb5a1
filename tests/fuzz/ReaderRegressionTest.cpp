// The reader checks in the normal suite: every file kept under inputs/<reader>/ goes through
// its reader again. They are the fuzzers' seeds (small files of each shape the game reads, made
// by our own writers: every bitmap depth, JPEG kinds, WAVE layouts, mono and stereo Vorbis,
// short and long raw files) and the files that once broke a rule or took the game down. A file
// whose name starts with "refused-" must be refused, any other one taken: the seeds start the
// fuzzers deep inside every decoder, and what the game refuses stays refused.
#include "tests/fuzz/ReaderChecks.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

TEST(ReaderInputs, EveryKeptInputPassesItsReader) {
  for (const auto& e : fs::directory_iterator(ZR_READER_INPUTS))
    EXPECT_NE(readers::Find(e.path().filename().string()), nullptr) << e.path() << " names no reader";
  for (const readers::Reader& reader : readers::All()) {
    int taken = 0;
    for (const auto& e : fs::directory_iterator(fs::path(ZR_READER_INPUTS) / reader.name)) {
      const std::string bytes = ReadFileBytes(e.path().string());
      const readers::Outcome outcome = reader.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      EXPECT_EQ(outcome.failure, "") << e.path();
      EXPECT_EQ(outcome.accepted, e.path().filename().string().rfind("refused-", 0) != 0) << e.path();
      taken += outcome.accepted ? 1 : 0;
    }
    EXPECT_GT(taken, 0) << "no input the game takes for " << reader.name;
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
