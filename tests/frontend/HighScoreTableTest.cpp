#include "HighScores.h"

#include "Services.h"
#include "TestFiles.h"
#include "script_platform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class HighScoreTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script::SetRoot(root.Path());
    InitEngineServices();
    ResetHighScores();
  }
  std::string Name(int i) { return highScores.GetEntry(i)->name; }
  TempDir root;
};

TEST_F(HighScoreTableTest, InsertionAgainstTheDefaults) {
  EXPECT_EQ(highScores.Insert("ONE", 1), -1);  // equal to the last does not enter
  EXPECT_EQ(highScores.Insert("TWO", 2), 8);   // below "Z.R" 2; "NOW" drops out
  EXPECT_EQ(Name(7), "Z.R");
  EXPECT_EQ(Name(8), "TWO");
  EXPECT_EQ(highScores.Insert("TOP", 10), 0);
  EXPECT_EQ(Name(0), "TOP");
  EXPECT_EQ(Name(8), "Z.R");
  EXPECT_EQ(highScores.GetEntry(9), nullptr);
  EXPECT_EQ(highScores.GetEntry(-1), nullptr);
  HighScoreTable small;
  small.Reset(1);
  EXPECT_EQ(small.Capacity(), 3);
}

TEST_F(HighScoreTableTest, LoadReadsWhatTheFileHolds) {
  // 520 bytes: the first two entries change, the other seven keep the defaults.
  std::string file(520, '\0');
  std::memcpy(&file[0], "AAA", 3);
  const std::int32_t s0 = 500, s1 = 400;
  std::memcpy(&file[256], &s0, 4);
  std::memcpy(&file[260], "BBB", 3);
  std::memcpy(&file[516], &s1, 4);
  root.Write("highscores.raw", file);
  highScores.Load(9);
  EXPECT_EQ(Name(0), "AAA");
  EXPECT_EQ(highScores.GetEntry(1)->score, 400);
  EXPECT_EQ(Name(2), "BOP");
  EXPECT_EQ(Name(8), "NOW");
  // An empty or missing file leaves the table as it is.
  root.Write("highscores.raw", "");
  highScores.Load(9);
  EXPECT_EQ(Name(0), "AAA");
}

TEST_F(HighScoreTableTest, NamesWithoutAnEndAreCutTo255Bytes) {
  root.Write("highscores.raw", std::string(2340, 'Q'));
  highScores.Load(9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Name(i).size(), 255u) << i;
}

TEST_F(HighScoreTableTest, SaveReplacesTheFileWhole) {
  ASSERT_TRUE(highScores.Save());
  const std::string bytes = ReadFileBytes(root.File("highscores.raw"));
  ASSERT_EQ(bytes.size(), 2340u);
  EXPECT_STREQ(bytes.c_str() + 6 * 260, "BUY");
  EXPECT_FALSE(FileExists(root.File("highscores.raw.new")));
  // A file that cannot be written: false, and the old file stays whole.
  script::SetRoot(root.Path() + "/missing-folder");
  InitEngineServices();
  EXPECT_FALSE(highScores.Save());
  EXPECT_EQ(ReadFileBytes(root.File("highscores.raw")), bytes);
}

}  // namespace
