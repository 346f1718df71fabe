#pragma once
// A small 16-bit stereo sine-wave WAV file (44.1 kHz unless told) for tests that need
// something to play, and the check that a captured output holds it.
#include <filesystem>
#include <string>

void writeSineWav(const std::filesystem::path& file, double seconds, double frequency = 440.0,
                  unsigned rate = 44100);

// True when raw 16-bit little-endian output holds a sample louder than near-silence.
bool hasSound(const std::string& raw);
