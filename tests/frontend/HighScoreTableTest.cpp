#include "game/scores/HighScoreScreen.h"

#include "engine/services/Services.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

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

}  // namespace
