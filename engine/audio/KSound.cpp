// KSound: the shared device, volumes and samples. Streams are in KSoundStream.cpp.
#include "engine/audio/KSound.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

int liveSounds = 0;  // main thread only
std::atomic<std::int32_t> effectsVolume{100};
std::atomic<std::int32_t> musicVolume{100};  // read by the refill threads

// Hundredths of a decibel below the recorded level, by volume index.
constexpr std::int32_t kAttenuation[] = {
    10000, 6623, 5623, 5495, 5370, 5248, 5129, 5012, 4898, 4786,
    4677,  4571, 4467, 4365, 4266, 4169, 4074, 3981, 3890, 3802,
    3715,  3631, 3548, 3467, 3388, 3311, 3236, 3162, 3090, 3020,
    2951,  2884, 2818, 2754, 2692, 2630, 2570, 2512, 2455, 2399,
    2344,  2291, 2239, 2188, 2138, 2089, 2042, 1995, 1950, 1905,
    1862,  1820, 1778, 1738, 1698, 1660, 1622, 1585, 1549, 1514,
    1479,  1445, 1413, 1380, 1349, 1318, 1288, 1259, 1230, 1202,
    1175,  1148, 1122, 1096, 1072, 1070, 1068, 1066, 1064, 1062,
    1060,  1058, 1056, 1054, 1052, 1050, 1048, 1046, 1044, 1042,
    1040,  1038, 1032, 1030, 1028, 1000, 800,  600,  400,  200,
};
static_assert(sizeof kAttenuation / sizeof kAttenuation[0] == 100, "one entry per volume index");

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

// ---- The object and the shared device ----------------------------------------------------

KSound::KSound() : decoder_(new OggVorbis_File) {
  std::memset(decoder_.get(), 0, sizeof(OggVorbis_File));
  // Every live sound is counted, with or without a device, so the count never goes below
  // zero when the device could not be opened (which used to happen and then kept the
  // device from ever being released). Without a device the sounds load and play unheard.
  if (liveSounds == 0) mixer::Open();
  ++liveSounds;
  mixer::Attach(&voice_);
}

KSound::~KSound() {
  --liveSounds;
  StopStream();
  FreeBuffers();
  mixer::Detach(&voice_);
  if (liveSounds <= 0) {
    liveSounds = 0;
    mixer::Close();
  }
}

int KSound::LiveSounds() { return liveSounds; }
bool KSound::HasDevice() { return mixer::HasDevice(); }
void KSound::CloseDevice() { mixer::Close(); }

// ---- Buffers -----------------------------------------------------------------------------

bool KSound::CreateSampleBuffer() {
  if (!format_ || !data_) return false;
  std::vector<std::int16_t> pcm;
  // Converted once here to the device's format: playing is then a rewind.
  if (!ConvertToDevice(*format_, data_, dataSize_, pcm) || pcm.empty()) return false;
  ReleaseBuffer();
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.pcm.swap(pcm);
    voice_.channels = mixer::kChannels;
    voice_.frames = static_cast<std::uint32_t>(voice_.pcm.size() / mixer::kChannels);
    voice_.halfFrames = 0;
    voice_.step = std::uint64_t{1} << 32;
    voice_.position = 0;
    voice_.playing = false;
    voice_.looping = false;
    voice_.halfEvents[0] = voice_.halfEvents[1] = nullptr;
    mixer::SetVolumeLocked(voice_, 0);
  }
  hasBuffer_ = true;
  return true;
}

bool KSound::CreateStreamBuffer() {
  if (!format_ || !IsPlayableFormat(*format_)) return false;
  ReleaseBuffer();
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.pcm.assign(2 * mixer::kHalfValues, 0);  // starts silent
    voice_.channels = format_->channels;
    voice_.halfFrames = kStreamHalfBytes / (2u * format_->channels);
    voice_.frames = 2 * voice_.halfFrames;
    voice_.step = (static_cast<std::uint64_t>(format_->samplesPerSec) << 32) / mixer::kRate;
    voice_.position = 0;
    voice_.playing = false;
    voice_.looping = true;
    voice_.halfEvents[0] = voice_.halfEvents[1] = nullptr;
    mixer::SetVolumeLocked(voice_, 0);
  }
  hasBuffer_ = true;
  return true;
}

