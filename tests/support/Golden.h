// Golden runs: a run's text against the kept file. After a deliberate change, write the
// files anew with ZR_WRITE_GOLDEN=1 and review their difference before committing them.
#pragma once

#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

inline void ExpectGolden(const std::string& path, const std::string& text) {
  if (std::getenv("ZR_WRITE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  const std::string kept = ReadFileBytes(path);
  ASSERT_FALSE(kept.empty()) << "missing " << path;
  EXPECT_EQ(text, kept) << "the run differs from " << path;
}
