#include "songmeta/id3v2_tag.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/byte_order.h"
#include "platform/text.h"
#include "songmeta/file_rebuild.h"
#include "songmeta/genre_table.h"
#include "songmeta/id3v1_tag.h"
#include "songmeta/song_file.h"
#include "songmeta/tag_text.h"
#include "songmeta/track_number.h"

namespace songmeta {

namespace text = platform::text;

namespace {

constexpr std::size_t kHeaderSize = 10;
// Tags up to this size are read with one call; larger ones frame by frame.
constexpr std::size_t kPrefetch = 256 * 1024;
constexpr std::size_t kFirstRead = 4096;
// An unsynchronised body must be undone as a whole; beyond this only its start is read.
constexpr std::size_t kUnsyncBodyLimit = 16 * 1024 * 1024;
// Real tags hold some hundreds of frames at most; a crafted one of tiny frames filling a
// tag of up to 256 MB would hold the window for half a minute, so the walk ends here.
constexpr int kMaxFrames = 65536;

constexpr std::array<std::string_view, TID3v2::kItemCount> kFrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM",
    "TCOM", "TENC", "TCOP", "TLAN", "WXXX", "USLT"};
// Version 2.2 names of the same frames.
constexpr std::array<std::string_view, TID3v2::kItemCount> kShortFrameIds = {
    "TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM", "TCM", "TEN", "TCR", "TLA", "WXX", "ULT"};

unsigned byteAt(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

std::uint32_t bigEndian(std::string_view s, std::size_t at, std::size_t count) {
    return static_cast<std::uint32_t>(platform::readBigEndian(platform::bytesOf(s) + at, count));
}

std::uint32_t syncsafe(std::string_view s, std::size_t at) {
    return platform::readSyncsafe(platform::bytesOf(s) + at);
}

// The header's size field with its bytes taken as they are, plus the header.
std::uint32_t declaredTagSize(std::string_view header) {
    return (byteAt(header, 6) << 21) + (byteAt(header, 7) << 14) + (byteAt(header, 8) << 7) +
           byteAt(header, 9) + static_cast<std::uint32_t>(kHeaderSize);
}

std::string undoUnsynchronisation(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (byteAt(s, i) == 0xFF && i + 1 < s.size() && s[i + 1] == '\0') ++i;
    }
    return out;
}

bool isFrameIdChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The tag body (the bytes after the header): read from the file, or held in memory
// when its unsynchronisation had to be undone as a whole.
class TagBody {
public:
    TagBody(const SongFile& file, std::size_t length, bool unsynchronised)
        : file_(file), length_(length), inMemory_(unsynchronised) {
        if (!unsynchronised) return;
        std::string raw;
        if (!file.readAt(kHeaderSize, std::min(length, kUnsyncBodyLimit), raw)) raw.clear();
        memory_ = undoUnsynchronisation(raw);
        length_ = memory_.size();
    }

    std::size_t length() const { return length_; }

