// Sound files and listening helpers for the audio tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A RIFF WAVE file of PCM data.
std::string MakeWave(const std::string& data, int channels = 2, int rate = 44100, int bits = 16);

// Little-endian 16-bit samples as bytes.
std::string Pcm16Bytes(const std::vector<std::int16_t>& samples);

// An Ogg Vorbis sine tone of `frames` frames (every channel the same), amplitude 0..1.
std::string MakeOggTone(int frames, int channels, int rate, double frequency = 440.0, double amplitude = 0.5);

// Root mean square of the left channel over frames [from, to) of interleaved stereo.
double Rms(const std::vector<std::int16_t>& stereo, int from, int to);

// Pulls exactly `frames` frames from the scripted device (a multiple of its step).
std::vector<std::int16_t> Pull(int frames);

// Waits (really) until pred holds, up to the timeout. Returns whether it held.
bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = std::chrono::seconds(20));
