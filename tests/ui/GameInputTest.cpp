// The game's input layer: 16-bit pointer, press point, one window event per pump.
#include "engine/graphics/KDisplayWindow.h"
#include "engine/services/KInputState.h"
#include "game/ui/Input.h"
#include "platform/platform.h"
#include "tests/support/EngineTest.h"

namespace {

class InputTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    pressX = pressY = -1;
  }
};

TEST_F(InputTest, PointerIsCutTo16BitsWithItsSign) {
  script::SetPointer(70000, -5);
  EXPECT_EQ(KInputState::GetMouseX(), 70000);
  EXPECT_EQ(MouseX(), 70000 - 65536);
  EXPECT_EQ(MouseY(), -5);
  script::SetPointer(40000, 32767);
  EXPECT_EQ(MouseX(), 40000 - 65536);
  EXPECT_EQ(MouseY(), 32767);
  script::SetPointer(-900, 650);  // outside the client area: as it is
  EXPECT_EQ(MouseX(), -900);
  EXPECT_EQ(MouseY(), 650);
  KInputState::SetMousePosition(123, 45);
  EXPECT_EQ(MouseX(), 123);
  EXPECT_EQ(MouseY(), 45);
}

TEST_F(InputTest, PressPointProtocol) {
  script::SetPointer(100, 200);
  EXPECT_FALSE(PollMouseButton());
  EXPECT_EQ(pressX, -1);
  script::SetButton(true);
  EXPECT_TRUE(PollMouseButton());
  EXPECT_EQ(pressX, 100);
  EXPECT_EQ(pressY, 200);
  // Moving while held keeps the first point, so a button under the pointer is not clicked.
  script::SetPointer(101, 200);
  EXPECT_TRUE(PollMouseButton());
  EXPECT_EQ(pressX, 100);
  EXPECT_NE(MouseX(), pressX);
  script::SetButton(false);
  EXPECT_FALSE(PollMouseButton());
  EXPECT_EQ(pressX, -1);
  EXPECT_EQ(pressY, -1);
  // WaitMouseRelease polls until the button is up.
  script::SetButton(true);
  script::SetTickHook([](bool) {
    if (script::Now() >= 30000) script::SetButton(false);
  });
  WaitMouseRelease();
  script::SetTickHook(nullptr);
  EXPECT_GE(script::Now(), 30000u);
  EXPECT_EQ(pressX, -1);
}

TEST_F(InputTest, PumpAndCheckQuit) {
  KDisplayWindow d;
  d.Create(800, 600, 16, true, "ZindoRumba");
  EXPECT_FALSE(PumpAndCheckQuit());
  script::SetFocus(true);
  script::PostClose();
  EXPECT_FALSE(PumpAndCheckQuit());  // one event per call
  EXPECT_TRUE(PumpAndCheckQuit());
}

}  // namespace
