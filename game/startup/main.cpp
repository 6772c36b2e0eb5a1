#include "game/menus/MainMenu.h"
#include "game/startup/CommandLine.h"
#include "game/startup/GameMain.h"

#include <cstdio>

int main(int argc, char** argv) {
  const int code = ReadCommandLine(argc, argv, stdout, stderr);
  if (code >= 0) return code;
  if (LevelAloneAsked()) return GameMainWith([] { PlayLevelAlone(); });
  return GameMain();
}
