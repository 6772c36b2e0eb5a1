// The scripted answer to the start dialog (the replay script's "dialog" line).
#pragma once

namespace script {

struct DialogAnswer {
  bool play = true;       // Play, or Quit
  int fullScreen = -1;    // -1: leave the box as it was read; else untick (0) or tick (1) it
  int gamepad = -1;
  bool help = false;      // press Help first
};

void SetDialogAnswer(const DialogAnswer& answer);
// How many times the dialog was opened (a run that never opens it shows 0).
int DialogOpenCount();

}  // namespace script
