#pragma once
// A small 16-bit stereo sine-wave WAV file (44.1 kHz unless told) for tests that need
// something to play.
#include <filesystem>

void writeSineWav(const std::filesystem::path& file, double seconds, double frequency = 440.0,
                  unsigned rate = 44100);
