#include "game/files/StartSettings.h"
#include "game/startup/WelcomeDialog.h"

#include "engine/services/Services.h"
#include "platform/script/script_platform.h"
#include "tools/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Outcome = WelcomeDialogModel::Outcome;

DialogRect RectOf(DialogControl c) { return kControlRects[static_cast<int>(c)]; }
void Click(WelcomeDialogModel& m, DialogControl c) {
  const DialogRect r = RectOf(c);
  m.MouseDown(r.x + r.w / 2, r.y + r.h / 2);
  m.MouseUp(r.x + r.w / 2, r.y + r.h / 2);
}

TEST(WelcomeDialogModelTest, BoxesStartFromTheBytesRead) {
  EXPECT_FALSE(WelcomeDialogModel(1, 0).fullScreenTicked());
  EXPECT_TRUE(WelcomeDialogModel(0, 0).fullScreenTicked());
  EXPECT_FALSE(WelcomeDialogModel(2, 0).fullScreenTicked());  // 02 plays in a window
  EXPECT_TRUE(WelcomeDialogModel(1, 1).gamepadTicked());
  EXPECT_FALSE(WelcomeDialogModel(1, 2).gamepadTicked());     // only 01 means a gamepad
}

TEST(WelcomeDialogModelTest, MouseClicksNeedPressAndReleaseOnTheSameControl) {
  WelcomeDialogModel m(1, 0);
  Click(m, DialogControl::FullScreenBox);
  EXPECT_TRUE(m.fullScreenTicked());
  EXPECT_EQ(m.focus(), DialogControl::FullScreenBox);
  // Pressed on Play, released over Quit: nothing happens.
  const DialogRect play = RectOf(DialogControl::Play), quit = RectOf(DialogControl::Quit);
  m.MouseDown(play.x + 1, play.y + 1);
  m.MouseUp(quit.x + 1, quit.y + 1);
  EXPECT_EQ(m.outcome(), Outcome::Running);
  Click(m, DialogControl::Help);
  Click(m, DialogControl::Help);
  EXPECT_EQ(m.helpRequests(), 2);
  EXPECT_EQ(m.outcome(), Outcome::Running);  // Help leaves the dialog open
  Click(m, DialogControl::Play);
  EXPECT_EQ(m.outcome(), Outcome::Play);
  Click(m, DialogControl::Quit);  // after the end nothing changes any more
  EXPECT_EQ(m.outcome(), Outcome::Play);
}

TEST(WelcomeDialogModelTest, KeyboardReturnEscapeSpaceAndTab) {
  WelcomeDialogModel m(1, 0);
  EXPECT_EQ(m.focus(), DialogControl::Play);
  m.Key(DialogKey::Tab);  // wraps to the first control
  EXPECT_EQ(m.focus(), DialogControl::GamepadBox);
  m.Key(DialogKey::Space);
  EXPECT_TRUE(m.gamepadTicked());
  m.Key(DialogKey::Tab);
  m.Key(DialogKey::Space);
  EXPECT_TRUE(m.fullScreenTicked());
  m.Key(DialogKey::BackTab);
  m.Key(DialogKey::BackTab);
  EXPECT_EQ(m.focus(), DialogControl::Play);
  m.Key(DialogKey::Escape);
  EXPECT_EQ(m.outcome(), Outcome::Quit);

  WelcomeDialogModel r(1, 0);
  r.Key(DialogKey::Return);
  EXPECT_EQ(r.outcome(), Outcome::Play);
  WelcomeDialogModel c(1, 0);
  c.Close();
  EXPECT_EQ(c.outcome(), Outcome::Quit);
}

TEST(WelcomeDialogRenderTest, TickedBoxesAndThePressedButtonComeFromTheLitFace) {
  const std::size_t area = static_cast<std::size_t>(kDialogWidth) * kDialogHeight;
  std::vector<std::uint32_t> face(2 * area, 0xFF111111u);
  std::fill(face.begin() + static_cast<std::ptrdiff_t>(area), face.end(), 0xFF222222u);
  std::vector<std::uint32_t> art(4 * 3, 0xFF0000FFu);
  WelcomeDialogModel m(0, 0);  // full screen ticked
  const DialogRect play = RectOf(DialogControl::Play);
  m.MouseDown(play.x + 5, play.y + 5);  // held on Play
  std::vector<std::uint32_t> px;
  RenderWelcomeDialog(m, face, art, 4, 3, px);
  ASSERT_EQ(px.size(), area);
  auto at = [&](int x, int y) { return px[static_cast<std::size_t>(y) * kDialogWidth + static_cast<std::size_t>(x)]; };
  const DialogRect fs = RectOf(DialogControl::FullScreenBox), gp = RectOf(DialogControl::GamepadBox);
  EXPECT_EQ(at(fs.x + 1, fs.y + 1), 0xFF222222u);
  EXPECT_EQ(at(gp.x + 1, gp.y + 1), 0xFF111111u);
  EXPECT_EQ(at(play.x + 1, play.y + 1), 0xFF222222u);
  EXPECT_EQ(at(0, 0), 0xFF111111u);
  // The artwork sits centred in its frame.
  EXPECT_EQ(at(kArtworkRect.x + 78, kArtworkRect.y + 50), 0xFF0000FFu);
  EXPECT_EQ(at(kArtworkRect.x + 1, kArtworkRect.y + 1), 0xFF111111u);
  // Released away from Play: drawn at rest again.
  m.MouseMove(0, 0);
  RenderWelcomeDialog(m, face, art, 4, 3, px);
  EXPECT_EQ(at(play.x + 1, play.y + 1), 0xFF111111u);
}

// (What the one-byte files hold, read and saved, is checked by the reader checks and the
// menu replays.)
TEST(StartSettingsTest, WithoutTheDataFolderSavingIsSkippedSilently) {
  TempDir root;
  script::SetRoot(root.Path());
  InitEngineServices();
  script::ClearRecords();
  SaveWindowedFlag();
  SaveGamepadFlag();
  EXPECT_FALSE(FileExists(root.File("data/fullscreen.stt")));
  EXPECT_FALSE(FileExists(root.File("data/gamepad.stt")));
  EXPECT_TRUE(script::Boxes().empty());
}

TEST(OpenHelpTest, OpensThePageBesideTheExecutableOrSaysWhereItIs) {
  TempDir root;
  script::SetRoot(root.Path());
  InitEngineServices();
  script::SetEchoBoxes(false);
  script::ClearRecords();
  const std::string page = root.Path() + "/data/help/english/index.html";
  OpenHelp();
  ASSERT_EQ(script::OpenedDocuments().size(), 1u);
  EXPECT_EQ(script::OpenedDocuments()[0], page);
  EXPECT_TRUE(script::Boxes().empty());

  // No opener on this desktop: a box names the page instead of nothing happening.
  script::SetDocumentOpener(false);
  script::ClearRecords();
  OpenHelp();
  script::SetDocumentOpener(true);
  script::SetEchoBoxes(true);
  EXPECT_TRUE(script::OpenedDocuments().empty());
  ASSERT_EQ(script::Boxes().size(), 1u);
  EXPECT_NE(script::Boxes()[0].find("xdg-open"), std::string::npos) << script::Boxes()[0];
  EXPECT_NE(script::Boxes()[0].find(page), std::string::npos) << script::Boxes()[0];
  // In short lines, so that a small screen shows it whole.
  std::istringstream lines(script::Boxes()[0]);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 64u) << line;
}

}  // namespace
