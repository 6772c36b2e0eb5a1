// KSound streams: the music. The whole Ogg Vorbis file stays in memory; a refill thread
// decodes it into whichever half of the looping ring the play cursor has just left.
#include "engine/audio/KSound.h"

#include "engine/services/Services.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {
constexpr int kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 1 : 0;
constexpr std::chrono::milliseconds kEventWait{50};
}  // namespace

bool KSound::LoadStream(const char* path) {
  StopStream();
  isStream_ = true;
  FreeBuffers();
  if (!ReadSoundFile(path, fileData_)) return false;
  fileSize_ = static_cast<std::uint32_t>(fileData_.size());
  fileReadPosition_ = 0;

  const ov_callbacks source = {SourceRead, SourceSeek, SourceClose, SourceTell};
  vorbis_info* info = nullptr;
  if (ov_open_callbacks(this, decoder_.get(), nullptr, 0, source) == 0) {
    hasDecoder_ = true;
    info = ov_info(decoder_.get(), -1);
  }
  if (!info) {
    ShowMessageBox("error", "error could not detect ogg file");
    FreeBuffers();
    return false;
  }
  streamFormat_ = Pcm16Format(info->channels, info->rate);
  format_ = &streamFormat_;
  if (!CreateStreamBuffer()) {
    FreeBuffers();
    return false;
  }
  streamEnded_.store(false);
  ov_time_seek(decoder_.get(), 0.0);
  std::lock_guard<std::mutex> hold(mixer::Lock());
  voice_.position = 0;
  return true;
}

void KSound::PlayStream(bool loop) {
  StopStream();
  if (!hasBuffer_) return;
  ov_time_seek(decoder_.get(), 0.0);
  // The end flag and the loop flag are set before the refill thread starts: it reads them
  // from its first refill on (they used to be set after the buffer was already playing).
  streamEnded_.store(false);
  loop_ = loop ? 1 : 0;
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.playing = false;
    voice_.position = 0;
    // Mended: a restart used to begin with the half of the old playback left in the ring;
    // the ring is cleared, so it begins with silence.
    std::fill(voice_.pcm.begin(), voice_.pcm.end(), std::int16_t{0});
  }
  StartRefillThread();
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.looping = true;
    mixer::StartLocked(voice_);
  }
  SetVolume(volume_.load());
}

bool KSound::StartRefillThread() {
  threadReady_.store(false);
  if (!hasBuffer_) return false;
  // The wake-ups must be in place before the ring plays: set here, before the thread starts
  // (the caller used to spin until the new thread had set them, a wait for the scheduler in
  // the middle of a level start).
  partEvents_[0].Reset();
  partEvents_[1].Reset();
  stopRequested_.store(false);
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.playing = false;
    voice_.halfEvents[0] = &partEvents_[0];
    voice_.halfEvents[1] = &partEvents_[1];
  }
  try {
    thread_ = std::thread(&KSound::RefillLoop, this);
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.halfEvents[0] = voice_.halfEvents[1] = nullptr;
    return false;
  }
  threadReady_.store(true);
  return true;
}

void KSound::StopStream() {
  threadReady_.store(false);
  if (!thread_.joinable()) return;
  if (hasBuffer_) {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.playing = false;
    voice_.position = 0;
  }
  stopRequested_.store(true);
  // Woken at once: a stop (every change of music) used to wait for the thread's next
  // wake-up, up to two event waits of 50 ms, and held up the frame that asked for it.
  partEvents_[0].Set();
  partEvents_[1].Set();
  thread_.join();
  std::lock_guard<std::mutex> hold(mixer::Lock());
  voice_.halfEvents[0] = voice_.halfEvents[1] = nullptr;
}

