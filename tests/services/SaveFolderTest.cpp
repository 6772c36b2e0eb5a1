// Where the files the game writes go when the game folder is missing or installed. (Saves beside
// a writable folder, leaving nothing else, and in the player's folder beside a read-only one:
// Scenario.NoMouseKeyboard and Scenario.SaveReadOnlyFolderGoesToThePlayersFolder.)
#include "engine/services/Services.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class SaveFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { xdg.Set(user.Path()); }
  static int Entries(const std::string& folder) {
    int n = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) ++n;
    return n;
  }

  TempDir root;
  TempDir user;
  EnvVar xdg{"XDG_DATA_HOME"};
};

TEST_F(SaveFolderTest, MissingGameFolderIsNoReasonToMoveAndTheChoiceIsMadeAgainAtInit) {
  // Only a refusal (read-only, no permission) sends the saves elsewhere.
  script::SetRoot(root.Path() + "/missing");
  InitEngineServices();
  EXPECT_STREQ(KPath::MakeSavePath("al.raw"), (root.Path() + "/missing/al.raw").c_str());
  EXPECT_TRUE(SavesBesideExecutable());
  EXPECT_EQ(std::string(SaveFolder()), root.Path() + "/missing");
  EXPECT_EQ(Entries(user.Path()), 0);
  script::SetRoot(root.Path());
  InitEngineServices();
  EXPECT_STREQ(KPath::MakeSavePath("al.raw"), (root.Path() + "/al.raw").c_str());
}

TEST_F(SaveFolderTest, InstalledDataIsReadFromShareGamesAndSavesGoToThePlayersFolder) {
  root.Write("share/games/zindorumba/zindo.ini", "");
  fs::create_directories(root.Path() + "/games");
  script::SetRoot(root.Path() + "/games");
  InitEngineServices();
  EXPECT_STREQ(KPath::MakeAbsolute("data\\go\\go1.bmp"), (root.Path() + "/share/games/zindorumba/data/go/go1.bmp").c_str());
  EXPECT_STREQ(KPath::MakeSavePath("al.raw"), (user.Path() + "/zindorumba/al.raw").c_str());
  // A portable folder beside the executable still wins.
  root.Write("games/zindo.ini", "");
  InitEngineServices();
  EXPECT_STREQ(KPath::MakeAbsolute("zindo.ini"), (root.Path() + "/games/zindo.ini").c_str());
  EXPECT_STREQ(KPath::MakeSavePath("al.raw"), (root.Path() + "/games/al.raw").c_str());
}

}  // namespace
