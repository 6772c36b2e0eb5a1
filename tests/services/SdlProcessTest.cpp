// The real platform's process services, which need no display.
#include "engine/services/Services.h"
#include "platform/platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

// The help page opens with the desktop's opener, found on PATH; without one the caller hears
// of it at once, and with one the game goes on without waiting for the browser.
class OpenDocumentTest : public ::testing::Test {
 protected:
  EnvVar path{"PATH"};
};

TEST_F(OpenDocumentTest, FalseWithoutAnOpenerOnPath) {
  const TempDir empty;
  path.Set(empty.Path());
  EXPECT_FALSE(plat::OpenDocument("/games/Z/data/help/english/index.html"));
}

TEST_F(OpenDocumentTest, StartsTheOpenerWithAFileAddressAndDoesNotWaitForIt) {
  const TempDir bin;
  const std::string record = bin.File("opened.txt");
  // Like a browser staying open: it writes what it was given, then keeps running a while.
  std::filesystem::permissions(bin.Write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + record + ".part' && mv '" +
                                                          record + ".part' '" + record + "'\nsleep 3\n"),
                               std::filesystem::perms::owner_all);
  path.Set(bin.Path() + ":" + path.Old());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(plat::OpenDocument("/games/My Z/help#1/index.html"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000)) << "waited for the opener";
  std::string got;
  for (int i = 0; i < 200 && got.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    got = ReadFileBytes(record);
  }
  EXPECT_EQ(got, "file:///games/My%20Z/help%231/index.html");
}
