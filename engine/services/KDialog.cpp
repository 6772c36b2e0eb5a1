#include "engine/services/KDialog.h"

bool KDialog::Open(const char* title, int width, int height) { return plat::DialogOpen(title, width, height); }
void KDialog::Show(const std::uint32_t* pixels) { plat::DialogShow(pixels); }
KDialogEvent KDialog::WaitEvent() { return plat::DialogWaitEvent(); }
void KDialog::Close() { plat::DialogClose(); }
bool KDialog::OpenDocument(const char* pathOrUrl) { return plat::OpenDocument(pathOrUrl); }
