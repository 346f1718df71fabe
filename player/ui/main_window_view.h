#pragma once
// The main window as the audio object sees it: each call of TAudioView lands on the
// TForm1 control that shows it. Calls whose controls the window does not have yet (speed
// bar, tray, library menus) do nothing.
#include "player/engine/audio_view.h"

class TForm1;
class TAudioObject;

class TMainWindowView : public TAudioView {
public:
    explicit TMainWindowView(TForm1& form) : form_(form) {}
    // The audio object whose playlist the view shows; set once it exists.
    void SetAudioObject(TAudioObject* audio) { audio_ = audio; }

    void SetSpeedPosition(int position) override;
    void SetSeekMaximum(int ms) override;
    void RepaintPlaylist() override;
    void SelectPlaylistRow(int index) override;
    void ClearPlaylistView() override;
    // ListBox1 := the playlist's titles; Label35 := the total time (hh:nn:ss, whole days
    // dropped) and the number of songs.
    void RefreshPlaylistView() override;
    void SetTotalTimeText(const QString& text) override;
    void SetFormatText(const QString& text) override;
    void SetListCaption(const QString& text) override;
    void SetPlayButtonGlyph(int image) override;
    void ShowTrayBalloon(const QString& title, const QString& text, int iconKind,
                         int timeoutSeconds) override;
    void ShowTrackInfo(const TTrackInfoTexts& texts) override;
    // The volume bar's position goes to the new channel.
    void ReapplyEffects() override;
    void LibraryMenuItemInserted(TLibraryKind kind, int position, const QString& caption) override;

private:
    TForm1& form_;
    TAudioObject* audio_ = nullptr;
};
