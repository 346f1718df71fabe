// Reading WMA header texts, through the built library.
#include <gtest/gtest.h>

#include <string>

#include "songmeta/tests/song_file_test.h"

using fixtures::asfContentDescription;
using fixtures::AsfDescriptor;
using fixtures::asfExtendedContent;
using fixtures::asfFile;
using fixtures::record;
using namespace fixtures;
using fixtures::utf16le;
using testing_support::writeFile;
using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

constexpr std::uint16_t kString = 0, kDword = 3;

class Wma : public SongFileTest {
protected:
    fixtures::Record readWma(const std::string& bytes) { return readBytes(bytes, "t.wma"); }
};

std::string dword(std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

}  // namespace

TEST_F(Wma, TheValidityTestUsesTheStreamValues) {
    struct Case {
        fixtures::AsfStream stream;
        bool valid;
    };
    const Case cases[] = {
        {{128000, 1, 44100, 16000}, true},   {{128000, 2, 8000, 1}, true},
        {{319999, 2, 96000, 39999}, true},   {{128000, 6, 44100, 16000}, false},
        {{128000, 2, 192000, 16000}, false}, {{320000, 2, 44100, 16000}, false},
        {{0, 2, 44100, 16000}, false},       {{128000, 2, 44100, 40000}, false},
        {{128000, 0, 44100, 16000}, false},  {{128000, 2, 7999, 16000}, false},
    };
    const std::string title = asfContentDescription(utf16le(u"T"), "", "");
    for (const auto& c : cases) {
        const std::string file = asfFile({title}, c.stream);
        const auto r = readWma(file);
        EXPECT_EQ(r.f[kTitle], c.valid ? "T" : "")
            << c.stream.channels << " " << c.stream.sampleRate;
        EXPECT_EQ(r.f[kPresent], c.valid ? "Yes" : "");
        EXPECT_EQ(r.f[kSize], c.valid ? std::to_string(file.size()) + " bytes" : "");
        EXPECT_EQ(r.f[kVersion], "");
    }
}

TEST_F(Wma, DescriptionsFillTheFields) {
    const auto r = readWma(asfFile({
        asfContentDescription(utf16le(u"Title\0"sv), utf16le(u" Автор "), utf16le(u"Desc")),
        asfExtendedContent({
            {utf16le(u"WM/AlbumTitle"), kString, utf16le(u"Album\0"sv)},
            {utf16le(u" wm/year "), kString, utf16le(u"1997")},
            {utf16le(u"WM/Genre"), kString, utf16le(u"Alternative")},
            {utf16le(u"WM/Lyrics"), kString, utf16le(u"La la")},
            {utf16le(u"WM/Composer"), kString, utf16le(u"Not read")},
            {utf16le(u"WM/TrackNumber"), kDword, dword(7)},
        }),
    }));
    const fixtures::Record expected{{"Yes", "", r.f[kSize], "Title", "Автор", "Album", "7", "1997",
                                     "Alternative", "Desc", "", "", "", "", "", "La la"}};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(r.f[i], expected.f[i]) << i;
}

TEST_F(Wma, LaterObjectsAndDescriptorsWin) {
    const auto r = readWma(asfFile({
        asfExtendedContent({{utf16le(u"WM/TITLE"), kString, utf16le(u"Extended")},
                            {utf16le(u"WM/Author"), kString, utf16le(u"First")},
                            {utf16le(u"WM/Author"), kString, utf16le(u"Second")}}),
        asfContentDescription(utf16le(u"Content"), "", ""),
    }));
    EXPECT_EQ(r.f[kTitle], "Content");
    EXPECT_EQ(r.f[kArtist], "Second");
}

TEST_F(Wma, TrackNumbers) {
    struct Case {
        std::uint16_t type;
        std::string value;
        std::string track;
    };
    const Case cases[] = {
        {kDword, dword(7), "7"},
        {kDword, dword(0), ""},
        {kString, utf16le(u"7"), "7"},
        {kString, utf16le(u"6/15\0"sv), "6"},
        {kString, utf16le(u"garbage"), ""},
        {kString, "", ""},
    };
    for (const auto& c : cases) {
        const auto r =
            readWma(asfFile({asfExtendedContent({{utf16le(u"WM/TrackNumber"), c.type, c.value}})}));
        EXPECT_EQ(r.f[kTrack], c.track) << c.track;
    }
}

TEST_F(Wma, LongAndBrokenHeaders) {
    const std::u16string longTitle(3000, u'x');
    const auto r =
        readWma(asfFile({asfContentDescription(utf16le(longTitle), utf16le(u"After"), ""),
                         asfExtendedContent({{utf16le(u"WM/Genre"), kString, utf16le(u"G")}})}));
    EXPECT_EQ(r.f[kTitle], std::string(2500, 'x'));
    EXPECT_EQ(r.f[kArtist], "After");
    EXPECT_EQ(r.f[kGenre], "G");

    const std::string good = asfFile({asfContentDescription(utf16le(u"T"), "", "")});
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string zeroSize = good;
    zeroSize.replace(30 + 16, 8, std::string(8, '\0'));  // first object's size 0
    std::string hugeCount = good;
    hugeCount.replace(24, 4, "\xFF\xFF\xFF\xFF"s);
    std::string pastEnd = good;
    pastEnd.replace(30 + 16, 4, "\xFF\xFF\xFF\x7F"s);
    const Case cases[] = {
        {"not ASF", "RIFF" + std::string(100, '\0')}, {"empty", ""},
        {"cut in the header", good.substr(0, 150)},   {"object of size 0", zeroSize},
        {"object count far too large", hugeCount},    {"object size past the end", pastEnd},
    };
    for (const auto& c : cases) {
        const auto rec = readWma(c.bytes);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(rec.f[i], "") << c.what << " field " << i;
    }
}
