#include "player/desktop/media_player_rules.h"

#include <gtest/gtest.h>

#include <QStringList>

using media_player_rules::SourceFromUri;

TEST(MediaPlayerRules, UrisBecomeSourcesOnlyForTheSupportedSchemes) {
    struct Case {
        const char* uri;
        std::optional<QString> source;
    };
    const Case cases[] = {
        {"file:///music/a%20b.mp3", QStringLiteral("/music/a b.mp3")},
        {"FILE:///music/x.ogg", QStringLiteral("/music/x.ogg")},
        {"http://radio.example:8000/stream", QStringLiteral("http://radio.example:8000/stream")},
        {"ftp://host/song.mp3", QStringLiteral("ftp://host/song.mp3")},
        // A line break would split the saved playlist's line.
        {"file:///music/a%0AFile2=/etc/passwd", std::nullopt},
        {"http://host/a\nb", std::nullopt},
        {"https://host/song.mp3", std::nullopt},
        {"smb://host/share/song.mp3", std::nullopt},
        {"file://", std::nullopt},
        {"http://", std::nullopt},
        {"/music/a.mp3", std::nullopt},
        {"", std::nullopt},
        {"::::", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SourceFromUri(QString::fromUtf8(c.uri)), c.source) << c.uri;
}

TEST(MediaPlayerRules, MetadataOfATrackAndOfNone) {
    const QVariantMap none = media_player_rules::Metadata({});
    EXPECT_EQ(none.keys(), QStringList{"mpris:trackid"});
    EXPECT_EQ(none.value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mpris/MediaPlayer2/TrackList/NoTrack");

    const QVariantMap song =
        media_player_rules::Metadata({2, "/music/Ünïcode #1.mp3", "Title", "Artist", "", 61'500});
    EXPECT_EQ(song.value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mpris/MediaPlayer2/Track/2");
    EXPECT_EQ(song.value("mpris:length").toLongLong(), 61'500'000);
    EXPECT_EQ(song.value("xesam:artist").toStringList(), QStringList{"Artist"});
    EXPECT_FALSE(song.contains("xesam:album"));
    EXPECT_EQ(song.value("xesam:url").toString(), "file:///music/%C3%9Cn%C3%AFcode%20%231.mp3");

    const QVariantMap stream =
        media_player_rules::Metadata({0, "http://radio.example/live", "Station", "", "", 0});
    EXPECT_FALSE(stream.contains("mpris:length"));
    EXPECT_EQ(stream.value("xesam:url").toString(), "http://radio.example/live");
}
