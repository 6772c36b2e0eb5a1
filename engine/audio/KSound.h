// The engine's sound object. One class serves the two kinds of sound of the game:
//  - a sample, decoded whole at load into its own voice and played from the start on
//    demand (every sound effect);
//  - a stream, an Ogg Vorbis file kept in memory and decoded while it plays into a small
//    looping ring of two halves that a refill thread of its own rewrites (the music).
// All live sounds share one output device, opened with the first sound and closed with the
// last. Volumes are percents, mapped through a 100-entry table to hundredths of a decibel;
// two master volumes, music (streams) and effects (samples), apply on top.
#pragma once

#include "engine/audio/Mixer.h"
#include "engine/audio/PcmConvert.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

struct OggVorbis_File;

class KSound {
 public:
  KSound();
  ~KSound();
  KSound(const KSound&) = delete;
  KSound& operator=(const KSound&) = delete;

  // Samples. A path containing ".ogg" is decoded as Ogg Vorbis, any other as RIFF WAVE.
  // Failures report nothing and leave the sound without a buffer.
  bool LoadSample(const char* path, std::int32_t volume, bool loop);
  void Play();  // from the start, with the master volume in force now
  void Stop();  // the position stays where it stopped
  void SetVolume(std::int32_t percent);
  // Master volumes in percent; a negative value leaves that one unchanged. Samples take the
  // effects volume at their next Play or SetVolume, playing streams the music volume within
  // one pass of their refill thread.
  static void SetGlobalVolumes(std::int32_t musicPercent, std::int32_t effectsPercent);

  // Streams.
  bool LoadStream(const char* path);
  void PlayStream(bool loop);

  // The size of the stream ring and its halves, in bytes.
  static constexpr std::uint32_t kStreamBufferBytes = 32768;
  static constexpr std::uint32_t kStreamHalfBytes = 16384;

  // The table index for a master volume and a percent, and the volume it gives in
  // hundredths of a decibel (0 or below).
  static int VolumeIndex(std::int32_t master, std::int32_t percent);
  static std::int32_t Attenuation(int index);

  // State, for the game's tools and the tests.
  static int LiveSounds();
  static bool HasDevice();
  // For the way out: closes the device now (returning once its thread has stopped calling
  // the mixer) even while sounds still live; they play unheard from then on.
  static void CloseDevice();
  static std::int32_t MusicVolume();
  static std::int32_t EffectsVolume();
  std::int32_t Volume() const { return volume_.load(std::memory_order_relaxed); }
  bool IsStream() const { return isStream_; }
  bool HasBuffer() const { return hasBuffer_; }
  bool IsPlaying() const;
  std::int32_t BufferVolume() const;  // hundredths of a decibel set on the voice
  std::uint32_t DataSize() const { return dataSize_; }
  const WaveFormat* Format() const { return format_; }
  bool StreamEnded() const { return streamEnded_.load(); }
  bool RefillThreadRunning() const { return thread_.joinable(); }
  // Halves the refill thread has rewritten since this sound was made.
  std::uint32_t RefillCount() const { return refills_.load(); }

 private:
  bool CreateSampleBuffer();
  bool CreateStreamBuffer();
  void ReleaseBuffer();
  void FreeBuffers();
  bool LoadOggSample(const char* path);
  bool StartRefillThread();
  void StopStream();
  void RefillLoop();
  void RefillHalf(int half);
  void EndStream();

  // In-memory source of a stream, for the decoder.
  static std::size_t SourceRead(void* dest, std::size_t size, std::size_t count, void* source);
  static int SourceSeek(void* source, std::int64_t offset, int whence);
  static int SourceClose(void* source);
  static long SourceTell(void* source);

  std::atomic<std::int32_t> volume_{80};  // the refill thread applies it too
  std::uint32_t loop_ = 0;
  bool isStream_ = false;
  const WaveFormat* format_ = nullptr;
  const std::uint8_t* data_ = nullptr;
  std::uint32_t dataSize_ = 0;
  WaveFormat sampleFormat_;
  WaveFormat streamFormat_;
  std::unique_ptr<OggVorbis_File> decoder_;
  bool hasDecoder_ = false;
  bool hasBuffer_ = false;
  mixer::Voice voice_;  // the buffer: its fields are under the mixer's lock
  mixer::AutoResetEvent partEvents_[2];
  std::thread thread_;
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> threadReady_{false};
  std::atomic<bool> streamEnded_{false};
  std::atomic<std::uint32_t> refills_{0};
  std::uint32_t fileReadPosition_ = 0;
  std::uint32_t fileSize_ = 0;
  std::vector<std::uint8_t> fileData_;
  std::vector<std::int16_t> halfScratch_;  // refill thread only
};
