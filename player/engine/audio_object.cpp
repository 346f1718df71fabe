#include "player/engine/audio_object.h"

#include <QFile>
#include <algorithm>
#include <climits>
#include <optional>

#include "player/engine/scoped_channel.h"
#include "player/engine/source_rules.h"
#include "player/engine/track_text.h"
#include "player/playlist/internet_address.h"
#include "songmeta/songmeta.h"

TAudioObject* AudioObject = nullptr;

namespace {

QByteArray fileName(const QString& path) {
    return QFile::encodeName(path);
}

QString tagText(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The channel's whole length in bytes: a stream's length, else a music's play length.
std::int64_t channelBytes(std::uint32_t handle) {
    const std::int64_t bytes = BASS_StreamGetLength(handle);
    return bytes >= 0 ? bytes : BASS_MusicGetLength(handle, 1);
}

using StreamOpener = std::uint32_t (*)(int, const void*, std::int64_t, std::int64_t, std::uint32_t);

// A whole-file stream of the path, or failing that a tracker module.
std::uint32_t openFile(const QString& path, StreamOpener openStream) {
    const QByteArray name = fileName(path);
    const std::uint32_t stream = openStream(0, name.constData(), 0, 0, 0);
    return stream != 0 ? stream : BASS_MusicLoad(0, name.constData(), 0, 0, 0, 0);
}

// An internet stream that asks for in-stream metadata; the stream layer's timeout bounds
// the wait for a dead address.
std::uint32_t openUrl(const QString& address) {
    return BASS_StreamCreateURL(address.toUtf8().constData(), 0, SOUND_STREAM_META, nullptr,
                                nullptr);
}

int bytesToMs(std::uint32_t handle, std::int64_t bytes) {
    const double ms = static_cast<double>(BASS_ChannelBytes2Seconds(handle, bytes)) * 1000.0;
    return ms < 0 ? 0 : static_cast<int>(std::min<double>(ms, INT_MAX));
}

int probeLength(const QString& path, StreamOpener openStream) {
    const ScopedChannel probe(openFile(path, openStream));
    return probe ? bytesToMs(probe.get(), channelBytes(probe.get())) : -1;
}

}  // namespace

TAudioObject::TAudioObject(AudioView& view, std::filesystem::path libraryIndexFile)
    : view_(view),
      libraryIndex_(std::move(libraryIndexFile)),
      libraryMenus_(view),
      random_(std::random_device{}()) {}

TAudioObject::~TAudioObject() {
    if (AudioObject == this) AudioObject = nullptr;
}

void TAudioObject::PlaySource(const QString& path) {
    view_.SetSpeedPosition(100);
    SeekLength = ProbeLength(path);
    if (SeekLength >= 0) view_.SetSeekMaximum(SeekLength);
    view_.RepaintPlaylist();
    view_.SetTotalTimeText(track_text::LongTimeText(SeekLength));
    SourcePath = path;
    if (internet_address::IsSource(path)) {
        PlayUrl(path);
        return;
    }
    // The index takes the length of this very file, in ms, as probed above.
    TrackLength = SeekLength;
    ReadTrackInfo(path);
    if (source_rules::UpperExtension(path) == QLatin1String(".WMA")) {
        PlayWma(path);
        return;
    }
    DropChannel();
    Channel = openFile(path, &BASS_StreamCreateFile);
    if (Channel == 0) return;
    BASS_StreamPlay(Channel, 0, 0);
    BASS_MusicPlay(Channel);
    TrackLength = clampToInt(channelBytes(Channel));
    PlayState = TransportState::Playing;
    view_.SetPlayButtonGlyph(PlayGlyph::Pause);
    showStarted();
}

bool TAudioObject::PlayUrl(const QString& address) {
    SourcePath = address;
    DropChannel();
    Channel = openUrl(address);
    const bool started = Channel != 0 && BASS_StreamPlay(Channel, 0, 0) != 0;
    TrackLength = clampToInt(BASS_StreamGetLength(Channel));
    PlayState = TransportState::Playing;
    return started;
}

void TAudioObject::PlayWma(const QString& path) {
    DropChannel();
    Channel = BASS_WMA_StreamCreateFile(0, fileName(path).constData(), 0, 0, 0);
    if (Channel == 0) return;
    PlayState = TransportState::Playing;
    view_.SetPlayButtonGlyph(PlayGlyph::Pause);
    BASS_StreamPlay(Channel, 0, 0);
    showStarted();
}

// The format line, the effects, the balloon and the list selection of a started file.
void TAudioObject::showStarted() {
    SoundChannelInfo info{};
    BASS_ChannelGetInfo(Channel, &info);
    view_.SetFormatText(
        track_text::FormatText(info.freq, (info.flags & SOUND_SAMPLE_8BITS) != 0, info.chans));
    view_.ReapplyEffects();
    if (ShowInfoInTray) {
        view_.ShowTrayBalloon(QStringLiteral("Информация о композиции"),
                              QStringLiteral("Название: ") + Title + QChar(13) +
                                  QStringLiteral("Исполнитель: ") + Artist + QChar(13) +
                                  QStringLiteral("Альбом: ") + Album,
                              1, 10);
    }
    view_.SelectPlaylistRow(CurrentIndex);
}

void TAudioObject::PlayNext() {
    const int n = EntryCount();
    if (n == 0) return;
    int next = CurrentIndex + 1;
    if (Shuffle && n > 2) {
        std::uniform_int_distribution<int> draw(0, n - 1);
        do next = draw(random_);
        while (next == CurrentIndex);
    }
    if (next >= n || next < 0) next = 0;
    CurrentIndex = next;
    PlaySource(Playlist.FileAt(next));
}

void TAudioObject::PlayPrevious() {
    const int n = EntryCount();
    if (n == 0) return;
    int previous = CurrentIndex - 1;
    // A current index left beyond the end by deletions goes to the last entry.
    if (previous < 0 || previous >= n) previous = n - 1;
    CurrentIndex = previous;
    PlaySource(Playlist.FileAt(previous));
}

void TAudioObject::PlayEntry(int index) {
    if (index < 0 || index >= EntryCount()) return;
    CurrentIndex = index;
    PlaySource(Playlist.FileAt(index));
}

void TAudioObject::Pause() {
    BASS_ChannelPause(Channel);
    PlayState = TransportState::Paused;
}

void TAudioObject::Resume() {
    BASS_ChannelResume(Channel);
    PlayState = TransportState::Playing;
}

void TAudioObject::Stop() {
    BASS_ChannelStop(Channel);
    PlayState = TransportState::Stopped;
}

int TAudioObject::GetPosition() const {
    return bytesToMs(Channel, BASS_ChannelGetPosition(Channel));
}

void TAudioObject::SetPosition(int ms) {
    BASS_ChannelSetPosition(Channel,
                            BASS_ChannelSeconds2Bytes(Channel, static_cast<float>(ms / 1000.0)));
}

void TAudioObject::DropChannel() {
    ScopedChannel::Free(Channel);
    Channel = 0;
}

int TAudioObject::ProbeLength(const QString& path) const {
    if (source_rules::UpperExtension(path) == QLatin1String(".WMA")) return ProbeWmaLength(path);
    return probeLength(path, &BASS_StreamCreateFile);
}

int TAudioObject::ProbeWmaLength(const QString& path) const {
    return probeLength(path, &BASS_WMA_StreamCreateFile);
}

void TAudioObject::AddSources(const QStringList& names) {
    LibraryIndex::Batch batch(libraryIndex_);
    CurrentIndex = EntryCount() - 1;
    for (const QString& name : names) {
        if (IsPlayableFile(name)) {
            TrackLength = ProbeLength(name);
            const QString title = MakeEntryTitle(name);
            Playlist.AddEntry(name, title, TrackLength);
            view_.SetListCaption(QStringLiteral("Default"));
        } else {
            LoadPlaylistFile(name, true);
        }
    }
    PlayNext();
}

void TAudioObject::LoadPlaylistFile(const QString& path, bool clearFirst) {
    const QString extension = source_rules::UpperExtension(path);
    if (extension == QLatin1String(".PLS")) {
        Playlist.LoadFromPls(path, clearFirst);
    } else if (extension == QLatin1String(".M3U")) {
        Playlist.LoadFromM3u(path, clearFirst);
    }
    view_.SetListCaption(QStringLiteral("Текущий список: ") + GetPlaylistName());
}

bool TAudioObject::SavePls(const QString& path) {
    return Playlist.SaveToPls(path);
}
bool TAudioObject::SaveM3u(const QString& path) {
    return Playlist.SaveToM3u(path);
}
QString TAudioObject::GetPlaylistName() const {
    return Playlist.ListName();
}
void TAudioObject::ClearPlaylist() {
    Playlist.ClearAll();
}
int TAudioObject::EntryCount() const {
    return Playlist.Count();
}

QString TAudioObject::GetEntryFile(int index) const {
    return index >= 0 && index < EntryCount() ? Playlist.FileAt(index) : QString();
}

QString TAudioObject::GetEntryTitle(int index) const {
    return index >= 0 && index < EntryCount() ? Playlist.TitleAt(index) : QString();
}

void TAudioObject::DeleteEntry(int index) {
    if (index >= 0 && index < EntryCount()) Playlist.RemoveAt(index);
}

int TAudioObject::IndexOfFile(const QString& file) const {
    return Playlist.FindFile(file);
}
int TAudioObject::IndexOfTitle(const QString& title) const {
    return Playlist.FindTitle(title);
}

int TAudioObject::EntryLength(int index) const {
    return index >= 0 && index < EntryCount() ? Playlist.LengthAt(index) : 0;
}

long long TAudioObject::TotalLength() const {
    long long total = 0;
    for (int i = 0; i < EntryCount(); ++i) total += Playlist.LengthAt(i);
    return total;
}

void TAudioObject::SortByTitle() {
    Playlist.SortTitles();
    CurrentIndex = IndexOfTitle(Title);
}

bool TAudioObject::IsPlayableFile(const QString& path) {
    return source_rules::IsPlayableFile(path);
}
QString TAudioObject::GetOpenFilter() {
    return source_rules::OpenFilter();
}

void TAudioObject::ReadTrackInfo(const QString& path) {
    SongInformation info{};
    GetSongInformation(&info, fileName(path).constData());
    Artist = track_text::LibraryName(tagText(info.Artist));
    Title = tagText(info.Title);
    if (Title.isEmpty()) Title = source_rules::BareName(path);
    Album = track_text::LibraryName(tagText(info.Album));
    Year = tagText(info.Year);
    Track = tagText(info.Track);
    Lyrics = tagText(info.Lyrics);
    Genre = track_text::LibraryName(tagText(info.Genre));

    {
        LibraryIndex::Batch batch(libraryIndex_);
        if (Artist.isEmpty()) Artist = track_text::UnknownArtist;
        if (Album.isEmpty()) Album = track_text::UnknownAlbum;
        Artist = track_text::RoundFirstBrackets(Artist);
        Album = track_text::RoundFirstBrackets(Album);
        enterIntoLibrary(LibraryKind::Artists, Artist, path);
        enterIntoLibrary(LibraryKind::Albums, Album, path);
        if (Genre.isEmpty()) Genre = track_text::UnknownGenre;
        enterIntoLibrary(LibraryKind::Genres, Genre, path);
    }

    // The labels show the tags as read, so an absent tag shows an empty value.
    view_.ShowTrackInfo({QStringLiteral("Исполнитель: ") + tagText(info.Artist),
                         QStringLiteral("Название: ") + tagText(info.Title),
                         QStringLiteral("Альбом: ") + tagText(info.Album),
                         QStringLiteral("Год: ") + tagText(info.Year),
                         QStringLiteral("Дорожка: ") + tagText(info.Track),
                         QStringLiteral("Жанр: ") + tagText(info.Genre),
                         QStringLiteral("Информация о композиции")});
}

void TAudioObject::enterIntoLibrary(LibraryKind kind, const QString& name, const QString& path) {
    libraryMenus_.InsertUnique(kind, name);
    libraryIndex_.EnterFile(kind, name, path, Title, TrackLength);
}

QString TAudioObject::MakeEntryTitle(const QString& path) {
    const QString address = path.trimmed();
    if (!internet_address::IsEntryTitle(address)) {
        ReadTrackInfo(path);
        return Title;
    }
    const bool live = address.compare(SourcePath.trimmed(), Qt::CaseInsensitive) == 0;
    const StreamTags tags = ReadStreamTags(live ? QString() : address);
    if (tags.StationName.isEmpty()) return QStringLiteral("Unknown Host");
    return tags.StationName + QLatin1Char(' ') + tags.StationUrl + QStringLiteral(" - ") +
           tags.StreamTitle;
}

StreamTags TAudioObject::ReadStreamTags(const QString& address) const {
    const ScopedChannel temporary(address.isEmpty() ? 0 : openUrl(address));
    const std::uint32_t channel = address.isEmpty() ? Channel : temporary.get();
    if (channel == 0) return {};
    StreamTags tags;
    tags.Lines = track_text::HeaderLines(BASS_StreamGetTags(channel, SOUND_TAG_HEADERS));
    tags.Lines << track_text::StreamText(BASS_StreamGetTags(channel, SOUND_TAG_META));
    const auto lineOf = [&tags](const char* key) {
        const int at = track_text::FindTagLine(tags.Lines, QLatin1String(key));
        return at < 0 ? std::optional<QString>() : tags.Lines[at];
    };
    if (const auto line = lineOf("icy-name")) tags.StationName = track_text::TextAfterColon(*line);
    if (const auto line = lineOf("icy-url")) tags.StationUrl = track_text::TextAfterColon(*line);
    if (const auto line = lineOf("StreamTitle")) {
        tags.StreamTitle = track_text::TextInApostrophes(*line);
    }
    return tags;
}

void TAudioObject::BuildLibraryMenus() {
    LibraryIndex::Batch batch(libraryIndex_);
    for (LibraryKind kind : {LibraryKind::Artists, LibraryKind::Albums, LibraryKind::Genres}) {
        const auto names = libraryIndex_.Names(kind);
        if (!names) return;
        libraryMenus_.InsertAll(kind, *names);
    }
}

void TAudioObject::LibraryNameChosen(LibraryKind kind, const QString& caption) {
    LibraryIndex::Batch batch(libraryIndex_);
    if (libraryIndex_.FileCount(kind, caption) == 0) return;
    view_.ClearPlaylistView();
    ClearPlaylist();
    AddSources(libraryIndex_.Files(kind, caption));
    view_.RefreshPlaylistView();
}

void TAudioObject::PlayAllMusic() {
    LibraryIndex::Batch batch(libraryIndex_);
    const auto entries = libraryIndex_.ArtistEntries();
    if (!entries) return;
    view_.ClearPlaylistView();
    ClearPlaylist();
    for (const LibraryIndex::Entry& entry : *entries) {
        Playlist.AddEntry(entry.file, entry.title, entry.lengthMs);
    }
    view_.RefreshPlaylistView();
    PlayEntry(0);
}
