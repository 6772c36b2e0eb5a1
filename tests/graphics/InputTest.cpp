#include "tests/support/EngineTest.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/services/KInputState.h"
#include "platform/platform.h"

namespace {

class InputTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    KInputState::ReleaseJoystick(0);
    KInputState::ReleaseJoystick(1);
  }
  static void Key(int id, bool down) { script::SetKey(KInputState::KeyCode(id), down); }
};

TEST_F(InputTest, KeyTable) {  // and the live state of the keys
  for (int id = 0; id < KEY_COUNT; ++id) {
    EXPECT_EQ(KInputState::KeyNumber(id), id + 1);
    EXPECT_NE(KInputState::KeyCode(id), 0) << id;
    EXPECT_EQ(KInputState::KeyIdFromName(KInputState::KeyName(id)), id);
    for (int other = 0; other < id; ++other)
      EXPECT_NE(KInputState::KeyCode(id), KInputState::KeyCode(other)) << id << " " << other;
  }
  EXPECT_EQ(KInputState::KeyIdFromName("F4"), KEY_F4);
  EXPECT_EQ(KInputState::KeyIdFromName("KEY_ESCAPE"), KEY_ESCAPE);
  EXPECT_EQ(KInputState::KeyIdFromName("NOPE"), -1);
  EXPECT_FALSE(KInputState::IsKeyDown(KEY_P));
  Key(KEY_P, true);
  EXPECT_TRUE(KInputState::IsKeyDown(KEY_P));
  EXPECT_FALSE(KInputState::IsKeyDown(KEY_H));
  EXPECT_FALSE(KInputState::IsKeyDown(KEY_COUNT));  // outside the table
  // The two shifts (and the two controls) are one key to the test.
  Key(KEY_RSHIFT, true);
  EXPECT_TRUE(KInputState::IsKeyDown(KEY_LSHIFT));
  Key(KEY_LCONTROL, true);
  EXPECT_TRUE(KInputState::IsKeyDown(KEY_RCONTROL));
  EXPECT_FALSE(KInputState::IsKeyDown(KEY_RWIN));
}

TEST_F(InputTest, WaitKeyUpSeesTheKeyGoUpWithoutEvents) {
  Key(KEY_SPACE, true);
  script::PostClose();  // stays queued: the wait handles no window events
  const std::uint64_t start = script::Now();
  script::SetTickHook([](bool) {
    if (script::Now() >= 50000) script::SetKey(KInputState::KeyCode(KEY_SPACE), false);
  });
  KInputState::WaitKeyUp(KEY_SPACE);
  script::SetTickHook(nullptr);
  EXPECT_GE(script::Now(), 50000u);
  EXPECT_GT(script::Now(), start);
  EXPECT_EQ(plat::PollWindowEvent(), plat::WindowEvent::kClose);
}

TEST_F(InputTest, PointerMovesWhereThePlatformCannotMoveIt) {
  script::SetWarpAllowed(false);
  script::SetPointer(10, 20);
  KInputState::SetMousePosition(300, 400);  // kept by the engine, read back
  EXPECT_EQ(KInputState::GetMouseX(), 300);
  EXPECT_EQ(KInputState::GetMouseY(), 400);
  KInputState::SetMousePosition(310, 400);
  EXPECT_EQ(KInputState::GetMouseX(), 310);
  script::SetPointer(11, 20);  // the real pointer moved: it counts again
  EXPECT_EQ(KInputState::GetMouseX(), 11);
  EXPECT_EQ(KInputState::GetMouseY(), 20);
}

TEST_F(InputTest, PointerShowAndHideAreDefinite) {
  KInputState::ShowMouseCursor();
  KInputState::ShowMouseCursor();
  KInputState::ShowMouseCursor();
  KInputState::HideMouseCursor();
  EXPECT_FALSE(script::PointerShown());
  KInputState::HideMouseCursor();
  KInputState::ShowMouseCursor();
  EXPECT_TRUE(script::PointerShown());
}

TEST_F(InputTest, GamepadDeadZoneDPadButtonsAndPlugging) {
  // Nothing before the capture, and joystick 1 never.
  script::SetJoystickPresent(true);
  script::SetJoystickAxis(0);
  EXPECT_FALSE(KInputState::IsJoystickLeft(0));
  EXPECT_FALSE(KInputState::CaptureJoystick(1));
  ASSERT_TRUE(KInputState::CaptureJoystick(0));
  // The stick counts past a quarter of its way (8192 of 32768), each way; the D-pad always.
  const struct { int x, y; bool left, right, up, down; } sticks[] = {
      {32768 - 8192, 32768, false, false, false, false}, {32768 - 8193, 32768, true, false, false, false},
      {32768 + 8193, 32768, false, true, false, false},  {32768, 0, false, false, true, false},
      {32768, 65535, false, false, false, true}};
  for (const auto& c : sticks) {
    script::SetJoystickAxis(c.x, c.y);
    EXPECT_EQ(KInputState::IsJoystickLeft(0), c.left) << c.x;
    EXPECT_EQ(KInputState::IsJoystickRight(0), c.right) << c.x;
    EXPECT_EQ(KInputState::IsJoystickUp(0), c.up) << c.y;
    EXPECT_EQ(KInputState::IsJoystickDown(0), c.down) << c.y;
  }
  script::SetJoystickAxis(32768);
  script::SetJoystickButtons(PAD_A | PAD_RIGHT);
  EXPECT_TRUE(KInputState::IsJoystickRight(0));
  EXPECT_TRUE(KInputState::IsJoystickButtonDown(0, PAD_FACE));
  EXPECT_FALSE(KInputState::IsJoystickButtonDown(0, PAD_START));
  EXPECT_FALSE(KInputState::IsJoystickButtonDown(0, 0));
  // Pulled out: nothing is down; plugged in again: read at once, without a new capture.
  script::SetJoystickPresent(false);
  EXPECT_FALSE(KInputState::IsJoystickAttached(0));
  EXPECT_EQ(KInputState::JoystickButtons(0), 0u);
  script::SetJoystickPresent(true);
  EXPECT_TRUE(KInputState::IsJoystickAttached(0));
  EXPECT_EQ(KInputState::JoystickButtons(0), std::uint32_t{PAD_A | PAD_RIGHT});
  KInputState::ReleaseJoystick(0);
  EXPECT_FALSE(KInputState::IsJoystickAttached(0));
  EXPECT_FALSE(KInputState::IsJoystickButtonDown(0, PAD_A));
}

}  // namespace