    bool read(std::size_t pos, std::size_t count, std::string& out) const {
        if (pos > length_ || count > length_ - pos) return false;
        if (inMemory_) {
            out.assign(memory_, pos, count);
            return true;
        }
        return file_.readAt(static_cast<std::int64_t>(kHeaderSize + pos), count, out);
    }

private:
    const SongFile& file_;
    std::size_t length_;
    bool inMemory_;
    std::string memory_;
};

// A frame's value text: the first of several values, decoded and trimmed.
std::string firstValue(int encoding, std::string_view bytes) {
    bytes = bytes.substr(0, tagtext::findTerminator(encoding, bytes));
    return std::string(text::trim(tagtext::decodeId3(encoding, bytes)));
}

struct FrameValue {
    std::string text;
    // Comment, lyrics and link frames name what they hold; one without a name is the
    // plain value the song record wants.
    bool described = false;
};

// Decodes a frame's data for `item`.
FrameValue frameValue(TID3v2::Item item, std::string_view data) {
    FrameValue value;
    if (data.empty()) return value;
    const int encoding = byteAt(data, 0) <= 3 ? static_cast<int>(byteAt(data, 0)) : -1;
    if (encoding < 0) {
        // No encoding byte: the whole frame is 8-bit text.
        if (item == TID3v2::Comment || item == TID3v2::Lyrics)
            data.remove_prefix(data.size() >= 4 ? 4 : data.size());
        value.text = firstValue(0, data);
        return value;
    }
    data.remove_prefix(1);
    switch (item) {
        case TID3v2::Comment:
        case TID3v2::Lyrics:
        case TID3v2::Link: {
            if (item != TID3v2::Link) data.remove_prefix(std::min<std::size_t>(3, data.size()));
            const std::size_t end = tagtext::findTerminator(encoding, data);
            // An empty description may still carry a byte-order mark.
            value.described = end == std::string_view::npos ||
                              !tagtext::decodeId3(encoding, data.substr(0, end)).empty();
            data = end == std::string_view::npos
                       ? std::string_view()
                       : data.substr(end + tagtext::terminatorSize(encoding));
            // A link is stored as 8-bit text whatever the description's encoding.
            value.text = firstValue(item == TID3v2::Link ? 0 : encoding, data);
            break;
        }
        case TID3v2::Genre: {
            value.text = firstValue(encoding, data);
            const std::size_t paren = value.text.rfind(')');
            if (paren != std::string::npos)
                value.text =
                    std::string(text::trim(std::string_view(value.text).substr(paren + 1)));
            break;
        }
        default:
            value.text = firstValue(encoding, data);
    }
    return value;
}

// Version 2.4 lets a genre be the bare number of a genre of the ID3v1 table.
std::string genreOfNumber(std::string text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text;
    const std::string_view name = genres::name(static_cast<unsigned>(std::stoul(text)));
    return name.empty() ? text : std::string(name);
}

// Walks the frames of a tag body and keeps the known ones.
class FrameWalker {
public:
    FrameWalker(const TagBody& body, int major, bool allUnsynchronised)
        : body_(body), major_(major), allUnsync_(allUnsynchronised) {}

    void walk(std::size_t pos, std::array<std::string, TID3v2::kItemCount>& texts) {
        const std::size_t headerSize = major_ == 2 ? 6 : 10;
        std::string header;
        std::array<bool, TID3v2::kItemCount> plain{};
        std::optional<std::string> recordingTime;
        for (int frames = 0; frames < kMaxFrames && pos + headerSize <= body_.length() &&
                             body_.read(pos, headerSize, header);
             ++frames) {
            if (header[0] < 'A' || header[0] > 'Z') break;  // padding or garbage
            const std::size_t size = frameSize(header, pos + headerSize);
            const std::size_t start = pos + headerSize;
            if (size > body_.length() - start) break;  // a frame cut off by the tag's end
            pos = start + size;
            const std::string_view id = std::string_view(header).substr(0, major_ == 2 ? 3 : 4);
            if (id == "TDRC") {
                std::string data;
                if (readData(header, start, size, TID3v2::kMaxFrameData, data))
                    recordingTime = frameValue(TID3v2::Year, data).text;
                continue;
            }
            const auto& ids = major_ == 2 ? kShortFrameIds : kFrameIds;
            const auto found = std::find(ids.begin(), ids.end(), id);
            if (found == ids.end()) continue;
            const auto item = static_cast<TID3v2::Item>(found - ids.begin());
            std::string data;
            const bool freeText = item == TID3v2::Lyrics || item == TID3v2::Comment;
            if (!readData(header, start, size,
                          freeText ? TID3v2::kMaxLongFrameData : TID3v2::kMaxFrameData, data))
                continue;
            FrameValue value = frameValue(item, data);
            if (item == TID3v2::Genre && major_ == 4) value.text = genreOfNumber(value.text);
            // A later frame replaces an earlier one, except that a described comment,
            // lyrics or link never replaces a plain one.
            if (value.described && plain[item]) continue;
            plain[item] = !value.described;
            texts[item] = std::move(value.text);
        }
        if (texts[TID3v2::Year].empty() && recordingTime) texts[TID3v2::Year] = *recordingTime;
    }

private:
    // Version 2.4 sizes are syncsafe, but some writers store plain ones there: the plain
    // reading is taken when only it lands on a frame, padding or the end.
    std::size_t frameSize(const std::string& header, std::size_t start) const {
        if (major_ == 2) return bigEndian(header, 3, 3);
        const std::uint32_t plainSize = bigEndian(header, 4, 4);
        if (major_ == 3 || (plainSize & 0x80808080u) != 0) return plainSize;
        const std::uint32_t safe = syncsafe(header, 4);
        if (safe == plainSize || landsWell(start + safe) || !landsWell(start + plainSize))
            return safe;
        return plainSize;
    }

