#pragma once
// A folder of generated MP3 files for the library benchmarks: one short encoded tone
// with a LAME header, copied behind a different ID3v2.3 tag per file (a few hundred
// artists, more albums, a few genres, as a real collection has).
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// Makes `count` files in `folder`; returns their paths in order. The tone is encoded
// once with the ffmpeg command-line tool. Throws when it cannot be made.
std::vector<std::string> makeTaggedMp3Folder(const std::filesystem::path& folder, int count);

}  // namespace bench
