#pragma once
// What the audio object shows in the main window. The main window implements this; the
// audio object calls it on the window thread only, and never reads anything back.
#include <QString>
#include <QStringList>

#include "player/engine/library_kind.h"
#include "player/engine/play_state.h"

class LibraryMenus;

// The texts of the track information panel, each a whole label caption.
struct TrackInfoTexts {
    QString Artist;   // Label28
    QString Title;    // Label29
    QString Album;    // Label30
    QString Year;     // Label31
    QString Track;    // Label32
    QString Genre;    // Label4
    QString Heading;  // Label33
};

class AudioView {
public:
    virtual ~AudioView() = default;

    // trkSpeed's position. Setting it runs the speed handler when the value changes, which
    // acts on the channel that is about to be replaced.
    virtual void SetSpeedPosition(int position) = 0;
    // TrackBarEx1's maximum, in milliseconds.
    virtual void SetSeekMaximum(int ms) = 0;
    // ListBox1 is redrawn (its drawing marks the current entry in bold).
    virtual void RepaintPlaylist() = 0;
    // ListBox1's selection; -1 or an index beyond the rows selects nothing.
    virtual void SelectPlaylistRow(int index) = 0;
    // ListBox1 is emptied (the playlist itself is kept).
    virtual void ClearPlaylistView() = 0;
    // ListBox1 rebuilt from the playlist, with the totals line.
    virtual void RefreshPlaylistView() = 0;
    // An entry's title arrived after it was added (from a station's headers): the rows
    // show it, unless they show something else than the playlist now.
    virtual void EntryTitleArrived() = 0;
    // Label26: the length of the source just started.
    virtual void SetTotalTimeText(const QString& text) = 0;
    // Label3: the format of the channel just started.
    virtual void SetFormatText(const QString& text) = 0;
    // AddSources has gone on for a while: `done` of the `total` names it was given are
    // in. The view may show it and handle the window's pending events (input, timers,
    // paints) before it returns: while an add runs, the audio object makes a change of
    // the playlist or the library wait for the add's end and refuses a change of the
    // entry playing (see AddSources). RefreshPlaylistView follows when the adding is over.
    virtual void ShowAddingProgress(int done, int total) = 0;
    // An add began (true) or ended (false): the commands that could only wait for its end
    // may be shown unavailable meanwhile.
    virtual void AddingChanged(bool adding) = 0;
    // Label34: the current-list caption.
    virtual void SetListCaption(const QString& text) = 0;
    // BitmapSkinPart2 shows this image of ImageList1 and is repainted.
    virtual void SetPlayButtonGlyph(PlayGlyph image) = 0;
    // CoolTrayIcon1's balloon; the tray cuts the title and the text to its own limits.
    virtual void ShowTrayBalloon(const QString& title, const QString& text, int iconKind,
                                 int timeoutSeconds) = 0;
    // The information panel after a file's tags were read.
    virtual void ShowTrackInfo(const TrackInfoTexts& texts) = 0;
    // Volume, equalizer and the switched-on effects attached to the new Channel.
    virtual void ReapplyEffects() = 0;
    // An item was inserted into a library submenu at `position` (0 = first). The caption
    // is plain text: a menu that treats "&" as a mnemonic marker must escape it.
    virtual void LibraryMenuItemInserted(LibraryKind kind, int position,
                                         const QString& caption) = 0;
    // A library submenu now holds the captions `menus.Captions(kind)` gives, in place of
    // its items (plain text as above). Asking for them puts a large fill in order, so a
    // view asks only when it first shows the menu; `menus` lives as long as the audio
    // object, and later insertions are already among the captions it gives.
    virtual void LibraryMenuFilled(LibraryKind kind, const LibraryMenus& menus) = 0;
    // A file the player keeps (the library index) could not be saved, so the changes just
    // made to it are lost: the user is told, without holding the caller. Not called again
    // for the same file until a save of it has succeeded.
    virtual void SaveFailed(const QString& file) = 0;
};
