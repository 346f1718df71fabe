#pragma once
// The player's single playback engine. It owns the playlist and the one live sound-
// library channel, opens sources by their kind, moves through the playlist, reads track
// information and keeps the music library index and its menus. What it shows goes to a
// AudioView (the main window). Every call runs on the window thread; none takes locks.
//
// Times are milliseconds; the sound library works in bytes and float seconds, and the
// conversions truncate (seconds x 1000). Opening failures are silent: a source that
// cannot be opened leaves Channel 0, the previous channel already freed.
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>

#include "player/engine/audio_view.h"
#include "player/engine/file_probes.h"
#include "player/engine/library_index.h"
#include "player/engine/library_menus.h"
#include "player/engine/play_state.h"
#include "player/engine/stream_connector.h"
#include "player/engine/stream_tags.h"
#include "player/playlist/playlist.h"

class TAudioObject {
public:
    // `libraryIndexFile` is "AllMusik.aml" in the program's folder.
    TAudioObject(AudioView& view, std::filesystem::path libraryIndexFile);
    ~TAudioObject();
    TAudioObject(const TAudioObject&) = delete;
    TAudioObject& operator=(const TAudioObject&) = delete;

    // Transport.
    void PlaySource(const QString& path);
    // Starts connecting to the address off the window thread and returns at once (false
    // for an empty address). PlayState is Playing meanwhile; the stream starts with its
    // format line, volume and effects when it arrives, or the state becomes Stopped when
    // it cannot be opened.
    bool PlayUrl(const QString& address);
    // An internet source is being connected.
    bool Connecting() const;
    // The channel of a source playing ended by itself, as the sound library reports it
    // (for a live stream: the connection closed or timed out).
    bool SourceEnded() const;
    // Shows the live stream's station and song in the information panel when the song
    // has changed since it was last shown; nothing for other sources.
    void RefreshStreamInfo();
    void PlayWma(const QString& path);
    // Next (or, with Shuffle and more than two entries, a random other) entry, wrapping
    // at the end; nothing happens on an empty playlist.
    void PlayNext();
    // The entry before the current one, wrapping to the last.
    void PlayPrevious();
    // Makes the entry current and plays it; an index out of range is ignored.
    void PlayEntry(int index);
    // Plays the source from `ms` whatever the state: a paused channel resumes, a stopped
    // one starts, and a source whose channel was dropped is opened again. False when
    // there is no source to play.
    bool PlayFrom(int ms);
    void Pause();
    void Resume();
    // Halts the channel and keeps it open.
    void Stop();
    int GetPosition() const;  // never negative
    void SetPosition(int ms);
    // Frees the live channel (as a stream and as a music) and sets Channel to 0.
    void DropChannel();

    // The length in ms of a file as opened for playing, or -1 when it cannot be opened.
    int ProbeLength(const QString& path) const;
    int ProbeWmaLength(const QString& path) const;

    // Playlist. Playable names are appended (each measured and its tags read), other
    // names are loaded as playlist files; then the next entry plays, or, when nothing was
    // added and the first name is a file already in the list, that entry.
    //
    // A long add lets the view handle the window's events as it reports its progress, so
    // calls may arrive while it runs. The add stays what it would have been alone:
    // another add and every other change of the playlist or the library (clearing,
    // deleting, sorting, loading a list, choosing a library name, all music) wait and run
    // in order when it has ended; choosing another entry to play (next, previous, an
    // entry) is refused, since the add ends by choosing it. Pausing, resuming, stopping,
    // seeking and playing the current source again go on as usual.
    void AddSources(const QStringList& names);
    // An add is running.
    bool Adding() const { return adding_; }
    // Runs `action` now, or, while an add runs, after its end with the changes that wait.
    void AfterAdding(std::function<void()> action);
    // The window is closing: an add running stops after the name it is on (the entries
    // and index entries made stay, and nothing new starts playing), and no later add is
    // made. What waits for the add's end still runs.
    void StopAdding() { addingStopped_ = true; }
    // How many worker threads AddSources measures and reads files on; 0 does it all on
    // the calling thread, one file after another. The entries, the library index and
    // what plays are the same either way.
    void SetProbeThreads(int threads) { probeThreads_ = threads; }
    // How often a long add reports its progress to the view (the first time after twice
    // that); 0 reports after every name.
    void SetAddingReportPeriod(std::chrono::milliseconds period) { addingReportPeriod_ = period; }
    // Reads a ".pls" or ".m3u" file into the playlist; an address, a missing file or any
    // other extension reads nothing. The list caption then names the last list read.
    void LoadPlaylistFile(const QString& path, bool clearFirst);
    // False when the file could not be written (the playlist layer's report).
    bool SavePls(const QString& path);
    bool SaveM3u(const QString& path);
    QString GetPlaylistName() const;
    void ClearPlaylist();
    int EntryCount() const;
    // Empty for an index out of range.
    QString GetEntryFile(int index) const;
    QString GetEntryTitle(int index) const;
    void DeleteEntry(int index);
    int IndexOfFile(const QString& file) const;
    int IndexOfTitle(const QString& title) const;
    int EntryLength(int index) const;
    long long TotalLength() const;
    int GetCurrentIndex() const { return CurrentIndex; }
    QString GetSourcePath() const { return SourcePath; }
    // Sorts by title; the current index follows the title of the track now loaded.
    void SortByTitle();
    static bool IsPlayableFile(const QString& path);
    static QString GetOpenFilter();

