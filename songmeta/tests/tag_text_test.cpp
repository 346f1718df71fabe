// How 8-bit tag texts are told apart.
#include "songmeta/tag_text.h"

#include <gtest/gtest.h>

using namespace songmeta::tagtext;

TEST(TagText, EightBitTextsAreUtf8Cyrillic1251OrLatin1) {
    struct Case {
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"Bj\xF6rk Gu\xF0mundsd\xF3ttir", "Björk Guðmundsdóttir"},
        {"Gr\xF6\xDF"
         "e",
         "Größe"},
        {"\xE0 la carte", "à la carte"},
        {"Chanson d'\xE9t\xE9", "Chanson d'été"},
        {"\xC6r\xF8", "Ærø"},
        {"\xCA\xE8\xED\xEE", "Кино"},
        {"\xE2 \xCC\xEE\xF1\xEA\xE2\xE5", "в Москве"},
        {"\xC0\xF0\xE8\xFF - Live in Moscow", "Ария - Live in Moscow"},
        {"\xA8\xE6", "Ёж"},
        {"Gran d\xC3\xAD"
         "a",
         "Gran día"},
        {"d\xC3\xAD"
         "a\xC3",
         "día"},  // a UTF-8 sequence cut at the end
        {"caf\xC3", "cafÃ"},
    };
    for (const auto& c : cases) EXPECT_EQ(decode8Bit(c.bytes), c.utf8) << c.utf8;
}

TEST(TagText, Id3v1FieldsTakeTheCodePageThatHoldsTheText) {
    struct Case {
        std::string utf8;
        std::size_t width;
        std::string bytes;
    };
    const Case cases[] = {
        {"Björk", 30, "Bj\xF6rk"},     {"Кино", 30, "\xCA\xE8\xED\xEE"},
        {"Кино", 2, "\xCA\xE8"},       {"Кино café", 30, "\xCA\xE8\xED\xEE caf?"},
        {"Ωmega é", 30, "?mega \xE9"}, {"2001-05-06", 4, "2001"},
    };
    for (const auto& c : cases) EXPECT_EQ(encodeId3v1(c.utf8, c.width), c.bytes) << c.utf8;
}
