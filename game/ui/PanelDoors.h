// The panel doors that close over the screen between levels and open on the next one.
#pragma once

#include <cstdint>

class KGraphic;

// "data\levels\islands\bpanel.bmp" while a game runs (none in the menus).
extern KGraphic* panelPicture;

// The top half of the panel at (0, offset), the bottom half at (0, 300 - offset): -300 is
// open (both halves off screen), 0 closed. Nothing without a panel picture.
void DrawPanelDoors(std::int32_t offset);
