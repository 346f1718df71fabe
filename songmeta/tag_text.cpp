#include "songmeta/tag_text.h"

#include "platform/text.h"

namespace songmeta::tagtext {

namespace text = platform::text;

namespace {

bool isAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isLetterByte(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

// Length of `bytes` without a UTF-8 sequence that was cut off at its very end.
std::size_t withoutCutTail(std::string_view bytes) {
    const std::size_t n = bytes.size();
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto c = static_cast<unsigned char>(bytes[n - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? n - back : n;
    }
    return n;
}

std::string_view skipByteOrderMarks(std::string_view bytes, text::Endian& endian) {
    while (bytes.size() >= 2) {
        const auto a = static_cast<unsigned char>(bytes[0]);
        const auto b = static_cast<unsigned char>(bytes[1]);
        if (a == 0xFF && b == 0xFE) {
            endian = text::Endian::Little;
        } else if (a == 0xFE && b == 0xFF) {
            endian = text::Endian::Big;
        } else {
            break;
        }
        bytes.remove_prefix(2);
    }
    return bytes;
}

}  // namespace

bool looksLikeCp1251(std::string_view bytes) {
    int cyrillic = 0;
    int latin = 0;
    int letters = 0;
    int ascii = 0;
    auto endWord = [&] {
        if (letters > 0) (ascii == 0 ? cyrillic : latin) += letters;
        letters = ascii = 0;
    };
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (isLetterByte(c)) {
            ++letters;
        } else if (isAsciiLetter(c)) {
            ++ascii;
        } else {
            endWord();
        }
    }
    endWord();
    return cyrillic >= 2 && cyrillic > latin;
}

std::string decode8Bit(std::string_view bytes) {
    if (text::isAscii(bytes)) return std::string(bytes);
    const std::string_view whole = bytes.substr(0, withoutCutTail(bytes));
    if (text::isValidUtf8(whole) && !text::isAscii(whole)) return std::string(whole);
    if (looksLikeCp1251(bytes)) return text::cp1251ToUtf8(bytes);
    return text::latin1ToUtf8(bytes);
}

std::string decodeId3(int encoding, std::string_view bytes) {
    // Some writers put UTF-16 with its mark into frames marked as 8-bit.
    text::Endian probe = text::Endian::Little;
    if (encoding == 0 && skipByteOrderMarks(bytes, probe).size() != bytes.size()) encoding = 1;
    switch (encoding) {
        case 1:
        case 2: {
            auto endian = encoding == 1 ? text::Endian::Little : text::Endian::Big;
            bytes = skipByteOrderMarks(bytes, endian);
            std::string out = text::utf16ToUtf8(bytes, endian);
            // A second value may carry its own mark: drop any that decoding left at the
            // start (U+FEFF).
            while (out.rfind("\xEF\xBB\xBF", 0) == 0) out.erase(0, 3);
            return out;
        }
        case 3: {
            if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.remove_prefix(3);
            const std::string_view whole = bytes.substr(0, withoutCutTail(bytes));
            if (text::isValidUtf8(whole)) return std::string(whole);
            std::string out;
            for (std::size_t pos = 0; pos < whole.size();)
                text::appendUtf8(out, text::nextCodePoint(whole, pos));
            return out;
        }
        default:
            return decode8Bit(bytes);
    }
}

std::size_t terminatorSize(int encoding) {
    return encoding == 1 || encoding == 2 ? 2 : 1;
}

std::size_t findTerminator(int encoding, std::string_view bytes) {
    if (terminatorSize(encoding) == 1) return bytes.find('\0');
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
    return std::string_view::npos;
}

std::string encodeId3v1(std::string_view utf8, std::size_t width) {
    bool latinLossless = false;
    std::string latin = text::utf8ToLatin1(utf8, &latinLossless);
    std::string out;
    if (latinLossless) {
        out = std::move(latin);
    } else {
        bool cyrLossless = false;
        std::string cyr = text::utf8ToCp1251(utf8, &cyrLossless);
        const auto lost = [](const std::string& s) {
            std::size_t n = 0;
            for (const char c : s) n += c == '?';
            return n;
        };
        out = cyrLossless || lost(cyr) < lost(latin) ? std::move(cyr) : std::move(latin);
    }
    if (out.size() > width) out.resize(width);
    return out;
}

}  // namespace songmeta::tagtext
