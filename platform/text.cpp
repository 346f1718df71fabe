#include "platform/text.h"

#include <array>

namespace platform::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// windows-1251 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. 0x98 is unassigned and kept
// as the C1 control, as Windows does.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t cp1251ToCodePoint(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return 0x0410 + (b - 0xC0);
    return kCp1251High[b - 0x80];
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

template <typename Encode>
std::string encodeSingleByte(std::string_view s, bool* lossless, char replacement, Encode encode) {
    std::string out;
    out.reserve(s.size());
    bool all = true;
    for (std::size_t pos = 0; pos < s.size();) {
        const int b = encode(nextCodePoint(s, pos));
        if (b < 0) {
            all = false;
            out.push_back(replacement);
        } else {
            out.push_back(static_cast<char>(b));
        }
    }
    if (lossless) *lossless = all;
    return out;
}

int latin1Byte(char32_t cp) {
    return cp < 0x100 ? static_cast<int>(cp) : -1;
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

bool isValidUtf8(std::string_view s) {
    for (std::size_t pos = 0; pos < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[pos]);
        if (c < 0x80) {
            ++pos;
            continue;
        }
        // A bad sequence is the only case that yields after consuming one high byte.
        const std::size_t before = pos;
        nextCodePoint(s, pos);
        if (pos - before == 1) return false;
    }
    return true;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    const unsigned char c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    std::size_t len;
    char32_t cp;
    char32_t min;
    if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + len > s.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char cc = static_cast<unsigned char>(s[pos + i]);
        if (!isContinuation(cc)) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += len;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) appendUtf8(out, cp1251ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) appendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

int cp1251Byte(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kCp1251High.size(); ++i)
        if (kCp1251High[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

std::string utf8ToCp1251(std::string_view s, bool* lossless, char replacement) {
    return encodeSingleByte(s, lossless, replacement, cp1251Byte);
}

std::string utf8ToLatin1(std::string_view s, bool* lossless, char replacement) {
    return encodeSingleByte(s, lossless, replacement, latin1Byte);
}

bool fitsCp1251(std::string_view s) {
    bool lossless = false;
    utf8ToCp1251(s, &lossless);
    return lossless;
}

bool fitsLatin1(std::string_view s) {
    bool lossless = false;
    utf8ToLatin1(s, &lossless);
    return lossless;
}

std::string utf16ToUtf8(std::string_view bytes, Endian endian) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return endian == Endian::Little ? (a | (b << 8)) : ((a << 8) | b);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char32_t lo = unitAt(i + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    return out;
}

std::string utf8ToUtf16(std::string_view s, Endian endian) {
    std::string out;
    out.reserve(s.size() * 2);
    auto put = [&](char32_t u) {
        const char hi = static_cast<char>((u >> 8) & 0xFF);
        const char lo = static_cast<char>(u & 0xFF);
        if (endian == Endian::Little) {
            out.push_back(lo);
            out.push_back(hi);
        } else {
            out.push_back(hi);
            out.push_back(lo);
        }
    };
    for (std::size_t pos = 0; pos < s.size();) {
        const char32_t cp = nextCodePoint(s, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            put(0xD800 + (v >> 10));
            put(0xDC00 + (v & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

std::string_view trimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isBlank(s[b])) ++b;
    return s.substr(b);
}

std::string_view trimRight(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

std::string_view trim(std::string_view s) {
    return trimRight(trimLeft(s));
}

std::string oneLine(std::string_view s) {
    std::string out(s);
    breaksToSpaces(out);
    return out;
}

void breaksToSpaces(std::string& s, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i)
        if (s[i] == '\r' || s[i] == '\n') s[i] = ' ';
}

std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

char32_t foldCase(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;
    if (cp == 0x0490) return 0x0491;
    return cp;
}

int compareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = foldCase(nextCodePoint(a, i));
        const char32_t y = foldCase(nextCodePoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return compareNoCase(a, b) == 0;
}

std::string foldCase(std::string_view s) {
    if (isAscii(s)) return asciiLower(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) appendUtf8(out, foldCase(nextCodePoint(s, pos)));
    return out;
}

std::size_t charCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < s.size(); ++n) nextCodePoint(s, pos);
    return n;
}

std::string_view cutChars(std::string_view s, std::size_t n) {
    if (s.size() <= n) return s;  // no fewer bytes than characters
    std::size_t pos = 0;
    for (std::size_t count = 0; count < n && pos < s.size(); ++count) nextCodePoint(s, pos);
    return s.substr(0, pos);
}

std::string decodeOwnedFileText(std::string bytes) {
    // Editors of the original platform save "Unicode" text as UTF-16 after a byte-order
    // mark; neither mark's bytes can begin UTF-8.
    const std::string_view head = std::string_view(bytes).substr(0, 2);
    if (head == "\xFF\xFE" || head == "\xFE\xFF")
        return utf16ToUtf8(std::string_view(bytes).substr(2),
                           head[0] == '\xFF' ? Endian::Little : Endian::Big);
    const std::size_t mark = std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    if (!isValidUtf8(std::string_view(bytes).substr(mark))) return cp1251ToUtf8(bytes);
    bytes.erase(0, mark);
    return bytes;
}

std::string decodeFileText(std::string_view bytes) {
    return decodeOwnedFileText(std::string(bytes));
}

}  // namespace platform::text
