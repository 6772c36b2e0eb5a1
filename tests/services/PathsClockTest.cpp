#include "engine/services/Services.h"
#include "platform/platform.h"
#include "platform/script/script_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    script::SetRoot("/games/Z");
    InitEngineServices();
  }
};

TEST_F(PathsTest, NamesBesideTheExecutableWithEitherSeparator) {
  EXPECT_STREQ(KPath::MakeAbsolute("data/levels/maps/l1.map"), "/games/Z/data/levels/maps/l1.map");
  EXPECT_STREQ(KPath::MakeAbsolute("data\\levels\\maps\\l1.map"), "/games/Z/data/levels/maps/l1.map");
  EXPECT_STREQ(KPath::MakeAbsolute("\\prefvol.raw"), "/games/Z/prefvol.raw");
  EXPECT_STREQ(KPath::MakeAbsolute("/prefvol.raw"), "/games/Z/prefvol.raw");
  EXPECT_STREQ(KPath::MakeAbsolute(":al.raw"), "/games/Z/al.raw");
  // Only one leading separator is dropped.
  EXPECT_STREQ(KPath::MakeAbsolute("//x"), "/games/Z//x");
}

TEST_F(PathsTest, OneSharedBufferCutAt259CharactersAndOverwrittenByTheNextCall) {
  const std::string name(400, 'a');
  const char* p = KPath::MakeAbsolute(name.c_str());
  ASSERT_EQ(std::strlen(p), 259u);
  EXPECT_EQ(std::string(p, 9), "/games/Z/");
  // A shorter name afterwards goes into the same buffer and leaves nothing of the long one.
  EXPECT_EQ(KPath::MakeAbsolute("b"), p);
  EXPECT_STREQ(p, "/games/Z/b");
  EXPECT_EQ(p[200], '\0');
}

TEST_F(PathsTest, FolderIsFoundOnFirstUseWithoutInit) {
  // The executable's folder is taken from the platform (here the scripted root).
  script::SetRoot("/other/place/");
  InitEngineServices();
  EXPECT_STREQ(ExeFolder(), "/other/place");
  EXPECT_STREQ(KPath::MakeAbsolute("data\\go\\go1.bmp"), "/other/place/data/go/go1.bmp");
}

TEST(ClockTest, CountsMillisecondsOfTheVirtualClockExactlyAcrossThe32BitWrap) {
  KClock::Init();
  script::SetNow(5'000'000);
  const std::uint32_t a = KClock::GetMilliseconds();
  EXPECT_EQ(a, 5000u);
  script::Advance(1'000'000);
  EXPECT_EQ(KClock::GetMilliseconds() - a, 1000u);
  const std::uint64_t wrapMs = 1ull << 32;
  script::SetNow((wrapMs - 3) * 1000);
  const std::uint32_t before = KClock::GetMilliseconds();
  EXPECT_EQ(before, 0xFFFFFFFDu);
  script::Advance(10'000);
  const std::uint32_t after = KClock::GetMilliseconds();
  EXPECT_LT(after, before);  // wrapped
  EXPECT_EQ(static_cast<std::uint32_t>(after - before), 10u);
}

TEST(ClockTest, EveryReadAdvancesTheVirtualClockSoBusyWaitsEnd) {
  script::SetNow(0);
  const std::uint32_t start = KClock::GetMilliseconds();
  int reads = 0;
  while (KClock::GetMilliseconds() - start < 2) ++reads;
  EXPECT_GE(reads, 150);
  EXPECT_LE(reads, 250);
}

}  // namespace
