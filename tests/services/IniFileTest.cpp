// What a load leaves when the file is missing, empty or a folder. (The lookups themselves, on
// any bytes, are checked against their rules by the reader checks: tests/fuzz, reader "ini".)
#include "engine/services/KIniFile.h"
#include "engine/services/Services.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class IniTest : public ::testing::Test {
 protected:
  // Loads text (CR LF line ends as written by our tools) into ini.
  bool LoadText(const std::string& text) { return ini.Load(dir.Write("t.ini", text).c_str()); }
  std::string Get(const char* section, const char* key, int size = 260) {
    std::string buf(static_cast<std::size_t>(size), 'X');
    if (!ini.GetString(section, key, buf.data(), size)) return "<none>";
    return std::string(buf.c_str());
  }

  TempDir dir;
  KIniFile ini;
};

TEST_F(IniTest, LoadingReplacesOrKeepsTheText) {
  ASSERT_TRUE(LoadText("[S]\r\nk=first\r\n"));
  ASSERT_TRUE(ini.Load(dir.Write("b.ini", "[S]\r\nk=second\r\n").c_str()));
  EXPECT_EQ(Get("S", "k"), "second");
  // A file that cannot be opened keeps the old text.
  EXPECT_FALSE(ini.Load(dir.File("missing.ini").c_str()));
  EXPECT_EQ(Get("S", "k"), "second");
  // An empty file, or a folder, opens but leaves no text.
  EXPECT_FALSE(ini.Load(dir.Write("empty.ini", "").c_str()));
  EXPECT_EQ(Get("S", "k"), "<none>");
  ASSERT_TRUE(LoadText("[S]\r\nk=again\r\n"));
  EXPECT_FALSE(ini.Load(dir.Path().c_str()));
  EXPECT_EQ(ini.TextSize(), 0);
  EXPECT_EQ(Get("S", "k"), "<none>");
}

}  // namespace
