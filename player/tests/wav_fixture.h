#pragma once
// A small 16-bit stereo 44.1 kHz sine-wave WAV file for tests that need something to play.
#include <filesystem>

void writeSineWav(const std::filesystem::path& file, double seconds, double frequency = 440.0);
