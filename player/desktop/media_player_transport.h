#pragma once
// The session bus's org.mpris.MediaPlayer2.Player interface of the player: transport
// commands, the track's metadata, position, volume and shuffle. Every command goes
// through the main window's own operations and every value is read from the audio object
// and the window when asked, so the screen and the bus agree.
#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

#include "player/engine/play_state.h"

class MainWindowLife;
class TAudioObject;
class TForm1;

class MediaPlayerTransport : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoNext)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPlay)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    MediaPlayerTransport(QObject* service, TForm1& form, MainWindowLife& life);

    // "Playing" (also while seeking), "Paused" or "Stopped".
    QString PlaybackStatus() const;
    // The speed control is the window's own; the bus sees the normal rate only.
    double Rate() const { return 1.0; }
    void SetRate(double) {}
    bool Shuffle() const;
    void SetShuffle(bool on);
    QVariantMap Metadata() const;
    // The volume bar, 0.0 ... 1.0.
    double Volume() const;
    void SetVolume(double volume);
    qlonglong Position() const;  // microseconds
    bool CanGoNext() const;
    bool CanPlay() const;
    bool CanSeek() const;
    bool CanControl() const { return true; }

    // The plain values every property but Position is made of: while they stay equal, so
    // do the properties, and a poll need not build them to find a change.
    struct Sources {
        TransportState playState;
        bool shuffle;
        int volume;
        int entries;
        int entry;
        int lengthMs;
        QString source, title, artist, album;
        bool operator==(const Sources&) const = default;
    };
    Sources PropertySources() const;

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    // Also starts the current entry when nothing is loaded yet.
    void Play();
    // Past the end of the track it goes on to the next one.
    void Seek(qlonglong offset);
    // Ignored for another track's id or a position outside the track.
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    // Added and played like a file sent by another process; other schemes are ignored.
    void OpenUri(const QString& uri);

signals:
    void Seeked(qlonglong position);

private:
    TAudioObject& audio() const;
    bool loaded() const;

    TForm1& form_;
    MainWindowLife& life_;
};