void KSound::ReleaseBuffer() {
  std::vector<std::int16_t> old;
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.playing = false;
    voice_.pcm.swap(old);
    voice_.frames = 0;
    voice_.halfFrames = 0;
    voice_.position = 0;
    voice_.halfEvents[0] = voice_.halfEvents[1] = nullptr;
  }
  hasBuffer_ = false;
}

void KSound::FreeBuffers() {
  ReleaseBuffer();
  if (hasDecoder_) {
    ov_clear(decoder_.get());
    hasDecoder_ = false;
  }
  std::vector<std::uint8_t>().swap(fileData_);
  format_ = nullptr;
  data_ = nullptr;
  dataSize_ = 0;
  fileReadPosition_ = 0;
  fileSize_ = 0;
}

// ---- Samples -----------------------------------------------------------------------------

bool KSound::LoadSample(const char* path, std::int32_t volume, bool loop) {
  // The stream is stopped before the kind changes: its thread reads the kind until it ends.
  StopStream();
  isStream_ = false;
  FreeBuffers();
  loop_ = loop ? 1 : 0;
  volume_.store(volume);
  if (!path) return false;
  if (std::strstr(path, ".ogg")) return LoadOggSample(path);

  // RIFF WAVE: the whole file in memory, then its "fmt " and "data" chunks.
  if (!ReadSoundFile(path, fileData_)) return false;
  const std::size_t size = fileData_.size();
  const std::uint8_t* bytes = fileData_.data();
  bool fmtSeen = false;
  bool dataSeen = false;
  std::int32_t declared = 0;
  std::size_t dataStart = 0;
  // Kept as designed: tags are looked for at every byte rather than chunk by chunk, the
  // first "fmt " and the first "data" win, and the scan ends at "data".
  // A tag counts only when its 4-byte size lies inside the file (the scan used to read the
  // size of a tag in the last bytes of the file from beyond its end).
  for (std::size_t i = 0; i + 8 <= size; ++i) {
    if (!fmtSeen && std::memcmp(bytes + i, "fmt ", 4) == 0) {
      fmtSeen = true;
      const std::size_t body = i + 8;
      // The record is read whatever size the chunk declares, but a record cut short by the
      // end of the file is no format.
      const std::size_t present = size - body;
      if (present >= 16) {
        const std::size_t declaredBody = std::max<std::size_t>(Le32(bytes + i + 4), 16);
        sampleFormat_ = ParseWaveFormat(bytes + body, std::min(declaredBody, present));
        format_ = &sampleFormat_;
      }
    }
    if (std::memcmp(bytes + i, "data", 4) == 0) {
      dataSeen = true;
      declared = static_cast<std::int32_t>(Le32(bytes + i + 4));
      dataStart = i + 8;
      break;
    }
  }
  if (!dataSeen || declared <= 0) {
    FreeBuffers();
    return false;
  }
  // Mended: a "data" chunk whose declared size runs past the end of the file used to be
  // copied from beyond the file's end; it is cut to the bytes present.
  const std::size_t present = size - dataStart;
  dataSize_ = static_cast<std::uint32_t>(std::min<std::size_t>(static_cast<std::size_t>(declared), present));
  data_ = bytes + dataStart;
  if (dataSize_ == 0 || !CreateSampleBuffer()) {
    FreeBuffers();
    return false;
  }
  return true;
}

namespace {
constexpr int kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 1 : 0;

// Opens the decoder on a file; the decoder owns the file once this succeeds.
bool OpenOggFile(const char* path, OggVorbis_File* vf) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  if (ov_open(f, vf, nullptr, 0) != 0) {
    std::fclose(f);  // Mended: a refused file stays ours to close (it used to leak)
    return false;
  }
  return true;
}
}  // namespace

