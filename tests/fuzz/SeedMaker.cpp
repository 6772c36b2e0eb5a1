// zindo-fuzz-seeds OUTDIR: writes a small seed corpus for every reader into OUTDIR/<reader>/,
// each file made here from our own writers: the shapes of file the game really reads, small
// enough that the fuzzers run fast, with the variants the readers handle (every bitmap depth,
// JPEG kinds, WAVE layouts, mono and stereo Vorbis, short and long raw files).
#include "tools/common/BmpWriter.h"
#include "tools/common/OggEncoder.h"

#include "tools/mkdata/levels/LevelSource.h"

#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string outDir;
int written = 0;

void Seed(const std::string& reader, const std::string& name, const std::string& bytes) {
  if (!WriteFileBytes(outDir + "/" + reader + "/" + name, bytes)) {
    std::fprintf(stderr, "zindo-fuzz-seeds: cannot write %s/%s\n", reader.c_str(), name.c_str());
    std::exit(1);
  }
  ++written;
}

std::vector<Rgb> Pattern(int w, int h) {
  std::vector<Rgb> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px.push_back(Rgb{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 60),
                       static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0)});
  return px;
}

// ---- Bitmaps -----------------------------------------------------------------------------

// File and info headers for the depths EncodeBmp24 / EncodeBmp8 do not write.
std::string BmpHeaders(int w, int h, int bits, std::uint32_t compression, int palette, std::uint32_t imageSize,
                       std::uint32_t infoSize = 40, std::uint32_t extra = 0) {
  const std::uint32_t offset = 14 + infoSize + extra + 4 * static_cast<std::uint32_t>(palette);
  std::string s = "BM";
  PutLe32(s, offset + imageSize);
  PutLe32(s, 0);
  PutLe32(s, offset);
  PutLe32(s, infoSize);
  PutLe32(s, static_cast<std::uint32_t>(w));
  PutLe32(s, static_cast<std::uint32_t>(h));
  PutLe16(s, 1);
  PutLe16(s, static_cast<std::uint32_t>(bits));
  PutLe32(s, compression);
  PutLe32(s, imageSize);
  PutLe32(s, 2835);
  PutLe32(s, 2835);
  PutLe32(s, static_cast<std::uint32_t>(palette));
  PutLe32(s, 0);
  return s;
}

