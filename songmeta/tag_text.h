#pragma once
// Text encodings of tags. Tags carry 8-bit texts of unknown code page, UTF-16 and UTF-8;
// inside the library every text is UTF-8.
#include <string>
#include <string_view>

namespace songmeta::tagtext {

// True when the high-bit bytes look like windows-1251 Cyrillic rather than Latin-1.
// Words are runs of ASCII letters and letter bytes (0xC0-0xFF, 0xA8, 0xB8). Cyrillic
// words are made of letter bytes only; Latin-1 puts its accented letters inside words of
// ASCII letters. So the letter bytes of words without ASCII letters count for Cyrillic,
// those of words with ASCII letters against it, and the text is Cyrillic when the first
// count is at least 2 and larger than the second: "Björk", "d'été" or "à la carte" stay
// Latin-1, "Кино", "Ёж" or "в Москве" are Cyrillic.
bool looksLikeCp1251(std::string_view bytes);

// An 8-bit tag text as UTF-8: kept when it is valid UTF-8 (a sequence cut off at the
// very end is dropped), else windows-1251 when it looks Cyrillic, else Latin-1.
std::string decode8Bit(std::string_view bytes);

// ID3v2 text encodings: 0 = 8-bit, 1 = UTF-16 with byte-order mark, 2 = UTF-16BE,
// 3 = UTF-8. Byte-order marks are skipped (also repeated ones), and 8-bit text that
// starts with one is taken as UTF-16; other values are taken as 8-bit.
std::string decodeId3(int encoding, std::string_view bytes);

// Length of the terminator of a text in the given encoding (2 for UTF-16, else 1).
std::size_t terminatorSize(int encoding);
// Position of the first terminator in `bytes` (aligned to two bytes for UTF-16), or
// npos when there is none.
std::size_t findTerminator(int encoding, std::string_view bytes);

// A text fitted into a single-byte ID3v1 field of `width` bytes: Latin-1 when it fits,
// else windows-1251 when it fits, else whichever of the two loses fewer characters, with
// "?" for what it cannot hold. One character is one byte, so cutting at `width` never
// splits a character.
std::string encodeId3v1(std::string_view utf8, std::size_t width);

}  // namespace songmeta::tagtext
