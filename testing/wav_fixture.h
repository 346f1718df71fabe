#pragma once
// Small PCM WAV files for tests that need something to play or a header to break, and
// the check that a captured output holds sound.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The 44-byte header of a PCM WAV file; `riffSize` is what the RIFF chunk claims.
std::string wavHeader(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      std::uint32_t dataBytes, std::uint32_t riffSize);

// Writes a 16-bit PCM WAV file of interleaved samples.
void writeWav(const std::filesystem::path& file, int rate, int channels,
              const std::vector<std::int16_t>& samples);

// A 16-bit stereo sine (44.1 kHz unless told) at a moderate level.
void writeSineWav(const std::filesystem::path& file, double seconds, double frequency = 440.0,
                  unsigned rate = 44100);

// True when raw 16-bit little-endian output holds a sample louder than near-silence.
bool hasSound(const std::string& raw);
