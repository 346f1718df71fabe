#include "bench/tagged_mp3_folder.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bench {
namespace {

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

// A text frame in ISO-8859-1 (the generated texts are ASCII).
std::string textFrame(const char* id, const std::string& text) {
    std::string frame(id);
    appendBigEndian(frame, static_cast<std::uint32_t>(text.size() + 1));
    frame += std::string(2, '\0');  // flags
    frame += '\0';                  // encoding
    return frame + text;
}

std::string id3v23(const std::string& title, const std::string& artist, const std::string& album,
                   const std::string& genre) {
    const std::string frames = textFrame("TIT2", title) + textFrame("TPE1", artist) +
                               textFrame("TALB", album) + textFrame("TCON", genre);
    std::string tag = "ID3";
    tag += '\x03';
    tag += '\0';
    tag += '\0';
    const auto size = static_cast<std::uint32_t>(frames.size());
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((size >> shift) & 0x7f);
    return tag + frames;
}

std::string encodedTone(const std::filesystem::path& folder) {
    const auto file = folder / "tone.mp3";
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "sine=frequency=440:sample_rate=44100:duration=0.5 -ac 2 -c:a libmp3lame -b:a 128k "
        "-map_metadata -1 -id3v2_version 0 -write_id3v1 0 '" +
        file.string() + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg failed");
    std::ifstream in(file, std::ios::binary);
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(file);
    return body;
}

}  // namespace

std::vector<std::string> makeTaggedMp3Folder(const std::filesystem::path& folder, int count) {
    std::filesystem::create_directories(folder);
    const std::string body = encodedTone(folder);
    static const char* const genres[] = {"Rock", "Pop",  "Jazz", "Blues", "Folk",  "Metal",
                                         "Punk", "Soul", "Funk", "Disco", "House", "Trance"};
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        const std::string artist = "Artist " + std::to_string(i % 300);
        const std::string album = artist + " Album " + std::to_string((i / 300) % 3);
        const std::string genre = genres[i % std::size(genres)];
        const std::string title = "Song " + std::to_string(i);
        const auto path = folder / ("track" + std::to_string(100000 + i) + ".mp3");
        std::ofstream out(path, std::ios::binary);
        out << id3v23(title, artist, album, genre) << body;
        files.push_back(path.string());
    }
    return files;
}

}  // namespace bench
