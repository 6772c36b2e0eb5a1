// The panel doors that close over the screen between levels and open on the next one.
#pragma once

#include <cstdint>
#include <functional>

class KGraphic;

// "data\levels\islands\bpanel.bmp" from the start of a game (LoadPanelPicture, among the game's
// sprites) to the end of its closing screens (FreePanelPicture); none in the menus.
extern KGraphic* panelPicture;
bool LoadPanelPicture();
void FreePanelPicture();

// The top half of the panel at (0, offset), the bottom half at (0, 300 - offset): -300 is
// open (both halves off screen), 0 closed. Nothing without a panel picture.
void DrawPanelDoors(std::int32_t offset);

// The doors slide from offset `from` to offset `to`, both included, 10 pixels a frame. Each
// frame draws what lies under them (drawUnder), then the doors, shows the frame (Present) and
// then runs afterShown, when given.
void SlidePanelDoors(std::int32_t from, std::int32_t to, const std::function<void()>& drawUnder,
                     const std::function<void()>& afterShown = nullptr);