void Bitmaps() {
  Seed("picture", "rgb24.bmp", EncodeBmp24(5, 3, Pattern(5, 3)));
  Seed("picture", "pal8.bmp",
       EncodeBmp8(3, 3, {{0, 0, 255}, {0, 255, 0}, {255, 255, 255}}, {0, 1, 2, 2, 1, 0, 1, 1, 1}));
  {  // 32 bits with bit fields, top-down
    std::string s = BmpHeaders(4, -2, 32, 3, 0, 32, 40, 12);
    PutLe32(s, 0x00ff0000);
    PutLe32(s, 0x0000ff00);
    PutLe32(s, 0x000000ff);
    for (int i = 0; i < 8; ++i) PutLe32(s, 0x00102030u * static_cast<std::uint32_t>(i));
    Seed("picture", "bitfields32.bmp", s);
  }
  {  // 16 bits 5-6-5 with bit fields, odd width (padded rows)
    std::string s = BmpHeaders(3, 2, 16, 3, 0, 16, 40, 12);
    PutLe32(s, 0xf800);
    PutLe32(s, 0x07e0);
    PutLe32(s, 0x001f);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) PutLe16(s, 0x1234u * static_cast<std::uint32_t>(x + 3 * y));
      PutLe16(s, 0);
    }
    Seed("picture", "rgb565.bmp", s);
  }
  {  // 16 bits 5-5-5 plain
    std::string s = BmpHeaders(2, 2, 16, 0, 0, 8);
    for (int i = 0; i < 4; ++i) PutLe16(s, 0x7c00u >> (5 * (i % 3)));
    Seed("picture", "rgb555.bmp", s);
  }
  {  // 4 bits, 16-colour palette
    std::string s = BmpHeaders(5, 2, 4, 0, 16, 8);
    for (int i = 0; i < 16; ++i) PutLe32(s, 0x111111u * static_cast<std::uint32_t>(i));
    s += std::string("\x01\x23\x40\x00\x56\x78\x90\x00", 8);
    Seed("picture", "pal4.bmp", s);
  }
  {  // 1 bit, two colours, 9 pixels a row
    std::string s = BmpHeaders(9, 2, 1, 0, 2, 8);
    PutLe32(s, 0x000000);
    PutLe32(s, 0xffffff);
    s += std::string("\xa5\x80\x00\x00\x5a\x00\x00\x00", 8);
    Seed("picture", "mono1.bmp", s);
  }
  {  // 8 bits run-length coded: runs, a literal, end of line, delta, end of picture
    const std::string rle("\x03\x01\x00\x03\x02\x00\x01\x00\x00\x00\x00\x02\x01\x00\x02\x01\x00\x01", 18);
    std::string s = BmpHeaders(6, 2, 8, 1, 3, static_cast<std::uint32_t>(rle.size()));
    PutLe32(s, 0x0000ff);
    PutLe32(s, 0x00ff00);
    PutLe32(s, 0xff0000);
    Seed("picture", "rle8.bmp", s + rle);
  }
  {  // 4 bits run-length coded
    const std::string rle("\x05\x12\x00\x00\x04\x34\x00\x01", 8);
    std::string s = BmpHeaders(5, 2, 4, 2, 16, static_cast<std::uint32_t>(rle.size()));
    for (int i = 0; i < 16; ++i) PutLe32(s, 0x0f0f0fu * static_cast<std::uint32_t>(i));
    Seed("picture", "rle4.bmp", s + rle);
  }
  {  // the old 12-byte core header, 24 bits
    std::string s = "BM";
    PutLe32(s, 14 + 12 + 8);
    PutLe32(s, 0);
    PutLe32(s, 14 + 12);
    PutLe32(s, 12);
    PutLe16(s, 2);
    PutLe16(s, 1);
    PutLe16(s, 1);
    PutLe16(s, 24);
    s += std::string("\x10\x20\x30\x40\x50\x60\x00\x00", 8);
    Seed("picture", "core24.bmp", s);
  }
}

// ---- JPEG --------------------------------------------------------------------------------

std::string Jpeg(int w, int h, bool gray, bool progressive, int quality, int restartRows, bool subsample) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = gray ? 1 : 3;
  c.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  c.restart_in_rows = restartRows;
  if (!gray && !subsample)
    for (int i = 0; i < 3; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&c, TRUE);
  const std::vector<Rgb> px = Pattern(w, h);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
  while (c.next_scanline < c.image_height) {
    const Rgb* src = px.data() + static_cast<std::size_t>(c.next_scanline) * static_cast<std::size_t>(w);
    for (int x = 0; x < w; ++x) {
      if (gray) {
        row[static_cast<std::size_t>(x)] = src[x].g;
      } else {
        row[static_cast<std::size_t>(x) * 3] = src[x].r;
        row[static_cast<std::size_t>(x) * 3 + 1] = src[x].g;
        row[static_cast<std::size_t>(x) * 3 + 2] = src[x].b;
      }
    }
    JSAMPROW rp = row.data();
    jpeg_write_scanlines(&c, &rp, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<const char*>(mem), size);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return bytes;
}

void Jpegs() {
  Seed("picture", "baseline.jpg", Jpeg(8, 8, false, false, 75, 0, true));
  Seed("picture", "odd420.jpg", Jpeg(13, 7, false, false, 50, 0, true));
  Seed("picture", "full444.jpg", Jpeg(9, 9, false, false, 90, 0, false));
  Seed("picture", "gray.jpg", Jpeg(9, 5, true, false, 75, 0, false));
  Seed("picture", "progressive.jpg", Jpeg(16, 8, false, true, 60, 0, true));
  Seed("picture", "restarts.jpg", Jpeg(16, 24, false, false, 40, 1, true));
}

// ---- WAVE --------------------------------------------------------------------------------

struct Wave {
  int tag = 1;
  int channels = 2;
  std::uint32_t rate = 44100;
  int bits = 16;
  int frames = 48;
  bool extensible = false;
  bool dataFirst = false;
  std::int64_t declared = -1;  // data size declared; -1 the true size
  std::string trailing;        // after the data
};

