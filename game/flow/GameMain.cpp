#include "GameMain.h"

#include "DataConfig.h"
#include "Services.h"

#include <cstdio>

int GameMain() {
  KLogger logger(2);
  InitEngineServices();
  LoadDataConfig();
  // The window, the menus and the play arrive with the engine and front-end work; until
  // then the program only reports what it found beside it.
  char text[200];
  std::snprintf(text, sizeof text, "Data folder: %s\nLevels in zindo.ini: %d", ExeFolder(),
                static_cast<int>(GetDataInt("levelcount")));
  ShowMessageBox("ZindoRumba", text);
  return 0;
}
