#include "platform/text.h"

#include <gtest/gtest.h>

using namespace platform::text;

TEST(Text, Utf8Validity) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {"Привет", true},
        {"\xEF\xBF\xBD", true},               // U+FFFD itself
        {"\xF0\x9F\x8E\xB5", true},           // U+1F3B5
        {"\xC0\xAF", false},                  // overlong '/'
        {"\xED\xA0\x80", false},              // surrogate
        {"\xF4\x90\x80\x80", false},          // above U+10FFFF
        {"\xD0", false},                      // cut sequence
        {"\xCF\xF0\xE8\xE2\xE5\xF2", false},  // windows-1251 "Привет"
    };
    for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Text, Cp1251RoundTripCoversEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = cp1251ToUtf8(one);
        bool lossless = false;
        EXPECT_EQ(utf8ToCp1251(utf8, &lossless), one) << b;
        EXPECT_TRUE(lossless) << b;
    }
    EXPECT_EQ(cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9"), "Привет Ёё №");
}

TEST(Text, SingleByteTargetsReplaceWhatTheyCannotHold) {
    bool lossless = true;
    EXPECT_EQ(utf8ToCp1251("Ωmega Я", &lossless), "?mega \xDF");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(utf8ToLatin1("Café Я", &lossless), "Caf\xE9 ?");
    EXPECT_FALSE(lossless);
    EXPECT_TRUE(fitsLatin1("Café"));
    EXPECT_FALSE(fitsLatin1("Кафе"));
    EXPECT_TRUE(fitsCp1251("Кафе"));
    EXPECT_EQ(latin1ToUtf8("Caf\xE9"), "Café");
}

TEST(Text, Utf16BothWaysWithSurrogatesAndDamage) {
    const std::string s = "Aя\U0001F3B5";
    for (Endian e : {Endian::Little, Endian::Big}) {
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(s, e), e), s);
    }
    EXPECT_EQ(utf8ToUtf16("A", Endian::Little), std::string("A\0", 2));
    EXPECT_EQ(utf8ToUtf16("A", Endian::Big), std::string("\0A", 2));
    // Unpaired surrogate and an odd trailing byte.
    EXPECT_EQ(utf16ToUtf8(std::string("\x00\xD8"
                                      "A\x00"
                                      "B",
                                      5),
                          Endian::Little),
              "\xEF\xBF\xBD"
              "A");
}

TEST(Text, TrimAndAsciiCase) {
    EXPECT_EQ(trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(trimLeft("  a "), "a ");
    EXPECT_EQ(trimRight("  a "), "  a");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(asciiUpper("abc.mp3 Ёж"), "ABC.MP3 Ёж");
    EXPECT_EQ(asciiLower("ABC.MP3"), "abc.mp3");
}

TEST(Text, CaseInsensitiveComparisonFoldsLatinLatin1AndCyrillic) {
    EXPECT_TRUE(equalsNoCase("NumberOfEntries", "numberofentries"));
    EXPECT_TRUE(equalsNoCase("ÉCOLE", "école"));
    EXPECT_TRUE(equalsNoCase("ЁЛКА Ґ", "ёлка ґ"));
    EXPECT_FALSE(equalsNoCase("×", "÷"));
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_GT(compareNoCase("abcd", "ABC"), 0);
    EXPECT_EQ(foldCase("Привет WORLD"), "привет world");
}

TEST(Text, CharacterCountingAndCutting) {
    EXPECT_EQ(charCount("Привет"), 6u);
    EXPECT_EQ(cutChars("Привет", 3), "При");
    EXPECT_EQ(cutChars("ab", 5), "ab");
    EXPECT_EQ(cutChars("a\U0001F3B5b", 2), "a\U0001F3B5");
    // Invalid bytes count one each and are never split further.
    EXPECT_EQ(charCount("\xFF\xFE"), 2u);
}

TEST(Text, FileTextDecoding) {
    EXPECT_EQ(decodeFileText("\xEF\xBB\xBF[playlist]"), "[playlist]");
    EXPECT_EQ(decodeFileText("Песня"), "Песня");
    EXPECT_EQ(decodeFileText("\xCF\xE5\xF1\xED\xFF"), "Песня");
    EXPECT_EQ(decodeFileText("\xFF\xFE" + utf8ToUtf16("[Песня]\r\n", Endian::Little)),
              "[Песня]\r\n");
    EXPECT_EQ(decodeFileText("\xFE\xFF" + utf8ToUtf16("Песня", Endian::Big)), "Песня");
}
