#include "game/ui/PanelDoors.h"

#include "engine/graphics/KGraphic.h"
#include "engine/services/Services.h"
#include "game/ui/Screen.h"

KGraphic* panelPicture = nullptr;

bool LoadPanelPicture() {
  delete panelPicture;
  panelPicture = LoadSprite(KPath::MakeAbsolute("data\\levels\\islands\\bpanel.bmp"));
  return panelPicture != nullptr;
}

void FreePanelPicture() {
  delete panelPicture;
  panelPicture = nullptr;
}

void DrawPanelDoors(std::int32_t offset) {
  if (!panelPicture) return;
  const int h = static_cast<int>(panelPicture->height), w = static_cast<int>(panelPicture->width);
  const int half = h / 2;
  panelPicture->BlitRectKeyed(0, 0, w, half, 0, offset, 0, 0);
  panelPicture->BlitRectKeyed(0, half, w, h, 0, 300 - offset, 0, 0);
}

void SlidePanelDoors(std::int32_t from, std::int32_t to, const std::function<void()>& drawUnder,
                     const std::function<void()>& afterShown) {
  const std::int32_t step = from < to ? 10 : -10;
  for (std::int32_t offset = from; from < to ? offset <= to : offset >= to; offset += step) {
    drawUnder();
    DrawPanelDoors(offset);
    Present();
    if (afterShown) afterShown();
  }
}