    // Track information. ReadTrackInfo reads a local file's tags into the tag fields,
    // enters the file into the library index and menus, and shows the information panel.
    void ReadTrackInfo(const QString& path);
    // A playlist entry's title: the title tag (or file name) of a local file; for an
    // internet address "name url - title" from the station, or "Unknown Host".
    QString MakeEntryTitle(const QString& path);
    // The live channel's stream tags for an empty address; otherwise those of a
    // temporary connection, which the stream layer's timeout bounds (AddSources does not
    // wait for it: an address's title arrives later).
    StreamTags ReadStreamTags(const QString& address) const;

    // Library. The three submenus from the index, sorted, without a duplicate check.
    void BuildLibraryMenus();
    // An item of a library submenu was chosen: the playlist becomes that name's files
    // (each measured and read again) and the first plays. Nothing happens for a name
    // without files.
    void LibraryNameChosen(LibraryKind kind, const QString& caption);
    // Every file of every artist goes into the playlist as indexed, and entry 0 plays.
    void PlayAllMusic();
    const LibraryMenus& libraryMenus() const { return libraryMenus_; }

    // Fields, as the rest of the program reads and writes them.
    QString SourcePath;  // the source last opened (set before the open is tried)
    TPlaylist Playlist;
    int CurrentIndex = 0;
    bool Shuffle = false;
    bool ShowInfoInTray = false;
    // The length of the file being entered, in ms, while files are added; the channel
    // length in bytes after a source started.
    int TrackLength = 0;
    QString Artist, Title, Album, Year, Track;
    QString Lyrics;
    QString Genre;
    TransportState PlayState = TransportState::NotReady;
    // The live stream or music; 0 when none. Other parts may set it to 0 (stop, CD mode).
    std::uint32_t Channel = 0;
    int SeekLength = 0;  // ms of the source last started, as probed; the seek bar's maximum

private:
    void streamOpened(std::uint32_t stream);
    // ReadTrackInfo with the tags already read.
    void applyTrackInfo(const QString& path, const SongInformation& info);
    // Its first half: the tag fields and the library, nothing shown.
    void enterTrackInfo(const QString& path, const SongInformation& info);
    // Its second half: the information panel shows the tags as read.
    void showTagsAsRead(const SongInformation& info);
    // The length (as ProbeLength measures it) and the tags of a file; safe on any thread.
    static FileProbe probeFile(const QString& path);
    void showFormat();
    void showStarted();
    // The information panel's lines, each value after its caption.
    void showTrackInfo(const TrackInfoTexts& values);
    // Added under its own address as title, replaced by the station's when it arrives.
    void addAddressEntry(const QString& address);
    static QString entryTitleOf(const StreamTags& tags);
    static StreamTags streamTagsOf(std::uint32_t channel);
    void enterIntoLibrary(LibraryKind kind, const QString& name, const QString& path);
    static int defaultProbeThreads();
    // AddSources' names, while adding_ is set; true when a playlist file was loaded.
    bool addSources(const QStringList& names);
    // While an add runs, `change` waits for its end (true); otherwise nothing (false).
    bool waitsForAdding(std::function<void()> change);
    // Runs what waited for the add's end, unless a run further out does.
    void runAfterAdding();
    void loadPlaylistFile(const QString& path, bool clearFirst);

    AudioView& view_;
    LibraryIndex libraryIndex_;
    LibraryMenus libraryMenus_;
    std::mt19937 random_;
    std::optional<QString> shownStreamTitle_;
    int probeThreads_ = defaultProbeThreads();
    std::chrono::milliseconds addingReportPeriod_{50};
    bool adding_ = false;
    bool addingStopped_ = false;
    bool runningAfterAdding_ = false;
    std::deque<std::function<void()>> afterAdding_;
    // Last, so that no connection reports to a half-destroyed audio object.
    StreamConnector streamOpening_;  // the source to play
    StreamConnector titleProbes_;    // entry titles of added addresses
};

// The one audio object, set by the main window that owns it; every window reaches the
// audio object through this reference.
extern TAudioObject* AudioObject;
