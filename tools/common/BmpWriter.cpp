#include "tools/common/BmpWriter.h"

#include <filesystem>
#include <fstream>

void PutLe16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>((v >> 8) & 0xff);
}
void PutLe32(std::string& s, std::uint32_t v) {
  PutLe16(s, v & 0xffff);
  PutLe16(s, v >> 16);
}

namespace {

std::string Headers(int width, int height, int bits, int paletteEntries) {
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(paletteEntries);
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  std::string s;
  s += "BM";
  PutLe32(s, offset + imageSize);
  PutLe32(s, 0);
  PutLe32(s, offset);
  PutLe32(s, 40);
  PutLe32(s, static_cast<std::uint32_t>(width));
  PutLe32(s, static_cast<std::uint32_t>(height));
  PutLe16(s, 1);
  PutLe16(s, static_cast<std::uint32_t>(bits));
  PutLe32(s, 0);  // no compression
  PutLe32(s, imageSize);
  PutLe32(s, 2835);  // 72 dpi
  PutLe32(s, 2835);
  PutLe32(s, static_cast<std::uint32_t>(paletteEntries));
  PutLe32(s, 0);
  return s;
}

}  // namespace

std::string EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels) {
  std::string s = Headers(width, height, 24, 0);
  const std::size_t pad = (4 - (static_cast<std::size_t>(width) * 3) % 4) % 4;
  for (int y = height - 1; y >= 0; --y) {
    const Rgb* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      s += static_cast<char>(row[x].b);
      s += static_cast<char>(row[x].g);
      s += static_cast<char>(row[x].r);
    }
    s.append(pad, '\0');
  }
  return s;
}

std::string EncodeBmp8(int width, int height, const std::vector<Rgb>& palette,
                       const std::vector<std::uint8_t>& indices) {
  std::string s = Headers(width, height, 8, static_cast<int>(palette.size()));
  for (const Rgb& c : palette) {
    s += static_cast<char>(c.b);
    s += static_cast<char>(c.g);
    s += static_cast<char>(c.r);
    s += '\0';
  }
  const std::size_t pad = (4 - static_cast<std::size_t>(width) % 4) % 4;
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    s.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(width));
    s.append(pad, '\0');
  }
  return s;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  const std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}