    bool landsWell(std::size_t pos) const {
        if (pos >= body_.length()) return pos == body_.length();
        std::string next;
        if (!body_.read(pos, std::min<std::size_t>(4, body_.length() - pos), next)) return false;
        if (next[0] == '\0') return true;
        return next.size() == 4 && std::all_of(next.begin(), next.end(), isFrameIdChar);
    }

    // The frame's data, at most `limit` bytes, with grouping and length prefixes
    // dropped and unsynchronisation undone; false for compressed or encrypted data,
    // which holds no readable text.
    bool readData(const std::string& header, std::size_t start, std::size_t size, std::size_t limit,
                  std::string& data) const {
        std::size_t skip = 0;
        bool unsync = false;
        if (major_ == 3) {
            const unsigned flags = byteAt(header, 9);
            if (flags & 0xC0) return false;
            if (flags & 0x20) skip = 1;
        } else if (major_ == 4) {
            const unsigned flags = byteAt(header, 9);
            if (flags & 0x0C) return false;
            if (flags & 0x40) skip += 1;
            if (flags & 0x01) skip += 4;
            unsync = allUnsync_ || (flags & 0x02);
        }
        if (skip > size) return false;
        if (!body_.read(start + skip, std::min(size - skip, limit), data)) return false;
        if (unsync) data = undoUnsynchronisation(data);
        return true;
    }

    const TagBody& body_;
    int major_;
    bool allUnsync_;
};

// Where the frames start: after an extended header when the flags announce a plausible
// one; a flag with no such header behind it is ignored.
std::size_t firstFramePos(const TagBody& body, int major, unsigned flags) {
    if (major < 3 || !(flags & 0x40)) return 0;
    std::string ext;
    if (!body.read(0, 4, ext)) return 0;
    if (std::all_of(ext.begin(), ext.end(), isFrameIdChar)) return 0;
    std::size_t next = 0;
    if (major == 3) {
        next = 4 + static_cast<std::size_t>(bigEndian(ext, 0, 4));
    } else {
        if ((bigEndian(ext, 0, 4) & 0x80808080u) != 0) return 0;
        next = syncsafe(ext, 0);
        if (next < 6) return 0;
    }
    return next <= body.length() ? next : 0;
}

std::string syncsafeBytes(std::uint32_t size) {
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((size >> shift) & 0x7F);
    return out;
}

std::string bigEndianBytes(std::uint32_t size) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((size >> shift) & 0xFF);
    return out;
}

// A text with its encoding byte: 0 and Latin-1 bytes when it fits, else 1 and UTF-16
// with a byte-order mark. Every UTF-16 string carries the mark, also an empty one.
struct EncodedText {
    char encoding;
    std::string bytes;
    std::string emptyString;  // an empty description, terminator included
};

EncodedText encodeText(std::string_view utf8) {
    if (text::fitsLatin1(utf8)) return {0, text::utf8ToLatin1(utf8), std::string(1, '\0')};
    const std::string mark = "\xFF\xFE";
    return {1, mark + text::utf8ToUtf16(utf8, text::Endian::Little), mark + std::string(2, '\0')};
}

std::string frameData(TID3v2::Item item, const std::string& value) {
    switch (item) {
        case TID3v2::Comment:
        case TID3v2::Lyrics: {
            const EncodedText t = encodeText(value);
            return t.encoding + std::string("eng") + t.emptyString + t.bytes;
        }
        case TID3v2::Link: {
            // Links are 8-bit: Latin-1 when they fit, else their UTF-8 bytes as they are,
            // which reading recognises.
            const std::string url = text::fitsLatin1(value) ? text::utf8ToLatin1(value) : value;
            return std::string(2, '\0') + url;
        }
        default: {
            const EncodedText t = encodeText(value);
            return t.encoding + t.bytes;
        }
    }
}

bool readHeader(const SongFile& file, std::string& header) {
    return file.isOpen() && file.readAt(0, kHeaderSize, header);
}

}  // namespace

void TID3v2::reset() {
    *this = TID3v2();
}

