#include "player/engine/track_text.h"

#include <gtest/gtest.h>

#include "player/engine/tests/qt_print.h"

#include "player/engine/source_rules.h"
#include "player/playlist/internet_address.h"

using namespace track_text;

TEST(TrackText, FirstBracketsOnlyBecomeRound) {
    EXPECT_EQ(RoundFirstBrackets("A [x] [y]"), "A (x) [y]");
    EXPECT_EQ(RoundFirstBrackets("A ]x[ y"), "A )x( y");
    EXPECT_EQ(RoundFirstBrackets("Plain"), "Plain");
}

TEST(TrackText, LibraryNamesStandOnOneLine) {
    EXPECT_EQ(LibraryName("  Kino \r\n"), "Kino");
    EXPECT_EQ(LibraryName("Two\nLines"), "Two Lines");
    EXPECT_EQ(LibraryName(" \t "), "");
}

TEST(TrackText, FormatLine) {
    EXPECT_EQ(FormatText(44100, false, 2), "Freequency: 44100Hz 16 bits Stereo");
    EXPECT_EQ(FormatText(8000, true, 1), "Freequency: 8000Hz 8 bits Mono");
    EXPECT_EQ(FormatText(22050, false, 6), "Freequency: 22050Hz 16 bits Stereo");
}

TEST(TrackText, LongTimeDropsDaysAndNegatives) {
    EXPECT_EQ(LongTimeText(205'999), "0:03:25");
    EXPECT_EQ(LongTimeText(3'723'000), "1:02:03");
    EXPECT_EQ(LongTimeText(25LL * 3600 * 1000 + 1000), "1:00:01");
    EXPECT_EQ(LongTimeText(-1), "0:00:00");
}

TEST(TrackText, HeaderLinePieces) {
    const QStringList lines = {"ICY 200 OK", "icy-name: Radio One", "ICY-NAME:Second",
                               "icy-url:http://r.example", "StreamTitle='It's on';"};
    EXPECT_EQ(FindTagLine(lines, "icy-name"), 2);  // the last one, without regard to case
    EXPECT_EQ(FindTagLine(lines, "streamtitle"), 4);
    EXPECT_EQ(FindTagLine(lines, "icy-genre"), -1);
    EXPECT_EQ(TextAfterColon(lines[1]), " Radio One");  // the leading space stays
    EXPECT_EQ(TextAfterColon(lines[3]), "http://r.example");
    EXPECT_EQ(TextAfterColon("no colon"), "no colon");
    EXPECT_EQ(TextInApostrophes(lines[4]), "It");  // cut at the title's own apostrophe
    EXPECT_EQ(TextInApostrophes("StreamTitle='open"), "");
    EXPECT_EQ(TextInApostrophes("StreamTitle='';"), "");
}

TEST(TrackText, HeaderBlockEndsAtEmptyTextOrLimit) {
    const char block[] = "ICY 200 OK\0icy-name:\xd0\xd0\xc0\xc4\xc8\xce\0\0ignored\0";
    EXPECT_EQ(HeaderLines(block, 400), QStringList({"ICY 200 OK", "icy-name:РРАДИО"}));
    EXPECT_EQ(HeaderLines(block, 15), QStringList({"ICY 200 OK"}));  // a cut line is left out
    EXPECT_TRUE(HeaderLines(nullptr).isEmpty());
    EXPECT_EQ(StreamText("StreamTitle='Песня';"), "StreamTitle='Песня';");
}

TEST(SourceRules, ExtensionsAddressesAndNames) {
    struct Case {
        const char* path;
        bool playable;
        bool internet;
        const char* bareName;
    };
    const Case cases[] = {
        {"/m/Song.mp3", true, false, "Song"},  {"/m/a.b/Tune.Xm", true, false, "Tune"},
        {"/m/mod.it", true, false, "mod"},     {"/m/list.pls", false, false, "list"},
        {"/m/noext", false, false, "noext"},   {"/m.mp3/noext", false, false, "noext"},
        {"/m/x.wma", true, false, "x"},        {"/m/x.mo3", true, false, "x"},
        {"http://h/a.MP3", true, true, "a"},   {"ftp://h/live", false, true, "live"},
        {"HTTPS://h/a.ogg", true, false, "a"}, {"/m/c.s", false, false, "c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(source_rules::IsPlayableFile(c.path), c.playable);
        EXPECT_EQ(internet_address::IsSource(c.path), c.internet);
        EXPECT_EQ(source_rules::BareName(c.path), c.bareName);
    }
}

TEST(SourceRules, OpenFilterText) {
    EXPECT_EQ(source_rules::OpenFilter(),
              "mp1/mp2/mp3/wav/ogg/mod/s3m/it/umx/mo3/mtm/xm/wma|*.mp1;*.mp2;*.mp3;*.wav;*.ogg;"
              "*.mod;*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm;*.wma|Streams (mp1/mp2/mp3/wav/ogg/wma)|"
              "*.mp1;*.mp2;*.mp3;*.wav;*.ogg;*.wma|Trackers (mod/s3m/it/umx/mo3/mtm/xm)|*.mod;"
              "*.s3m;*.it;*.umx;*.mo3;*.mtm;*.xm|Playlist (pls/m3u)|*.pls;*.m3u");
    // The folder scan cuts the last 21 characters to drop the playlist patterns.
    EXPECT_TRUE(source_rules::OpenFilter().chopped(21).endsWith("|Playlist "));
}
