#include "tools/editor/Editor.h"

#include "engine/graphics/KDisplayWindow.h"
#include "engine/graphics/KGraphic.h"
#include "engine/services/KInputState.h"
#include "engine/services/Services.h"
#include "game/files/DataConfig.h"
#include "game/files/LevelMapFormat.h"
#include "game/layout/ScreenSize.h"
#include "game/playscreen/Levels.h"
#include "game/playscreen/PlayGame.h"
#include "game/playscreen/PlayScreen.h"
#include "game/rules/GameRecord.h"
#include "game/rules/PlayState.h"
#include "game/sound/SoundCues.h"
#include "game/ui/Screen.h"
#include "tools/editor/EditorLevel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>

namespace {

constexpr std::uint16_t kWhite = 0xFFFF, kYellow = 0xFFE0, kRed = 0xF800;

struct EditorState {
  std::string path;      // the source the editor saves (base.txt, and base.map beside it)
  std::string gamePath;  // the game that test-plays
  int picture = 0;       // index in kBrickPictures of the crate the pointer places
  bool snap = true;
  std::set<std::size_t> selected;
  // The pointer's drag: none, moving the selection, or a selection rectangle.
  enum class Drag { kNone, kMove, kRectangle } drag = Drag::kNone;
  int pressX = 0, pressY = 0;
  bool keyWas[KEY_COUNT] = {};
  bool buttonWas = false;
};

int Snap(const EditorState& s, int v, int origin) {
  return s.snap ? origin + ((v - origin) / kCell) * kCell - ((v - origin) < 0 && (v - origin) % kCell ? kCell : 0) : v;
}

bool Pressed(EditorState& s, int key) {
  const bool down = KInputState::IsKeyDown(key);
  const bool edge = down && !s.keyWas[key];
  s.keyWas[key] = down;
  return edge;
}

// The live bricks the play screen draws, from the level (its island too when it changed).
void Show(const LevelSource& level, bool islandToo) {
  const std::string bytes = BuildLevelMap(level);
  LevelMap map;
  if (!DecodeLevelMap(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &map)) return;
  std::memcpy(bricks, map.bricks, sizeof bricks);
  CullBricks();
  ArmBricks();
  if (islandToo) {
    levelMap = map;
    LoadIsland();
  }
}

int BrickAt(const LevelSource& level, int x, int y) {
  for (std::size_t i = level.bricks.size(); i-- > 0;) {
    const LevelBrick& b = level.bricks[i];
    if (x >= b.left && x < b.left + b.Width() && y >= b.top && y < b.top + b.Height()) return static_cast<int>(i);
  }
  return -1;
}

void Pixel(int x, int y, std::uint16_t c) {
  KSurface* s = KGraphic::BackBufferSurface();
  if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height) return;
  s->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(s->width) + static_cast<std::size_t>(x)] = c;
}

void Frame(int l, int t, int r, int b, std::uint16_t c) {
  for (int x = l; x < r; ++x) Pixel(x, t, c), Pixel(x, b - 1, c);
  for (int y = t; y < b; ++y) Pixel(l, y, c), Pixel(r - 1, y, c);
}

void Draw(const EditorState& s, const LevelSource& level) {
  DrawPlayScreen();
  if (s.snap)
    for (int y = kFieldTop; y <= kFieldBottom; y += kCell)
      for (int x = kFieldLeft; x <= kFieldRight; x += kCell) Pixel(x, y, kWhite);
  for (std::size_t i : s.selected) {
    if (i >= level.bricks.size()) continue;
    const LevelBrick& b = level.bricks[i];
    Frame(b.left - 1, b.top - 1, b.left + b.Width() + 1, b.top + b.Height() + 1, kYellow);
  }
  const int mx = KInputState::GetMouseX(), my = KInputState::GetMouseY();
  const BrickPicture& p = kBrickPictures[s.picture];
  if (s.drag == EditorState::Drag::kRectangle)
    Frame(std::min(s.pressX, mx), std::min(s.pressY, my), std::max(s.pressX, mx) + 1, std::max(s.pressY, my) + 1, kYellow);
  else if (s.drag == EditorState::Drag::kNone && mx >= kFieldLeft && mx < kFieldRight && my >= kFieldTop &&
           my < kFieldBottom && BrickAt(level, mx, my) < 0) {
    // Where a click places the crate.
    const int x = Snap(s, mx, kFieldLeft), y = Snap(s, my, kFieldTop);
    Frame(x, y, x + p.right - p.left, y + p.bottom - p.top, kWhite);
  }
  // The tool panel, in the side panel's own boxes: the crate placed next in the picture
  // frame, its strength (Lives), the number of crates (Score), the level bonus, the island
  // (Level).
  if (KGraphic* sheet = levelPictures.brickPictures[0]) {
    const int w = p.right - p.left, h = p.bottom - p.top;
    sheet->BlitRectKeyed(p.left, p.top, p.right, p.bottom, 85 - w / 2, 130 - h / 2);
  }
  gameRecord.score = static_cast<std::int32_t>(level.bricks.size());
  gameRecord.lives = StrengthOfPicture(&p);
  gameRecord.level = level.island.size() > 6 ? level.island[6] - '0' : 0;
  if (KSurface* back = KGraphic::BackBufferSurface()) KGraphic::PixelsChanged(back);
  ShowFrame();
}

