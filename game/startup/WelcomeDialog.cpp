#include "game/startup/WelcomeDialog.h"

#include "engine/graphics/KGraphic.h"
#include "engine/services/KDialog.h"
#include "engine/services/Services.h"
#include "game/files/StartSettings.h"

#include <string>
#include <vector>

namespace {

struct Picture {
  std::vector<std::uint32_t> pixels;
  int width = 0, height = 0;
};

Picture LoadDialogPicture(const char* name) {
  Picture p;
  if (!DecodePictureFile(KPath::MakeAbsolute(name), &p.pixels, &p.width, &p.height)) return Picture{};
  for (std::uint32_t& px : p.pixels) px |= 0xFF000000u;  // opaque
  return p;
}

// 1 Play, 0 Quit, -1 when the dialog cannot be shown at all.
int RunDialog() {
  Picture face = LoadDialogPicture("data\\general\\dialog.bmp");
  if (face.width != kDialogWidth || face.height != 2 * kDialogHeight) face = Picture{};
  const Picture artwork = LoadDialogPicture("data\\general\\welcome.bmp");
  if (!KDialog::Open("Welcome to ZindoRumba !", kDialogWidth, kDialogHeight)) return -1;

  WelcomeDialogModel model(windowed, gamepadEnabled);
  std::vector<std::uint32_t> pixels;
  int helpShown = 0;
  while (model.outcome() == WelcomeDialogModel::Outcome::Running) {
    const KDialogEvent e = KDialog::WaitEvent();
    switch (e.kind) {
      case KDialogEvent::Redraw:
        break;
      case KDialogEvent::MouseMove:
        model.MouseMove(e.x, e.y);
        break;
      case KDialogEvent::MouseDown:
        model.MouseDown(e.x, e.y);
        break;
      case KDialogEvent::MouseUp:
        model.MouseUp(e.x, e.y);
        break;
      case KDialogEvent::KeyReturn:
        model.Key(DialogKey::Return);
        break;
      case KDialogEvent::KeyEscape:
        model.Key(DialogKey::Escape);
        break;
      case KDialogEvent::KeySpace:
        model.Key(DialogKey::Space);
        break;
      case KDialogEvent::KeyTab:
        model.Key(DialogKey::Tab);
        break;
      case KDialogEvent::KeyBackTab:
        model.Key(DialogKey::BackTab);
        break;
      case KDialogEvent::Close:
        model.Close();
        break;
      case KDialogEvent::SetFullScreenBox:
        model.SetBox(DialogControl::FullScreenBox, e.value != 0);
        break;
      case KDialogEvent::SetGamepadBox:
        model.SetBox(DialogControl::GamepadBox, e.value != 0);
        break;
      case KDialogEvent::PressHelp:
        model.Activate(DialogControl::Help);
        break;
      case KDialogEvent::PressPlay:
        model.Activate(DialogControl::Play);
        break;
      case KDialogEvent::PressQuit:
        model.Activate(DialogControl::Quit);
        break;
    }
    for (; helpShown < model.helpRequests(); ++helpShown) OpenHelp();
    RenderWelcomeDialog(model, face.pixels, artwork.pixels, artwork.width, artwork.height, pixels);
    KDialog::Show(pixels.data());
  }
  KDialog::Close();
  if (model.outcome() == WelcomeDialogModel::Outcome::Quit) return 0;
  // The boxes count only through Play: Quit writes the settings back as they were read.
  windowed = model.fullScreenTicked() ? 0 : 1;
  gamepadEnabled = model.gamepadTicked() ? 1 : 0;
  return 1;
}

// A box shows each line of its text whole: a long path is broken after a '/' into lines of
// at most this many characters.
constexpr std::size_t kBoxLineLength = 64;

std::string BreakPath(const std::string& path) {
  std::string out;
  std::size_t start = 0;
  while (path.size() - start > kBoxLineLength) {
    std::size_t cut = path.rfind('/', start + kBoxLineLength - 1);
    if (cut == std::string::npos || cut <= start) cut = start + kBoxLineLength - 1;  // no '/' to break at
    out += path.substr(start, cut + 1 - start) + "\n";
    start = cut + 1;
  }
  return out + path.substr(start);
}

}  // namespace

// Mended: a help page that could not be opened used to be ignored, so the Help button did
// nothing at all on a desktop without an opener; the player is now told where the page is.
// Mended: that box was one line wider than a small screen, which cut the page's path off;
// its text now comes in short lines.
void OpenHelp() {
  const std::string page = KPath::MakeAbsolute("data\\help\\english\\index.html");
  if (KDialog::OpenDocument(page.c_str())) return;
  const std::string text =
      "No program to open the help page was found\n(xdg-open, from the xdg-utils package).\n"
      "Open it in a web browser:\n" + BreakPath(page);
  ShowMessageBox("ZindoRumba help", text.c_str());
}

bool ShowWelcomeDialog() {
  InitEngineServices();
  LoadWindowedFlag();
  LoadGamepadFlag();
  const int result = RunDialog();
  SaveWindowedFlag();
  SaveGamepadFlag();
  // A dialog that cannot be shown at all counts as Play with the settings as read.
  return result != 0;
}
