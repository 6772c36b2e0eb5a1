// The real platform's process services, which need no display.
#include "Services.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

TEST(SdlProcessTest, ExecutableFolderIsTheFolderOfThisProgram) {
  char buf[4096];
  ASSERT_TRUE(plat::ExecutableFolder(buf, sizeof buf));
  const auto self = std::filesystem::canonical("/proc/self/exe").parent_path();
  EXPECT_EQ(std::filesystem::canonical(buf), self);
  InitEngineServices();
  EXPECT_EQ(std::string(KPath::MakeAbsolute("zindo.ini")), (self / "zindo.ini").string());
}

TEST(SdlProcessTest, ClockIsMonotonicAndCountsRealMilliseconds) {
  KClock::Init();
  const std::uint32_t a = KClock::GetMilliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const std::uint32_t b = KClock::GetMilliseconds();
  // Loose bounds: this checks the unit, not the machine's punctuality.
  EXPECT_GE(b - a, 29u);
  EXPECT_LT(b - a, 5000u);
  std::uint64_t last = plat::ClockMicroseconds();
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t now = plat::ClockMicroseconds();
    ASSERT_GE(now, last);
    last = now;
  }
}