void Say(const char* caption, const std::string& text) { ShowMessageBox(caption, text.c_str()); }

bool Save(const EditorState& s, const LevelSource& level) {
  std::string text, why;
  bool offGrid = false;
  const std::string base = s.path.substr(0, s.path.size() - 4);
  if (!WriteLevelSource(level, text, why, &offGrid)) {
    if (!offGrid) {
      Say("Not saved", why);
      return false;
    }
    // Crates placed freely: the map holds any place, the source only the grid's.
    std::ofstream(base + ".map", std::ios::binary) << BuildLevelMap(level);
    std::printf("saved: %s.map\n", base.c_str());
    std::fflush(stdout);
    Say("Saved as a map only", why);
    return true;
  }
  LevelSource parsed;
  ParseLevelSource(text, parsed, why);
  std::ofstream(base + ".txt", std::ios::binary) << text;
  std::ofstream(base + ".map", std::ios::binary) << BuildLevelMap(parsed);
  std::printf("saved: %s.txt %s.map\n", base.c_str(), base.c_str());
  std::fflush(stdout);
  return true;
}

// A new kind for the selected crates and the crate placed next: the picture after the
// current one (step 1) or the next of the same size with another strength (the class).
void ChangePicture(EditorState& s, LevelHistory& h, int step, bool sameSize) {
  const int n = static_cast<int>(sizeof kBrickPictures / sizeof kBrickPictures[0]);
  const BrickPicture& now = kBrickPictures[s.picture];
  int next = s.picture;
  for (int k = 1; k <= n; ++k) {
    const int i = ((s.picture + step * k) % n + n) % n;
    const BrickPicture& p = kBrickPictures[i];
    if (!sameSize || (p.right - p.left == now.right - now.left && p.bottom - p.top == now.bottom - now.top &&
                      StrengthOfPicture(&p) != StrengthOfPicture(&now))) {
      next = i;
      break;
    }
  }
  s.picture = next;
  if (s.selected.empty()) return;
  LevelSource& l = h.Edit();
  for (std::size_t i : s.selected) {
    l.bricks[i].picture = &kBrickPictures[next];
    l.bricks[i].strength = StrengthOfPicture(&kBrickPictures[next]);
  }
  h.Commit();
}

template <std::size_t N>
std::string NextName(const char* const (&names)[N], const std::string& now) {
  for (std::size_t i = 0; i < N; ++i)
    if (now == names[i]) return names[(i + 1) % N];
  return names[0];
}

