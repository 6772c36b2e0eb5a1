// Saving small files whole or not at all.
#include "engine/services/ReplaceFile.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Replace(const std::string& path, const std::string& bytes) {
  return ReplaceFile(path.c_str(), bytes.data(), bytes.size());
}

TEST(ReplaceFileTest, ReplacesTheWholeFileAndLeavesNothingBeside) {
  TempDir dir;
  const std::string path = dir.Write("highscores.raw", std::string(2340, 'x'));
  ASSERT_TRUE(Replace(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "new");  // shorter than before: nothing of the old file left
  EXPECT_FALSE(FileExists(path + ".new"));
  ASSERT_TRUE(Replace(dir.File("fresh.raw"), std::string("\0\1", 2)));
  EXPECT_EQ(ReadFileBytes(dir.File("fresh.raw")), std::string("\0\1", 2));
  ASSERT_TRUE(Replace(path, ""));
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(ReplaceFileTest, AFailedSaveKeepsTheOldFileAndCleansUp) {
  TempDir dir;
  // No folder to write in.
  EXPECT_FALSE(Replace(dir.File("missing") + "/al.raw", "1234"));
  // A folder where the file should be: written beside it, but the rename fails.
  dir.Write("al.raw/inside", "x");
  EXPECT_FALSE(Replace(dir.File("al.raw"), "1234"));
  EXPECT_FALSE(FileExists(dir.File("al.raw.new")));
  EXPECT_EQ(ReadFileBytes(dir.File("al.raw/inside")), "x");
  // A folder where the file beside it would go: nothing can be written.
  const std::string path = dir.Write("prefvol.raw", "12345678");
  dir.Write("prefvol.raw.new/inside", "x");
  EXPECT_FALSE(Replace(path, "abcdefgh"));
  EXPECT_EQ(ReadFileBytes(path), "12345678");
}

}  // namespace