std::string MakeWave(const Wave& w) {
  std::string data;
  const int bytes = w.bits / 8;
  for (int f = 0; f < w.frames; ++f) {
    const double v = std::sin(f * 0.3) * 0.6;
    for (int c = 0; c < w.channels; ++c) {
      if (w.tag == 3) {
        const float x = static_cast<float>(v);
        data.append(reinterpret_cast<const char*>(&x), 4);
      } else {
        const std::int32_t s = static_cast<std::int32_t>(v * 2147483000.0);
        if (bytes == 1) {
          data += static_cast<char>((s >> 24) + 128);
        } else {
          for (int b = 4 - bytes; b < 4; ++b) data += static_cast<char>(s >> (8 * b));
        }
      }
    }
  }
  std::string fmt;
  PutLe16(fmt, w.extensible ? 0xFFFEu : static_cast<std::uint32_t>(w.tag));
  PutLe16(fmt, static_cast<std::uint32_t>(w.channels));
  PutLe32(fmt, w.rate);
  PutLe32(fmt, w.rate * static_cast<std::uint32_t>(w.channels * bytes));
  PutLe16(fmt, static_cast<std::uint32_t>(w.channels * bytes));
  PutLe16(fmt, static_cast<std::uint32_t>(w.bits));
  if (w.extensible) {
    PutLe16(fmt, 22);
    PutLe16(fmt, static_cast<std::uint32_t>(w.bits));
    PutLe32(fmt, 3);
    PutLe32(fmt, static_cast<std::uint32_t>(w.tag));  // sub-format GUID: tag, then the fixed tail
    fmt += std::string("\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 12);
  }
  std::string fmtChunk = "fmt ";
  PutLe32(fmtChunk, static_cast<std::uint32_t>(fmt.size()));
  fmtChunk += fmt;
  std::string dataChunk = "data";
  PutLe32(dataChunk, static_cast<std::uint32_t>(w.declared < 0 ? static_cast<std::int64_t>(data.size()) : w.declared));
  dataChunk += data + w.trailing;
  std::string body = "WAVE" + (w.dataFirst ? dataChunk + fmtChunk : fmtChunk + dataChunk);
  std::string s = "RIFF";
  PutLe32(s, static_cast<std::uint32_t>(body.size()));
  return s + body;
}

void Waves() {
  Seed("wave_sample", "pcm16_stereo.wav", MakeWave({}));
  Wave w;
  w.channels = 1, w.bits = 8, w.rate = 22050;
  Seed("wave_sample", "pcm8_mono_22k.wav", MakeWave(w));
  w = Wave{};
  w.bits = 24, w.rate = 48000;
  Seed("wave_sample", "pcm24_48k.wav", MakeWave(w));
  w = Wave{};
  w.bits = 32, w.channels = 1, w.rate = 11025;
  Seed("wave_sample", "pcm32_mono.wav", MakeWave(w));
  w = Wave{};
  w.tag = 3, w.bits = 32;
  Seed("wave_sample", "float32.wav", MakeWave(w));
  w = Wave{};
  w.extensible = true, w.channels = 3;
  Seed("wave_sample", "extensible_3ch.wav", MakeWave(w));
  w = Wave{};
  w.dataFirst = true;
  Seed("wave_sample", "data_before_fmt.wav", MakeWave(w));
  w = Wave{};
  w.declared = 100000;
  Seed("wave_sample", "declared_too_long.wav", MakeWave(w));
  w = Wave{};
  w.trailing = "LIST\x04\0\0\0INFO";
  w.frames = 7;
  Seed("wave_sample", "trailing_chunk.wav", MakeWave(w));
}

// ---- Ogg Vorbis --------------------------------------------------------------------------

std::vector<float> Tone(int frames, int channels, double step) {
  std::vector<float> s;
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) s.push_back(static_cast<float>(0.4 * std::sin(f * step * (c + 1))));
  return s;
}