// One frame's keys; false to leave the editor.
bool HandleKeys(EditorState& s, LevelHistory& h) {
  if (Pressed(s, KEY_ESCAPE)) return false;
  const std::size_t before = h.Level().bricks.size();
  bool island = false;
  if (Pressed(s, KEY_Z)) h.Undo(), island = true;
  if (Pressed(s, KEY_Y)) h.Redo(), island = true;
  if (Pressed(s, KEY_G)) s.snap = !s.snap;
  if (Pressed(s, KEY_P)) ChangePicture(s, h, 1, false);
  if (Pressed(s, KEY_O)) ChangePicture(s, h, -1, false);
  if (Pressed(s, KEY_K)) ChangePicture(s, h, 1, true);
  if (Pressed(s, KEY_B) && !s.selected.empty()) {
    LevelSource& l = h.Edit();
    for (std::size_t i : s.selected) {
      short& bonus = l.bricks[i].bonus;
      int at = -1;
      for (int k = 0; k < kBonusKindCount; ++k)
        if (kBonusNames[k].kind == bonus) at = k;
      bonus = at + 1 < kBonusKindCount ? kBonusNames[at + 1].kind : -1;
    }
    h.Commit();
  }
  if (Pressed(s, KEY_I)) {
    h.Edit().island = NextName(kIslandNames, h.Level().island);
    h.Commit();
    island = true;
  }
  if (Pressed(s, KEY_M)) {
    h.Edit().music = NextName(kLevelTrackNames, h.Level().music);
    h.Commit();
    playMusic(KPath::MakeAbsolute(("data\\audio\\" + h.Level().music).c_str()));
  }
  if ((Pressed(s, KEY_X) | Pressed(s, KEY_BACKSPACE)) && !s.selected.empty()) {
    LevelSource& l = h.Edit();
    for (auto it = s.selected.rbegin(); it != s.selected.rend(); ++it) l.bricks.erase(l.bricks.begin() + static_cast<long>(*it));
    h.Commit();
    s.selected.clear();
  }
  if (Pressed(s, KEY_C) && !s.selected.empty()) {
    // The copy goes just below the selection, and is selected.
    LevelSource& l = h.Edit();
    int top = 10000, bottom = 0;
    for (std::size_t i : s.selected) top = std::min(top, l.bricks[i].top), bottom = std::max(bottom, l.bricks[i].top + l.bricks[i].Height());
    std::set<std::size_t> copies;
    for (std::size_t i : s.selected) {
      LevelBrick b = l.bricks[i];
      b.top += bottom - top;
      copies.insert(l.bricks.size());
      l.bricks.push_back(b);
    }
    h.Commit();
    s.selected = copies;
  }
  const int dx = (Pressed(s, KEY_RIGHT) ? 1 : 0) - (Pressed(s, KEY_LEFT) ? 1 : 0);
  const int dy = (Pressed(s, KEY_DOWN) ? 1 : 0) - (Pressed(s, KEY_UP) ? 1 : 0);
  if ((dx || dy) && !s.selected.empty()) {
    LevelSource& l = h.Edit();
    const int step = s.snap ? kCell : 1;
    for (std::size_t i : s.selected) l.bricks[i].left += dx * step, l.bricks[i].top += dy * step;
    h.Commit();
  }
  if (Pressed(s, KEY_S)) Save(s, h.Level());
  if (Pressed(s, KEY_T) && Save(s, h.Level())) {
    // The real game plays the level alone; the editor waits and goes on as it was.
    const std::string command = "'" + s.gamePath + "' --level '" + s.path.substr(0, s.path.size() - 4) + ".map'";
    if (std::system(command.c_str()) != 0) Say("Test", "The game did not play the level: " + command);
    std::memset(s.keyWas, 1, sizeof s.keyWas);
  }
  if (h.Level().bricks.size() < before) s.selected.clear();
  for (std::size_t i : std::set<std::size_t>(s.selected))
    if (i >= h.Level().bricks.size()) s.selected.erase(i);
  Show(h.Level(), island);
  return true;
}

