// Loading a picture file: the whole file in one read, decoded from memory by the platform.
#include "engine/graphics/KGraphic.h"

#include "engine/services/Services.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace {

// Game code names files with '\'; the file system wants '/'.
std::string OpenablePath(const char* path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

enum class ReadResult { kOk, kCannotOpen, kEmpty, kNoMemory, kShort };

ReadResult ReadWholeFile(const char* path, std::vector<unsigned char>* bytes) {
  const std::string name = OpenablePath(path);
  struct stat info;
  // Only plain files open, as on the game's first home (a folder cannot be opened as a file).
  if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kCannotOpen;
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return ReadResult::kCannotOpen;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size <= 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return ReadResult::kEmpty;
  }
  try {
    bytes->resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {
    std::fclose(f);
    return ReadResult::kNoMemory;
  }
  const std::size_t got = std::fread(bytes->data(), 1, bytes->size(), f);
  std::fclose(f);
  return got == bytes->size() ? ReadResult::kOk : ReadResult::kShort;
}

// Reads the whole file; on failure, the box text for that failure from the loader's own four
// texts (cannot open, empty, no memory, short), or null when the file was read.
struct ReadTexts {
  const char* cannotOpen;
  const char* empty;
  const char* noMemory;
  const char* shortRead;
};
const char* ReadWholeFileOrSay(const char* path, std::vector<unsigned char>* bytes, const ReadTexts& texts) {
  switch (ReadWholeFile(path, bytes)) {
    case ReadResult::kOk:
      return nullptr;
    case ReadResult::kCannotOpen:
      return texts.cannotOpen;
    case ReadResult::kEmpty:
      return texts.empty;
    case ReadResult::kNoMemory:
      return texts.noMemory;
    case ReadResult::kShort:
      return texts.shortRead;
  }
  return texts.cannotOpen;
}

}  // namespace

namespace {
// The file's bytes and its decoded pixels, kept from one load to the next: a level start
// loads pictures of up to 800 x 600, and fresh memory for them each time (page faults and
// zeroing) cost more than the decoding.
std::vector<unsigned char> fileScratch;
std::vector<std::uint32_t> pixelScratch;
}  // namespace

bool KGraphic::LoadPicture(const char* file, int, int, std::uint32_t keyLow, std::uint32_t keyHigh) {
  if (!file) file = "";
  std::snprintf(path, sizeof path, "%s", file);
  if (std::strstr(path, ".tga"))
    LoadTgaFile(path);
  else
    LoadImageFile(path);
  colorKeyLow = keyLow;
  colorKeyHigh = keyHigh;
  BuildSurface();
  // Only the surface is drawn from: the decoded picture goes back to the scratch buffer.
  image.swap(pixelScratch);
  image.clear();
  return true;
}

void KGraphic::LoadImageFile(const char* file) {
  std::vector<unsigned char>& bytes = fileScratch;
  const char* error =
      ReadWholeFileOrSay(file, &bytes, {"file not found", "file is corrupt", "out of memory", "File is corrupted"});
  std::vector<std::uint32_t> pixels;
  pixels.swap(pixelScratch);
  int w = 0, h = 0;
  if (!error && !plat::DecodeImage(bytes.data(), bytes.size(), &pixels, &w, &h)) error = "File is corrupted";
  if (error) {
    pixels.swap(pixelScratch);
    ShowMessageBox(error, file);
    return;
  }
  image = std::move(pixels);
  pixelWidth = w;
  pixelHeight = h;
  width = static_cast<float>(w);
  height = static_cast<float>(h);
  depth = 16;
}

void KGraphic::LoadTgaFile(const char* file) {
  // Kept as designed: ".tga" files are read whole but nothing is made of them; the picture
  // stays without an image and the surface step then reports its failure.
  std::vector<unsigned char> bytes;
  const char* error = ReadWholeFileOrSay(file, &bytes,
                                         {"Could not open file", "file is 0 byte", "Out of memory", "Out of data to read"});
  if (error) {
    ShowMessageBox(error, file);
    return;
  }
  std::size_t start = 0;
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), "pihs", 4) == 0) start = 4;
  (void)start;
}

bool DecodePictureFile(const char* path, std::vector<std::uint32_t>* pixels, int* width, int* height) {
  std::vector<unsigned char> bytes;
  *width = *height = 0;
  pixels->clear();
  if (ReadWholeFile(path, &bytes) != ReadResult::kOk) return false;
  return plat::DecodeImage(bytes.data(), bytes.size(), pixels, width, height);
}
