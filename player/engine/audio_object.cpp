#include "player/engine/audio_object.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <thread>
#include <vector>

#include "player/engine/adding_progress.h"
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

// A whole-file stream of the file, or failing that a tracker module.
std::uint32_t openFile(const QByteArray& name, StreamOpener openStream,
                       std::uint32_t streamFlags = 0) {
    const std::uint32_t stream = openStream(0, name.constData(), 0, 0, streamFlags);
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

int measure(const QByteArray& name, StreamOpener openStream, std::uint32_t streamFlags) {
    const ScopedChannel probe(openFile(name, openStream, streamFlags));
    return probe ? bytesToMs(probe.get(), channelBytes(probe.get())) : -1;
}

StreamOpener streamOpenerFor(const QString& path) {
    return source_rules::UpperExtension(path) == QLatin1String(".WMA") ? &BASS_WMA_StreamCreateFile
                                                                       : &BASS_StreamCreateFile;
}

}  // namespace

TAudioObject::TAudioObject(AudioView& view, std::filesystem::path libraryIndexFile)
    : view_(view),
      libraryIndex_(
          std::move(libraryIndexFile),
          [this] { view_.SaveFailed(QString::fromStdString(libraryIndex_.File().string())); }),
      libraryMenus_(view),
      random_(std::random_device{}()) {}

// One worker per core (up to four): the window thread applying the results keeps up.
int TAudioObject::defaultProbeThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

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
        // A live stream has no length: the seek bar shows no position for it.
        view_.SetSeekMaximum(0);
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
    Channel = openFile(fileName(path), &BASS_StreamCreateFile);
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
    PlayState = TransportState::Playing;
    view_.SetPlayButtonGlyph(PlayGlyph::Pause);
    if (address.trimmed().isEmpty()) return false;
    // Connecting may take the stream layer's whole timeout; the window goes on meanwhile.
    streamOpening_.Open(address, [this](std::uint32_t stream) { streamOpened(stream); });
    return true;
}

void TAudioObject::streamOpened(std::uint32_t stream) {
    Channel = stream;
    if (Channel == 0 || BASS_StreamPlay(Channel, 0, 0) == 0) {
        // Nothing sounds, and the state says so.
        DropChannel();
        PlayState = TransportState::Stopped;
        view_.SetPlayButtonGlyph(PlayGlyph::Play);
        return;
    }
    TrackLength = clampToInt(BASS_StreamGetLength(Channel));
    if (PlayState == TransportState::Paused) BASS_ChannelPause(Channel);
    showFormat();
    view_.ReapplyEffects();
    shownStreamTitle_.reset();
    RefreshStreamInfo();
}

bool TAudioObject::Connecting() const {
    return streamOpening_.Busy();
}

bool TAudioObject::SourceEnded() const {
    return Channel != 0 && PlayState == TransportState::Playing &&
           BASS_ChannelIsActive(Channel) == SOUND_ACTIVE_STOPPED;
}

