#include "songmeta/wma_file.h"

#include <string_view>

#include "platform/byte_order.h"
#include "platform/text.h"
#include "songmeta/song_file.h"
#include "songmeta/track_number.h"

namespace songmeta {

namespace text = platform::text;
using namespace std::string_view_literals;

namespace {

// Object identifiers in their on-disk byte order.
constexpr std::string_view kHeaderObject =
    "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"sv;
constexpr std::string_view kFileProperties =
    "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65"sv;
constexpr std::string_view kStreamProperties =
    "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65"sv;
constexpr std::string_view kContentDescription =
    "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"sv;
constexpr std::string_view kExtendedContentDescription =
    "\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50"sv;

constexpr std::size_t kObjectHeader = 24;
// The header and its descriptors are read with one call when they lie in this prefix.
constexpr std::size_t kPrefetch = 1 << 20;
constexpr std::uint16_t kStringValue = 0;

enum Slot { kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kLyrics, kSlotCount };
constexpr std::array<std::string_view, kSlotCount> kNames = {
    "WM/TITLE", "WM/AUTHOR", "WM/ALBUMTITLE",  "WM/TRACKNUMBER",
    "WM/YEAR",  "WM/GENRE",  "WM/DESCRIPTION", "WM/LYRICS"};

std::uint32_t littleEndian(std::string_view s) {
    return static_cast<std::uint32_t>(platform::readLittleEndian(platform::bytesOf(s), s.size()));
}

// What a header walk gathers. Slot texts are raw UTF-16LE bytes.
struct Walk {
    std::uint32_t maxBitrate = 0;
    std::uint32_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t bytesPerSecond = 0;
    std::array<std::string, kSlotCount> slots;
    std::uint16_t trackType = kStringValue;

    bool valid() const {
        return maxBitrate > 0 && maxBitrate < 320000 && (channels == 1 || channels == 2) &&
               sampleRate >= 8000 && sampleRate <= 96000 && bytesPerSecond > 0 &&
               bytesPerSecond < 40000;
    }
};

class HeaderReader {
public:
    explicit HeaderReader(const SongFile& file) : file_(file) {}

    bool number(std::int64_t at, std::size_t bytes, std::uint32_t& value) const {
        std::string raw;
        if (!file_.readAt(at, bytes, raw)) return false;
        value = littleEndian(raw);
        return true;
    }

    // A text of `length` bytes at `at`: its first units (at most kMaxTextUnits), zero
    // units included; `at` moves past all of its bytes.
    bool text(std::int64_t& at, std::uint32_t length, std::string& out) const {
        const std::size_t units = std::min<std::size_t>(length / 2, TWMAfile::kMaxTextUnits);
        if (!file_.readAt(at, units * 2, out)) return false;
        at += length;
        return true;
    }

private:
    const SongFile& file_;
};

std::string utf8(const std::string& utf16) {
    return text::utf16ToUtf8(utf16, text::Endian::Little);
}

bool readContentDescription(const HeaderReader& in, std::int64_t at, Walk& walk) {
    std::uint32_t lengths[5];
    for (int i = 0; i < 5; ++i)
        if (!in.number(at + 2 * i, 2, lengths[i])) return false;
    at += 10;
    constexpr int kSlotOf[5] = {kTitle, kArtist, -1, kComment, -1};
    for (int i = 0; i < 5; ++i) {
        if (lengths[i] == 0) continue;
        std::string value;
        if (!in.text(at, lengths[i], value)) return false;
        if (kSlotOf[i] >= 0) walk.slots[kSlotOf[i]] = std::move(value);
    }
    return true;
}

bool readExtendedContentDescription(const HeaderReader& in, std::int64_t at, Walk& walk) {
    std::uint32_t count = 0;
    if (!in.number(at, 2, count)) return false;
    at += 2;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t nameLength = 0, type = 0, valueLength = 0;
        std::string name, value;
        if (!in.number(at, 2, nameLength)) return false;
        at += 2;
        if (!in.text(at, nameLength, name) || !in.number(at, 2, type) ||
            !in.number(at + 2, 2, valueLength))
            return false;
        at += 4;
        if (!in.text(at, valueLength, value)) return false;
        const std::string key = text::asciiUpper(text::trim(utf8(name)));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (key != kNames[slot]) continue;
            walk.slots[slot] = value;
            if (slot == kTrack) walk.trackType = static_cast<std::uint16_t>(type);
        }
    }
    return true;
}

// False on any read error, also a size that points past the end of the file.
bool walkHeader(const SongFile& file, Walk& walk) {
    const HeaderReader in(file);
    std::string guid;
    if (!file.readAt(0, 16, guid)) return false;
    if (guid != kHeaderObject) return true;
    std::uint32_t objects = 0;
    if (!in.number(24, 4, objects)) return false;
    std::int64_t pos = 30;
    for (std::uint32_t i = 0; i < objects; ++i) {
        std::uint32_t size = 0;
        if (!file.readAt(pos, 16, guid) || !in.number(pos + 16, 4, size)) return false;
        // An object smaller than its own header would walk in place for ever.
        if (size < kObjectHeader) return false;
        bool ok = true;
        if (guid == kFileProperties) {
            ok = in.number(pos + 100, 4, walk.maxBitrate);
        } else if (guid == kStreamProperties) {
            ok = in.number(pos + 80, 2, walk.channels) && in.number(pos + 82, 4, walk.sampleRate) &&
                 in.number(pos + 86, 4, walk.bytesPerSecond);
        } else if (guid == kContentDescription) {
            ok = readContentDescription(in, pos + 24, walk);
        } else if (guid == kExtendedContentDescription) {
            ok = readExtendedContentDescription(in, pos + 24, walk);
        }
        if (!ok) return false;
        pos += size;
    }
    return true;
}

std::string trimmed(const std::string& utf16) {
    return std::string(text::trim(utf8(utf16)));
}

}  // namespace

bool TWMAfile::LoadFromFile(const std::string& fileName) {
    *this = TWMAfile();
    SongFile file(fileName);
    if (!file.isOpen()) return false;
    file.prefetch(kPrefetch);
    Walk walk;
    if (!walkHeader(file, walk)) return false;
    if (!walk.valid()) return true;
    valid_ = true;
    fileSize_ = file.size();
    title_ = trimmed(walk.slots[kTitle]);
    artist_ = trimmed(walk.slots[kArtist]);
    album_ = trimmed(walk.slots[kAlbum]);
    year_ = trimmed(walk.slots[kYear]);
    genre_ = trimmed(walk.slots[kGenre]);
    comment_ = trimmed(walk.slots[kComment]);
    lyrics_ = trimmed(walk.slots[kLyrics]);
    // A number value gives its own value; a text is read as "track" or "track/total".
    const std::string& track = walk.slots[kTrack];
    if (walk.trackType == kStringValue)
        track_ = parseTrackOfTotal(utf8(track));
    else if (track.size() >= 2)
        track_ = littleEndian(std::string_view(track).substr(0, 2));
    return true;
}

}  // namespace songmeta
