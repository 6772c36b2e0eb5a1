// Keyboard, mouse and gamepad, read by polling. One program-wide state.
#pragma once

#include <cstdint>

// Engine key ids: indexes of the key table.
enum KeyId : std::uint8_t {
  KEY_LEFT, KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_SPACE,
  KEY_LSHIFT, KEY_RSHIFT, KEY_RETURN, KEY_RCONTROL, KEY_LCONTROL,
  KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12,
  KEY_BACKSPACE, KEY_TAB, KEY_ESCAPE,
  KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
  KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
  KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9,
  KEY_NUMPAD0, KEY_NUMPAD1, KEY_NUMPAD2, KEY_NUMPAD3, KEY_NUMPAD4,
  KEY_NUMPAD5, KEY_NUMPAD6, KEY_NUMPAD7, KEY_NUMPAD8, KEY_NUMPAD9,
  KEY_MULTIPLY, KEY_ADD, KEY_SUBTRACT, KEY_DECIMAL, KEY_DIVIDE, KEY_CLEAR,
  KEY_ALT, KEY_LWIN, KEY_RWIN, KEY_NUMLOCK, KEY_SCROLL,
  KEY_SEMICOLON, KEY_PLUS, KEY_COMMA, KEY_MINUS, KEY_PERIOD, KEY_SLASH, KEY_BACKQUOTE,
  KEY_LBRACKET, KEY_BACKSLASH, KEY_RBRACKET, KEY_QUOTE,
  KEY_COUNT  // 93
};

// Gamepad buttons, as the bits of KInputState::JoystickButtons (every pad reads as this one).
enum PadButtonBit : std::uint32_t {
  PAD_A = 1u << 0, PAD_B = 1u << 1, PAD_X = 1u << 2, PAD_Y = 1u << 3,
  PAD_BACK = 1u << 4, PAD_GUIDE = 1u << 5, PAD_START = 1u << 6,
  PAD_LEFTSTICK = 1u << 7, PAD_RIGHTSTICK = 1u << 8, PAD_LEFTSHOULDER = 1u << 9, PAD_RIGHTSHOULDER = 1u << 10,
  PAD_UP = 1u << 11, PAD_DOWN = 1u << 12, PAD_LEFT = 1u << 13, PAD_RIGHT = 1u << 14,
  PAD_FACE = PAD_A | PAD_B | PAD_X | PAD_Y,
};

class KInputState {
 public:
  // Remembers the game window (a token from KDisplayWindow::GetWindowHandle).
  static void Init(void* window);

  // The pointer in client coordinates of the 800 x 600 picture; each call asks anew, and
  // positions outside the client area come back as they are.
  static std::int32_t GetMouseX();
  static std::int32_t GetMouseY();
  static bool IsMouseButtonDown();
  // Leave the system pointer definitely shown or hidden, however often either was called.
  static void ShowMouseCursor();
  static void HideMouseCursor();
  // Moves the pointer (arrow-key steering). Where the platform cannot move it, the position
  // is kept here and read back by GetMouseX / GetMouseY until the real pointer moves.
  static void SetMousePosition(std::int32_t x, std::int32_t y);
  // Lets the pointer leave the window again if it was held inside it.
  static void ReleaseCursorConfinement();

  // The live state of a key; busy waits see it change without any window event handled.
  static bool IsKeyDown(int keyId);
  static void WaitKeyUp(int keyId);
  // Whether any key at all is down, in the table or not.
  static bool IsAnyKeyDown();

  // The gamepad: joystick 0 is the first pad attached, read through the platform's
  // controller mapping. Capturing starts reading pads, also one plugged in later; it fails
  // only where pads cannot be read at all (and always for joystick 1). Every query answers
  // false (no button, stick centred) while not captured or while no pad is attached.
  static bool CaptureJoystick(int joystickId);
  static void ReleaseJoystick(int joystickId);
  static bool IsJoystickAttached(int joystickId);
  // The left stick pushed past a quarter of its way, or the D-pad.
  static bool IsJoystickLeft(int joystickId);
  static bool IsJoystickRight(int joystickId);
  static bool IsJoystickUp(int joystickId);
  static bool IsJoystickDown(int joystickId);
  static std::uint32_t JoystickButtons(int joystickId);  // PadButtonBit bits
  static bool IsJoystickButtonDown(int joystickId, std::uint32_t buttonMask);

  // The key table: the platform key code (USB HID usage) of an id, its 1-based number, its
  // name without "KEY_" ("LEFT", "H", "F4"), and the id of a name (-1 when unknown).
  static int KeyCode(int keyId);
  static int KeyNumber(int keyId);
  static const char* KeyName(int keyId);
  static int KeyIdFromName(const char* name);
};