bool KSound::LoadOggSample(const char* path) {
  FreeBuffers();
  OggVorbis_File* vf = decoder_.get();
  if (!OpenOggFile(path, vf)) return false;
  hasDecoder_ = true;

  // First pass: the decoded size.
  std::uint64_t total = 0;
  {
    std::vector<char> scratch(16384);
    int section = 0;
    long got;
    while ((got = ov_read(vf, scratch.data(), static_cast<int>(scratch.size()), kHostBigEndian, 2, 1, &section)) > 0) {
      total += static_cast<std::uint64_t>(got);
    }
  }
  ov_clear(vf);
  hasDecoder_ = false;
  if (total == 0 || total > 0xFFFFFFFFu) return false;

  // Second pass: the PCM itself.
  if (!OpenOggFile(path, vf)) return false;
  hasDecoder_ = true;
  vorbis_info* info = ov_info(vf, -1);
  if (!info) {
    FreeBuffers();
    return false;
  }
  sampleFormat_ = Pcm16Format(info->channels, info->rate);
  try {
    fileData_.assign(static_cast<std::size_t>(total), 0);
  } catch (const std::bad_alloc&) {
    FreeBuffers();
    return false;
  }
  std::uint64_t filled = 0;
  int section = 0;
  while (filled < total) {
    const int room = static_cast<int>(std::min<std::uint64_t>(total - filled, INT_MAX));
    const long got = ov_read(vf, reinterpret_cast<char*>(fileData_.data() + filled), room, kHostBigEndian, 2, 1, &section);
    if (got <= 0) break;
    filled += static_cast<std::uint64_t>(got);
  }
  ov_clear(vf);
  hasDecoder_ = false;
  format_ = &sampleFormat_;
  data_ = fileData_.data();
  dataSize_ = static_cast<std::uint32_t>(total);
  if (!CreateSampleBuffer()) {
    FreeBuffers();
    return false;
  }
  return filled > 0;
}

void KSound::Play() {
  if (!hasBuffer_) return;
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.position = 0;
  }
  SetVolume(volume_.load());
  std::lock_guard<std::mutex> hold(mixer::Lock());
  voice_.looping = isStream_ || loop_ != 0;
  mixer::StartLocked(voice_);
}

void KSound::Stop() {
  if (!hasBuffer_) return;
  std::lock_guard<std::mutex> hold(mixer::Lock());
  voice_.playing = false;
}

bool KSound::IsPlaying() const {
  std::lock_guard<std::mutex> hold(mixer::Lock());
  return voice_.playing;
}

std::int32_t KSound::BufferVolume() const {
  std::lock_guard<std::mutex> hold(mixer::Lock());
  return voice_.hundredths;
}

// ---- Volumes -----------------------------------------------------------------------------

int KSound::VolumeIndex(std::int32_t master, std::int32_t percent) {
  const std::int64_t i = static_cast<std::int64_t>(master) * percent / 100;
  return static_cast<int>(std::clamp<std::int64_t>(i, 0, 99));
}

std::int32_t KSound::Attenuation(int index) { return kAttenuation[std::clamp(index, 0, 99)]; }

std::int32_t KSound::MusicVolume() { return musicVolume.load(); }
std::int32_t KSound::EffectsVolume() { return effectsVolume.load(); }

void KSound::SetVolume(std::int32_t percent) {
  volume_.store(percent);
  if (!hasBuffer_) return;
  const std::int32_t master = isStream_ ? musicVolume.load() : effectsVolume.load();
  const std::int32_t hundredths = -kAttenuation[VolumeIndex(master, percent)];
  std::lock_guard<std::mutex> hold(mixer::Lock());
  mixer::SetVolumeLocked(voice_, hundredths);
}

void KSound::SetGlobalVolumes(std::int32_t musicPercent, std::int32_t effectsPercent) {
  if (effectsPercent >= 0) effectsVolume.store(effectsPercent);
  if (musicPercent >= 0) musicVolume.store(musicPercent);
}
