// The real platform's process services, which need no display.
#include "engine/services/Services.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The help page opens with the desktop's opener, found on PATH; without one the caller hears
// of it at once, and with one the game goes on without waiting for the browser.
class OpenDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* p = std::getenv("PATH");
    oldPath_ = p ? p : "";
  }
  void TearDown() override { setenv("PATH", oldPath_.c_str(), 1); }
  std::string oldPath_;
};

TEST_F(OpenDocumentTest, FalseWithoutAnOpenerOnPath) {
  const auto empty = std::filesystem::temp_directory_path() / ("zr-noopener-" + std::to_string(getpid()));
  std::filesystem::create_directories(empty);
  setenv("PATH", empty.c_str(), 1);
  EXPECT_FALSE(plat::OpenDocument("/games/Z/data/help/english/index.html"));
  std::filesystem::remove_all(empty);
}

TEST_F(OpenDocumentTest, StartsTheOpenerWithAFileAddressAndDoesNotWaitForIt) {
  const auto bin = std::filesystem::temp_directory_path() / ("zr-opener-" + std::to_string(getpid()));
  std::filesystem::create_directories(bin);
  const std::string record = (bin / "opened.txt").string();
  {
    std::FILE* f = std::fopen((bin / "xdg-open").c_str(), "w");
    ASSERT_NE(f, nullptr);
    // Like a browser staying open: it writes what it was given, then keeps running a while.
    std::fprintf(f, "#!/bin/sh\nprintf '%%s' \"$1\" > '%s.part' && mv '%s.part' '%s'\nsleep 3\n", record.c_str(),
                 record.c_str(), record.c_str());
    std::fclose(f);
  }
  std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
  setenv("PATH", (bin.string() + ":" + oldPath_).c_str(), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(plat::OpenDocument("/games/My Z/help#1/index.html"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000)) << "waited for the opener";
  std::string got;
  for (int i = 0; i < 200 && got.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::FILE* f = std::fopen(record.c_str(), "r");
    if (!f) continue;
    char buf[512] = {};
    got.assign(buf, std::fread(buf, 1, sizeof buf - 1, f));
    std::fclose(f);
  }
  EXPECT_EQ(got, "file:///games/My%20Z/help%231/index.html");
  std::filesystem::remove_all(bin);
}
