#pragma once
// The player on the session bus as desktops, media keys and playerctl expect a media
// player: the name org.mpris.MediaPlayer2.zorvan with the object /org/mpris/MediaPlayer2
// and its two interfaces. Changes are found by polling the player's state and announced
// with PropertiesChanged; a jump of the position (a seek in the window) with Seeked.
//
// Without a session bus, or with the name already taken, the service stays off and the
// player runs as before; the one running copy is decided elsewhere.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include "player/desktop/media_player_transport.h"

class MainWindowLife;
class TForm1;

class MediaPlayerService : public QObject {
    Q_OBJECT
public:
    MediaPlayerService(TForm1& form, MainWindowLife& life);
    ~MediaPlayerService() override;

    // True while the service owns its name on the session bus.
    bool registered() const { return registered_; }

private:
    // The Player properties whose changes are announced.
    QVariantMap announcedProperties() const;
    void announceChanges();

    MediaPlayerTransport* transport_;
    bool registered_ = false;
    QTimer poll_;
    QVariantMap announced_;
    MediaPlayerTransport::Sources announcedSources_;
    qlonglong lastPosition_ = 0;
    bool wasPlaying_ = false;
    QElapsedTimer sincePoll_;
};
