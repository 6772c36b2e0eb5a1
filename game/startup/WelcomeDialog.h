// The welcome dialog shown before the game window opens: the artwork, "Play Full Screen"
// and "Use gamepad" boxes and the Play, Quit and Help buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "game/layout/DialogLayout.h"

// Runs the dialog; true when the player chose Play (the start settings are then the ones
// ticked), false for Quit. The two setting files are read before and written after,
// whatever closed it.
bool ShowWelcomeDialog();

// Opens "data\help\english\index.html" in the player's browser; when the desktop has no
// program to open it, a box says so and where the page is. Never waits for the browser.
void OpenHelp();

// ---- The dialog's own logic, apart from its window (tests drive it directly) -------------
// (Its controls and their rectangles: game/layout/DialogLayout.h.)

enum class DialogKey { Return, Escape, Space, Tab, BackTab };

class WelcomeDialogModel {
 public:
  enum class Outcome { Running, Play, Quit };

  // Boxes start from the settings read: full screen ticked for windowed == 0, gamepad
  // ticked for gamepadEnabled == 1. Focus starts on Play, the default button.
  WelcomeDialogModel(std::uint8_t windowedByte, std::uint8_t gamepadByte);

  void MouseMove(int x, int y);
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void Key(DialogKey key);
  void Close();                              // the window's close box counts as Quit
  void SetBox(DialogControl box, bool on);   // scripted answers
  void Activate(DialogControl control);      // what a click on the control does

  Outcome outcome() const { return outcome_; }
  bool fullScreenTicked() const { return fullScreenTicked_; }
  bool gamepadTicked() const { return gamepadTicked_; }
  DialogControl focus() const { return focus_; }
  DialogControl pressed() const { return pressed_; }
  DialogControl hover() const { return hover_; }
  int helpRequests() const { return helpRequests_; }  // OpenHelp is called for each

 private:
  static DialogControl At(int x, int y);

  bool fullScreenTicked_;
  bool gamepadTicked_;
  DialogControl focus_ = DialogControl::Play;
  DialogControl pressed_ = DialogControl::None;
  DialogControl hover_ = DialogControl::None;
  Outcome outcome_ = Outcome::Running;
  int helpRequests_ = 0;
};

// Draws the dialog into pixels (kDialogWidth x kDialogHeight, 0xAARRGGBB). face holds the
// dialog's art twice, one above the other: at rest, then every control lit (boxes ticked,
// buttons pressed); artwork is the welcome picture. Either may be empty.
void RenderWelcomeDialog(const WelcomeDialogModel& model, const std::vector<std::uint32_t>& face,
                         const std::vector<std::uint32_t>& artwork, int artworkWidth, int artworkHeight,
                         std::vector<std::uint32_t>& pixels);