bool TID3v2::LoadFromFile(const std::string& fileName) {
    SongFile file(fileName);
    return LoadFrom(file);
}

bool TID3v2::LoadFrom(SongFile& file) {
    reset();
    // Most tags fit the first read whole.
    file.prefetch(kFirstRead);
    std::string header;
    if (!readHeader(file, header)) return false;
    if (header.compare(0, 3, "ID3") != 0) return true;
    found_ = true;
    majorVersion_ = byteAt(header, 3);
    const std::uint32_t declared = declaredTagSize(header);
    file.prefetch(std::min<std::size_t>(declared, kPrefetch));
    tagSize_ = declared > file.size() ? 0 : declared;
    if (majorVersion_ < 2 || majorVersion_ > 4) return true;
    // A tag cut short by the end of the file still gives the frames that fit.
    const auto bodyLength = static_cast<std::size_t>(std::min<std::int64_t>(declared, file.size()) -
                                                     static_cast<std::int64_t>(kHeaderSize));
    const unsigned flags = byteAt(header, 5);
    // Version 2.2 knows no scheme for its compression flag, so such a body is unreadable.
    if (majorVersion_ == 2 && (flags & 0x40)) return true;
    const bool unsync = (flags & 0x80) != 0;
    const TagBody body(file, bodyLength, unsync && majorVersion_ < 4);
    FrameWalker(body, majorVersion_, unsync && majorVersion_ == 4)
        .walk(firstFramePos(body, majorVersion_, flags), texts_);
    track_ = parseTrackOfTotal(texts_[Track]);
    texts_[Track].clear();
    return true;
}

void TID3v2::SetText(Item item, std::string_view value) {
    if (item != Track) texts_[item] = std::string(text::trim(value));
}

std::string TID3v2::TagBytes() const {
    std::string frames;
    for (int i = 0; i < kItemCount; ++i) {
        const auto item = static_cast<Item>(i);
        const std::string value =
            item == Track ? (track_ ? std::to_string(track_) : "") : texts_[i];
        if (value.empty()) continue;
        const std::string data = frameData(item, value);
        frames += kFrameIds[i];
        frames += bigEndianBytes(static_cast<std::uint32_t>(data.size()));
        frames += std::string(2, '\0');
        frames += data;
    }
    return std::string("ID3\x03\x00\x00", 6) +
           syncsafeBytes(static_cast<std::uint32_t>(frames.size())) + frames;
}

bool TID3v2::WriteToFile(const std::string& fileName, const TID3v1* id3v1) const {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return false;
    const std::optional<mode_t> mode = makeWritable(fileName);
    if (!mode) return false;
    if (rebuild(fileName, id3v1)) return true;
    // A failed save leaves the file as it was, its permissions included.
    ::chmod(fileName.c_str(), *mode);
    return false;
}

bool TID3v2::rebuild(const std::string& fileName, const TID3v1* id3v1) const {
    FileEnds ends;
    ends.head = TagBytes();
    {
        const SongFile file(fileName);
        std::string header;
        if (!file.isOpen()) return false;
        // A file shorter than a header has no tag to replace.
        if (file.size() >= static_cast<std::int64_t>(kHeaderSize)) {
            if (!readHeader(file, header)) return false;
            if (header.compare(0, 3, "ID3") == 0) {
                const std::uint32_t declared = declaredTagSize(header);
                ends.headSize = declared > file.size() ? 0 : declared;
                // A version 2.4 tag may close with a 10-byte footer, which goes with it.
                std::string footer;
                if (ends.headSize > 0 && byteAt(header, 3) == 4 && (byteAt(header, 5) & 0x10) &&
                    file.readAt(ends.headSize, 3, footer) && footer == "3DI")
                    ends.headSize += static_cast<std::int64_t>(kHeaderSize);
            }
        }
        // An MP4 file (an M4A song given an .mp3 name) finds its audio by offsets from the
        // file's start, so a tag put in front would make it unplayable.
        std::string box;
        if (file.readAt(ends.headSize + 4, 4, box) && box == "ftyp") return false;
        if (id3v1) {
            ends.tail = id3v1->Block();
            const auto found = TID3v1::BlockSizeIn(file);
            if (!found) return false;
            ends.tailSize = *found;
        }
    }
    return replaceFileEnds(fileName, ends);
}

}  // namespace songmeta
