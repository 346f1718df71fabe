#include "songmeta/tests/tag_fixtures.h"

namespace fixtures {

namespace {

std::string le(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

std::string be(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

using namespace std::string_literals;

const std::string kHeaderGuid = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"s;
const std::string kFileGuid = "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65"s;
const std::string kStreamGuid = "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65"s;
const std::string kContentGuid =
    "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"s;
const std::string kExtendedGuid =
    "\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50"s;

std::string object(const std::string& guid, const std::string& body) {
    return guid + le(24 + body.size(), 8) + body;
}

}  // namespace

std::string audio(std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; ++i) out += static_cast<char>(0x55 + (i % 7));
    return out;
}

std::string syncsafe(std::uint32_t v) {
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((v >> shift) & 0x7F);
    return out;
}

std::string frame(std::string_view id, std::string_view data, int major, std::uint16_t flags) {
    const auto size = static_cast<std::uint32_t>(data.size());
    if (major == 2) return std::string(id) + be(size, 3) + std::string(data);
    return std::string(id) + (major == 4 ? syncsafe(size) : be(size, 4)) + be(flags, 2) +
           std::string(data);
}

std::string tag(std::string_view frames, int major, std::uint8_t flags, std::size_t padding) {
    return "ID3" + std::string(1, static_cast<char>(major)) + std::string(1, '\0') +
           std::string(1, static_cast<char>(flags)) +
           syncsafe(static_cast<std::uint32_t>(frames.size() + padding)) + std::string(frames) +
           std::string(padding, '\0');
}

std::string id3v1(const V1& v) {
    std::string b(128, '\0');
    b.replace(0, 3, "TAG");
    const auto put = [&](std::size_t at, const std::string& s) { b.replace(at, s.size(), s); };
    put(3, v.title);
    put(33, v.artist);
    put(63, v.album);
    put(93, v.year);
    put(97, v.comment);
    if (v.track >= 0) {
        b[125] = 0;
        b[126] = static_cast<char>(v.track);
    }
    b[127] = static_cast<char>(v.genre);
    return b.substr(0, 128);
}

std::string utf16le(std::u16string_view s) {
    std::string out;
    for (const char16_t c : s) out += le(c, 2);
    return out;
}

std::string asfFileProperties(std::uint32_t maxBitrate) {
    // 76 bytes from the object's 24-byte header to Maximum Bitrate at offset 100.
    return object(kFileGuid, std::string(76, '\0') + le(maxBitrate, 4));
}

std::string asfStreamProperties(std::uint16_t channels, std::uint32_t sampleRate,
                                std::uint32_t bytesPerSecond) {
    std::string body(54, '\0');  // up to the audio format at offset 78
    body += le(0x161, 2) + le(channels, 2) + le(sampleRate, 4) + le(bytesPerSecond, 4) +
            std::string(8, '\0');
    return object(kStreamGuid, body);
}

std::string asfContentDescription(const std::string& title, const std::string& author,
                                  const std::string& description) {
    return object(kContentGuid, le(title.size(), 2) + le(author.size(), 2) + le(0, 2) +
                                    le(description.size(), 2) + le(0, 2) + title + author +
                                    description);
}

std::string asfExtendedContent(const std::vector<AsfDescriptor>& descriptors) {
    std::string body = le(descriptors.size(), 2);
    for (const auto& d : descriptors)
        body += le(d.name.size(), 2) + d.name + le(d.type, 2) + le(d.value.size(), 2) + d.value;
    return object(kExtendedGuid, body);
}

std::string asfHeader(const std::vector<std::string>& objects) {
    std::string body;
    for (const auto& o : objects) body += o;
    return kHeaderGuid + le(30 + body.size(), 8) + le(objects.size(), 4) + "\x01\x02" + body;
}

std::string asfFile(const std::vector<std::string>& objects, const AsfStream& s) {
    std::vector<std::string> all = {
        asfFileProperties(s.maxBitrate),
        asfStreamProperties(s.channels, s.sampleRate, s.bytesPerSecond)};
    all.insert(all.end(), objects.begin(), objects.end());
    return asfHeader(all) + audio(200);
}

Record record(const SongInformation& info) {
    Record r;
    const char* const* p = &info.TagPresent;
    for (int i = 0; i < 16; ++i) r.f[i] = p[i] ? p[i] : "";
    return r;
}

}  // namespace fixtures