void TAudioObject::RefreshStreamInfo() {
    if (Channel == 0 || !internet_address::IsSource(SourcePath)) return;
    const StreamTags tags = ReadStreamTags(QString());
    if (shownStreamTitle_ == tags.StreamTitle) return;
    shownStreamTitle_ = tags.StreamTitle;
    // The station stands for the artist, its address for the album, the song now heard
    // for the title; a header the station does not send leaves its line empty.
    Artist = tags.StationName;
    Title = tags.StreamTitle;
    Album = tags.StationUrl;
    Genre = tags.Genre;
    Year.clear();
    Track.clear();
    Lyrics.clear();
    showTrackInfo({Artist, Title, Album, Year, Track, Genre, {}});
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

void TAudioObject::showFormat() {
    SoundChannelInfo info{};
    BASS_ChannelGetInfo(Channel, &info);
    view_.SetFormatText(
        track_text::FormatText(info.freq, (info.flags & SOUND_SAMPLE_8BITS) != 0, info.chans));
}

// The format line, the effects, the balloon and the list selection of a started file.
void TAudioObject::showStarted() {
    showFormat();
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
    if (n == 0 || adding_) return;
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
    if (n == 0 || adding_) return;
    int previous = CurrentIndex - 1;
    // A current index left beyond the end by deletions goes to the last entry.
    if (previous < 0 || previous >= n) previous = n - 1;
    CurrentIndex = previous;
    PlaySource(Playlist.FileAt(previous));
}

void TAudioObject::PlayEntry(int index) {
    if (adding_ || index < 0 || index >= EntryCount()) return;
    CurrentIndex = index;
    PlaySource(Playlist.FileAt(index));
}

bool TAudioObject::PlayFrom(int ms) {
    if (Channel == 0) {
        if (SourcePath.isEmpty()) return false;
        PlaySource(SourcePath);
        // A stream being connected starts by itself, where a live stream starts.
        if (Connecting()) return true;
        if (Channel == 0) return false;
    }
    SetPosition(ms);
    switch (BASS_ChannelIsActive(Channel)) {
        case SOUND_ACTIVE_PAUSED:
            BASS_ChannelResume(Channel);
            break;
        case SOUND_ACTIVE_STOPPED:
            BASS_StreamPlay(Channel, 0, 0);
            BASS_MusicPlay(Channel);
            break;
        default:
            break;
    }
    PlayState = TransportState::Playing;
    view_.SetPlayButtonGlyph(PlayGlyph::Pause);
    return true;
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
    streamOpening_.CancelAll();
    ScopedChannel::Free(Channel);
    Channel = 0;
}

int TAudioObject::ProbeLength(const QString& path) const {
    return measure(fileName(path), streamOpenerFor(path), 0);
}

int TAudioObject::ProbeWmaLength(const QString& path) const {
    return measure(fileName(path), &BASS_WMA_StreamCreateFile, 0);
}

FileProbe TAudioObject::probeFile(const QString& path) {
    FileProbe probe;
    const QByteArray name = fileName(path);
    probe.lengthMs = measure(name, streamOpenerFor(path), SOUND_STREAM_PROBE);
    GetSongInformation(&probe.info, name.constData());
    return probe;
}

void TAudioObject::AddSources(const QStringList& names) {
    if (addingStopped_ || waitsForAdding([this, names] { AddSources(names); })) return;
    {
        LibraryIndex::Batch batch(libraryIndex_);
        const int before = EntryCount();
        CurrentIndex = before - 1;
        adding_ = true;
        view_.AddingChanged(true);
        const bool listLoaded = addSources(names);
        adding_ = false;
        view_.AddingChanged(false);
        if (!addingStopped_) {
            // A file that is already in the list plays itself, not whatever follows the
            // last entry.
            const bool nothingNew = !listLoaded && EntryCount() == before && !names.isEmpty();
            const int present =
                nothingNew && IsPlayableFile(names.first()) ? IndexOfFile(names.first()) : -1;
            if (present >= 0) {
                PlayEntry(present);
            } else {
                PlayNext();
            }
        }
    }
    runAfterAdding();
}

bool TAudioObject::addSources(const QStringList& names) {
    bool listLoaded = false;
    // What each name is, decided once.
    enum class Source : char { List, Address, File };
    std::vector<Source> sources;
    sources.reserve(static_cast<std::size_t>(names.size()));
    QStringList files;
    for (const QString& name : names) {
        if (!IsPlayableFile(name)) {
            sources.push_back(Source::List);
        } else if (internet_address::IsEntryTitle(name.trimmed())) {
            sources.push_back(Source::Address);
        } else {
            sources.push_back(Source::File);
            files << name;
        }
    }
    // Files are measured and read ahead on worker threads; their results are applied
    // here, in the list's order, exactly as measuring them one by one would.
    std::optional<FileProbes> probes;
    if (probeThreads_ > 0 && files.size() > 1) probes.emplace(files, probeThreads_, &probeFile);
    AddingProgress progress(view_, static_cast<int>(names.size()), addingReportPeriod_);
    int probed = 0;
    // Only the last file's tags would stay in the panel, so the panel is filled once, not
    // for every file.
    std::optional<SongInformation> lastTags;
    for (qsizetype i = 0; i < names.size() && !addingStopped_; ++i) {
        const QString& name = names[i];
        const Source source = sources[static_cast<std::size_t>(i)];
        if (source == Source::List) {
            loadPlaylistFile(name, true);
            listLoaded = true;
        } else if (source == Source::Address) {
            TrackLength = ProbeLength(name);
            addAddressEntry(name);
        } else if (probes) {
            const FileProbe probe = probes->Take(probed++);
            TrackLength = probe.lengthMs;
            enterTrackInfo(name, probe.info);
            lastTags = probe.info;
            Playlist.AddEntry(name, Title, TrackLength);
        } else {
            TrackLength = ProbeLength(name);
            const QString title = MakeEntryTitle(name);
            Playlist.AddEntry(name, title, TrackLength);
        }
        if (source != Source::List) view_.SetListCaption(QStringLiteral("Default"));
        // The view may handle the window's events here, between two names.
        progress.Step();
    }
    probes.reset();
    if (lastTags) showTagsAsRead(*lastTags);
    return listLoaded;
}

void TAudioObject::AfterAdding(std::function<void()> action) {
    if (!waitsForAdding(action)) action();
}

bool TAudioObject::waitsForAdding(std::function<void()> change) {
    if (!adding_) return false;
    afterAdding_.push_back(std::move(change));
    return true;
}

void TAudioObject::runAfterAdding() {
    if (runningAfterAdding_) return;
    runningAfterAdding_ = true;
    // An action may add again, and more may wait for that add: taken one at a time.
    while (!afterAdding_.empty()) {
        const std::function<void()> action = std::move(afterAdding_.front());
        afterAdding_.pop_front();
        action();
    }
    runningAfterAdding_ = false;
}

void TAudioObject::addAddressEntry(const QString& address) {
    if (Playlist.FindFile(address) >= 0) return;
    // The address stands as the title until the station's headers arrive.
    Playlist.AddEntry(address, address, TrackLength);
    titleProbes_.Open(address.trimmed(), [this, address](std::uint32_t stream) {
        const ScopedChannel probe(stream);
        const QString title = entryTitleOf(streamTagsOf(probe.get()));
        for (int i = 0; i < EntryCount(); ++i) {
            if (Playlist.FileAt(i) == address && Playlist.TitleAt(i) == address)
                Playlist.SetTitleAt(i, title);
        }
        view_.EntryTitleArrived();
    });
}

void TAudioObject::LoadPlaylistFile(const QString& path, bool clearFirst) {
    if (waitsForAdding([this, path, clearFirst] { LoadPlaylistFile(path, clearFirst); })) return;
    loadPlaylistFile(path, clearFirst);
}

void TAudioObject::loadPlaylistFile(const QString& path, bool clearFirst) {
    const QString extension = source_rules::UpperExtension(path);
    // A list that is not there to read (a mistyped name, a station's list given by its
    // address) is not read: it would only empty the playlist, which is saved at the close.
    const bool there = !internet_address::IsSource(path.trimmed()) && QFileInfo::exists(path);
    if (there && extension == QLatin1String(".PLS")) {
        Playlist.LoadFromPls(path, clearFirst);
    } else if (there && extension == QLatin1String(".M3U")) {
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
    if (waitsForAdding([this] { ClearPlaylist(); })) return;
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
    if (waitsForAdding([this, index] { DeleteEntry(index); })) return;
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
    if (waitsForAdding([this] { SortByTitle(); })) return;
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
    applyTrackInfo(path, info);
}

void TAudioObject::applyTrackInfo(const QString& path, const SongInformation& info) {
    enterTrackInfo(path, info);
    showTagsAsRead(info);
}

void TAudioObject::enterTrackInfo(const QString& path, const SongInformation& info) {
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
}

void TAudioObject::showTagsAsRead(const SongInformation& info) {
    // An absent tag shows an empty value.
    showTrackInfo({tagText(info.Artist),
                   tagText(info.Title),
                   tagText(info.Album),
                   tagText(info.Year),
                   tagText(info.Track),
                   tagText(info.Genre),
                   {}});
}

void TAudioObject::showTrackInfo(const TrackInfoTexts& values) {
    // Each label has room for one line only.
    using track_text::OneLine;
    view_.ShowTrackInfo({QStringLiteral("Исполнитель: ") + OneLine(values.Artist),
                         QStringLiteral("Название: ") + OneLine(values.Title),
                         QStringLiteral("Альбом: ") + OneLine(values.Album),
                         QStringLiteral("Год: ") + OneLine(values.Year),
                         QStringLiteral("Дорожка: ") + OneLine(values.Track),
                         QStringLiteral("Жанр: ") + OneLine(values.Genre),
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
    return entryTitleOf(ReadStreamTags(live ? QString() : address));
}

QString TAudioObject::entryTitleOf(const StreamTags& tags) {
    if (tags.StationName.isEmpty()) return QStringLiteral("Unknown Host");
    return tags.StationName + QLatin1Char(' ') + tags.StationUrl + QStringLiteral(" - ") +
           tags.StreamTitle;
}

StreamTags TAudioObject::ReadStreamTags(const QString& address) const {
    const ScopedChannel temporary(address.isEmpty() ? 0 : openUrl(address));
    return streamTagsOf(address.isEmpty() ? Channel : temporary.get());
}

StreamTags TAudioObject::streamTagsOf(std::uint32_t channel) {
    if (channel == 0) return {};
    StreamTags tags;
    tags.Lines = track_text::HeaderLines(BASS_StreamGetTags(channel, SOUND_TAG_HEADERS));
    tags.Lines << track_text::StreamText(BASS_StreamGetTags(channel, SOUND_TAG_META));
    const auto after = [&tags](const char* key) {
        const int at = track_text::FindTagLine(tags.Lines, QLatin1String(key));
        return at < 0 ? QString() : track_text::TextAfterColon(tags.Lines[at]);
    };
    tags.StationName = after("icy-name");
    tags.StationUrl = after("icy-url");
    tags.Genre = after("icy-genre");
    const int title = track_text::FindTagLine(tags.Lines, QStringLiteral("StreamTitle"));
    if (title >= 0) tags.StreamTitle = track_text::TextInApostrophes(tags.Lines[title]);
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
    if (waitsForAdding([this, kind, caption] { LibraryNameChosen(kind, caption); })) return;
    LibraryIndex::Batch batch(libraryIndex_);
    if (libraryIndex_.FileCount(kind, caption) == 0) return;
    view_.ClearPlaylistView();
    ClearPlaylist();
    AddSources(libraryIndex_.Files(kind, caption));
    view_.RefreshPlaylistView();
}

void TAudioObject::PlayAllMusic() {
    if (waitsForAdding([this] { PlayAllMusic(); })) return;
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
