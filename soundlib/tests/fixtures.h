#pragma once
// Small audio files for the tests, made on first use with the ffmpeg and sox command-line
// tools into a folder that lives as long as the test process, and reference decodes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace soundlib_test {

// The generated file of that name (see fixtures.cpp for the list); fails the test when
// the tool is missing.
std::filesystem::path fixture(const std::string& name);
// A file from the third-party material, ../shared/peers/<relative>.
std::filesystem::path peer(const std::string& relative);
// A path in the fixture folder for files a test writes itself.
std::filesystem::path scratch(const std::string& name);

// Interleaved stereo of a sine of `hz` at `amplitude` (0..1) on both sides.
std::vector<std::int16_t> sine(double hz, double amplitude, int rate, int frames);

// The file decoded by the ffmpeg tool as interleaved 16-bit stereo at its own rate (mono
// doubled onto both sides).
std::vector<std::int16_t> referenceDecode(const std::filesystem::path& file);

// Renders offline until `stream` has given `frames` frames of what it plays (skipping what
// it stalled on while a thread of its own read ahead), or stops; returns them.
std::vector<std::int16_t> renderPlayed(std::uint32_t stream, std::size_t frames);

}  // namespace soundlib_test
