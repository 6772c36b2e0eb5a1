// Frames like the game's, drawn with pictures made in memory: an idle menu (a still backdrop
// and an animated pointer) and play (backdrop, bricks, moving balls, bat and capsules).
#pragma once

#include <memory>

class KGraphic;

struct FrameScenes {
  FrameScenes();
  ~FrameScenes();
  // Draws frame number n of the scene into the back buffer.
  void DrawMenu(int n);
  // sprites keyed blits per frame: bricks stand still, the rest move.
  void DrawPlay(int n, int sprites = 150);

  std::unique_ptr<KGraphic> backdrop, sheet;
};
