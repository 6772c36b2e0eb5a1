// The player's own data folder by the XDG rules. The same checks run on both platforms (the
// game's over SDL and the scripted one of the tests), so that a replay finds the saves where
// the game puts them.
#include "platform/platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Folder() {
  char buf[4096];
  if (!plat::UserDataFolder(buf, sizeof buf)) return "<none>";
  return buf;
}

class UserFolderTest : public ::testing::Test {
 protected:
  EnvVar xdg{"XDG_DATA_HOME"};
  EnvVar home{"HOME"};
  TempDir dir;
};

TEST_F(UserFolderTest, UnderXdgDataHomeCreatedWithItsParents) {
  const std::string base = dir.Path() + "/deep/share";
  xdg.Set(base + "/");  // a trailing separator does not double
  home.Set(dir.Path() + "/home");
  EXPECT_EQ(Folder(), base + "/zindorumba");
  EXPECT_TRUE(IsFolder(base + "/zindorumba"));
  EXPECT_FALSE(IsFolder(dir.Path() + "/home")) << "HOME is not looked at when XDG_DATA_HOME is set";
  // Asked again, the same folder, which exists already.
  EXPECT_EQ(Folder(), base + "/zindorumba");
}

TEST_F(UserFolderTest, UnderHomeWhenXdgDataHomeIsUnsetEmptyOrRelative) {
  home.Set(dir.Path() + "/home");
  const std::string expected = dir.Path() + "/home/.local/share/zindorumba";
  xdg.Clear();
  EXPECT_EQ(Folder(), expected);
  EXPECT_TRUE(IsFolder(expected));
  for (const char* ignored : {"", "relative/share"}) {
    xdg.Set(ignored);
    EXPECT_EQ(Folder(), expected) << "XDG_DATA_HOME=" << ignored;
  }
}

TEST_F(UserFolderTest, NoneWithoutAHomeOrWhenItCannotBeMade) {
  xdg.Clear();
  home.Clear();
  EXPECT_EQ(Folder(), "<none>");
  home.Set("not/absolute");
  EXPECT_EQ(Folder(), "<none>");
  // A file where a folder should be.
  dir.Write("blocker", "x");
  xdg.Set(dir.Path() + "/blocker");
  EXPECT_EQ(Folder(), "<none>");
  // A buffer too small for the whole path: nothing rather than a cut path.
  xdg.Set(dir.Path());
  char small[8] = "xxxxxxx";
  EXPECT_FALSE(plat::UserDataFolder(small, sizeof small));
  EXPECT_STREQ(small, "");
}

}  // namespace
