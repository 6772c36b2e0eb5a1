#include "engine/services/Random.h"

#include <gtest/gtest.h>

TEST(RandomTest, FromStateOneDrawsTheKnownSequenceInRangeAndRepeats) {
  GameRandSetState(1);  // the state at program start
  int first[1000];
  for (int& v : first) {
    v = GameRand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
  const int expected[] = {16838, 5758, 10113, 17515, 31051};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(first[i], expected[i]);
  GameRandSetState(1);
  for (int v : first) ASSERT_EQ(GameRand(), v);
}
