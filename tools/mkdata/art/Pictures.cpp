// The picture part of the data generator: every picture of the game and the help page.
#include "tools/mkdata/MkData.h"
#include "tools/mkdata/art/Canvas.h"

#include <cstdio>

bool WritePictures(const std::string& out) {
  art::Output o{out};
  art::WarnAboutMissingFonts();
  art::WriteBrickSheets(o);
  art::WriteBigPlanche(o);
  art::WriteBallsAndBlasts(o);
  art::WriteDrummer(o);
  art::WriteMascots(o);
  art::WriteIslands(o);
  art::WriteMenus(o);
  art::WriteGameOverAndEnd(o);
  art::WriteWelcomeIconHelp(o);
  art::WriteWelcomeDialog(o);
  if (!o.ok) std::fprintf(stderr, "zindo-mkdata: the pictures are incomplete\n");
  return o.ok;
}
