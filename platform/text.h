#pragma once
// Text helpers for the Qt-free layers. Text inside the program is UTF-8; files and tags
// from the original platform may be windows-1251, Latin-1 or UTF-16, and these are the
// conversions between them. Nothing here throws on bad input: invalid UTF-8 bytes are
// taken one byte at a time as U+FFFD.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::text {

enum class Endian { Little, Big };

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s);
// True when every byte is below 0x80.
bool isAscii(std::string_view s);

// Decodes the code point that starts at `pos` and moves `pos` past it. An invalid or
// cut sequence yields U+FFFD and advances by one byte. Precondition: pos < s.size().
char32_t nextCodePoint(std::string_view s, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);

std::string cp1251ToUtf8(std::string_view bytes);
std::string latin1ToUtf8(std::string_view bytes);
// Characters the target cannot hold become `replacement`; `lossless`, when given, says
// whether every character fitted.
std::string utf8ToCp1251(std::string_view s, bool* lossless = nullptr, char replacement = '?');
std::string utf8ToLatin1(std::string_view s, bool* lossless = nullptr, char replacement = '?');
bool fitsCp1251(std::string_view s);
bool fitsLatin1(std::string_view s);
// The code point's windows-1251 byte, or -1 when the code page has none.
int cp1251Byte(char32_t cp);

// UTF-16 without a byte-order mark. An odd last byte is dropped; unpaired surrogates
// become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, Endian endian);
std::string utf8ToUtf16(std::string_view s, Endian endian);

// Removes characters with codes up to 32 at both ends (or one end).
std::string_view trim(std::string_view s);
std::string_view trimLeft(std::string_view s);
std::string_view trimRight(std::string_view s);

// The text with every CR and LF turned into a space, so it fits on one line of a file.
std::string oneLine(std::string_view s);
// The same in place, from `from` on.
void breaksToSpaces(std::string& s, std::size_t from = 0);

std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);

// Lower-case partner of a Latin, Latin-1 or Cyrillic letter; other code points unchanged.
char32_t foldCase(char32_t cp);
// Case-insensitive order over code points, folding Latin, Latin-1 and Cyrillic.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);
std::string foldCase(std::string_view s);

// Number of characters (code points).
std::size_t charCount(std::string_view s);
// The first `n` characters, never splitting one.
std::string_view cutChars(std::string_view s, std::size_t n);

// A text file's bytes as UTF-8: UTF-16 after its byte-order mark, UTF-8 when valid (a
// byte-order mark skipped), else windows-1251.
std::string decodeFileText(std::string_view bytes);
// The same, reusing the bytes' own storage when they are UTF-8 already.
std::string decodeOwnedFileText(std::string bytes);

}  // namespace platform::text
