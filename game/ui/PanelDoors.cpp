#include "game/ui/PanelDoors.h"

#include "engine/graphics/KGraphic.h"

KGraphic* panelPicture = nullptr;

void DrawPanelDoors(std::int32_t offset) {
  if (!panelPicture) return;
  const int h = static_cast<int>(panelPicture->height), w = static_cast<int>(panelPicture->width);
  const int half = h / 2;
  panelPicture->BlitRectKeyed(0, 0, w, half, 0, offset, 0, 0);
  panelPicture->BlitRectKeyed(0, half, w, h, 0, 300 - offset, 0, 0);
}
