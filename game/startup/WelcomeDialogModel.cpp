#include "game/startup/WelcomeDialog.h"

#include <algorithm>

WelcomeDialogModel::WelcomeDialogModel(std::uint8_t windowedByte, std::uint8_t gamepadByte)
    : fullScreenTicked_(windowedByte == 0), gamepadTicked_(gamepadByte == 1) {}

DialogControl WelcomeDialogModel::At(int x, int y) {
  for (int i = 0; i < static_cast<int>(DialogControl::Count); ++i)
    if (kControlRects[i].Contains(x, y)) return static_cast<DialogControl>(i);
  return DialogControl::None;
}

void WelcomeDialogModel::MouseMove(int x, int y) { hover_ = At(x, y); }

void WelcomeDialogModel::MouseDown(int x, int y) {
  hover_ = At(x, y);
  pressed_ = hover_;
  if (pressed_ != DialogControl::None) focus_ = pressed_;
}

void WelcomeDialogModel::MouseUp(int x, int y) {
  hover_ = At(x, y);
  const DialogControl was = pressed_;
  pressed_ = DialogControl::None;
  // A click is a press and a release on the same control.
  if (was != DialogControl::None && was == hover_) Activate(was);
}

void WelcomeDialogModel::Key(DialogKey key) {
  const int n = static_cast<int>(DialogControl::Count);
  switch (key) {
    case DialogKey::Return:
      Activate(DialogControl::Play);
      break;
    case DialogKey::Escape:
      Activate(DialogControl::Quit);
      break;
    case DialogKey::Space:
      Activate(focus_);
      break;
    case DialogKey::Tab:
      focus_ = static_cast<DialogControl>((static_cast<int>(focus_) + 1) % n);
      break;
    case DialogKey::BackTab:
      focus_ = static_cast<DialogControl>((static_cast<int>(focus_) + n - 1) % n);
      break;
  }
}

void WelcomeDialogModel::Close() { Activate(DialogControl::Quit); }

void WelcomeDialogModel::SetBox(DialogControl box, bool on) {
  if (box == DialogControl::FullScreenBox) fullScreenTicked_ = on;
  if (box == DialogControl::GamepadBox) gamepadTicked_ = on;
}

void WelcomeDialogModel::Activate(DialogControl control) {
  if (outcome_ != Outcome::Running) return;
  switch (control) {
    case DialogControl::GamepadBox:
      gamepadTicked_ = !gamepadTicked_;
      break;
    case DialogControl::FullScreenBox:
      fullScreenTicked_ = !fullScreenTicked_;
      break;
    case DialogControl::Help:
      ++helpRequests_;
      break;
    case DialogControl::Quit:
      outcome_ = Outcome::Quit;
      break;
    case DialogControl::Play:
      outcome_ = Outcome::Play;
      break;
    default:
      break;
  }
}

namespace {

void CopyRect(const std::vector<std::uint32_t>& src, int srcY0, const DialogRect& r, std::vector<std::uint32_t>& dst) {
  for (int y = r.y; y < r.y + r.h; ++y) {
    const std::size_t s = static_cast<std::size_t>(srcY0 + y) * kDialogWidth + static_cast<std::size_t>(r.x);
    const std::size_t d = static_cast<std::size_t>(y) * kDialogWidth + static_cast<std::size_t>(r.x);
    std::copy_n(src.begin() + static_cast<std::ptrdiff_t>(s), r.w, dst.begin() + static_cast<std::ptrdiff_t>(d));
  }
}

void DottedFrame(const DialogRect& r, std::vector<std::uint32_t>& px) {
  const std::uint32_t ink = 0xFF2A1A0Eu;
  for (int x = r.x + 2; x < r.x + r.w - 2; x += 2) {
    px[static_cast<std::size_t>(r.y + 2) * kDialogWidth + static_cast<std::size_t>(x)] = ink;
    px[static_cast<std::size_t>(r.y + r.h - 3) * kDialogWidth + static_cast<std::size_t>(x)] = ink;
  }
  for (int y = r.y + 2; y < r.y + r.h - 2; y += 2) {
    px[static_cast<std::size_t>(y) * kDialogWidth + static_cast<std::size_t>(r.x + 2)] = ink;
    px[static_cast<std::size_t>(y) * kDialogWidth + static_cast<std::size_t>(r.x + r.w - 3)] = ink;
  }
}

}  // namespace

void RenderWelcomeDialog(const WelcomeDialogModel& model, const std::vector<std::uint32_t>& face,
                         const std::vector<std::uint32_t>& artwork, int artworkWidth, int artworkHeight,
                         std::vector<std::uint32_t>& pixels) {
  const std::size_t area = static_cast<std::size_t>(kDialogWidth) * kDialogHeight;
  pixels.assign(area, 0xFFF4E3C1u);  // sand, should the face be missing
  const bool haveFace = face.size() >= 2 * area;
  if (haveFace) std::copy_n(face.begin(), area, pixels.begin());

  // The artwork, centred in its frame.
  if (artworkWidth > 0 && artworkHeight > 0 && artwork.size() >= static_cast<std::size_t>(artworkWidth) * artworkHeight) {
    const int w = std::min(artworkWidth, kArtworkRect.w), h = std::min(artworkHeight, kArtworkRect.h);
    const int x0 = kArtworkRect.x + (kArtworkRect.w - w) / 2, y0 = kArtworkRect.y + (kArtworkRect.h - h) / 2;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        pixels[static_cast<std::size_t>(y0 + y) * kDialogWidth + static_cast<std::size_t>(x0 + x)] =
            artwork[static_cast<std::size_t>(y) * static_cast<std::size_t>(artworkWidth) + static_cast<std::size_t>(x)];
  }

  for (int i = 0; i < static_cast<int>(DialogControl::Count); ++i) {
    const auto c = static_cast<DialogControl>(i);
    const bool isBox = c == DialogControl::GamepadBox || c == DialogControl::FullScreenBox;
    const bool lit = isBox ? (c == DialogControl::GamepadBox ? model.gamepadTicked() : model.fullScreenTicked())
                           : (model.pressed() == c && model.hover() == c);
    if (haveFace && lit) CopyRect(face, kDialogHeight, kControlRects[i], pixels);
    if (model.focus() == c) DottedFrame(kControlRects[i], pixels);
  }
}
