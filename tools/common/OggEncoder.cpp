#include "tools/common/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

namespace {
void Append(std::string& out, const ogg_page& page) {
  out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
  out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}
}  // namespace

std::string EncodeOggVorbis(const std::vector<float>& samples, int channels, int rate, float quality) {
  std::string out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "ENCODER", "zindorumba");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x5a52);  // fixed serial: deterministic output

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) Append(out, page);

  const long frames = static_cast<long>(samples.size()) / channels;
  const long chunk = 4096;
  long done = 0;
  bool eos = false;
  while (!eos) {
    const long n = std::min(chunk, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (long i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
          const float v = samples[static_cast<std::size_t>((done + i) * channels + c)];
          buffer[c][i] = std::max(-1.0f, std::min(1.0f, v));
        }
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      done += n;
    } else {
      vorbis_analysis_wrote(&vd, 0);  // end of stream
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) {
          Append(out, page);
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n <= 0 && !eos) {
      while (ogg_stream_flush(&os, &page) != 0) {
        Append(out, page);
        if (ogg_page_eos(&page)) eos = true;
      }
      eos = true;
    }
  }

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}