void HandlePointer(EditorState& s, LevelHistory& h) {
  const bool down = KInputState::IsMouseButtonDown();
  const int mx = KInputState::GetMouseX(), my = KInputState::GetMouseY();
  const bool shift = KInputState::IsKeyDown(KEY_LSHIFT) || KInputState::IsKeyDown(KEY_RSHIFT);
  if (down && !s.buttonWas) {
    s.pressX = mx, s.pressY = my;
    const int at = BrickAt(h.Level(), mx, my);
    if (at >= 0) {
      if (!s.selected.count(static_cast<std::size_t>(at))) {
        if (!shift) s.selected.clear();
        s.selected.insert(static_cast<std::size_t>(at));
      }
      s.drag = EditorState::Drag::kMove;
      h.Edit();
    } else {
      s.drag = EditorState::Drag::kRectangle;
    }
  } else if (!down && s.buttonWas) {
    if (s.drag == EditorState::Drag::kMove) {
      h.Cancel();
      const int ox = s.snap ? ((mx - s.pressX) / kCell) * kCell : mx - s.pressX;
      const int oy = s.snap ? ((my - s.pressY) / kCell) * kCell : my - s.pressY;
      if (ox || oy) {
        LevelSource& l = h.Edit();
        for (std::size_t i : s.selected) l.bricks[i].left += ox, l.bricks[i].top += oy;
        h.Commit();
      }
    } else if (s.drag == EditorState::Drag::kRectangle) {
      if (std::abs(mx - s.pressX) < 4 && std::abs(my - s.pressY) < 4) {
        s.selected.clear();
        if (mx >= kFieldLeft && mx < kFieldRight && my >= kFieldTop && my < kFieldBottom) {
          const BrickPicture& p = kBrickPictures[s.picture];
          LevelSource& l = h.Edit();
          l.bricks.push_back(LevelBrick{&p, Snap(s, mx, kFieldLeft), Snap(s, my, kFieldTop), StrengthOfPicture(&p), -1});
          h.Commit();
          s.selected.insert(l.bricks.size() - 1);
        }
      } else {
        if (!shift) s.selected.clear();
        const int l = std::min(s.pressX, mx), r = std::max(s.pressX, mx), t = std::min(s.pressY, my), b = std::max(s.pressY, my);
        for (std::size_t i = 0; i < h.Level().bricks.size(); ++i) {
          const LevelBrick& k = h.Level().bricks[i];
          if (k.left >= l && k.left + k.Width() <= r && k.top >= t && k.top + k.Height() <= b) s.selected.insert(i);
        }
      }
    }
    s.drag = EditorState::Drag::kNone;
    Show(h.Level(), false);
  } else if (down && s.drag == EditorState::Drag::kMove) {
    // The selection follows the pointer while it is dragged.
    h.Cancel();
    LevelSource& l = h.Edit();
    const int ox = s.snap ? ((mx - s.pressX) / kCell) * kCell : mx - s.pressX;
    const int oy = s.snap ? ((my - s.pressY) / kCell) * kCell : my - s.pressY;
    for (std::size_t i : s.selected) l.bricks[i].left += ox, l.bricks[i].top += oy;
    Show(l, false);
  }
  s.buttonWas = down;
}

}  // namespace

int RunEditor(const std::string& path, const std::string& gamePath) {
  EditorState s;
  s.path = path;
  s.gamePath = gamePath;
  if (s.path.size() < 4 || (s.path.compare(s.path.size() - 4, 4, ".txt") && s.path.compare(s.path.size() - 4, 4, ".map"))) {
    std::fprintf(stderr, "zindo-editor: %s: a level is a source (.txt) or a map (.map)\n", path.c_str());
    return 2;
  }
  LevelSource level = EmptyLevel();
  std::ifstream exists(path);
  if (exists) {
    std::string error;
    if (!LoadLevelDocument(path, level, error)) {
      std::fprintf(stderr, "zindo-editor: %s\n", error.c_str());
      return 2;
    }
  }
  LoadDataConfig();
  displayWindow = new KDisplayWindow();
  if (!displayWindow->Create(kScreenWidth, kScreenHeight, kScreenBitsPerPixel, true, "ZindoRumba level editor")) {
    delete displayWindow;
    displayWindow = nullptr;
    return 1;
  }
  KGraphic::SetScreenSize(kScreenWidth, kScreenHeight, kScreenBitsPerPixel);
  KGraphic::CheckBackBuffer();
  KInputState::Init(KDisplayWindow::GetWindowHandle());
  InitialiseCursors();
  bigPlancheSheet = LoadSprite(KPath::MakeAbsolute("data\\sprites\\bigplanche.bmp"));
  LoadGameSprites();
  LoadBatSprites();
  NewGameReset();
  LevelHistory history(level);
  {
    const std::string bytes = BuildLevelMap(level);
    InstallLevel(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  }
  ResetLevelState(true);
  while (!displayWindow->IsQuitRequested()) {
    HandlePointer(s, history);
    if (s.drag == EditorState::Drag::kNone && !HandleKeys(s, history)) break;
    Draw(s, history.Level());
  }
  releaseAllSound();
  FreeGameSprites();
  FreeLevelImages();
  FreeCursors();
  delete bigPlancheSheet;
  bigPlancheSheet = nullptr;
  delete displayWindow;
  displayWindow = nullptr;
  return 0;
}
