#include "engine/services/KIniFile.h"
#include "engine/services/Services.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
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

TEST_F(IniTest, NumbersAndBlanksAroundTheEqualsSign) {
  ASSERT_TRUE(LoadText("[DATA]\r\nlevelcount=12\r\n"));
  EXPECT_EQ(ini.GetInt("DATA", "levelcount"), 12);
  ASSERT_TRUE(LoadText("[DATA]\r\nlevelcount= 12\r\n"));
  EXPECT_EQ(ini.GetInt("DATA", "levelcount"), 12);
  EXPECT_EQ(Get("DATA", "levelcount"), " 12");  // the value itself keeps its blank
  ASSERT_TRUE(LoadText("[DATA]\r\nlevelcount =12\r\n"));
  EXPECT_EQ(ini.GetInt("DATA", "levelcount"), 0);
  ASSERT_TRUE(LoadText("[DATA]\r\na=-42x\r\nb=+7\r\nc=abc\r\nd=99999999999999\r\n"));
  EXPECT_EQ(ini.GetInt("DATA", "a"), -42);
  EXPECT_EQ(ini.GetInt("DATA", "b"), 7);
  EXPECT_EQ(ini.GetInt("DATA", "c"), 0);
  EXPECT_EQ(ini.GetInt("DATA", "d"), 2147483647);  // saturated, never overflowing
}

TEST_F(IniTest, SubstringRulesAuthorsRelyOn) {
  // The key search runs past the end of its section.
  ASSERT_TRUE(LoadText("[DATA]\r\nx=1\r\n[LEVELS]\r\nlevelcount=7\r\n"));
  EXPECT_EQ(ini.GetInt("DATA", "levelcount"), 7);
  // A key inside a longer key matches first.
  ASSERT_TRUE(LoadText("[LEVELS]\r\nXL1=a\r\nL1=b\r\n"));
  EXPECT_EQ(Get("LEVELS", "L1"), "a");
  // Sections match case-sensitively, anywhere, first occurrence only.
  ASSERT_TRUE(LoadText("junk [A] k=1\r\n[A]\r\nk=2\r\n"));
  EXPECT_EQ(Get("A", "k"), "1");
  EXPECT_EQ(Get("a", "k"), "<none>");
  // A key before its section is not seen.
  ASSERT_TRUE(LoadText("k=0\r\n[A]\r\n"));
  EXPECT_EQ(Get("A", "k"), "<none>");
}

TEST_F(IniTest, ValuesEmptyLastLineAndLong) {
  ASSERT_TRUE(LoadText("[LEVELS]\r\nL3=\r\nL4=end"));
  EXPECT_EQ(Get("LEVELS", "L3"), "");
  EXPECT_EQ(Get("LEVELS", "L4"), "end");
  // Only CR ends a value: a bare LF is part of it.
  ASSERT_TRUE(LoadText("[S]\r\nk=a b \nc\r\n"));
  EXPECT_EQ(Get("S", "k"), "a b \nc");
  const std::string v(300, 'v');
  ASSERT_TRUE(LoadText("[S]\r\nk=" + v + "\r\n"));
  EXPECT_EQ(Get("S", "k"), v.substr(0, 259));
  EXPECT_EQ(Get("S", "k", 2), "v");
}

TEST_F(IniTest, TinyBufferAndFailedLookupsLeaveDefinedContents) {
  ASSERT_TRUE(LoadText("[S]\r\nk=v\r\n"));
  char one[1] = {'Q'};
  EXPECT_FALSE(ini.GetString("S", "k", one, 1));
  EXPECT_EQ(one[0], 'Q');
  char buf[8];
  std::memset(buf, 'Q', sizeof buf);
  EXPECT_FALSE(ini.GetString("S", "nokey", buf, sizeof buf));
  for (char c : buf) EXPECT_EQ(c, '\0');
  EXPECT_EQ(ini.GetInt("T", "k"), 0);
}

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

TEST_F(IniTest, NulBytesAndRandomMegabytesAreHarmless) {
  // A NUL inside a value is copied as it stands; the text ends where the file ends.
  const std::string withNul = std::string("[S]\r\nk=ab") + '\0' + "cd\r\n[T]\r\nq=1";
  ASSERT_TRUE(LoadText(withNul));
  char buf[16];
  ASSERT_TRUE(ini.GetString("S", "k", buf, sizeof buf));
  EXPECT_EQ(std::memcmp(buf, "ab\0cd", 6), 0);
  EXPECT_EQ(ini.GetInt("T", "q"), 1);

  std::mt19937 gen(7);
  std::string noise(4 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(gen());
  // Plant a lookup at the very end, with no line end, so the value runs to the last byte.
  noise += "[LEVELS]L1=tail";
  ASSERT_TRUE(LoadText(noise));
  EXPECT_EQ(Get("LEVELS", "L1"), "tail");
  EXPECT_EQ(Get("DATA", "levelcount"), "<none>");
  // A section header as the file's very last bytes: the key search finds nothing after it.
  ASSERT_TRUE(LoadText(noise.substr(0, 1000) + "[ZZ]"));
  EXPECT_EQ(Get("ZZ", "k"), "<none>");
}

}  // namespace
