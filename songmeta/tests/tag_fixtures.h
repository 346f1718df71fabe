#pragma once
// Tag bytes built in the tests: ID3v2 frames and tags, ID3v1 blocks, ASF headers.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "songmeta/songmeta.h"

namespace fixtures {

// Stand-in for audio data: bytes no tag reader takes for a tag.
std::string audio(std::size_t size = 1000);

// An ID3v2 frame with the size field of its version.
std::string frame(std::string_view id, std::string_view data, int major = 3,
                  std::uint16_t flags = 0);
// An ID3v2 tag of the given major version around `frames`, with `padding` zero bytes.
std::string tag(std::string_view frames, int major = 3, std::uint8_t flags = 0,
                std::size_t padding = 0);
std::string syncsafe(std::uint32_t value);

struct V1 {
    std::string title{};
    std::string artist{};
    std::string album{};
    std::string year{};
    std::string comment{};
    int track = -1;  // -1: the ID3v1.0 form
    std::uint8_t genre = 255;
};
std::string id3v1(const V1& v);

std::string utf16le(std::u16string_view s);

// ASF header pieces.
struct AsfStream {
    std::uint32_t maxBitrate = 128000;
    std::uint16_t channels = 2;
    std::uint32_t sampleRate = 44100;
    std::uint32_t bytesPerSecond = 16000;
};
std::string asfFileProperties(std::uint32_t maxBitrate);
std::string asfStreamProperties(std::uint16_t channels, std::uint32_t sampleRate,
                                std::uint32_t bytesPerSecond);
// Texts are UTF-16LE bytes, given whole (terminators included as wanted).
std::string asfContentDescription(const std::string& title, const std::string& author,
                                  const std::string& description);
struct AsfDescriptor {
    std::string name;  // UTF-16LE bytes
    std::uint16_t type;
    std::string value;
};
std::string asfExtendedContent(const std::vector<AsfDescriptor>& descriptors);
std::string asfHeader(const std::vector<std::string>& objects);
// A valid file: stream objects of `stream` and then `objects`.
std::string asfFile(const std::vector<std::string>& objects, const AsfStream& stream = {});

enum RecordField {
    kPresent,
    kVersion,
    kSize,
    kTitle,
    kArtist,
    kAlbum,
    kTrack,
    kYear,
    kGenre,
    kComment,
    kComposer,
    kEncoder,
    kCopyright,
    kLanguage,
    kLink,
    kLyrics
};

// The record as strings ("" for null).
struct Record {
    std::string f[16];
};
Record record(const SongInformation& info);

}  // namespace fixtures
