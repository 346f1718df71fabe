#pragma once
// A view that writes down what the audio object shows, as the main window would show it.
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "player/engine/audio_view.h"
#include "player/engine/library_menus.h"

class RecordingView : public AudioView {
public:
    struct Balloon {
        QString title, text;
        int iconKind = 0, timeoutSeconds = 0;
    };

    void SetSpeedPosition(int position) override { speedPosition = position; }
    void SetSeekMaximum(int ms) override { seekMaximum = ms; }
    void RepaintPlaylist() override { ++playlistRepaints; }
    void SelectPlaylistRow(int index) override { selectedRow = index; }
    void ClearPlaylistView() override { ++playlistViewClears; }
    void RefreshPlaylistView() override { ++playlistViewRefreshes; }
    void EntryTitleArrived() override { ++entryTitleArrivals; }
    void SetTotalTimeText(const QString& text) override { totalTime = text; }
    void SetFormatText(const QString& text) override { format = text; }
    void SetListCaption(const QString& text) override { listCaption = text; }
    void ShowAddingProgress(int done, int) override { addingProgress.push_back(done); }
    void AddingChanged(bool adding) override { addingChanges.push_back(adding); }
    void SetPlayButtonGlyph(PlayGlyph image) override { playGlyph = image; }
    void ShowTrayBalloon(const QString& title, const QString& text, int iconKind,
                         int timeoutSeconds) override {
        balloons.push_back({title, text, iconKind, timeoutSeconds});
    }
    void ShowTrackInfo(const TrackInfoTexts& texts) override { info = texts; }
    void ReapplyEffects() override { ++effectReapplies; }
    void LibraryMenuItemInserted(LibraryKind kind, int position, const QString& caption) override {
        menus[static_cast<int>(kind)].insert(position, caption);
    }
    void LibraryMenuFilled(LibraryKind kind, const LibraryMenus& model) override {
        menus[static_cast<int>(kind)] = model.Captions(kind);
    }
    void SaveFailed(const QString& file) override { unsavedFiles << file; }

    int speedPosition = -1;
    int seekMaximum = 100;
    int playlistRepaints = 0;
    int selectedRow = -1;
    int playlistViewClears = 0;
    int playlistViewRefreshes = 0;
    int entryTitleArrivals = 0;
    QString totalTime, format, listCaption;
    std::vector<int> addingProgress;  // the names done at each report
    std::vector<bool> addingChanges;
    PlayGlyph playGlyph = PlayGlyph::Play;
    std::vector<Balloon> balloons;
    TrackInfoTexts info;
    int effectReapplies = 0;
    std::array<QStringList, 3> menus;  // the submenus as the main window mirrors them
    QStringList unsavedFiles;
};