void KSound::RefillLoop() {
  halfScratch_.assign(mixer::kHalfValues, 0);

  std::int32_t appliedMusicVolume = -1;
  for (;;) {
    // The main thread only writes the master volume; the change is applied here.
    const std::int32_t master = MusicVolume();
    if (master != appliedMusicVolume) {
      SetVolume(volume_.load());
      appliedMusicVolume = master;
    }
    if (partEvents_[0].Wait(kEventWait)) {  // the cursor entered the first half
      if (stopRequested_.load()) break;
      RefillHalf(1);
      std::this_thread::yield();
    }
    if (partEvents_[1].Wait(kEventWait)) {  // the cursor entered the second half
      if (stopRequested_.load()) break;
      RefillHalf(0);
      std::this_thread::yield();
    }
    if (!hasBuffer_ || stopRequested_.load()) break;
    std::this_thread::yield();
  }
}

void KSound::RefillHalf(int half) {
  if (!hasBuffer_) return;
  std::fill(halfScratch_.begin(), halfScratch_.end(), std::int16_t{0});
  char* dest = reinterpret_cast<char*>(halfScratch_.data());
  long last = 0;
  if (!streamEnded_.load()) {
    std::uint32_t filled = 0;
    while (filled < kStreamHalfBytes) {
      int section = 0;
      last = ov_read(decoder_.get(), dest + filled, static_cast<int>(kStreamHalfBytes - filled), kHostBigEndian, 2, 1,
                     &section);
      if (last > 0) {
        filled += static_cast<std::uint32_t>(last);
        continue;
      }
      if (loop_) {
        // Kept as designed: no crossfade; the rest of this half stays silent and the music
        // starts again at the next half.
        ov_time_seek(decoder_.get(), 0.0);
        streamEnded_.store(false);
      } else {
        streamEnded_.store(true);
      }
      break;
    }
  }
  if (last < 0) std::fill(halfScratch_.begin(), halfScratch_.end(), std::int16_t{0});  // a decoding error plays as silence
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    std::copy(halfScratch_.begin(), halfScratch_.end(), voice_.pcm.begin() + half * mixer::kHalfValues);
  }
  if (streamEnded_.load()) EndStream();
  refills_.fetch_add(1);
}

void KSound::EndStream() {
  // Kept as designed: the ring stops at once, so the half that was playing when the
  // decoder ran dry is cut off and a non-looping piece loses up to its last two halves.
  {
    std::lock_guard<std::mutex> hold(mixer::Lock());
    voice_.playing = false;
    std::fill(voice_.pcm.begin(), voice_.pcm.end(), std::int16_t{0});
    voice_.position = 0;
  }
  ov_time_seek(decoder_.get(), 0.0);
}

// ---- In-memory source for the decoder ------------------------------------------------------

std::size_t KSound::SourceRead(void* dest, std::size_t size, std::size_t count, void* source) {
  if (!source) return static_cast<std::size_t>(-1);
  KSound* s = static_cast<KSound*>(source);
  if (size != 0 && count > SIZE_MAX / size) return static_cast<std::size_t>(-1);
  const std::size_t wanted = size * count;
  if (s->fileReadPosition_ >= s->fileSize_) return 0;
  const std::size_t n = std::min<std::size_t>(wanted, s->fileSize_ - s->fileReadPosition_);
  std::memcpy(dest, s->fileData_.data() + s->fileReadPosition_, n);
  s->fileReadPosition_ += static_cast<std::uint32_t>(n);
  return n;  // bytes, not items: the decoder always asks with size 1
}

int KSound::SourceSeek(void* source, std::int64_t offset, int whence) {
  if (!source) return -1;
  KSound* s = static_cast<KSound*>(source);
  const std::uint32_t low = static_cast<std::uint32_t>(offset);
  std::uint32_t pos;
  switch (whence) {
    case SEEK_SET: pos = low; break;
    case SEEK_CUR: pos = s->fileReadPosition_ + low; break;
    case SEEK_END: pos = s->fileSize_ + low; break;
    default: pos = s->fileSize_; break;
  }
  s->fileReadPosition_ = std::min(pos, s->fileSize_);
  return 0;
}

int KSound::SourceClose(void* /*source*/) { return -1; }

long KSound::SourceTell(void* source) {
  if (!source) return -1;
  return static_cast<long>(static_cast<KSound*>(source)->fileReadPosition_);
}
