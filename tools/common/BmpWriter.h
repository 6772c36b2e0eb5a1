// Windows bitmap (BMP) files, written bottom-up with BITMAPINFOHEADER, rows padded to 4 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  std::uint8_t r, g, b;
};

// 24 bits per pixel; pixels row-major from the top-left, width * height entries.
std::string EncodeBmp24(int width, int height, const std::vector<Rgb>& pixels);
// 8 bits per pixel with a palette of up to 256 colours; indices row-major from the top-left.
std::string EncodeBmp8(int width, int height, const std::vector<Rgb>& palette,
                       const std::vector<std::uint8_t>& indices);

// Little-endian 16- and 32-bit values appended to a byte string (file headers).
void PutLe16(std::string& s, std::uint32_t v);
void PutLe32(std::string& s, std::uint32_t v);

// Writes bytes to path, creating folders on the way. Returns false on any failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
