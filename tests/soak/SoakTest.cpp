// The soak: the attract mode's demonstration back to back for more than 100,000 frames on the
// real data, under the scripted platform; the heap in use at the end stays within 1 MiB of
// its use after the first demonstration.
#include "tests/support/GameFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SoakTest, DemonstrationsBackToBackKeepTheirHeap) {
  TempDir root;
  folder::CopyGame(ZR_GAME_DIR, root);
  // 46 demonstrations of 2187 frames (the doors and 2125 frames of play).
  const ReplayRun r = RunReplay(root, "# no input\n", "--screen demos:46 --max-time 100000000");
  ASSERT_EQ(r.code, 0) << r.out;
  const std::size_t frames = r.out.rfind("frames: ");
  ASSERT_NE(frames, std::string::npos) << r.out;
  EXPECT_GE(std::stoull(r.out.substr(frames + 8)), 100000u);
  const std::size_t heap = r.out.rfind("heap: after-first=");
  ASSERT_NE(heap, std::string::npos) << r.out;
  const long long first = std::stoll(r.out.substr(heap + 18));
  const long long end = std::stoll(r.out.substr(r.out.find("end=", heap) + 4));
  EXPECT_GT(first, 0);
  EXPECT_LE(end - first, 1 << 20) << "heap after the first: " << first << ", at the end: " << end;
  // Every demonstration ran to its end.
  std::size_t ends = 0;
  for (std::size_t at = r.out.find("game-end"); at != std::string::npos; at = r.out.find("game-end", at + 1)) ++ends;
  EXPECT_EQ(ends, 46u);
}

}  // namespace