void Oggs() {
  const std::string monoShort = EncodeOggVorbis(Tone(400, 1, 0.05), 1, 22050, 0.0f);
  const std::string stereoShort = EncodeOggVorbis(Tone(300, 2, 0.08), 2, 44100, 0.1f);
  Seed("ogg_sample", "mono_22k.ogg", monoShort);
  Seed("ogg_sample", "stereo_44k.ogg", stereoShort);
  Seed("ogg_sample", "mono_8k.ogg", EncodeOggVorbis(Tone(200, 1, 0.2), 1, 8000, -0.1f));
  Seed("ogg_stream", "mono_22k.ogg", monoShort);
  Seed("ogg_stream", "stereo_44k.ogg", stereoShort);
  // Long enough to fill more than two halves of the ring.
  Seed("ogg_stream", "stereo_long.ogg", EncodeOggVorbis(Tone(12000, 2, 0.03), 2, 44100, -0.1f));
}

// ---- zindo.ini, raw files, start settings --------------------------------------------------

void Small() {
  std::string ini = "[DATA]\r\nlevelcount=20\r\n\r\n[LEVELS]\r\n";
  for (int i = 1; i <= 20; ++i) ini += "L" + std::to_string(i) + "=level" + (i < 10 ? "0" : "") + std::to_string(i) + ".map\r\n";
  Seed("ini", "zindo.ini", ini);
  Seed("ini", "unix_lines.ini", "[LEVELS]\nL1=a.map\nL10=b.map\n[DATA]\nlevelcount= -7\n");
  Seed("ini", "later_section.ini", "[DATA]\r\n[LEVELS]\r\nlevelcount=+00042x\r\nL2=two\r\nL1=\r\n");
  Seed("ini", "no_end.ini", "[LEVELS]\r\nL209=last.map");

  auto le = [](std::initializer_list<std::int32_t> values) {
    std::string s;
    for (std::int32_t v : values) PutLe32(s, static_cast<std::uint32_t>(v));
    return s;
  };
  Seed("volume_prefs", "levels_3_7", le({3, 7}));
  Seed("volume_prefs", "short", std::string("\x03\0\0", 3));
  Seed("volume_prefs", "long", le({9, 0, 12345}));
  Seed("highest_level", "level_5", le({5}));
  Seed("highest_level", "short", std::string("\x05\0", 2));

  std::string table;
  const char* names[] = {"ZIG", "OOK", "BOP", "TAM", "KIP", "LUA", "BUY", "Z.R", "NOW"};
  for (int i = 0; i < 9; ++i) {
    std::string name(names[i]);
    name.resize(256, '\0');
    table += name;
    PutLe32(table, static_cast<std::uint32_t>(9 - i));
  }
  Seed("high_scores", "defaults.raw", table);
  Seed("high_scores", "partial.raw", table.substr(0, 300));

  Seed("start_settings", "zero", std::string(1, '\0'));
  Seed("start_settings", "one", "\x01");
  Seed("start_settings", "two", "\x02");
}

void LevelMaps() {
  LevelSource level;
  std::string error;
  const char* text =
      "name: Seed\nisland: island2.bmp\nmusic: rumba2.ogg\ngravity: 0.04\nmaxspeed: 6\nbouncestep: 0.25\n"
      "top: 22\nbrick a = crate_pale 1\nbrick s = stone 999\nbrick g = crate_green 2 GunBat\n"
      "brick b = crate_blue 0\nbrick t = big_tiki 150 Surprise\ngrid:\n"
      "aaaaggaa..ss..tt\n..bb..aaaa....tt\n";
  if (!ParseLevelSource(text, level, error)) {
    std::fprintf(stderr, "zindo-fuzz-seeds: level seed: %s\n", error.c_str());
    std::exit(1);
  }
  const std::string map = BuildLevelMap(level);
  Seed("level_map", "level.map", map);
  Seed("level_map", "short.map", map.substr(0, 2000));
  std::string unterminated = map;
  for (int i = 12; i < 1052; ++i) unterminated[static_cast<std::size_t>(i)] = 'x';
  Seed("level_map", "names_without_end.map", unterminated);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zindo-fuzz-seeds OUTDIR\n");
    return 2;
  }
  outDir = argv[1];
  Bitmaps();
  Jpegs();
  Waves();
  Oggs();
  Small();
  LevelMaps();
  std::printf("zindo-fuzz-seeds: %d seeds in %s\n", written, outDir.c_str());
  return 0;
}
